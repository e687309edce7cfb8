// demo-song: synthesizes the show's song from its score (show/score.txt) and the lyrics it sings
// (show/lyrics.txt) and writes it as an MP3 (and, for checks, as a WAV, and as stems). The same
// sources give byte-identical files on every run. This file parses arguments and prints; the
// work is done by the song_* files beside it.
//
//   demo-song --score FILE [--lyrics FILE] [--mp3 OUT.mp3] [--wav OUT.wav] [--stems DIR]
//             [--events FILE] [--seconds N] [--after S] [--sections] [--figures]
#include "base/show_facts.h"
#include "base/tagged_text.h"
#include "base/tool_exit.h"
#include "song_arrange.h"
#include "song_figures.h"
#include "song_instruments.h"
#include "song_loudness.h"
#include "song_lyrics.h"
#include "song_mix.h"
#include "song_output.h"
#include "song_score.h"
#include "song_timeline.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr double targetLoudness = -14.0;  // LUFS, integrated
constexpr double peakLimit = -1.8;        // dBTP before encoding; the MP3 stays under -1

const char* const usage =
    "Usage: demo-song --score FILE [--lyrics FILE] [--mp3 OUT.mp3] [--wav OUT.wav] [--stems DIR]\n"
    "                 [--events FILE] [--seconds N] [--after S] [--sections] [--figures]\n"
    "\n"
    "Synthesizes the song of the score, its lines sung by Pip and Count Glitch, and writes it as\n"
    "MP3 and/or 16-bit WAV (44100 Hz, stereo), mastered to -14 LUFS with true peaks under\n"
    "-1 dBTP. It prints the length, the integrated loudness, the loudness range, the true peak\n"
    "and the RMS level of the rest of the song after S seconds (by default, after the score's\n"
    "fade has ended).\n"
    "  --lyrics FILE  the words sung (by default lyrics.txt beside the score)\n"
    "  --stems DIR    also write DIR/voice-good.wav, DIR/voice-evil.wav (each singer alone),\n"
    "                 DIR/band.wav (everything else), 6 dB under the mix's gain, and\n"
    "                 DIR/mix.wav, the mastered song, and\n"
    "                 DIR/lines.txt (each sung line: start and end in seconds, singer, words)\n"
    "  --events FILE  also write what the song plays and sings, a line each (ROW LENGTH KIND,\n"
    "                 in rows of 1/24 s): bar, beat, kick, snare, clap, crash, riser,\n"
    "                 section:NAME, line:WHO, sing:WHO (a syllable: the rows the mouth is open),\n"
    "                 stutter:WHO; WHO is good or evil. The choreography's accents follow them\n"
    "  --seconds N    only the first N seconds (mastered on their own), for quick checks\n"
    "  --after S      where the level of the rest is measured from, in seconds\n"
    "  --sections     print the sections (name, BAR:BEAT from 1, row, seconds) and where the\n"
    "                 song ends, and stop\n"
    "  --figures      also print the mix's width, presence, sub, share of repeated bars and\n"
    "                 each section's loudness and loudness range\n"
    "\n"
    "Exit status: 0 done, 1 a bad score or a file that cannot be written, 2 bad arguments.\n";

struct Options {
    std::string score;
    std::string lyrics;
    std::string stems;
    std::string events;
    std::string mp3;
    std::string wav;
    double seconds = 0;
    double after = -1;  // not given
    bool sections = false;
    bool figures = false;
};

bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--sections" || argument == "--figures") {
            (argument == "--sections" ? options->sections : options->figures) = true;
            continue;
        }
        bool takesValue = argument == "--score" || argument == "--lyrics" || argument == "--stems" ||
                          argument == "--events" || argument == "--mp3" || argument == "--wav" ||
                          argument == "--seconds" || argument == "--after";
        if (!takesValue || i + 1 >= argc) {
            fprintf(stderr, "demo-song: unexpected argument \"%s\"\n%s", argv[i], usage);
            return false;
        }
        std::string value = argv[++i];
        if (argument == "--score") options->score = value;
        if (argument == "--lyrics") options->lyrics = value;
        if (argument == "--stems") options->stems = value;
        if (argument == "--events") options->events = value;
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
    bool output = !options->mp3.empty() || !options->wav.empty() || !options->stems.empty() || !options->events.empty();
    if (options->score.empty() || (!options->sections && !output)) {
        fprintf(stderr, "demo-song: --score and an output (--mp3, --wav or --stems) are required\n%s", usage);
        return false;
    }
    if (options->lyrics.empty()) {
        size_t slash = options->score.rfind('/');
        options->lyrics = (slash == std::string::npos ? "" : options->score.substr(0, slash + 1)) + lyricsFileName;
    }
    return true;
}

// Each section where it starts, as BAR:BEAT (bars counted from 1, as the score and the
// choreography write them), row and seconds, then where the song ends.
void printSections(const Score& score) {
    double rowsPerBar = rowsPerSecond * 60.0 / score.tempo * 4.0;
    printf("%-14s %7s %7s %8s\n", "section", "bar", "row", "seconds");
    for (const Section& section : score.sections) {
        std::string bar = std::to_string(section.startBar + 1) + ":1";
        printf("%-14s %7s %7.0f %8.1f\n", section.name.c_str(), bar.c_str(), section.startBar * rowsPerBar,
               section.startBar * rowsPerBar / rowsPerSecond);
    }
    std::string end = std::to_string(score.endBar + 1) + ":1";
    printf("%-14s %7s %7.0f %8.1f\n", "(end)", end.c_str(), score.endBar * rowsPerBar,
           score.endBar * rowsPerBar / rowsPerSecond);
}

// The song in parts that add up to the mix: each singer alone and the band.
struct SongParts {
    std::vector<float> hero;
    std::vector<float> villain;
    std::vector<float> band;
    std::vector<SongEvent> events;  // what it plays and sings, for the choreography
    std::string error;
};

SongParts synthesize(const Score& score, const std::vector<SungLine>& sung, double seconds) {
    Arrangement arrangement = arrangeScore(score);
    if (seconds > 0) arrangement.totalFrames = std::min(arrangement.totalFrames, long(seconds * songOutputRate));
    // A shortened song still ends in a fade rather than a cut: over its last 1.5 seconds.
    if (arrangement.fadeEnd > arrangement.totalFrames) {
        arrangement.fadeEnd = arrangement.totalFrames;
        arrangement.fadeStart =
            std::max(0L, std::min(arrangement.fadeStart, arrangement.totalFrames - long(1.5 * songOutputRate)));
    }
    SongParts parts;
    MixBuses band = makeMixBuses(arrangement.totalFrames);
    uint32_t seed = 1;
    for (const NoteEvent& event : arrangement.events) {
        if (event.start < arrangement.totalFrames) renderEvent(event, band, seed);
        ++seed;
    }
    parts.band = mixDown(band, arrangement);
    std::vector<SungTiming> timing;
    for (Singer singer : {Singer::hero, Singer::villain}) {
        MixBuses voice = makeMixBuses(arrangement.totalFrames);
        timing.push_back(SungTiming{singer, {}});
        for (const SungLine& line : sung) {
            if (line.singer != singer || line.slotStart >= arrangement.totalFrames) continue;
            std::string error = singLine(line, voice, &timing.back().syllables);
            if (!error.empty()) {
                parts.error = error;
                return parts;
            }
        }
        (singer == Singer::hero ? parts.hero : parts.villain) = mixDown(voice, arrangement);
    }
    parts.events = songEvents(score, arrangement, sung, timing);
    std::vector<float> voices = parts.hero;
    for (size_t i = 0; i < voices.size(); ++i) voices[i] += parts.villain[i];
    carveRoomForVoice(parts.band, voices);
    // The carving filter rings on for a moment after the band's fade has ended: silence it, as
    // the fade did.
    for (size_t i = 2 * size_t(std::max(0L, arrangement.fadeEnd)); i < parts.band.size(); ++i) parts.band[i] = 0.0f;
    return parts;
}

