// Measures how well the picture follows the sound through a real sound server: the show's song
// plays through the sound layer into a private PulseAudio server whose sink writes into a FIFO in
// real time; whenever audio arrives from the sink, the frame that has just been heard is
// compared with the position the layer reported at that moment (the row the demo would draw).
// Prints the offset's mean, worst and jitter over 20 s.   sync_offset_bench [SONG]
#include "platform/playback_clock.h"
#include "platform/sound.h"
#include "support/pulse_server.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Poll {
    double time;
    double frames;
};

// The layer's position at a moment, interpolated between the polls around it.
double positionAt(const std::vector<Poll>& polls, double time) {
    auto after =
        std::lower_bound(polls.begin(), polls.end(), time, [](const Poll& poll, double t) { return poll.time < t; });
    if (after == polls.begin() || after == polls.end()) return NAN;
    auto before = after - 1;
    double f = (time - before->time) / (after->time - before->time);
    return before->frames + f * (after->frames - before->frames);
}

}  // namespace

int main(int argc, char** argv) {
    std::string song = argc > 1 ? argv[1] : std::string(DEMO_SHOW_DIR) + "/data/mirekand2013.mp3";
    PulseServer server;
    if (!server.start()) return 1;
    FMOD::System* system = nullptr;
    FMOD_System_Create(&system);
    FMOD::Sound* sound = nullptr;
    FMOD::Channel* channel = nullptr;
    if (system->init(1, FMOD_INIT_NORMAL, nullptr) != FMOD_OK || soundOutputKind(system) != soundOutputDevice ||
        system->createStream(song.c_str(), FMOD_2D | FMOD_CREATESTREAM, nullptr, &sound) != FMOD_OK ||
        system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel) != FMOD_OK) {
        printf("cannot play %s through the server\n", song.c_str());
        return 1;
    }
    std::vector<Poll> polls;
    double start = monotonicSeconds();
    while (monotonicSeconds() - start < 20.0) {
        system->update();
        unsigned bytes = 0;
        channel->getPosition(&bytes, FMOD_TIMEUNIT_PCMBYTES);
        polls.push_back(Poll{monotonicSeconds(), bytes / 4.0});
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    system->release();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    server.stop();

    // The song starts at the first frame that is not silence in the capture.
    size_t first = 0;
    while (first < server.captured.size() && server.captured[first] == 0) ++first;
    first /= 2;
    std::vector<double> offsets;
    for (const auto& arrival : server.arrivals) {
        if (arrival.second <= first + 44100) continue;  // from one second into the song
        double heard = double(arrival.second - first);
        double reported = positionAt(polls, arrival.first);
        if (!std::isnan(reported)) offsets.push_back((reported - heard) / 44.1);
    }
    if (offsets.empty()) return 1;
    double mean = 0, worst = 0, variance = 0;
    for (double o : offsets) mean += o / double(offsets.size());
    for (double o : offsets) {
        worst = std::max(worst, std::fabs(o));
        variance += (o - mean) * (o - mean) / double(offsets.size());
    }
    printf(
        "%zu arrivals of audio from the sink over 19 s: the layer's position minus the frame just heard:\n"
        "mean %+.2f ms, worst %.2f ms, jitter (standard deviation) %.2f ms\n",
        offsets.size(), mean, worst, std::sqrt(variance));
    return 0;
}
