// The music clock and the sound layer's messages.
#include "runtime/music.h"

#include <cmath>
#include <cstdio>

// The song's rates are the show's (base/show_facts.h); the clock's own figure must agree.
static_assert(MusicClock::bytesPerSecond == double(songBytesPerSecond), "the music clock runs at the song's rate");

const SongSettings songSettings = {songFileName, int32_t(songOutputRate)};

double rowFromPcmBytes(uint32_t position) { return double(position) / double(songBytesPerSecond) * rowsPerSecond; }

uint32_t pcmBytesFromRow(double row) {
    double frames = std::floor(row / rowsPerSecond * double(songSettings.sampleRate) + 0.5);
    return uint32_t(frames) * uint32_t(songBytesPerFrame);
}

double readMusicClock(FMOD::Channel* channel) {
    unsigned int position = 0;
    FMOD_Channel_GetPosition(channel, &position, FMOD_TIMEUNIT_PCMBYTES);
    return rowFromPcmBytes(position);
}

bool soundCallSucceeded(FMOD_RESULT result) {
    if (result == FMOD_OK) return true;
    printf("FMOD error! (%d) %s\n", result, FMOD_ErrorString(result));
    return false;
}

bool soundVersionAccepted(unsigned int version) {
    if (version >= requiredSoundVersion) return true;
    printf("Error!  You are using an old version of FMOD %08x.  This program requires %08x\n", version,
           requiredSoundVersion);
    return false;
}
