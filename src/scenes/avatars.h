// The two characters with their speech bubbles and lyric images, and the frame's shake: while the
// evil character is on screen, the gentle sway of everything tied to the characters turns into a
// fast jitter.
#pragma once

#include "render/types.h"
#include "scenes/frame_state.h"

class DemoWindow;
struct SyncTrack;

struct AvatarShake {
    float evilValue;       // "avatar:evil" at the frame's row
    float shakeFactor;     // shakeFactorWhileEvil while the evil character is shown, else 1
    double swayY;          // sin(shakeFactor * (t * 0.8))
    double swayPhaseX;     // shakeFactor * (t * 1.2), radians
    Vec2 pictogramWobble;  // pictogramWobbleReach times (cos(swayPhaseX), swayY)
};

struct GoodAvatarImages {
    const int* faces;  // goodFaceCount
    int bubble;
    const int* lyrics;  // goodLyricCount
};

struct EvilAvatarImages {
    const int* faces;  // evilFaceCount
    int bubble;
    const int* lyrics;  // evilLyricCount
};

AvatarShake computeAvatarShake(const FrameState& frame, const SyncTrack* avatarEvil);
void renderGoodAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const GoodAvatarImages& images, const SyncTrack* avatarGood, const SyncTrack* lyricsGood);
void renderEvilAvatar(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                      const EvilAvatarImages& images, const SyncTrack* lyricsEvil);
