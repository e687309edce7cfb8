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
}
