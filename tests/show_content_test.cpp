// The show's generated content (build/show): lyrics that are whole speech bubbles showing their
// text, over bubble images left clear; the song's gapless
// start, loudness and clean intro; the generators' determinism and their messages on bad
// sources. Where the images land on screen over the whole show (safe area, text left readable)
// is the lint's, run on the show in show_check_test.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/song_stream.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/run_program.h"
#include "support/sync_files.h"
#include "sync/musical_grid.h"
#include "sync/song_events.h"
#include "sync/song_fit.h"

namespace {

const std::string showDir = std::string(DEMO_BIN_DIR) + "/../show";
const std::string showSources = std::string(DEMO_SOURCE_DIR) + "/show";
const std::string songPath = showDir + "/data/mirekand2013.mp3";

// A show image's pixels as RGBA; empty when it does not decode.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

Image imageOf(const std::string& name) {
    Image image;
    int channels = 0;
    unsigned char* pixels = stbi_load((showDir + "/" + name).c_str(), &image.width, &image.height, &channels, 4);
    if (!pixels) return image;
    image.pixels.assign(pixels, pixels + size_t(image.width) * size_t(image.height) * 4);
    stbi_image_free(pixels);
    return image;
}

double meanAlpha(const Image& image) {
    double sum = 0;
    for (size_t i = 3; i < image.pixels.size(); i += 4) sum += image.pixels[i];
    return sum / 255.0 / double(image.pixels.size() / 4);
}

// What a lyric's middle shows: the middle half of the opaque span of its row 40, across the
// bubble's panel, in the rows 22 to 57 (the panel spans rows 4 to 75, its trim line runs 7
// inside its edge).
struct PanelMiddle {
    double opaqueShare = 0;  // of its pixels, the fully opaque ones
    double panelLight = 0;   // the median light (0 black to 1 white): the panel's colour
    double textShare = 0;    // of its pixels, those at least 0.4 lighter or darker than that
};

double lightOf(const unsigned char* rgba) { return (0.2126 * rgba[0] + 0.7152 * rgba[1] + 0.0722 * rgba[2]) / 255.0; }

PanelMiddle panelMiddle(const Image& image) {
    PanelMiddle middle;
    if (image.height <= 58) return middle;
    int first = image.width, last = -1;
    for (int x = 0; x < image.width; ++x) {
        if (image.pixels[(size_t(40) * size_t(image.width) + size_t(x)) * 4 + 3] != 255) continue;
        first = std::min(first, x);
        last = x;
    }
    int quarter = (last - first) / 4;
    std::vector<double> lights;
    size_t opaque = 0;
    for (int y = 22; y < 58; ++y) {
        for (int x = first + quarter; x < last - quarter; ++x) {
            const unsigned char* rgba = &image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4];
            opaque += rgba[3] == 255;
            lights.push_back(lightOf(rgba));
        }
    }
    if (lights.empty()) return middle;
    std::vector<double> sorted = lights;
    std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
    middle.panelLight = sorted[sorted.size() / 2];
    size_t text = 0;
    for (double light : lights) text += std::fabs(light - middle.panelLight) >= 0.4;
    middle.opaqueShare = double(opaque) / double(lights.size());
    middle.textShare = double(text) / double(lights.size());
    return middle;
}

std::string lyricName(const char* side, int number) {
    char name[64];
    snprintf(name, sizeof name, "data/%s_lyrics/%02d.png", side, number);
    return name;
}

}  // namespace

