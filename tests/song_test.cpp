// The show's song as a listener meets it: each singer is heard only while their bubble shows and
// in every showing of it (the build's voice stems against the show's compiled choreography), no
// bar of the song comes back unchanged, and the generator gives the same bytes for the same
// sources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/audio_fixtures.h"
#include "support/run_program.h"
#include "support/sync_files.h"
#include "sync/sync.h"

namespace {

const std::string showDir = std::string(DEMO_BIN_DIR) + "/../show";
const std::string stemsDir = std::string(DEMO_BIN_DIR) + "/../song-stems";
const std::string showSources = std::string(DEMO_SOURCE_DIR) + "/show";
constexpr double songRate = 44100;
constexpr double rowsPerSecond = 24;

// Whether a singer is heard in each 10 ms of their stem: the RMS over the 20 ms around it is
// within 12 dB of the singer's median level while singing. The echo and the room that a line
// leaves behind lie 20 dB and more under it, and only the singing itself must keep to the bubble.
std::vector<bool> heardEvery10Ms(const std::vector<double>& voice) {
    const size_t hop = 441;
    std::vector<double> levels;
    for (size_t at = 0; at + 2 * hop <= voice.size(); at += hop) {
        double sum = 0;
        for (size_t i = at; i < at + 2 * hop; ++i) sum += voice[i] * voice[i];
        levels.push_back(10.0 * std::log10(sum / double(2 * hop) + 1e-30));
    }
    std::vector<double> sounding;
    for (double level : levels) {
        if (level > -60.0) sounding.push_back(level);
    }
    std::vector<bool> heard(levels.size(), false);
    if (sounding.empty()) return heard;
    std::nth_element(sounding.begin(), sounding.begin() + long(sounding.size() / 2), sounding.end());
    double threshold = sounding[sounding.size() / 2] - 12.0;
    for (size_t k = 0; k < levels.size(); ++k) heard[k] = levels[k] > threshold;
    return heard;
}

// The rows in which a lyric bubble shows a line: the compiled track's value selects one of
// `lines` images while it lies strictly between -1 and that count.
std::vector<bool> bubbleRows(const char* track, int lines, int rows) {
    std::vector<bool> shows(static_cast<size_t>(rows), false);
    char previous[4096];
    if (!getcwd(previous, sizeof previous) || chdir(showDir.c_str()) != 0) return shows;
    SyncDevice* device = createSyncDevice();
    SyncTrack* lyrics = getTrack(device, track);
    for (int row = 0; row < rows && lyrics; ++row) {
        float value = evaluateTrack(lyrics, row);
        shows[size_t(row)] = value > -1.0f && value < float(lines);
    }
    destroySyncDevice(device);
    EXPECT_EQ(chdir(previous), 0);
    return shows;
}

struct Showing {
    int firstRow;
    int endRow;
};

std::vector<Showing> showings(const std::vector<bool>& rows) {
    std::vector<Showing> found;
    for (int row = 0; row < int(rows.size()); ++row) {
        if (!rows[size_t(row)]) continue;
        if (found.empty() || found.back().endRow != row) found.push_back(Showing{row, row});
        found.back().endRow = row + 1;
    }
    return found;
}

void expectSungInItsBubble(const char* stem, const char* track, int lines) {
    std::vector<double> voice = wavMono(stemsDir + "/" + stem);
    ASSERT_GT(voice.size(), size_t(270 * songRate)) << stem << " is missing or short (the build writes it)";
    std::vector<bool> heard = heardEvery10Ms(voice);
    int rows = int(double(voice.size()) / songRate * rowsPerSecond);
    std::vector<bool> bubble = bubbleRows(track, lines, rows);
    // Heard only while the bubble shows: a 10 ms step's row, and the rows of its neighbours'
    // edges, must all show it.
    int outside = 0;
    double firstOutside = -1;
    for (size_t k = 0; k < heard.size(); ++k) {
        if (!heard[k]) continue;
        int row = int(double(k) * 0.01 * rowsPerSecond);
        int lastRow = int((double(k) * 0.01 + 0.02) * rowsPerSecond);
        bool inside = true;
        for (int r = row; r <= lastRow && r < rows; ++r) inside = inside && bubble[size_t(r)];
        if (!inside && outside++ == 0) firstOutside = double(k) * 0.01;
    }
    EXPECT_EQ(outside, 0) << stem << " is heard without its bubble, first at " << firstOutside << " s";
    // And in every showing, for a good part of it: the line is sung, not only begun.
    std::vector<Showing> shown = showings(bubble);
    EXPECT_GT(shown.size(), size_t(3)) << track;
    for (const Showing& showing : shown) {
        size_t first = size_t(showing.firstRow / rowsPerSecond * 100.0);
        size_t end = std::min(heard.size(), size_t(showing.endRow / rowsPerSecond * 100.0));
        long count = std::count(heard.begin() + long(std::min(first, end)), heard.begin() + long(end), true);
        EXPECT_GE(double(count), 0.4 * double(end - first))
            << stem << " is silent through most of the bubble shown at rows " << showing.firstRow << "-"
            << showing.endRow;
    }
}

}  // namespace

TEST(SongVoice, EachSingerIsHeardInEveryShowingOfTheirBubbleAndOnlyThen) {
    expectSungInItsBubble("voice-good.wav", "lyrics:good", 32);
    expectSungInItsBubble("voice-evil.wav", "lyrics:evil", 18);
}

