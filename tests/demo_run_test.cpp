// The real demo, run as a user would: under a virtual X server in a folder of its own.
#include "support/audio_fixtures.h"
#include "support/run_program.h"

#include "sync/track_file.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A virtual X server of its own, on a display number no test running beside it can take.
std::string xvfbRun() { return shellQuote(std::string(DEMO_SOURCE_DIR) + "/scripts/with-xvfb") + " 1024x768 "; }

// A show folder with a short song and the shaders in it.
void addSong(const TempDir& show, double seconds) {
    mkdir(show.file("data").c_str(), 0755);
    ASSERT_TRUE(makeSong(show.file("data/mirekand2013.mp3"), 44100, 2, seconds));
    std::string shaders = shellQuote(std::string(DEMO_SOURCE_DIR) + "/data/shaders");
    ASSERT_EQ(runCommand("cp -r " + shaders + " data/", show.path).status, 0);
}

// Taps of Escape (press and release at once, as a quick key press), one every two seconds, for
// at most 60 s; still running then is a failure (exit 92). Each tap falls between two frames,
// so the display must latch it. (Later taps cover a window that had not yet been given the
// keyboard on a busy machine, when the first one came.)
const char* tapEscape =
    "for i in $(seq 600); do\n"
    "  kill -0 $pid 2>/dev/null || break\n"
    "  [ $((i % 20)) = 1 ] && xdotool key Escape\n"
    "  sleep 0.1\n"
    "done\n"
    "if kill -0 $pid 2>/dev/null; then kill $pid; exit 92; fi\n";

}  // namespace

TEST(DemoRun, WithoutTheSongReportsFileNotFoundAndReadsNoTrack) {
    TempDir show;
    // The leak checker of a sanitizer build cannot run under strace, which holds the process.
    ProgramResult result = runCommand(xvfbRun() +
                                          "env ASAN_OPTIONS=detect_leaks=0 strace -f -qq -e "
                                          "trace=open,openat,connect -o trace.txt " +
                                          builtProgram("demo"),
                                      show.path);
    EXPECT_EQ(result.out, "FMOD error! (23) File not found. \n");
    EXPECT_EQ(result.status, 255) << result.err;
    std::string trace = runCommand("cat trace.txt", show.path).out;
    EXPECT_NE(trace.find("data/mirekand2013.mp3"), std::string::npos) << "the song was looked for";
    EXPECT_EQ(trace.find("sync_"), std::string::npos) << "no track file is opened before the song";
    // One connection to the X server for the desktop's size and the window both: a server with
    // no other client resets when its last one leaves and refuses a second connection made while
    // it does, which left the show without a window.
    std::string connections = runCommand("grep -c 'connect(.*X11-unix/X' trace.txt", show.path).out;
    EXPECT_EQ(connections, "1\n") << trace;
}

TEST(DemoRun, OpensFullScreenLetterboxedAndEndsOnATapOfEscape) {
    TempDir show;
    addSong(show, 2.0);
    // A white fade at 1 all through: the picture is white, the bands keep the clear colour.
    const TrackKey white = {0, 1.0f, 0};
    ASSERT_EQ(writeTrackFile(show.file("sync_fade[bg_white.track").c_str(), &white, 1), 0);
    const std::string script =
        builtProgram("demo") +
        " >demo.out & pid=$!\n"
        "for i in $(seq 100); do xwininfo -root -tree | grep -q '\"Demo\"' && break; sleep 0.1; done\n"
        "xwininfo -root -tree | grep '\"Demo\"' >window.txt\n"
        "sleep 3\n"
        "import -window root shot.png\n"
        "kill -0 $pid || exit 91\n" +
        std::string(tapEscape) + "wait $pid\n";
    writeBytes(show.file("script.sh"), std::vector<unsigned char>(script.begin(), script.end()));
    // A sanitizer build checks memory errors here but not leaks: once GLFW shuts down, the GL
    // driver is unloaded and its few remaining blocks have no module left to be told apart by.
    ProgramResult result = runCommand(xvfbRun() + "env ASAN_OPTIONS=detect_leaks=0 bash script.sh", show.path);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(runCommand("cat demo.out", show.path).out, "");
    std::string window = runCommand("cat window.txt", show.path).out;
    EXPECT_NE(window.find("1024x768+0+0"), std::string::npos) << "full-screen at the screen's size: " << window;

    int width = 0, height = 0, components = 0;
    unsigned char* shot = stbi_load(show.file("shot.png").c_str(), &width, &height, &components, 3);
    ASSERT_NE(shot, nullptr);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    auto red = [&](int x, int y) { return int(shot[(size_t(y) * 1024 + size_t(x)) * 3]); };
    for (int x : {0, 500, 1023}) {
        EXPECT_EQ(red(x, 95), 0) << "top band, x " << x;
        EXPECT_EQ(red(x, 96), 255) << "first picture row, x " << x;
        EXPECT_EQ(red(x, 671), 255) << "last picture row, x " << x;
        EXPECT_EQ(red(x, 672), 0) << "bottom band, x " << x;
    }
    stbi_image_free(shot);
}

TEST(DemoRun, WithoutADisplayPlaysOnWithoutCrashing) {
    TempDir show;
    addSong(show, 1.0);
    // No X server: the display does not open, the song plays and the loop runs toward its limit,
    // so after three seconds the program is still running and is stopped by the timeout.
    ProgramResult result = runCommand("env -u DISPLAY timeout 3 " + builtProgram("demo"), show.path);
    EXPECT_EQ(result.status, 124) << "still running when stopped; stderr: " << result.err;
    EXPECT_EQ(result.out, "");
}