// Each lyric is a whole speech bubble: clear around it, an opaque panel (Pip's light, Count
// Glitch's dark) with its own line in strongly contrasting letters across the middle.
TEST(ShowImages, LyricsAreBubblesWithDistinctReadableText) {
    for (const auto& [side, lines, light] :
         {std::tuple<const char*, int, bool>{"good", 32, true}, {"evil", 18, false}}) {
        for (int k = 1; k <= lines; ++k) {
            Image lyric = imageOf(lyricName(side, k));
            ASSERT_FALSE(lyric.pixels.empty()) << lyricName(side, k);
            EXPECT_EQ(lyric.pixels[3], 0) << lyricName(side, k) << " should be clear around its bubble";
            PanelMiddle middle = panelMiddle(lyric);
            EXPECT_GT(middle.opaqueShare, 0.99) << lyricName(side, k) << " has no opaque panel behind its text";
            if (light)
                EXPECT_GT(middle.panelLight, 0.8) << lyricName(side, k) << " should have a light panel";
            else
                EXPECT_LT(middle.panelLight, 0.3) << lyricName(side, k) << " should have a dark panel";
            EXPECT_GT(middle.textShare, 0.04) << lyricName(side, k) << " shows no text on its panel";
            if (k > 1) {
                EXPECT_NE(lyric.pixels, imageOf(lyricName(side, k - 1)).pixels) << lyricName(side, k);
            }
        }
    }
}

// The bubble images are drawn whenever a character is shown, with or without a line: they stay
// nearly clear, so no empty bubble shows.
TEST(ShowImages, TheBareBubblesAreClear) {
    for (const char* name : {"data/good_lyrics/bg-taleboble.png", "data/evil_lyrics/bg-taleboble.png"}) {
        Image bubble = imageOf(name);
        ASSERT_FALSE(bubble.pixels.empty()) << name;
        EXPECT_LT(meanAlpha(bubble), 0.001) << name;
    }
}

TEST(ShowArt, TwoRunsGiveTheSameBytesAsTheBuild) {
    TempDir first;
    TempDir second;
    std::string command = shellQuote(builtProgram("demo-art")) + " --show " + shellQuote(showSources) +
                          " --only lyrics,tunnel,logo,pictograms --out ";
    ASSERT_EQ(runCommand(command + shellQuote(first.path), ".").status, 0);
    ASSERT_EQ(runCommand(command + shellQuote(second.path), ".").status, 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(first.path)) {
        if (!entry.is_regular_file()) continue;
        std::string relative = std::filesystem::relative(entry.path(), first.path).string();
        std::string bytes = readFileBytes(entry.path().string());
        EXPECT_EQ(bytes, readFileBytes(second.file(relative))) << relative << " differs between runs";
        EXPECT_EQ(bytes, readFileBytes(showDir + "/" + relative)) << relative << " differs from the build's";
        ++compared;
    }
    EXPECT_EQ(compared, 2 + 50 + 3 + 1 + 20);
}

// The generator lists the size it drew each image at: the size the checks expect of an image put
// in one's place.
TEST(ShowArt, ListsTheSizeItDrewEachImageAt) {
    std::istringstream list(readFileBytes(showDir + "/generated-images.txt"));
    int listed = 0;
    std::string name;
    int width = 0, height = 0;
    while (list >> name >> width >> height) {
        int realWidth = 0, realHeight = 0, components = 0;
        ASSERT_TRUE(stbi_info((showDir + "/" + name).c_str(), &realWidth, &realHeight, &components)) << name;
        EXPECT_EQ(width, realWidth) << name;
        EXPECT_EQ(height, realHeight) << name;
        ++listed;
    }
    EXPECT_EQ(listed, 145);
}

