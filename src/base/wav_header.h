// The 44-byte header of a WAV file of the song's PCM: 16-bit samples at its rate and channels.
#pragma once

#include <cstdint>
#include <cstdio>

// Writes the header for dataBytes of samples at the start of the file, leaving the file at its
// end (byte 44). False when a seek or a write fails.
bool writeWavHeader(FILE* out, uint32_t dataBytes);

// The most sample bytes a WAV file can count (its sizes are 32 bits, less the header).
constexpr uint32_t wavMostDataBytes = 0xFFFFFFFFu - 36u;