TEST(SongArrangement, NoBarComesBackUnchanged) {
    // Each two-second bar of the mix against every bar before it: a normalised correlation of
    // 0.96 or more is the same music played again.
    std::vector<double> mix = wavMono(stemsDir + "/mix.wav");
    const size_t bar = size_t(2 * songRate);
    ASSERT_GT(mix.size(), 130 * bar) << "the build writes the mix beside the stems";
    size_t bars = mix.size() / bar;
    std::vector<double> norms(bars);
    for (size_t b = 0; b < bars; ++b) {
        double sum = 0;
        for (size_t i = b * bar; i < (b + 1) * bar; ++i) sum += mix[i] * mix[i];
        norms[b] = std::sqrt(sum);
    }
    std::vector<std::string> repeats;
    for (size_t b = 1; b < bars; ++b) {
        if (norms[b] < 1e-2) continue;
        for (size_t earlier = 0; earlier < b; ++earlier) {
            if (norms[earlier] < 1e-2) continue;
            double dot = 0;
            for (size_t i = 0; i < bar; ++i) dot += mix[b * bar + i] * mix[earlier * bar + i];
            double correlation = dot / (norms[b] * norms[earlier]);
            if (correlation >= 0.96) {
                repeats.push_back(std::to_string(b) + " repeats " + std::to_string(earlier) + " (" +
                                  std::to_string(correlation) + ")");
                break;
            }
        }
    }
    std::string all;
    for (const std::string& repeat : repeats) all += "\n  bar " + repeat;
    EXPECT_TRUE(repeats.empty()) << repeats.size() << " bars repeat an earlier one:" << all;
}

TEST(SongGenerator, TheSameSourcesGiveTheSameBytes) {
    // The first 20 seconds hold the intro, the band and Pip's first lines.
    TempDir work;
    std::string command = shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(showSources + "/score.txt") +
                          " --seconds 20 --stems ";
    ASSERT_EQ(runCommand(command + shellQuote(work.file("a")), ".").status, 0);
    ASSERT_EQ(runCommand(command + shellQuote(work.file("b")), ".").status, 0);
    for (const char* name : {"mix.wav", "voice-good.wav", "band.wav", "lines.txt"}) {
        std::string a = readFileBytes(work.file(std::string("a/") + name));
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, readFileBytes(work.file(std::string("b/") + name))) << name << " differs between runs";
    }
}

// A tempo or an end that is no finite number stops the generator at its line, as any other bad
// value does, instead of slipping past the range checks.
TEST(SongGenerator, RefusesATempoOrAnEndThatIsNoNumber) {
    TempDir work;
    std::string score = readFileBytes(showSources + "/score.txt");
    ASSERT_FALSE(score.empty());
    size_t tempo = score.find("\ntempo ");
    ASSERT_NE(tempo, std::string::npos);
    size_t tempoEnd = score.find('\n', tempo + 1);
    for (const char* line : {"tempo nan", "tempo inf", "tempo 1e400"}) {
        std::string path = work.file("score.txt");
        writeFileBytes(path, score.substr(0, tempo + 1) + line + score.substr(tempoEnd));
        writeFileBytes(work.file("lyrics.txt"), readFileBytes(showSources + "/lyrics.txt"));
        ProgramResult result = runCommand(shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(path) +
                                              " --seconds 1 --wav " + shellQuote(work.file("out.wav")),
                                          ".");
        EXPECT_NE(result.status, 0) << line;
        EXPECT_NE(result.err.find("expected \"tempo NUMBER\""), std::string::npos) << line << ": " << result.err;
    }
}

// The score counts bars from 1, as the choreography does: --sections lists each section at its
// BAR:BEAT and row, a section at bar 0 is refused, and bar 1 is where the song begins.
TEST(SongGenerator, CountsBarsFromOneAsTheChoreographyDoes) {
    TempDir work;
    std::string program = shellQuote(builtProgram("demo-song"));
    ProgramResult sections = runCommand(program + " --sections --score " + shellQuote(showSources + "/score.txt"), ".");
    ASSERT_EQ(sections.status, 0) << sections.err;
    for (const char* line :
         {"\nintro              1:1       0      0.0\n", "\nverse1             9:1     384     16.0\n",
          "\nrefrain1          25:1    1152     48.0\n", "\n(end)            141:1    6720    280.0\n"}) {
        EXPECT_NE(sections.out.find(line), std::string::npos) << line << sections.out;
    }
    std::string score = readFileBytes(showSources + "/score.txt");
    size_t intro = score.find("\nsection intro         1 ");
    ASSERT_NE(intro, std::string::npos);
    for (const char* bar : {"0", "2"}) {
        std::string edited = score;
        edited.replace(intro + 23, 1, bar);
        writeFileBytes(work.file("score.txt"), edited);
        ProgramResult run = runCommand(program + " --sections --score " + shellQuote(work.file("score.txt")), ".");
        EXPECT_EQ(run.status, 1) << bar;
        const char* named = bar[0] == '0' ? "with a whole bar number, counted from 1" : "must start at bar 1";
        EXPECT_NE(run.err.find(named), std::string::npos) << bar << ": " << run.err;
    }
}
