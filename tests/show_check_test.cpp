// demo-check run for real on the generated show folder: the show passes the check and the lint,
// and in a copy each kind of damage fails the check with a line naming the damaged file.
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string generatedShow = std::string(DEMO_BIN_DIR) + "/../show";

// A private copy of the generated show folder.
struct ShowCopy {
    TempDir dir;
    std::string folder = dir.file("show");

    ShowCopy() {
        ProgramResult copied = runCommand("cp -r " + shellQuote(generatedShow) + " " + shellQuote(folder), dir.path);
        EXPECT_EQ(copied.status, 0) << copied.err;
    }
    std::string file(const std::string& name) const { return folder + "/" + name; }
    // A check that hangs fails after a minute instead of holding the suite.
    ProgramResult check() const { return runCommand("timeout 60 " + shellQuote(builtProgram("demo-check")), folder); }
};

// True when some output line starts with `start`.
bool hasLineAbout(const std::string& out, const std::string& start) {
    return out.find(start) == 0 || out.find("\n" + start) != std::string::npos;
}

void truncateFile(const std::string& path, size_t bytes) {
    std::vector<unsigned char> content = readBytes(path);
    ASSERT_GT(content.size(), bytes);
    content.resize(bytes);
    writeBytes(path, content);
}

const std::string someImage = "data/pictograms/2.3.png";
const std::string someTrack = "sync_tunnel[move.track";
const std::string song = "data/mirekand2013.mp3";

}  // namespace

TEST(ShowCheck, TheGeneratedShowPasses) {
    ShowCopy show;
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("ok"), std::string::npos) << result.out;
}

// The show as a viewer sees it: every row rendered and judged by the lint's rules (bubbles, text
// left readable, flashes, the safe area, the song's end).
TEST(ShowCheck, TheGeneratedShowPassesTheLint) {
    std::string source = std::string(DEMO_SOURCE_DIR) + "/show/choreography.tracks";
    ProgramResult result =
        runCommand(shellQuote(builtProgram("demo-check")) + " --lint --source " + shellQuote(source), generatedShow);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
}

TEST(ShowCheck, RefusesUnknownArgumentsAndASourceWithoutLintOrUnreadable) {
    std::string check = shellQuote(builtProgram("demo-check"));
    std::string source = shellQuote(std::string(DEMO_SOURCE_DIR) + "/show/choreography.tracks");
    EXPECT_EQ(runCommand(check + " extra", generatedShow).status, 2);
    EXPECT_EQ(runCommand(check + " --source " + source, generatedShow).status, 2) << "--source goes with --lint";
    ProgramResult missing = runCommand(check + " --lint --source no-such.tracks", generatedShow);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no-such.tracks"), std::string::npos) << missing.err;
    ProgramResult help = runCommand(check + " --help", generatedShow);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: demo-check"), std::string::npos) << help.out;
}

TEST(ShowCheck, EachDamagedFileIsNamedWithWhatIsWrong) {
    ShowCopy show;
    const std::string truncatedImage = "data/features/5.png", hugeImage = "data/avatars/silly.png";
    ASSERT_EQ(std::remove(show.file(someImage).c_str()), 0);
    truncateFile(show.file(truncatedImage), readBytes(show.file(truncatedImage)).size() / 2);
    std::vector<unsigned char> png = readBytes(show.file(hugeImage));
    const unsigned char side[4] = {0x00, 0x01, 0x86, 0xA0};  // 100000, big endian
    std::copy(side, side + 4, png.begin() + 16);
    std::copy(side, side + 4, png.begin() + 20);
    writeBytes(show.file(hugeImage), png);
    // The sun turns about its centre and must be square; the 1280x1000 background is not.
    writeBytes(show.file("data/refrain/mirekand-o-sol.png"), readBytes(show.file("data/refrain/refrain-bg.png")));
    truncateFile(show.file(someTrack), readBytes(show.file(someTrack)).size() - 4);  // mid-record
    std::string text = "#version 110\nvoid main() { gl_FragColor = ; }\n";
    writeBytes(show.file("data/shaders/noise.fs"), std::vector<unsigned char>(text.begin(), text.end()));
    truncateFile(show.file(song), 80000);  // a few seconds of MP3
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    for (const std::string& line :
         {someImage + ": missing", truncatedImage + ": not a PNG, or truncated",
          hugeImage + ": 100000x100000 is refused", std::string("data/refrain/mirekand-o-sol.png: "),
          someTrack + ": truncated", std::string("data/shaders/noise.fs: "), song + ": decodes to"}) {
        EXPECT_TRUE(hasLineAbout(result.out, line)) << line << "\n" << result.out;
    }
    EXPECT_NE(result.out.find("error"), std::string::npos) << "the compiler's message: " << result.out;
}

