// The generated show's choreography: well-formed track files that show every image, and end in
// black before the show's last row, out of black at its first.
#include "support/audio_fixtures.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string showFolder() { return std::string(DEMO_BIN_DIR) + "/../show"; }

std::string tracksTool() { return shellQuote(builtProgram("demo-tracks")); }

}  // namespace

TEST(Choreography, IsWellFormedAndShowsEveryImage) {
    ProgramResult check = runCommand(tracksTool() + " check", showFolder());
    EXPECT_EQ(check.status, 0) << check.out;
    ProgramResult coverage = runCommand(tracksTool() + " coverage", showFolder());
    EXPECT_EQ(coverage.status, 0) << coverage.out;
    EXPECT_NE(coverage.out.find("all 145 images are shown"), std::string::npos) << coverage.out;
    EXPECT_NE(coverage.out.find("data/zemlogo.png"), std::string::npos);
}

TEST(Choreography, OpensOutOfBlackAndEndsInBlackBeforeTheLastRow) {
    ProgramResult black = runCommand(tracksTool() + " eval fade:fg_black 0 96 6000 6650", showFolder());
    EXPECT_EQ(black.out, "1\n0\n0\n1\n");
    ProgramResult white = runCommand(tracksTool() + " eval fade:bg_white 0", showFolder());
    EXPECT_EQ(white.out, "0\n") << "no white first frame";
}

TEST(Coverage, NamesTheImagesATrackNeverShows) {
    TempDir copy;
    ASSERT_EQ(runCommand("cp -r " + shellQuote(showFolder()) + "/. .", copy.path).status, 0);
    ASSERT_EQ(std::remove(copy.file("sync_features.track").c_str()), 0);
    ProgramResult coverage = runCommand(tracksTool() + " coverage", copy.path);
    EXPECT_EQ(coverage.status, 1);
    // Without its track, "features" stays 0: only the first card is ever shown.
    EXPECT_NE(coverage.out.find("data/features/2.png                        never shown"), std::string::npos)
        << coverage.out;
    EXPECT_EQ(coverage.out.find("data/features/1.png                        never shown"), std::string::npos);
    EXPECT_NE(coverage.out.find("11 of 145 images are never shown"), std::string::npos) << coverage.out;

    // The logo shows only through the noise track's value: without it, the logo is never shown.
    ASSERT_EQ(std::remove(copy.file("sync_fade[fg_noise.track").c_str()), 0);
    coverage = runCommand(tracksTool() + " coverage", copy.path);
    size_t logo = coverage.out.find("data/zemlogo.png ");
    ASSERT_NE(logo, std::string::npos) << coverage.out;
    EXPECT_NE(coverage.out.substr(logo, coverage.out.find('\n', logo) - logo).find("never shown"), std::string::npos)
        << coverage.out;
    EXPECT_NE(coverage.out.find("12 of 145 images are never shown"), std::string::npos) << coverage.out;
}

// A missing image and an undecodable one are the same to a viewer, a hole where the show draws
// it: coverage names both alike, in its list, on standard error and in its summary, and fails.
TEST(Coverage, NamesAMissingAndAnUndecodableImageAlikeAsHoles) {
    TempDir copy;
    ASSERT_EQ(runCommand("cp -r " + shellQuote(showFolder()) + "/. .", copy.path).status, 0);
    ASSERT_EQ(std::remove(copy.file("data/features/3.png").c_str()), 0);
    ASSERT_EQ(runCommand("truncate -s 100 data/avatars/basic.png", copy.path).status, 0);
    ProgramResult coverage = runCommand(tracksTool() + " coverage", copy.path);
    EXPECT_EQ(coverage.status, 1);
    EXPECT_EQ(coverage.out.find("all 145 images are shown"), std::string::npos) << coverage.out;
    for (const char* line :
         {"data/features/3.png: missing; the show draws a hole where it stands\n",
          "data/avatars/basic.png: not a PNG, or truncated; the show draws a hole where it stands\n"}) {
        EXPECT_NE(coverage.err.find(std::string("demo-tracks: ") + line), std::string::npos) << coverage.err;
    }
    EXPECT_NE(coverage.out.find(", but missing: a hole in the picture\n"), std::string::npos) << coverage.out;
    EXPECT_NE(coverage.out.find(", but not a PNG, or truncated: a hole in the picture\n"), std::string::npos)
        << coverage.out;
    EXPECT_NE(coverage.out.find("2 images cannot be loaded (1 missing, 1 not a PNG, or truncated)"), std::string::npos)
        << coverage.out;

    TempDir empty;
    ProgramResult outside = runCommand(tracksTool() + " coverage", empty.path);
    EXPECT_EQ(outside.status, 1);
    EXPECT_EQ(outside.out, "") << "no list of 145 images that are not there";
    EXPECT_NE(outside.err.find("not a show folder"), std::string::npos) << outside.err;
}
