// Measures the sound layer's clock: polled once per millisecond for 10 s, how many distinct
// positions it gives per second, its largest step, and how far it strays from the monotonic
// clock (peak to peak); and how long opening the 280 s song as a stream takes.
//
//   sound_clock_bench silent|null|pulse
//     silent: no output device (the layer's own real-time silent output)
//     null:   OpenAL's silent "No Output" device
//     pulse:  a private PulseAudio server with a FIFO sink, started by the benchmark
#include "platform/playback_clock.h"
#include "platform/sound.h"
#include "support/audio_fixtures.h"
#include "support/pulse_server.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr FMOD_MODE songMode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;

double medianOpenMs(FMOD::System* system, const std::string& path) {
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        FMOD::Sound* sound = nullptr;
        double start = monotonicSeconds();
        if (system->createStream(path.c_str(), songMode, nullptr, &sound) != FMOD_OK) return -1.0;
        times.push_back((monotonicSeconds() - start) * 1000.0);
        sound->release();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void measureClock(FMOD::System* system, const std::string& path) {
    FMOD::Sound* sound = nullptr;
    FMOD::Channel* channel = nullptr;
    if (system->createStream(path.c_str(), songMode, nullptr, &sound) != FMOD_OK ||
        system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel) != FMOD_OK) {
        printf("cannot play the song\n");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // past the output latency
    unsigned previous = 0, largestStep = 0;
    long distinct = 0, polls = 0, skipped = 0;
    double minOffset = 1e9, maxOffset = -1e9, start = monotonicSeconds(), now = start;
    auto nextPoll = std::chrono::steady_clock::now();
    while (now - start < 10.0) {
        system->update();
        unsigned position = 0;
        double before = monotonicSeconds();
        channel->getPosition(&position, FMOD_TIMEUNIT_PCMBYTES);
        now = monotonicSeconds();
        // A poll during which this thread was descheduled says nothing about the clock.
        bool clean = now - before < 0.0002;
        skipped += !clean;
        if (polls > 0 && position != previous) ++distinct;
        if (polls > 0) largestStep = std::max(largestStep, position - previous);
        double offset = position / 176400.0 - now;
        if (clean) {
            minOffset = std::min(minOffset, offset);
            maxOffset = std::max(maxOffset, offset);
        }
        previous = position;
        ++polls;
        nextPoll += std::chrono::milliseconds(1);
        std::this_thread::sleep_until(nextPoll);
    }
    double seconds = now - start;
    printf("polls: %ld (%.0f per second)\n", polls, polls / seconds);
    printf("distinct positions per second: %.0f\n", distinct / seconds);
    printf("largest step: %.2f ms\n", largestStep / 176.4);
    printf("deviation from the monotonic clock, peak to peak: %.3f ms (%ld interrupted polls left out)\n",
           (maxOffset - minOffset) * 1000.0, skipped);
    sound->release();
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "silent";
    PulseServer server;
    if (strcmp(mode, "pulse") == 0 && !server.start()) {
        printf("cannot start pulseaudio\n");
        return 1;
    }
    if (strcmp(mode, "null") == 0) setenv("ALSOFT_DRIVERS", "null", 1);
    if (strcmp(mode, "silent") == 0) setenv("ALSOFT_DRIVERS", "none", 1);

    TempDir dir;
    std::string song = dir.file("song.mp3");
    printf("making a 280 s song with lame...\n");
    if (!makeSong(song, 44100, 2, 280.0)) return 1;

    FMOD::System* system = nullptr;
    FMOD_System_Create(&system);
    if (system->init(1, FMOD_INIT_NORMAL, nullptr) != FMOD_OK) return 1;
    SoundOutputKind kind = soundOutputKind(system);
    printf("output: %s (%s)\n", mode, kind == soundOutputDevice ? "OpenAL device" : "silent real-time output");
    printf("createStream of the 280 s song, median of 21: %.3f ms\n", medianOpenMs(system, song));
    measureClock(system, song);
    system->release();
    return 0;
}
