// demo-song: synthesizes the show's song from its score (show/score.txt) and writes it as an
// MP3 (and, for checks, as a WAV). The same score gives byte-identical files on every run.
// This file parses arguments and prints; the work is done by the song_* files beside it.
//
//   demo-song --score FILE [--mp3 OUT.mp3] [--wav OUT.wav] [--seconds N] [--after S] [--sections]
#include "base/show_facts.h"
#include "song_arrange.h"
#include "song_instruments.h"
#include "song_loudness.h"
#include "song_mix.h"
#include "song_output.h"
#include "song_score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr double targetLoudness = -14.0;  // LUFS, integrated
constexpr double peakLimit = -1.8;        // dBTP before encoding; the MP3 stays under -1

const char* const usage =
    "Usage: demo-song --score FILE [--mp3 OUT.mp3] [--wav OUT.wav] [--seconds N] [--after S] [--sections]\n"
    "\n"
    "Synthesizes the song of the score and writes it as MP3 and/or 16-bit WAV (44100 Hz,\n"
    "stereo), mastered to -14 LUFS with true peaks under -1 dBTP. It prints the length, the\n"
    "integrated loudness, the loudness range, the true peak and the RMS level of the rest of the\n"
    "song after S seconds (by default, after the score's fade has ended).\n"
    "  --seconds N  only the first N seconds (mastered on their own), for quick checks\n"
    "  --after S    where the level of the rest is measured from, in seconds\n"
    "  --sections   print the sections (name, bar, row, seconds) and stop\n"
    "\n"
    "Exit status: 0 done, 1 a bad score or a file that cannot be written, 2 bad arguments.\n";

struct Options {
    std::string score;
    std::string mp3;
    std::string wav;
    double seconds = 0;
    double after = -1;  // not given
    bool sections = false;
};

bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--sections") {
            options->sections = true;
            continue;
        }
        bool takesValue = argument == "--score" || argument == "--mp3" || argument == "--wav" ||
                          argument == "--seconds" || argument == "--after";
        if (!takesValue || i + 1 >= argc) {
            fprintf(stderr, "demo-song: unexpected argument \"%s\"\n%s", argv[i], usage);
            return false;
        }
        std::string value = argv[++i];
        if (argument == "--score") options->score = value;
        if (argument == "--mp3") options->mp3 = value;
        if (argument == "--wav") options->wav = value;
        if (argument == "--seconds" || argument == "--after") {
            char* end = nullptr;
            double number = std::strtod(value.c_str(), &end);
            if (!end || *end != '\0' || !(number > 0) || !std::isfinite(number)) {
                fprintf(stderr, "demo-song: %s needs a positive number\n", argument.c_str());
                return false;
            }
            (argument == "--seconds" ? options->seconds : options->after) = number;
        }
    }
    if (options->score.empty() || (!options->sections && options->mp3.empty() && options->wav.empty())) {
        fprintf(stderr, "demo-song: --score and an output (--mp3 or --wav) are required\n%s", usage);
        return false;
    }
    return true;
}

void printSections(const Score& score) {
    double rowsPerBar = rowsPerSecond * 60.0 / score.tempo * 4.0;
    printf("%-14s %5s %7s %8s\n", "section", "bar", "row", "seconds");
    for (const Section& section : score.sections) {
        printf("%-14s %5d %7.0f %8.1f\n", section.name.c_str(), section.startBar, section.startBar * rowsPerBar,
               section.startBar * rowsPerBar / rowsPerSecond);
    }
    printf("%-14s %5d %7.0f %8.1f\n", "(end)", score.endBar, score.endBar * rowsPerBar,
           score.endBar * rowsPerBar / rowsPerSecond);
}

std::vector<float> synthesize(const Score& score, double seconds) {
    Arrangement arrangement = arrangeScore(score);
    if (seconds > 0) arrangement.totalFrames = std::min(arrangement.totalFrames, long(seconds * songRate));
    // A shortened song still ends in a fade rather than a cut: over its last 1.5 seconds.
    if (arrangement.fadeEnd > arrangement.totalFrames) {
        arrangement.fadeEnd = arrangement.totalFrames;
        arrangement.fadeStart =
            std::max(0L, std::min(arrangement.fadeStart, arrangement.totalFrames - long(1.5 * songRate)));
    }
    MixBuses buses = makeMixBuses(arrangement.totalFrames);
    uint32_t seed = 1;
    for (const NoteEvent& event : arrangement.events) {
        if (event.start < arrangement.totalFrames) renderEvent(event, buses, seed);
        ++seed;
    }
    return mixDown(buses, arrangement);
}

void printReport(const Score& score, const std::vector<float>& song, const MasteringReport& report, double after) {
    double length = double(song.size() / 2) / songRate;
    if (after < 0) after = double(barStartFrame(score, score.fadeToBar)) / songRate;
    double rest = levelAfterDb(song, after);
    printf("demo-song: %.3f s long; %.1f LUFS integrated, loudness range %.1f LU, true peak %.1f dBTP\n", length,
           report.loudness, report.loudnessRange, report.truePeak);
    if (after >= length)
        printf("demo-song: the song ends before %.3f s\n", after);
    else if (std::isinf(rest))
        printf("demo-song: after %.3f s: digital silence\n", after);
    else
        printf("demo-song: after %.3f s: %.1f dBFS RMS\n", after, rest);
    printf("demo-song: mix %.1f LUFS, gain %+.1f dB, mastered in %d pass%s\n", report.loudnessBefore, report.gainDb,
           report.passes, report.passes == 1 ? "" : "es");
}

}  // namespace

constexpr int exitDone = 0;
constexpr int exitFailed = 1;  // a mistake in the score, or the song could not be written
constexpr int exitUsage = 2;

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) return exitUsage;
    ScoreResult read = readScore(options.score);
    if (!read.error.empty()) {
        fprintf(stderr, "demo-song: %s\n", read.error.c_str());
        return exitFailed;
    }
    if (options.sections) {
        printSections(read.score);
        return exitDone;
    }
    std::vector<float> song = synthesize(read.score, options.seconds);
    MasteringReport report = masterSong(song, targetLoudness, peakLimit);
    printReport(read.score, song, report, options.after);
    if (!options.wav.empty() && writeWav(options.wav, song) != 0) return exitFailed;
    if (!options.mp3.empty() && writeMp3(options.mp3, song) != 0) return exitFailed;
    return exitDone;
}
