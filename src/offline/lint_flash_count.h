// Counting general flashes in a series of luminance values, one a frame, by the rule of WCAG 2.3.1
// and ITU-R BT.1702: a flash is a pair of opposing changes in relative luminance of at least 0.1
// each, where the darker of the two states is below 0.8.
#pragma once

#include <vector>

// The frames at which such a change completes: the series is followed as a zigzag that turns
// only after moving at least 0.1 back from its last extreme; each leg of the zigzag is a change,
// counted at the frame where it first reaches its extreme, when its darker end is below 0.8. The
// last leg counts too once it has moved 0.1.
std::vector<int> luminanceChanges(const std::vector<float>& luminance);

// For every frame f of a series of frameCount frames, the flashes (pairs of changes) among the
// changes at frames f - framesPerSecond + 1 to f: the second that ends with frame f.
std::vector<int> flashesInSecondEndingAt(const std::vector<int>& changes, int frameCount, int framesPerSecond);
