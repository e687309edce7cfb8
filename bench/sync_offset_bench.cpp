// Measures how well the picture follows the sound through a real sound server: the show's song
// plays through the sound layer into a private PulseAudio server whose sink writes into a FIFO in
// real time; whenever audio arrives from the sink, the frame being heard is compared with the
// position the layer reported at that moment (the row the demo would draw).
//
// The sink hands its audio over in blocks (512 frames, 11.6 ms), each when its clock reaches the
// end of the block before. A block that arrives starts playing then: the frame heard is its first,
// and its last is heard a block's time later. Counting the whole block as heard on arrival would
// make the picture look one block late; that figure is printed too, beside the offset from the
// frame heard.
// Over 20 s: the offset's mean, worst and jitter.   sync_offset_bench [SONG]
#include "platform/playback_clock.h"
#include "platform/sound.h"
#include "support/pulse_server.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Poll {
    double time;
    double frames;
};

void printOffsets(const char* against, const std::vector<double>& offsets) {
    double mean = 0, worst = 0, variance = 0;
    for (double o : offsets) mean += o / double(offsets.size());
    for (double o : offsets) {
        worst = std::max(worst, std::fabs(o));
        variance += (o - mean) * (o - mean) / double(offsets.size());
    }
    printf("against %s: mean %+.2f ms, worst %.2f ms, jitter (standard deviation) %.2f ms\n", against, mean, worst,
           std::sqrt(variance));
}

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
    // The sink's block: the smallest amount that ever arrived at once.
    size_t block = SIZE_MAX, before = 0;
    for (const auto& arrival : server.arrivals) {
        if (arrival.second > before) block = std::min(block, arrival.second - before);
        before = arrival.second;
    }
    std::vector<double> heard, wholeBlock;
    for (const auto& arrival : server.arrivals) {
        if (arrival.second <= first + 44100) continue;  // from one second into the song
        double reported = positionAt(polls, arrival.first);
        if (std::isnan(reported)) continue;
        double received = double(arrival.second - first);
        heard.push_back((reported - (received - double(block))) / 44.1);
        wholeBlock.push_back((reported - received) / 44.1);
    }
    if (heard.empty()) return 1;
    printf(
        "%zu arrivals of audio from the sink over 19 s, in blocks of %zu frames (%.2f ms); "
        "the layer's position minus\n",
        heard.size(), block, double(block) / 44.1);
    printOffsets("the frame heard (the first of the block arriving)", heard);
    printOffsets("the end of the block arriving (counted as heard at once)", wholeBlock);
    return 0;
}