// A file in show/own stands in for the generated one: the build copies it over the show folder
// after each run of the generator, so a later run (after a lyrics edit, say) never leaves the
// generated image in its place, and nothing writes into show/own. Here the two steps are run as
// the build runs them, twice.
TEST(ShowArt, AnOwnImageStandsInForTheGeneratedOneAfterEveryRun) {
    TempDir own;
    TempDir out;
    const std::string photo = "data/refrain/polaroids/omkvaed1.2.png";
    const std::string other = "data/refrain/polaroids/omkvaed1.1.png";
    std::filesystem::create_directories(own.file("data/refrain/polaroids"));
    ASSERT_TRUE(writePng(own.file(photo), 40, 30, 4, solidImage(40, 30, 4, Rgba{10, 200, 30, 255})));
    const std::string ownBytes = readFileBytes(own.file(photo));
    const auto ownTime = std::filesystem::last_write_time(own.file(photo));
    const std::string art = shellQuote(builtProgram("demo-art")) + " --only polaroids --show " +
                            shellQuote(showSources) + " --out " + shellQuote(out.path);
    const std::string putOwn = shellQuote(DEMO_CMAKE_COMMAND) + " -DOWN=" + shellQuote(own.path) +
                               " -DSHOW=" + shellQuote(out.path) + " -P " +
                               shellQuote(showSources + "/own_files.cmake");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(runCommand(art, ".").status, 0);
        EXPECT_NE(readFileBytes(out.file(photo)), ownBytes) << "the generator draws its own photograph";
        ProgramResult put = runCommand(putOwn, ".");
        ASSERT_EQ(put.status, 0) << put.out << put.err;
        EXPECT_EQ(readFileBytes(out.file(photo)), ownBytes) << "run " << run;
        EXPECT_EQ(readFileBytes(out.file(other)), readFileBytes(showDir + "/" + other)) << "the others stay generated";
        EXPECT_GE(std::filesystem::last_write_time(out.file(photo)), std::filesystem::last_write_time(out.file(other)))
            << "the copy is no older than the generator's files, so the build does not draw again";
    }
    EXPECT_EQ(readFileBytes(own.file(photo)), ownBytes);
    EXPECT_EQ(std::filesystem::last_write_time(own.file(photo)), ownTime) << "show/own is never written";
}

TEST(ShowArt, ALyricsFileWithALineTooManyIsRefusedByLine) {
    TempDir sources;
    TempDir out;
    std::string lyrics = readFileBytes(showSources + "/lyrics.txt") + "good: one line too many\n";
    std::ofstream(sources.file("lyrics.txt")) << lyrics;
    std::filesystem::copy_file(showSources + "/art-texts.txt", sources.file("art-texts.txt"));
    int lastLine = int(std::count(lyrics.begin(), lyrics.end(), '\n'));
    ProgramResult result = runCommand(shellQuote(builtProgram("demo-art")) + " --only lyrics --show " +
                                          shellQuote(sources.path) + " --out " + shellQuote(out.path),
                                      ".");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("lyrics.txt:" + std::to_string(lastLine) + ":"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("32"), std::string::npos) << result.err;
}

