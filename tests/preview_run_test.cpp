// demo-preview run as a show maker runs it: under a virtual X server in a copy of the generated
// show, with the choreography source beside it. Its picture at a row is the capture tool's
// picture of that row; a key moves it by a beat; a saved source is taken in while it runs, and a
// broken one is named while the last good picture stays.
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/run_program.h"
#include "support/sync_files.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int width = 480;
constexpr int height = 270;

int brightest(const Picture& picture) {
    int value = 0;
    for (unsigned char c : picture.rgb) value = std::max(value, int(c));
    return value;
}

// The source with one track's keys replaced.
std::string withKeys(const std::string& source, const std::string& track, const std::string& keys) {
    size_t start = source.find("track " + track + "\n");
    if (start == std::string::npos) return source;
    start = source.find('\n', start) + 1;
    size_t end = source.find("\n\n", start);
    return source.substr(0, start) + keys + source.substr(end);
}

}  // namespace

TEST(PreviewRun, ShowsTheCapturedRowMovesByABeatAndTakesInSavedSources) {
    TempDir work;
    std::string show = work.file("show");
    ASSERT_EQ(
        runCommand("cp -r " + shellQuote(std::string(DEMO_BIN_DIR) + "/../show") + " " + shellQuote(show), ".").status,
        0);
    std::string source = readFileBytes(std::string(DEMO_SOURCE_DIR) + "/show/choreography.tracks");
    ASSERT_NE(source.find("track fade:fg_black\n"), std::string::npos);
    writeFileBytes(show + "/show.tracks", source);
    writeFileBytes(show + "/black.tracks", withKeys(source, "fade:fg_black", "0 1\n"));
    writeFileBytes(show + "/broken.tracks", withKeys(source, "fade:fg_black", "0 1\nthis is not a key\n"));
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    // Shots of the window, each polled for as long as it may take: at row 1200 paused, after Right,
    // after the black source is saved, and (a second on) after the broken one is.
    const std::string script =
        builtProgram("demo-preview") + " --from 1200 --paused --source show.tracks --size " + size +
        " >preview.out 2>preview.err & pid=$!\n"
        "for i in $(seq 300); do id=$(xdotool search --name 'Demo preview' 2>/dev/null | head -n1); "
        "[ -n \"$id\" ] && break; sleep 0.1; done\n"
        "[ -n \"$id\" ] || exit 91\n"
        // The window opens before the show is loaded: wait for its first picture, then for the
        // picture that follows the key, however slow the machine.
        "for i in $(seq 150); do sleep 0.2; import -window $id at1200.png; "
        "[ \"$(convert at1200.png -format '%[fx:maxima]' info:)\" != 0 ] && break; done\n"
        "sleep 0.5; import -window $id at1200.png\n"
        "xdotool key --window $id Right\n"
        "for i in $(seq 150); do sleep 0.2; import -window $id right.png; "
        "[ \"$(compare -metric AE at1200.png right.png null: 2>&1)\" != 0 ] && break; done\n"
        "cp black.tracks show.tracks.new && mv show.tracks.new show.tracks\n"
        "for i in $(seq 50); do sleep 0.2; import -window $id black.png; "
        "[ \"$(convert black.png -format '%[fx:maxima]' info:)\" = 0 ] && break; done\n"
        "cp broken.tracks show.tracks.new && mv show.tracks.new show.tracks; sleep 1; import -window $id broken.png\n"
        "xdotool key --window $id Escape\n"
        "for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
        "kill -0 $pid 2>/dev/null && { kill $pid; exit 92; }\n"
        "wait $pid\n";
    writeFileBytes(show + "/script.sh", script);
    ProgramResult run = runCommand(shellQuote(std::string(DEMO_SOURCE_DIR) + "/scripts/with-xvfb") + " " + size +
                                       " env ASAN_OPTIONS=detect_leaks=0 bash script.sh",
                                   show);
    ASSERT_EQ(run.status, 0) << run.err << readFileBytes(show + "/preview.err");

    std::string capture = builtProgram("demo-capture") + " --size " + size + " --row ";
    ASSERT_EQ(runCommand(capture + "1200 --out c1200.png", show).status, 0);
    ASSERT_EQ(runCommand(capture + "1212 --out c1212.png", show).status, 0);
    Picture at1200 = loadPicture(show + "/at1200.png"), right = loadPicture(show + "/right.png");
    Picture c1200 = loadPicture(show + "/c1200.png"), c1212 = loadPicture(show + "/c1212.png");
    ASSERT_EQ(at1200.width, width);
    EXPECT_LE(largestDifference(at1200, c1200), 1) << "the paused window against demo-capture --row 1200";
    EXPECT_LE(largestDifference(right, c1212), 1) << "after Right, against demo-capture --row 1212";
    EXPECT_GT(largestDifference(c1200, c1212), 16) << "rows 1200 and 1212 must differ for the test to mean anything";

    EXPECT_EQ(brightest(loadPicture(show + "/black.png")), 0) << "the saved source's black fade is in force";
    // The broken source is named on standard error and over the picture (the panel at the top);
    // under the panel the black picture stays.
    std::string errors = readFileBytes(show + "/preview.err");
    EXPECT_NE(errors.find("show.tracks:"), std::string::npos) << errors;
    Picture broken = loadPicture(show + "/broken.png");
    EXPECT_GT(brightest(broken), 100) << "the message is drawn";
    int belowPanel = height / 2;
    EXPECT_EQ(largestDifference(broken, loadPicture(show + "/black.png"), belowPanel), 0);
}

TEST(PreviewRun, RefusesBadArgumentsAndNamesAnIncompleteShowFolder) {
    TempDir empty;
    std::string preview = builtProgram("demo-preview");
    ProgramResult help = runCommand(preview + " --help", empty.path);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: demo-preview", 0), 0u) << help.out;
    for (const char* bad : {"--bogus", "--from", "--from 7000", "--from 2:9", "--size 10x10", "--source none.tracks"}) {
        ProgramResult run = runCommand(preview + " " + bad, empty.path);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(run.err.rfind("demo-preview: ", 0), 0u) << bad << ": " << run.err;
    }
    ProgramResult incomplete = runCommand(preview, empty.path);
    EXPECT_EQ(incomplete.status, 1);
    EXPECT_EQ(incomplete.err.rfind("demo-preview: the show folder is incomplete: ", 0), 0u) << incomplete.err;
    EXPECT_EQ(std::count(incomplete.err.begin(), incomplete.err.end(), '\n'), 1) << incomplete.err;
}
