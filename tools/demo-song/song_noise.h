// The song's noise: a xorshift generator, the same numbers for the same seed on every run, so
// that every hiss and breath in the song is repeatable.
#pragma once

#include <cstdint>

struct Noise {
    uint32_t state;  // never 0
};

// The next value, evenly spread over [-1, 1).
inline double nextNoise(Noise& noise) {
    noise.state ^= noise.state << 13;
    noise.state ^= noise.state >> 17;
    noise.state ^= noise.state << 5;
    return double(noise.state) / 2147483648.0 - 1.0;
}