namespace {

// The first `frames` frames of the song as the demo decodes them, left and right averaged.
std::vector<double> decodedStart(const std::string& path, size_t frames) {
    SongStream* stream = nullptr;
    std::vector<double> mono;
    if (openSongStream(path.c_str(), &stream) != 0) return mono;
    std::vector<int16_t> buffer(frames * 2);
    size_t got = 0;
    while (got < frames) {
        size_t n = readSongFrames(stream, buffer.data() + got * 2, frames - got);
        if (n == 0) break;
        got += n;
    }
    closeSongStream(stream);
    for (size_t i = 0; i < got; ++i) mono.push_back((buffer[2 * i] + buffer[2 * i + 1]) / 65536.0);
    return mono;
}

constexpr size_t songRate = 44100;
constexpr double secondsPerBar = 2.0;     // 120 beats a minute, four to the bar
constexpr double secondsPerStep = 0.125;  // a sixteenth note

// The whole song as the demo decodes it (interleaved stereo), decoded once for all the tests.
const std::vector<int16_t>& decodedSong() {
    static const std::vector<int16_t> samples = decodeWholeSong(songPath);
    return samples;
}

// ffmpeg's EBU R 128 meter run over the song once: its summary and the short-term (3 s)
// loudness it reports every 100 ms.
struct LoudnessReading {
    bool measured = false;
    double integrated = 0;                             // LUFS
    double range = 0;                                  // LU
    double truePeak = 0;                               // dBTP
    std::vector<std::pair<double, double>> shortTerm;  // (the end of the 3 s window in seconds, LUFS)
    std::string summary;
};

bool numberAfter(const std::string& text, const std::string& label, double* value) {
    size_t at = text.find(label);
    if (at == std::string::npos) return false;
    *value = std::atof(text.c_str() + at + label.size());
    return true;
}

const LoudnessReading& songLoudness() {
    static const LoudnessReading reading = [] {
        LoudnessReading r;
        ProgramResult run = runCommand(
            "ffmpeg -nostats -hide_banner -i " + shellQuote(songPath) + " -af ebur128=peak=true -f null - 2>&1", ".");
        size_t summary = run.out.find("Summary:");
        if (run.status != 0 || summary == std::string::npos) return r;
        std::istringstream lines(run.out.substr(0, summary));
        std::string line;
        while (std::getline(lines, line)) {
            size_t time = line.find(" t: ");
            size_t shortTerm = line.find(" S:");
            if (time == std::string::npos || shortTerm == std::string::npos) continue;
            r.shortTerm.emplace_back(std::atof(line.c_str() + time + 4), std::atof(line.c_str() + shortTerm + 3));
        }
        r.summary = run.out.substr(summary);
        r.measured = numberAfter(r.summary, "I:", &r.integrated) && numberAfter(r.summary, "LRA:", &r.range) &&
                     numberAfter(r.summary, "Peak:", &r.truePeak);
        return r;
    }();
    return reading;
}

// The median short-term loudness over the bars [firstBar, endBar): of the windows that lie
// wholly within them.
double medianLoudness(int firstBar, int endBar) {
    std::vector<double> values;
    for (const auto& [end, loudness] : songLoudness().shortTerm) {
        if (end >= firstBar * secondsPerBar + 3.0 && end <= endBar * secondsPerBar) values.push_back(loudness);
    }
    if (values.empty()) return -200.0;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// The mean energy, in every millisecond of the first `frames` frames, of the song (left and
// right averaged) high-passed at 8 kHz through two second-order Butterworth sections.
std::vector<double> highBandEnergy(const std::vector<int16_t>& song, size_t frames) {
    const double w = 2.0 * M_PI * 8000.0 / double(songRate);
    const double alpha = std::sin(w) / std::sqrt(2.0);
    const double a0 = 1.0 + alpha;
    const double b0 = (1.0 + std::cos(w)) / 2.0 / a0;
    const double b1 = -(1.0 + std::cos(w)) / a0;
    const double a1 = -2.0 * std::cos(w) / a0;
    const double a2 = (1.0 - alpha) / a0;
    double x[2][2] = {{0, 0}, {0, 0}};
    double y[2][2] = {{0, 0}, {0, 0}};
    const size_t frame = songRate / 1000;
    std::vector<double> energy(frames / frame, 0.0);
    for (size_t i = 0; i < energy.size() * frame; ++i) {
        double value = (song[2 * i] + song[2 * i + 1]) / 65536.0;
        for (int stage = 0; stage < 2; ++stage) {
            double out = b0 * value + b1 * x[stage][0] + b0 * x[stage][1] - a1 * y[stage][0] - a2 * y[stage][1];
            x[stage][1] = x[stage][0];
            x[stage][0] = value;
            y[stage][1] = y[stage][0];
            y[stage][0] = out;
            value = out;
        }
        energy[i / frame] += value * value / double(frame);
    }
    return energy;
}

// The shift of b against a (b[i + lag] ~ a[i]) with the best normalised correlation.
std::pair<int, double> bestLag(const std::vector<double>& a, const std::vector<double>& b, int maxLag, size_t length) {
    std::pair<int, double> best{0, -2.0};
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double ab = 0, aa = 0, bb = 0;
        for (size_t i = size_t(maxLag); i < length; ++i) {
            double x = a[i];
            double y = b[size_t(long(i) + lag)];
            ab += x * y;
            aa += x * x;
            bb += y * y;
        }
        double correlation = aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
        if (correlation > best.second) best = {lag, correlation};
    }
    return best;
}

}  // namespace

