// OpenAL output and the silent output, and the decode-ahead thread that feeds a playing song.
#include "platform/sound_output.h"

#include "platform/song_stream.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

struct SoundOutput {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    LPALGETSOURCEI64VSOFT getSourcei64v = nullptr;  // offset with latency, when offered
    bool directChannels = false;
};

namespace {

constexpr int bufferFrames = 2048;  // 46 ms a buffer
constexpr int bufferCount = 40;     // 1.86 s queued ahead at most
constexpr int initialBuffers = 8;   // decoded before the source starts
constexpr auto feedInterval = std::chrono::milliseconds(10);

}  // namespace

struct ChannelPlayback {
    SoundOutput* output = nullptr;
    SongStream* stream = nullptr;
    ALuint source = 0;
    ALuint buffers[bufferCount] = {};
    std::vector<ALuint> freeBuffers;
    std::deque<int> queuedFrames;  // frames in each queued buffer, oldest first
    double retiredFrames = 0.0;    // frames of the buffers already played and unqueued
    bool streamEnded = false;
    bool finished = false;  // everything decoded has been played
    PlaybackClock clock;
    std::vector<int16_t> scratch;

    std::mutex mutex;  // guards the source, the queue book-keeping and the clock
    std::condition_variable wake;
    bool stopRequested = false;
    std::thread feeder;
};

SoundOutput* openSoundOutput() {
    SoundOutput* output = new (std::nothrow) SoundOutput;
    if (!output) return nullptr;
    output->device = alcOpenDevice(nullptr);
    if (!output->device) return output;  // silent output
    const ALCint attributes[] = {ALC_FREQUENCY, ALCint(songOutputRate), 0};
    output->context = alcCreateContext(output->device, attributes);
    if (!output->context || !alcMakeContextCurrent(output->context)) {
        if (output->context) alcDestroyContext(output->context);
        alcCloseDevice(output->device);
        output->device = nullptr;
        output->context = nullptr;
        return output;
    }
    if (alIsExtensionPresent("AL_SOFT_source_latency")) {
        output->getSourcei64v = reinterpret_cast<LPALGETSOURCEI64VSOFT>(alGetProcAddress("alGetSourcei64vSOFT"));
    }
    output->directChannels = alIsExtensionPresent("AL_SOFT_direct_channels");
    return output;
}

bool soundOutputIsSilent(const SoundOutput* output) { return output->context == nullptr; }

void closeSoundOutput(SoundOutput* output) {
    if (!output) return;
    if (output->context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(output->context);
    }
    if (output->device) alcCloseDevice(output->device);
    delete output;
}

namespace {

// Moves the buffers the source has finished with back to the free list.
void retirePlayedBuffers(ChannelPlayback* playback) {
    ALint processed = 0;
    alGetSourcei(playback->source, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed && !playback->queuedFrames.empty(); ++i) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(playback->source, 1, &buffer);
        playback->retiredFrames += playback->queuedFrames.front();
        playback->queuedFrames.pop_front();
        playback->freeBuffers.push_back(buffer);
    }
}

// Decodes one buffer's worth outside the lock; returns the frames decoded.
int decodeChunk(ChannelPlayback* playback) {
    if (playback->streamEnded) return 0;
    size_t frames = readSongFrames(playback->stream, playback->scratch.data(), bufferFrames);
    if (frames == 0) playback->streamEnded = true;
    return int(frames);
}

void queueChunk(ChannelPlayback* playback, int frames) {
    ALuint buffer = playback->freeBuffers.back();
    playback->freeBuffers.pop_back();
    alBufferData(buffer, AL_FORMAT_STEREO16, playback->scratch.data(), ALsizei(frames * songBytesPerFrame),
                 ALsizei(songOutputRate));
    alSourceQueueBuffers(playback->source, 1, &buffer);
    playback->queuedFrames.push_back(frames);
}

