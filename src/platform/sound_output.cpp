// OpenAL output and the silent output, the decode-ahead thread that feeds a playing song, and
// moving and pausing a playing song.
//
// Moving and resuming share one path: with the feeder thread stopped (it decodes outside the
// lock, so the stream may only be sought while it is not running), the source is stopped and
// emptied, the stream sought, the book-keeping set to the new frame, the first buffers decoded,
// and the source and the feeder started again. The clock restarts at the new frame on the next
// read of the position, and holds there until the device reports that frame heard.
#include "platform/sound_output.h"

#include "platform/song_stream.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
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

    // Changed only by the calls on the playback, which never run concurrently; not by the feeder.
    bool paused = false;
    bool clockWaits = false;  // the clock restarts at heldFrames on the next read
    double heldFrames = 0.0;  // the position while paused, and where the clock restarts

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

// The position, with the mutex held.
double currentFrames(ChannelPlayback* playback) {
    if (playback->paused) return playback->heldFrames;
    double now = monotonicSeconds();
    if (playback->clockWaits) {
        startPlaybackClock(&playback->clock, now, playback->heldFrames);
        playback->clockWaits = false;
    }
    double reported = 0.0;
    bool hasReport = !playback->finished && playback->source && reportedFrames(playback, &reported);
    return playbackClockFrames(&playback->clock, now, reported, hasReport);
}

// Pauses the source and tells the first frame it has not handed to the device: everything before
// it is mixed and will still be heard. 0 when the source is not playing.
double handedOutFrames(ChannelPlayback* playback) {
    ALint state = AL_STOPPED;
    alGetSourcei(playback->source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) return 0.0;
    alSourcePause(playback->source);
    ALint offset = 0;
    alGetSourcei(playback->source, AL_SAMPLE_OFFSET, &offset);
    return playback->retiredFrames + offset;
}

void startFeeder(ChannelPlayback* playback) {
    playback->stopRequested = false;
    playback->feeder = std::thread(feederLoop, playback);
}

// Stops the feeder thread and waits for it; called without the mutex.
void stopFeeder(ChannelPlayback* playback) {
    {
        std::lock_guard<std::mutex> lock(playback->mutex);
        playback->stopRequested = true;
    }
    playback->wake.notify_one();
    if (playback->feeder.joinable()) playback->feeder.join();
}

// Decodes and queues the first buffers, so that the source does not start dry.
void prefill(ChannelPlayback* playback) {
    for (int i = 0; i < initialBuffers; ++i) {
        int frames = decodeChunk(playback);
        if (frames == 0) break;
        queueChunk(playback, frames);
    }
}

// Stops the source and takes every buffer off it; the feeder must be stopped.
void emptySource(ChannelPlayback* playback) {
    alSourceStop(playback->source);
    alSourcei(playback->source, AL_BUFFER, 0);
    playback->freeBuffers.assign(playback->buffers, playback->buffers + bufferCount);
    playback->queuedFrames.clear();
}

// Plays the stream from the frame on an empty source, with the mutex held and the feeder stopped.
// A stream that cannot be sought plays nothing more; the position runs on from the frame.
bool playFrom(ChannelPlayback* playback, int64_t frame) {
    bool sought = seekSongStream(playback->stream, frame) == 0;
    playback->retiredFrames = double(frame);
    playback->streamEnded = !sought;
    playback->finished = false;
    playback->heldFrames = double(frame);
    playback->clockWaits = true;
    prefill(playback);
    if (!playback->queuedFrames.empty()) alSourcePlay(playback->source);
    startFeeder(playback);
    return sought;
}

}  // namespace

ChannelPlayback* startPlayback(SoundOutput* output, SongStream* stream, bool paused) {
    ChannelPlayback* playback = new (std::nothrow) ChannelPlayback;
    if (!playback) return nullptr;
    playback->output = output;
    playback->stream = stream;
    playback->clock.rate = double(songOutputRate);
    playback->paused = paused;  // held at frame 0
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
    if (paused) return playback;
    prefill(playback);
    startPlaybackClock(&playback->clock, monotonicSeconds());
    if (!playback->queuedFrames.empty()) alSourcePlay(playback->source);
    startFeeder(playback);
    return playback;
}

double playbackFrames(ChannelPlayback* playback) {
    std::lock_guard<std::mutex> lock(playback->mutex);
    return currentFrames(playback);
}

bool seekPlayback(ChannelPlayback* playback, int64_t frame) {
    if (playback->paused || !playback->source) {
        std::lock_guard<std::mutex> lock(playback->mutex);
        playback->heldFrames = double(frame);
        playback->clockWaits = !playback->paused;
        return true;
    }
    stopFeeder(playback);
    std::lock_guard<std::mutex> lock(playback->mutex);
    emptySource(playback);
    return playFrom(playback, frame);
}

void pausePlayback(ChannelPlayback* playback) {
    if (playback->paused) return;
    if (playback->source) stopFeeder(playback);
    std::lock_guard<std::mutex> lock(playback->mutex);
    double held = currentFrames(playback);
    if (playback->source) {
        held = std::max(held, handedOutFrames(playback));
        emptySource(playback);
    }
    playback->heldFrames = std::floor(held);
    playback->paused = true;
}

bool resumePlayback(ChannelPlayback* playback) {
    if (!playback->paused) return true;
    std::lock_guard<std::mutex> lock(playback->mutex);
    playback->paused = false;
    playback->clockWaits = true;
    return !playback->source || playFrom(playback, int64_t(playback->heldFrames));
}

bool playbackPaused(const ChannelPlayback* playback) { return playback->paused; }

void stopPlayback(ChannelPlayback* playback) {
    if (!playback) return;
    stopFeeder(playback);
    if (playback->source) {
        alSourceStop(playback->source);
        alSourcei(playback->source, AL_BUFFER, 0);
        alDeleteSources(1, &playback->source);
        alDeleteBuffers(bufferCount, playback->buffers);
    }
    delete playback;
}
