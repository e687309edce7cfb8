// Where the scenes put their images in the 1280x720 design space (origin top-left, y down), how far
// each placement sways, and the sizes of the image groups the tracks pick from. The scenes draw
// with these figures; the show folder's checks read the same figures to follow the show without
// drawing it, so a placement changed here changes both.
#pragma once

#include "base/show_facts.h"  // designSpaceWidth, designSpaceHeight
#include "render/types.h"

#include <cmath>

// Group sizes: a track value v shows entry trunc(v) of a group while -1 < v < its size.
constexpr int goodFaceCount = 10;
constexpr int evilFaceCount = 5;
constexpr int goodLyricCount = 32;
constexpr int evilLyricCount = 18;
constexpr int pictogramCount = 20;
constexpr int featureCount = 12;
constexpr int polaroidCount = 39;  // three sets of photographs (5, 14, 14), then the credits
constexpr int creditsFirst = 33;   // the first credit among the polaroids
constexpr int tunnelTextureCount = 3;
constexpr int tunnelVariationCount = 3;

// While the evil character is shown, every sway tied to the characters runs this many times as
// fast, which turns it into a jitter.
constexpr float shakeFactorWhileEvil = 100.0f;

// A character: the face with its corner at rest and its sway, and the bubble (with the lyric on
// it) at a fixed offset from the face's corner.
struct CharacterPlacement {
    double cornerX;
    double cornerY;
    SwayReach sway;  // the corner moves by (sway.x sin(phase x), sway.y sin(phase y))
    float bubbleX;   // the bubble's corner, and its lyric's, from the face's corner
    float bubbleY;
    int faceCount;
    int lyricCount;
};

constexpr CharacterPlacement goodCharacter = {910, 250, {6, 4}, -880, 350, goodFaceCount, goodLyricCount};
constexpr CharacterPlacement evilCharacter = {0, 280, {3, 2}, 300, 322, evilFaceCount, evilLyricCount};

// The face's corner in a frame whose sway phase in x is swayPhaseX (radians) and whose sway in y
// is swayY (already a sine): worked out in double, rounded to float.
inline Vec2 characterCorner(const CharacterPlacement& place, double swayPhaseX, double swayY) {
    return Vec2(float(place.sway.x * std::sin(swayPhaseX) + place.cornerX),
                float(place.sway.y * swayY + place.cornerY));
}

// The bubble's corner from the face's, added in float.
inline Vec2 bubbleCorner(const CharacterPlacement& place, Vec2 faceCorner) {
    return faceCorner + Vec2(place.bubbleX, place.bubbleY);
}

// The pictogram, centred on its tracks' position by its unscaled size (so a scale above 1 grows
// it to the right and downward), never fully opaque, wobbling with the characters.
constexpr float pictogramOpacity = 0.8f;
constexpr SwayReach pictogramWobbleReach = {6, 18};

inline Vec2 pictogramRestCorner(float x, float y, float width, float height) {
    return Vec2(x - width * 0.5f, y - height * 0.5f);
}

// The features image rests with its corner at the design origin and jitters fast.
constexpr SwayReach featuresJitterReach = {6, 4};

// The refrain: background and foreground at x 0, the sun at sunLeft, each at its track's y; the
// sun sways on a small ellipse and turns clockwise.
constexpr float sunLeft = -460.0f;
constexpr SwayReach sunSwayReach = {7, 9};
constexpr double sunTurnDegreesPerSecond = 10;

inline Vec2 sunCorner(float sunY, double t) {
    Vec2 sway(float(sunSwayReach.x * std::sin(1.3 * t)), float(sunSwayReach.y * std::cos(0.7 * t)));
    return Vec2(sunLeft, sunY) + sway;
}
inline float sunAngleDegrees(double t) { return float(sunTurnDegreesPerSecond * t); }

// The photographs share one jitter, scaled by the frame's shake factor over the evil one's; the
// credits sway on their own phases.
constexpr SwayReach polaroidJitterReach = {6, 4};
constexpr SwayReach creditSwayReach = {6, 4};

// Where credit i (its index among the polaroids) is drawn at frame time t.
inline Vec2 creditCorner(int i, double t) {
    return Vec2(float(creditSwayReach.x * std::cos(i + 1.2 * t)), float(creditSwayReach.y * std::sin(i + 0.8 * t)));
}

// The logo: shown after logoRow, centred, its top edge logoTop below the top of the screen, and
// with the same margin at the sides at most.
constexpr double logoRow = 4776.0;  // 199 s into the song
constexpr float logoTop = 20.0f;
constexpr int logoMaxWidth = designSpaceWidth - 2 * int(logoTop);

inline Vec2 logoCorner(float width) { return Vec2((float(designSpaceWidth) - width) * 0.5f, logoTop); }