std::vector<float> sumOf(const std::vector<std::vector<float>*>& parts, double gain) {
    std::vector<float> sum(parts.front()->size(), 0.0f);
    for (const std::vector<float>* part : parts) {
        for (size_t i = 0; i < sum.size(); ++i) sum[i] += float((*part)[i] * gain);
    }
    return sum;
}

// The sung lines, a line each: the seconds their slot starts and ends, the singer's tag and the
// words, so that a listener (or a recognizer) knows what to expect where.
int writeSungLines(const std::string& path, const std::vector<SungLine>& sung, long songFrames) {
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        fprintf(stderr, "demo-song: %s cannot be written\n", path.c_str());
        return -1;
    }
    for (const SungLine& line : sung) {
        if (line.slotEnd > songFrames) continue;  // a song cut short (--seconds) lacks it
        fprintf(file, "%.3f %.3f %s %s\n", double(line.slotStart) / songOutputRate,
                double(line.slotEnd) / songOutputRate, line.singer == Singer::hero ? "good" : "evil",
                line.text.c_str());
    }
    if (fclose(file) != 0) {
        fprintf(stderr, "demo-song: %s could not be written whole\n", path.c_str());
        return -1;
    }
    return 0;
}

// Each part at the gain the mix was mastered with less 6 dB, so that no part clips on its own
// (they add up to the mix before its limiter at +6 dB), the mastered mix itself and the lines.
int writeStems(const std::string& folder, SongParts& parts, const std::vector<float>& mix, double gainDb,
               const std::vector<SungLine>& sung) {
    double gain = std::pow(10.0, (gainDb - 6.0) / 20.0);
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    const struct {
        const char* name;
        std::vector<float>* part;
    } stems[] = {{"voice-good.wav", &parts.hero}, {"voice-evil.wav", &parts.villain}, {"band.wav", &parts.band}};
    for (const auto& stem : stems) {
        if (writeWav(folder + "/" + stem.name, sumOf({stem.part}, gain)) != 0) return -1;
    }
    if (writeSungLines(folder + "/lines.txt", sung, long(mix.size() / 2)) != 0) return -1;
    return writeWav(folder + "/mix.wav", mix);
}

void printReport(const Score& score, const std::vector<float>& song, const MasteringReport& report, double after) {
    double length = double(song.size() / 2) / songOutputRate;
    if (after < 0) after = double(barStartFrame(score, score.fadeToBar)) / songOutputRate;
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
    TaggedText lyrics = readLyrics(options.lyrics);
    SungLines sung = lyrics.error.empty() ? sungLines(read.score, lyrics) : SungLines{{}, lyrics.error};
    if (!sung.error.empty()) {
        fprintf(stderr, "demo-song: %s\n", sung.error.c_str());
        return exitFailed;
    }
    SongParts parts = synthesize(read.score, sung.lines, options.seconds);
    if (!parts.error.empty()) {
        fprintf(stderr, "demo-song: %s\n", parts.error.c_str());
        return exitFailed;
    }
    std::vector<float> song = sumOf({&parts.hero, &parts.villain, &parts.band}, 1.0);
    MasteringReport report = masterSong(song, targetLoudness, peakLimit);
    printReport(read.score, song, report, options.after);
    if (options.figures) printSongFigures(stdout, read.score, song);
    if (!options.wav.empty() && writeWav(options.wav, song) != 0) return exitFailed;
    if (!options.mp3.empty() && writeMp3(options.mp3, song) != 0) return exitFailed;
    if (!options.stems.empty() && writeStems(options.stems, parts, song, report.gainDb, sung.lines) != 0)
        return exitFailed;
    double endRow = double(song.size() / 2) / songOutputRate * rowsPerSecond;
    if (!options.events.empty() && writeSongEvents(options.events, read.score, endRow, parts.events) != 0)
        return exitFailed;
    return exitDone;
}
