// The characters, their bubbles and lyrics. Positions are worked out in double and rounded to
// float; the bubble offsets are added in float.
#include "scenes/avatars.h"

#include "render/demo_window.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <cmath>

namespace {

void drawAt(DemoWindow* display, int slot, Vec2 position) { display->drawSprite(slot, Vec2(1, 1), position, 0.0f); }

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

void renderGoodAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const GoodAvatarImages& images, const SyncTrack* avatarGood, const SyncTrack* lyricsGood) {
    float face = evaluateTrack(avatarGood, frame.row);
    float lyric = evaluateTrack(lyricsGood, frame.row);
    glColor4f(1, 1, 1, 1);
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(face, goodCharacter.faceCount, &faceIndex)) return;
    Vec2 corner = characterCorner(goodCharacter, shake.swayPhaseX, shake.swayY);
    drawAt(display, images.faces[faceIndex], corner);
    Vec2 bubble = bubbleCorner(goodCharacter, corner);
    drawAt(display, images.bubble, bubble);
    if (pickEntry(lyric, goodCharacter.lyricCount, &lyricIndex)) drawAt(display, images.lyrics[lyricIndex], bubble);
}

void renderEvilAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const EvilAvatarImages& images, const SyncTrack* lyricsEvil) {
    float lyric = evaluateTrack(lyricsEvil, frame.row);
    glColor4f(1, 1, 1, 1);
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(shake.evilValue, evilCharacter.faceCount, &faceIndex)) return;
    Vec2 corner = characterCorner(evilCharacter, shake.swayPhaseX, shake.swayY);
    drawAt(display, images.faces[faceIndex], corner);
    Vec2 bubble = bubbleCorner(evilCharacter, corner);
    drawAt(display, images.bubble, bubble);
    if (pickEntry(lyric, evilCharacter.lyricCount, &lyricIndex)) drawAt(display, images.lyrics[lyricIndex], bubble);
}
