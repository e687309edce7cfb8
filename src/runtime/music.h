// The song and the music clock: which song is played, how the playing channel's position becomes
// the row that drives every animation, and how the sound layer's failures are reported.
#pragma once

#include "base/show_facts.h"  // rowsPerSecond, songFileName
#include "platform/sound.h"

#include <cstdint>

struct SongSettings {
    const char* fileName;
    int32_t sampleRate;
};

extern const SongSettings songSettings;  // songFileName, 44100 Hz

struct MusicClock {
    static constexpr double bytesPerSecond = 176400.0;  // 44100 Hz x 2 channels x 2 bytes
};

// The oldest sound layer version the program accepts.
constexpr unsigned int requiredSoundVersion = 0x00044404;

// The row of a position in bytes of decoded 16-bit stereo PCM (read as unsigned).
double rowFromPcmBytes(uint32_t position);
// The other way: the byte position of the frame nearest to the row (whole frames of 4 bytes).
uint32_t pcmBytesFromRow(double row);

// The row the channel is playing now. The result of the position query is not examined: a
// failed query leaves the position at 0.
double readMusicClock(FMOD::Channel* channel);

// Prints "FMOD error! (%d) %s\n" when result is not FMOD_OK. Returns true when it was FMOD_OK.
bool soundCallSucceeded(FMOD_RESULT result);

// Prints the old-version message when version is below requiredSoundVersion. Returns true when
// the version is acceptable.
bool soundVersionAccepted(unsigned int version);
