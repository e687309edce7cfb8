// Flash counting over a luminance series.
#include "offline/lint_flash_count.h"

#include <algorithm>

namespace {

constexpr float leastChange = 0.1f;
constexpr float darkerBelow = 0.8f;

struct Zigzag {
    int direction = 0;              // +1 rising, -1 falling, 0 before the first change of 0.1
    float low = 0.0f, high = 0.0f;  // before the first change: the range seen so far
    float start = 0.0f;             // where the current leg began
    float extreme = 0.0f;           // how far it has gone
    int extremeAt = 0;
    std::vector<int> changes;

    void record() {
        if (std::min(start, extreme) < darkerBelow) changes.push_back(extremeAt);
    }
    void begin(int direction_, float from, float value, int frame) {
        direction = direction_;
        start = from;
        extreme = value;
        extremeAt = frame;
    }
    void take(float value, int frame) {
        if (direction == 0) {
            low = std::min(low, value);
            high = std::max(high, value);
            if (value - low >= leastChange)
                begin(+1, low, value, frame);
            else if (high - value >= leastChange)
                begin(-1, high, value, frame);
            return;
        }
        bool further = direction > 0 ? value > extreme : value < extreme;
        if (further) {
            extreme = value;
            extremeAt = frame;
        } else if ((extreme - value) * float(direction) >= leastChange) {
            record();
            begin(-direction, extreme, value, frame);
        }
    }
};

}  // namespace

std::vector<int> luminanceChanges(const std::vector<float>& luminance) {
    Zigzag zigzag;
    if (luminance.empty()) return zigzag.changes;
    zigzag.low = zigzag.high = luminance[0];
    for (size_t i = 1; i < luminance.size(); ++i) zigzag.take(luminance[i], int(i));
    if (zigzag.direction != 0) zigzag.record();
    return zigzag.changes;
}

std::vector<int> flashesInSecondEndingAt(const std::vector<int>& changes, int frameCount, int framesPerSecond) {
    std::vector<int> flashes(size_t(std::max(frameCount, 0)), 0);
    size_t oldest = 0, next = 0;
    for (int f = 0; f < frameCount; ++f) {
        while (next < changes.size() && changes[next] <= f) ++next;
        while (oldest < next && changes[oldest] <= f - framesPerSecond) ++oldest;
        flashes[size_t(f)] = int(next - oldest) / 2;
    }
    return flashes;
}
