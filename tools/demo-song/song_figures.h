// The figures a producer reads off a mix, worked out from the finished song: how wide it is,
// how present, how much sub it has, how much of it repeats, and each section's loudness.
#pragma once

#include <cstdio>
#include <vector>

#include "song_score.h"

// Prints the figures of interleaved stereo samples at 44100 Hz, the sections taken from the score.
void printSongFigures(FILE* out, const Score& score, const std::vector<float>& stereo);
