// The song rule: the show ends at its last row, so the song should end with it: still sounding
// after that row (the level of what follows, as RMS, above -60 dBFS) it is cut off mid-sound, and
// ending before it leaves the last rows in silence. Decoded with the demo's own decoder.
#include "offline/lint_rules.h"

#include "base/number_words.h"
#include "base/show_facts.h"
#include "offline/lint_show.h"
#include "platform/song_stream.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double loudestSilence = -60.0;  // dBFS

struct SongTail {
    int64_t frames = 0;         // the whole song's
    double sumOfSquares = 0.0;  // of the samples after the last row, full scale 1
    int64_t samplesAfter = 0;
};

SongTail measureTail(SongStream* stream, int64_t firstFrameAfter) {
    constexpr size_t chunkFrames = 8192;
    std::vector<int16_t> chunk(chunkFrames * songOutputChannels);
    SongTail tail;
    size_t got;
    while ((got = readSongFrames(stream, chunk.data(), chunkFrames)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            if (tail.frames + int64_t(i) < firstFrameAfter) continue;
            for (int c = 0; c < songOutputChannels; ++c) {
                double sample = chunk[i * songOutputChannels + size_t(c)] / 32768.0;
                tail.sumOfSquares += sample * sample;
                tail.samplesAfter += 1;
            }
        }
        tail.frames += int64_t(got);
    }
    return tail;
}

}  // namespace

RuleVerdict judgeSong(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "song";
    const std::string path = songFileName;
    SongStream* stream = nullptr;
    if (openSongStream(path.c_str(), &stream) != 0) {
        verdict.judged = false;
        verdict.notJudgedReason = "no song to decode";
        return verdict;
    }
    // The last row ends at this much song time; every sample from it on is heard after the show.
    double lastSecond = show.lastRow / rowsPerSecond;
    double endFrame = lastSecond * double(songOutputRate);
    SongTail tail = measureTail(stream, int64_t(std::ceil(endFrame)));
    closeSongStream(stream);
    char when[96];
    std::snprintf(when, sizeof when, "row %d (%.3f s)", show.lastRow, lastSecond);
    if (double(tail.frames) < endFrame) {
        char length[32];
        std::snprintf(length, sizeof length, "%.3f s", double(tail.frames) / double(songOutputRate));
        verdict.findings.push_back("song: " + path + " ends at " + length + ", before the show's last " + when);
        verdict.figure = "ends at " + std::string(length);
        return verdict;
    }
    if (tail.samplesAfter == 0 || tail.sumOfSquares == 0.0) {
        verdict.figure = "silent after the last row";
        return verdict;
    }
    double level = 10.0 * std::log10(tail.sumOfSquares / double(tail.samplesAfter));
    verdict.figure = formatNumber("%.0f dBFS", level) + " after the last row";
    if (level > loudestSilence) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f s", double(tail.frames) / double(songOutputRate) - lastSecond);
        verdict.findings.push_back("song: " + path + " still sounds after the show's last " + when + ": " +
                                   formatNumber("%.0f dBFS", level) + " over the " + seconds + " that follow");
    }
    return verdict;
}