TEST(ShowSong, StartsOnItsFirstSampleWithoutEncoderDelay) {
    TempDir work;
    ProgramResult made =
        runCommand(shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(showSources + "/score.txt") +
                       " --seconds 3 --wav " + shellQuote(work.file("start.wav")),
                   ".");
    ASSERT_EQ(made.status, 0) << made.err;
    std::vector<double> synthesized = wavMono(work.file("start.wav"));
    std::vector<double> decoded = decodedStart(songPath, 3 * 44100);
    ASSERT_GE(synthesized.size(), size_t(2 * 44100));
    ASSERT_GE(decoded.size(), size_t(2 * 44100));
    // The song opens with a kick on its very first frame: the decoded sound must be there at
    // once, not 1105 frames (an encoder's delay) later.
    double early = 0;
    for (size_t i = 0; i < 256; ++i) early = std::fmax(early, std::fabs(decoded[i]));
    EXPECT_GT(early, 0.05) << "the first decoded frames are silent";
    std::pair<int, double> match = bestLag(synthesized, decoded, 1500, size_t(2 * 44100));
    EXPECT_LE(std::abs(match.first), 1) << "the decoded song is shifted by " << match.first << " frames";
    EXPECT_GT(match.second, 0.9);
}

TEST(ShowSong, IsMasteredToMinus14LufsUnderMinus1Dbtp) {
    const LoudnessReading& loudness = songLoudness();
    ASSERT_TRUE(loudness.measured) << "ffmpeg is needed to measure the song";
    EXPECT_NEAR(loudness.integrated, -14.0, 1.0) << loudness.summary;
    EXPECT_LE(loudness.truePeak, -1.0) << loudness.summary;
}

TEST(ShowSong, ItsLoudnessMovesWithItsSections) {
    const LoudnessReading& loudness = songLoudness();
    ASSERT_TRUE(loudness.measured) << "ffmpeg is needed to measure the song";
    EXPECT_GE(loudness.range, 4.0) << "the loudness range (EBU R 128) is too flat\n" << loudness.summary;
    // The bridge (bars 88-96) drops well under the verses before it; the third refrain (bar 104)
    // is bigger than the first (bar 24).
    double bridge = medianLoudness(88, 96);
    EXPECT_LE(bridge, medianLoudness(32, 48) - 3.0) << "the bridge against the second verse";
    EXPECT_LE(bridge, medianLoudness(72, 88) - 3.0) << "the bridge against the third verse";
    EXPECT_GE(medianLoudness(104, 120), medianLoudness(24, 32) + 1.0) << "the third refrain against the first";
}

TEST(ShowSong, TheIntroHasNoTicksOffTheBeatGrid) {
    // A sound cut off before it has died away leaves a broadband tick where it stops, while
    // every struck sound starts on the sixteenth-note grid. In the sparse intro (bars 0-8),
    // each sudden rise of the energy above 8 kHz (ten times the mean of the 3-12 ms before
    // it) must lie within 20 ms of a step.
    const std::vector<int16_t>& song = decodedSong();
    ASSERT_GE(song.size() / 2, size_t(8 * secondsPerBar * songRate));
    std::vector<double> energy = highBandEnergy(song, size_t(8 * secondsPerBar * songRate));
    int onsets = 0;
    std::vector<double> offGrid;
    for (size_t k = 12; k < energy.size(); ++k) {
        double before = 0;
        for (size_t j = k - 12; j < k - 2; ++j) before += energy[j] / 10.0;
        if (energy[k] < 1e-7 || energy[k] < 10.0 * before) continue;
        ++onsets;
        double seconds = double(k * (songRate / 1000)) / double(songRate);
        double steps = seconds / secondsPerStep;
        if (std::fabs(steps - std::round(steps)) * secondsPerStep > 0.02) offGrid.push_back(seconds);
    }
    EXPECT_GT(onsets, 0) << "the intro's drums should show as onsets";
    EXPECT_TRUE(offGrid.empty()) << offGrid.size() << " ticks off the grid, the first at " << offGrid.front() << " s";
}