// One round of the feeder: retire, top up, restart after an underrun, notice the end.
void feedOnce(ChannelPlayback* playback) {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(playback->mutex);
            retirePlayedBuffers(playback);
            if (playback->freeBuffers.empty() || playback->streamEnded) break;
        }
        int frames = decodeChunk(playback);
        if (frames == 0) break;
        std::lock_guard<std::mutex> lock(playback->mutex);
        queueChunk(playback, frames);
    }
    std::lock_guard<std::mutex> lock(playback->mutex);
    ALint state = AL_STOPPED;
    alGetSourcei(playback->source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING && !playback->queuedFrames.empty()) {
        alSourcePlay(playback->source);  // ran dry: play on from what is queued now
    } else if (state != AL_PLAYING && playback->streamEnded) {
        playback->finished = true;
    }
}

void feederLoop(ChannelPlayback* playback) {
    std::unique_lock<std::mutex> lock(playback->mutex);
    while (!playback->stopRequested && !playback->finished) {
        lock.unlock();
        feedOnce(playback);
        lock.lock();
        playback->wake.wait_for(lock, feedInterval, [&] { return playback->stopRequested; });
    }
}

bool createSource(ChannelPlayback* playback) {
    alGetError();
    alGenSources(1, &playback->source);
    if (alGetError() != AL_NO_ERROR) return false;
    alGenBuffers(bufferCount, playback->buffers);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &playback->source);
        return false;
    }
    playback->freeBuffers.assign(playback->buffers, playback->buffers + bufferCount);
    alSourcei(playback->source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(playback->source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    if (playback->output->directChannels) alSourcei(playback->source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    return true;
}

// The device's report of the frame being heard: frames played, minus what is still on its way
// through the output's latency. Called with the mutex held.
bool reportedFrames(ChannelPlayback* playback, double* frames) {
    ALint state = AL_STOPPED;
    alGetSourcei(playback->source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) return false;
    double offset = 0.0, latency = 0.0;
    if (playback->output->getSourcei64v) {
        ALint64SOFT values[2] = {0, 0};
        playback->output->getSourcei64v(playback->source, AL_SAMPLE_OFFSET_LATENCY_SOFT, values);
        offset = double(values[0]) / 4294967296.0;
        latency = double(values[1]) * 1e-9 * double(songOutputRate);
    } else {
        ALint sampleOffset = 0;
        alGetSourcei(playback->source, AL_SAMPLE_OFFSET, &sampleOffset);
        offset = sampleOffset;
    }
    *frames = playback->retiredFrames + offset - latency;
    return true;
}

}  // namespace

ChannelPlayback* startPlayback(SoundOutput* output, SongStream* stream) {
    ChannelPlayback* playback = new (std::nothrow) ChannelPlayback;
    if (!playback) return nullptr;
    playback->output = output;
    playback->stream = stream;
    playback->clock.rate = double(songOutputRate);
    if (soundOutputIsSilent(output)) {
        playback->finished = true;  // nothing to feed: the clock alone keeps time
        startPlaybackClock(&playback->clock, monotonicSeconds());
        return playback;
    }
    playback->scratch.resize(size_t(bufferFrames) * songOutputChannels);
    if (!createSource(playback)) {
        delete playback;
        return nullptr;
    }
    for (int i = 0; i < initialBuffers; ++i) {
        int frames = decodeChunk(playback);
        if (frames == 0) break;
        queueChunk(playback, frames);
    }
    startPlaybackClock(&playback->clock, monotonicSeconds());
    if (!playback->queuedFrames.empty()) alSourcePlay(playback->source);
    playback->feeder = std::thread(feederLoop, playback);
    return playback;
}

double playbackFrames(ChannelPlayback* playback) {
    std::lock_guard<std::mutex> lock(playback->mutex);
    double now = monotonicSeconds();
    double reported = 0.0;
    bool hasReport = !playback->finished && playback->source && reportedFrames(playback, &reported);
    return playbackClockFrames(&playback->clock, now, reported, hasReport);
}

void stopPlayback(ChannelPlayback* playback) {
    if (!playback) return;
    {
        std::lock_guard<std::mutex> lock(playback->mutex);
        playback->stopRequested = true;
    }
    playback->wake.notify_one();
    if (playback->feeder.joinable()) playback->feeder.join();
    if (playback->source) {
        alSourceStop(playback->source);
        alSourcei(playback->source, AL_BUFFER, 0);
        alDeleteSources(1, &playback->source);
        alDeleteBuffers(bufferCount, playback->buffers);
    }
    delete playback;
}
