// How a track value picks an image of a group: entry trunc(v) is shown only while -1 < v < count,
// both bounds strict (NaN fails them), the truncation toward zero.
#pragma once

inline bool pickEntry(float value, int count, int* index) {
    if (!(value > -1.0f && value < float(count))) return false;
    *index = int(value);
    return true;
}
