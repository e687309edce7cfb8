// The sound output in a browser: the page's audio context (web_audio.js) plays the decoded song
// and its clock, less the output's latency, gives the frame being heard. Built only for the
// browser, in the place of sound_output.cpp.
#include "platform/sound_output.h"

#include "platform/web/web_sound.h"

struct SoundOutput {
    bool silent = false;
};

struct ChannelPlayback {
    int id = 0;
    bool paused = false;
};

SoundOutput* openSoundOutput() {
    SoundOutput* output = new SoundOutput;
    output->silent = webSoundOpen() == 0;
    return output;
}

bool soundOutputIsSilent(const SoundOutput* output) { return output->silent; }

void closeSoundOutput(SoundOutput* output) {
    if (!output) return;
    webSoundClose();
    delete output;
}

ChannelPlayback* startPlayback(SoundOutput*, SongStream* stream, bool paused) {
    ChannelPlayback* playback = new ChannelPlayback;
    playback->id = webSoundPlay(songOfStream(stream), paused ? 1 : 0);
    playback->paused = paused;
    return playback;
}

double playbackFrames(ChannelPlayback* playback) { return webSoundFrames(playback->id); }

bool seekPlayback(ChannelPlayback* playback, int64_t frame) {
    webSoundSeek(playback->id, double(frame));
    return true;
}

void pausePlayback(ChannelPlayback* playback) {
    webSoundPause(playback->id);
    playback->paused = true;
}

bool resumePlayback(ChannelPlayback* playback) {
    webSoundResume(playback->id);
    playback->paused = false;
    return true;
}

bool playbackPaused(const ChannelPlayback* playback) { return playback->paused; }

void stopPlayback(ChannelPlayback* playback) {
    if (!playback) return;
    webSoundStop(playback->id);
    delete playback;
}