// A photograph put in place of a generated one is drawn from the screen's corner at its own size:
// one of another size than the generator drew there is named with the size expected.
TEST(ShowCheck, AnImageOfAnotherSizeThanItsPlaceWantsIsNamedWithTheSizeExpected) {
    ShowCopy show;
    const std::string photo = "data/refrain/polaroids/omkvaed1.2.png";
    Picture generated = loadPicture(show.file(photo));
    ASSERT_FALSE(generated.rgb.empty());
    std::string expected = std::to_string(generated.width) + "x" + std::to_string(generated.height);
    ASSERT_TRUE(writePng(show.file(photo), 400, 300, 4, solidImage(400, 300, 4, Rgba{200, 100, 50, 255})));
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_TRUE(hasLineAbout(result.out, photo + ": 400x300, but the generated image in its place is " + expected +
                                             ": expected " + expected))
        << result.out;
    EXPECT_NE(result.out.find("1 problem found"), std::string::npos) << "the other photographs pass: " << result.out;
}

TEST(ShowCheck, OutsideAShowFolderItSaysSoOnce) {
    TempDir empty;
    ProgramResult result = runCommand(shellQuote(builtProgram("demo-check")), empty.path);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("demo-check: the current directory is not a show folder", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

TEST(ShowCheck, ASongInMpegAudioLayerTwoIsNoMp3) {
    ShowCopy show;
    // MPEG audio Layer II decodes with the same decoder, but is no MP3.
    ASSERT_EQ(runCommand("ffmpeg -y -v error -f lavfi -i sine=d=300 -ac 2 -c:a mp2 -f mp2 " + song, show.folder).status,
              0);
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_TRUE(hasLineAbout(result.out, song + ": not decodable as MP3")) << result.out;
}

TEST(ShowCheck, FilesThatAreMissingOrWouldBlockOrDeceiveAreNamedForWhatTheyAre) {
    ShowCopy show;
    // A FIFO without a writer blocks an ordinary open; a link to a device reads for ever; files
    // in formats the image decoder also knows once hung it or showed uninitialised memory. A
    // missing shader is named as well.
    const std::string hdr("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 16\n\x02\x02\x00\x10\x82", 51);
    const std::string pnm = "P6\n1024 256\n255\n";
    writeBytes(show.file("data/zemlogo.png"), std::vector<unsigned char>(hdr.begin(), hdr.end()));
    writeBytes(show.file(someImage), std::vector<unsigned char>(pnm.begin(), pnm.end()));
    std::string damage = "rm -f data/avatars/huh.png " + song +
                         " data/features/3.png data/shaders/default.vs && mkfifo data/avatars/huh.png " + song +
                         " && ln -sf /dev/zero data/shaders/noise.fs && mkdir data/features/3.png";
    ASSERT_EQ(runCommand(damage, show.folder).status, 0);
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    for (const char* line :
         {"data/zemlogo.png: not a PNG file", "data/pictograms/2.3.png: not a PNG file", "data/avatars/huh.png: a FIFO",
          "data/mirekand2013.mp3: a FIFO", "data/shaders/noise.fs: a device", "data/features/3.png: a directory",
          "data/shaders/default.vs: missing"}) {
        EXPECT_TRUE(hasLineAbout(result.out, line)) << line << "\n" << result.out;
    }
}

TEST(ShowCheck, ImagesPastTheMemoryBudgetAreRefusedAsSuch) {
    ShowCopy show;
    // Three 8192x8192 images of nothing: a few hundred KB on disk, 256 MiB each once decoded.
    std::string make = "convert -size 8192x8192 xc:none PNG32:big.png";
    for (const char* name : {"data/features/1.png", "data/features/2.png", "data/features/3.png"}) {
        make += std::string(" && cp big.png ") + name;
    }
    ASSERT_EQ(runCommand(make, show.folder).status, 0);
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_TRUE(hasLineAbout(result.out, "data/features/2.png: refused: out of the image memory budget")) << result.out;
    EXPECT_FALSE(hasLineAbout(result.out, "data/features/1.png: refused")) << "the first still fits";
}

// Each image's size must suit where the show draws it: a pictogram may be a picture up to twice
// the screen to pan across, not more; any other full-screen picture fits the screen.
TEST(ShowCheck, ImagesOfASizeTheirPlaceCannotTakeAreNamed) {
    ShowCopy show;
    const Rgba clear{0, 0, 0, 0};
    ASSERT_TRUE(writePng(show.file("data/pictograms/5.1.png"), 2560, 1440, 4, solidImage(2560, 1440, 4, clear)));
    ASSERT_TRUE(writePng(show.file("data/pictograms/5.2.png"), 2561, 100, 4, solidImage(2561, 100, 4, clear)));
    ASSERT_TRUE(writePng(show.file("data/features/2.png"), 1281, 100, 4, solidImage(1281, 100, 4, clear)));
    ProgramResult result = show.check();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_FALSE(hasLineAbout(result.out, "data/pictograms/5.1.png")) << result.out;
    EXPECT_TRUE(hasLineAbout(result.out, "data/pictograms/5.2.png: 2561x100 does not suit a pictogram")) << result.out;
    EXPECT_TRUE(hasLineAbout(result.out, "data/features/2.png: 1281x100 does not suit a full-screen picture"))
        << result.out;
}