namespace {

// demo-song run on an edited copy of the show's score (with the show's lyrics beside it, unless
// told otherwise), and the line of the score where `edited` begins.
struct SongRun {
    ProgramResult result;
    int line;
};

SongRun songFromEditedScore(const TempDir& work, const std::string& original, const std::string& edited,
                            bool withLyrics = true) {
    std::string score = readFileBytes(showSources + "/score.txt");
    size_t at = score.find(original);
    if (at == std::string::npos) return SongRun{{-1, "", "the score has no \"" + original + "\""}, 0};
    score.replace(at, original.size(), edited);
    std::ofstream(work.file("score.txt")) << score;
    if (withLyrics) std::ofstream(work.file("lyrics.txt")) << readFileBytes(showSources + "/lyrics.txt");
    int line = int(std::count(score.begin(), score.begin() + long(at), '\n')) + 1;
    ProgramResult result =
        runCommand(shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(work.file("score.txt")) +
                       " --wav " + shellQuote(work.file("x.wav")),
                   ".");
    return SongRun{result, line};
}

}  // namespace

TEST(ShowSong, AScoreMistakeIsReportedWithItsLine) {
    TempDir work;
    SongRun run = songFromEditedScore(work, "chords verse:", "chords verse: Am Hm");
    EXPECT_EQ(run.result.status, 1);
    EXPECT_NE(run.result.err.find("score.txt:" + std::to_string(run.line) + ":"), std::string::npos) << run.result.err;
    EXPECT_NE(run.result.err.find("Hm"), std::string::npos) << run.result.err;
    ProgramResult missing =
        runCommand(shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(work.file("none.txt")) + " --wav " +
                       shellQuote(work.file("x.wav")),
                   ".");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos) << missing.err;
}

TEST(ShowSong, ALineTheLyricsLackIsNamedWithItsScoreLine) {
    TempDir work;
    SongRun run = songFromEditedScore(work, "sing=good:1-4", "sing=good:1-3,good:33");
    EXPECT_EQ(run.result.status, 1);
    EXPECT_NE(run.result.err.find("score.txt:" + std::to_string(run.line) + ":"), std::string::npos) << run.result.err;
    EXPECT_NE(run.result.err.find("good:33"), std::string::npos) << run.result.err;
    // The lyrics beside the score are the ones sung; without them the song is not made.
    TempDir bare;
    SongRun noLyrics = songFromEditedScore(bare, "sing=good:1-4", "sing=good:1-4", false);
    EXPECT_EQ(noLyrics.result.status, 1);
    EXPECT_NE(noLyrics.result.err.find("lyrics.txt"), std::string::npos) << noLyrics.result.err;
}

