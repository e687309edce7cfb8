// The characters, their bubbles and lyrics. Positions are worked out in double and rounded to
// float; the bubble offsets are added in float.
#include "scenes/avatars.h"

#include "render/demo_window.h"
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
    if (shake.evilValue > -1.0f && shake.evilValue < 5.0f) shake.shakeFactor = 100.0f;
    double k = double(shake.shakeFactor);
    shake.swayY = std::sin(k * (frame.t * 0.8));
    shake.swayPhaseX = k * (frame.t * 1.2);
    shake.pictogramWobble = Vec2(float(6 * std::cos(shake.swayPhaseX)), float(18 * shake.swayY));
    return shake;
}

void renderGoodAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const GoodAvatarImages& images, const SyncTrack* avatarGood, const SyncTrack* lyricsGood) {
    float face = evaluateTrack(avatarGood, frame.row);
    float lyric = evaluateTrack(lyricsGood, frame.row);
    glColor4f(1, 1, 1, 1);
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(face, 10, &faceIndex)) return;
    Vec2 corner(float(6 * std::sin(shake.swayPhaseX) + 910), float(4 * shake.swayY + 250));
    drawAt(display, images.faces[faceIndex], corner);
    Vec2 bubble = corner + Vec2(-880, 350);
    drawAt(display, images.bubble, bubble);
    if (pickEntry(lyric, 32, &lyricIndex)) drawAt(display, images.lyrics[lyricIndex], bubble);
}

void renderEvilAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const EvilAvatarImages& images, const SyncTrack* lyricsEvil) {
    float lyric = evaluateTrack(lyricsEvil, frame.row);
    glColor4f(1, 1, 1, 1);
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(shake.evilValue, 5, &faceIndex)) return;
    Vec2 corner(float(3 * std::sin(shake.swayPhaseX) + 0), float(2 * shake.swayY + 280));
    drawAt(display, images.faces[faceIndex], corner);
    Vec2 bubble = corner + Vec2(300, 322);
    drawAt(display, images.bubble, bubble);
    if (pickEntry(lyric, 18, &lyricIndex)) drawAt(display, images.lyrics[lyricIndex], bubble);
}
