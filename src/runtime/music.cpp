// The music clock and the sound layer's messages.
#include "runtime/music.h"

#include <cmath>
#include <cstdio>

const SongSettings songSettings = {songFileName, 44100};

double rowFromPcmBytes(uint32_t position) { return double(position) / MusicClock::bytesPerSecond * rowsPerSecond; }

uint32_t pcmBytesFromRow(double row) {
    double frames = std::floor(row / rowsPerSecond * double(songSettings.sampleRate) + 0.5);
    return uint32_t(frames) * 4u;
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