TEST(ShowSong, SungSlotsAndNewSectionKeysAreCheckedWithTheirLine) {
    // Each edit of a section's line is refused, naming the score's line and what is wrong.
    const struct {
        const char* original;
        const char* edited;
        const char* named;
    } mistakes[] = {
        {"sing=good:1-4", "sing=good:1-5", "sings 5 lines of two bars in 8 bars"},  // more than the section holds
        {"sing=good:1-4", "sing=pip:1-4", "pip:1-4"},                               // no such singer
        {"sing=good:1-4", "sing=good:4-1", "good:4-1"},                             // a run backwards
        {"sing=good:1-4", "sing=good:0", "good:0"},                                 // lines count from 1
        {"transpose=2 fill=lift", "transpose=13 fill=lift", "transpose"},           // more than an octave
        {"vocal=3", "vocal=loud", "vocal"},
        {"counter=answer fill=roll riser=on sing=good:5-8", "counter=nothing fill=roll riser=on sing=good:5-8",
         "\"nothing\", which is not defined"},
    };
    for (const auto& mistake : mistakes) {
        TempDir work;
        SongRun run = songFromEditedScore(work, mistake.original, mistake.edited);
        EXPECT_EQ(run.result.status, 1) << mistake.edited;
        EXPECT_NE(run.result.err.find("score.txt:" + std::to_string(run.line) + ":"), std::string::npos)
            << mistake.edited << ": " << run.result.err;
        EXPECT_NE(run.result.err.find(mistake.named), std::string::npos) << mistake.edited << ": " << run.result.err;
    }
    // A section that sings needs a melody to sing on.
    TempDir work;
    SongRun noTune = songFromEditedScore(work, "lead=verse-a,verse-b     pad=on filter=0.4..0.5",
                                         "lead=-                   pad=on filter=0.4..0.5");
    EXPECT_EQ(noTune.result.status, 1);
    EXPECT_NE(noTune.result.err.find("no lead= melody"), std::string::npos) << noTune.result.err;
}

// The song's events, as the choreography follows them: beats on the grid, every sung syllable
// within its line's bubble, each with its own opening of the mouth.
TEST(ShowSong, ItsEventsPutEverySyllableInItsLineOnTheGrid) {
    SongEventList list = readSongEvents(showDir + "/song.events");
    ASSERT_TRUE(list.errors.empty()) << list.errors[0].line << ": " << list.errors[0].message;
    std::vector<SongEvent> beats;
    for (const SongEvent& event : list.events) {
        if (event.kind == "beat") beats.push_back(event);
    }
    ASSERT_GT(beats.size(), 550u);
    for (size_t i = 0; i < beats.size(); ++i) EXPECT_NEAR(beats[i].row, 12.0 * double(i), 1e-3);
    // The events say the song's grid and end, which the choreography's build holds its own to.
    EXPECT_TRUE(list.grid.known);
    EXPECT_EQ(list.grid.tempo, 120.0);
    EXPECT_EQ(list.grid.beatsPerBar, 4);
    EXPECT_EQ(list.grid.startRow, 0.0);
    EXPECT_NEAR(list.endRow, 6720.0, 1.0);
    EXPECT_TRUE(
        songMisfits(readMusicalGrid(readFileBytes(showSources + "/choreography.tracks")), list, "song.events").empty());
    for (const char* who : {"good", "evil"}) {
        std::vector<SongEvent> lines;
        std::vector<SongEvent> syllables;
        for (const SongEvent& event : list.events) {
            if (event.kind == std::string("line:") + who) lines.push_back(event);
            if (event.kind == std::string("sing:") + who) syllables.push_back(event);
        }
        ASSERT_FALSE(lines.empty()) << who;
        for (const SongEvent& line : lines) {
            int inside = 0;
            for (const SongEvent& s : syllables) inside += s.row >= line.row && s.row < line.row + line.length;
            EXPECT_GE(inside, 3) << who << " line at row " << line.row;
        }
        for (size_t i = 0; i < syllables.size(); ++i) {
            const SongEvent& s = syllables[i];
            bool within = std::any_of(lines.begin(), lines.end(), [&](const SongEvent& line) {
                return s.row >= line.row && s.row + s.length <= line.row + line.length + 1e-3;
            });
            EXPECT_TRUE(within) << who << " syllable at row " << s.row << " outside every line";
            EXPECT_GE(s.length, 1.0);
            if (i + 1 < syllables.size() && syllables[i + 1].row - s.row > 2.5) {
                EXPECT_LE(s.row + s.length, syllables[i + 1].row - 1.5 + 1e-3) << who << " row " << s.row;
            }
        }
    }
}
