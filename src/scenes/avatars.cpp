// The characters, their bubbles and lyrics. Positions are worked out in double and rounded to
// float; the bubble offsets are added in float.
#include "scenes/avatars.h"

#include "scenes/layer_writer.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <cmath>

namespace {

// The face of entry faceValue, its bubble, and the lyric of entry lyricValue on the bubble; the
// bubble and the lyric only with a face.
void describeCharacter(const AvatarShake& shake, const ImageSizes& images, const CharacterPlacement& place,
                       const CharacterImages& pictures, float faceValue, float lyricValue, FrameLayers* out) {
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(faceValue, place.faceCount, &faceIndex)) return;
    Vec2 corner = characterCorner(place, shake.swayPhaseX, shake.swayY);
    Vec2 rest = characterCorner(place, 0.0, 0.0);
    addImageLayer(out, images, pictures.faces[faceIndex], ImageLayerPlace{corner, rest, place.sway}, opaqueWhite);
    ImageLayerPlace bubble = {bubbleCorner(place, corner), bubbleCorner(place, rest), place.sway};
    addImageLayer(out, images, pictures.bubble, bubble, opaqueWhite);
    if (pickEntry(lyricValue, place.lyricCount, &lyricIndex)) {
        addImageLayer(out, images, pictures.lyrics[lyricIndex], bubble, opaqueWhite);
    }
}

}  // namespace

AvatarShake computeAvatarShake(const FrameState& frame, const SyncTrack* avatarEvil) {
    AvatarShake shake;
    shake.evilValue = evaluateTrack(avatarEvil, frame.row);
    shake.shakeFactor = 1.0f;
    int evilFace = 0;
    if (pickEntry(shake.evilValue, evilFaceCount, &evilFace)) shake.shakeFactor = shakeFactorWhileEvil;
    double k = double(shake.shakeFactor);
    shake.swayY = std::sin(k * (frame.t * 0.8));
    shake.swayPhaseX = k * (frame.t * 1.2);
    shake.pictogramWobble =
        Vec2(float(pictogramWobbleReach.x * std::cos(shake.swayPhaseX)), float(pictogramWobbleReach.y * shake.swayY));
    return shake;
}

void describeGoodAvatar(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                        const CharacterImages& pictures, const SyncTrack* avatarGood, const SyncTrack* lyricsGood,
                        FrameLayers* out) {
    float face = evaluateTrack(avatarGood, frame.row);
    float lyric = evaluateTrack(lyricsGood, frame.row);
    describeCharacter(shake, images, goodCharacter, pictures, face, lyric, out);
}

void describeEvilAvatar(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                        const CharacterImages& pictures, const SyncTrack* lyricsEvil, FrameLayers* out) {
    float lyric = evaluateTrack(lyricsEvil, frame.row);
    describeCharacter(shake, images, evilCharacter, pictures, shake.evilValue, lyric, out);
}
