// The two characters with their speech bubbles and lyric images, and the frame's shake: while the
// evil character is on screen, the gentle sway of everything tied to the characters turns into a
// fast jitter.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"

struct SyncTrack;

struct AvatarShake {
    float evilValue;       // "avatar:evil" at the frame's row
    float shakeFactor;     // shakeFactorWhileEvil while the evil character is shown, else 1
    double swayY;          // sin(shakeFactor * (t * 0.8))
    double swayPhaseX;     // shakeFactor * (t * 1.2), radians
    Vec2 pictogramWobble;  // pictogramWobbleReach times (cos(swayPhaseX), swayY)
};

// A character's pictures as texture slots: its faces, its empty bubble and its lyrics.
struct CharacterImages {
    const int* faces;  // goodFaceCount or evilFaceCount
    int bubble;
    const int* lyrics;  // goodLyricCount or evilLyricCount
};

AvatarShake computeAvatarShake(const FrameState& frame, const SyncTrack* avatarEvil);
// Each adds its character's face, bubble and lyric, in that order, to the frame's layers.
void describeGoodAvatar(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                        const CharacterImages& pictures, const SyncTrack* avatarGood, const SyncTrack* lyricsGood,
                        FrameLayers* out);
void describeEvilAvatar(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                        const CharacterImages& pictures, const SyncTrack* lyricsEvil, FrameLayers* out);
