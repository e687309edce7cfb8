// The program's side of the sound layer: the version check and the error messages.
#include "runtime/music.h"

#include <gtest/gtest.h>

#include <string>

TEST(SoundVersion, RefusesOlderVersionsWithTheMessageAndAcceptsNewerSilently) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(soundVersionAccepted(0x00044403));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error!  You are using an old version of FMOD 00044403.  This program requires 00044404\n");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(soundVersionAccepted(0x00044404));
    EXPECT_TRUE(soundVersionAccepted(0x00050000));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// (The texts of the codes the program prints are checked where it prints them: the demo's runs.)
TEST(SoundErrors, CodesOutOfRangeAreUnknownAndEveryKnownOneHasItsOwnText) {
    for (FMOD_RESULT code : {96, -1, -2147483647 - 1}) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(soundCallSucceeded(code));
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "FMOD error! (" + std::to_string(code) + ") Unknown error.\n");
    }
    testing::internal::CaptureStdout();
    EXPECT_TRUE(soundCallSucceeded(FMOD_OK));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (int code = 1; code <= 95; ++code) EXPECT_STRNE(FMOD_ErrorString(code), FMOD_ErrorString(code - 1)) << code;
}

// The clock's own examples: a second of the song is 176400 bytes and 24 rows, so 44100 bytes are
// a quarter second and 7350 bytes one row; back again, a row lands on whole frames of 4 bytes.
TEST(MusicClock, ASecondOfTheSongIs176400BytesAnd24Rows) {
    EXPECT_EQ(rowFromPcmBytes(176400), 24.0);
    EXPECT_EQ(rowFromPcmBytes(44100), 6.0);
    EXPECT_EQ(rowFromPcmBytes(7350), 1.0);
    EXPECT_EQ(rowFromPcmBytes(0), 0.0);
    EXPECT_EQ(pcmBytesFromRow(24.0), 176400u);
    EXPECT_EQ(pcmBytesFromRow(2.0), 14700u);
    EXPECT_EQ(pcmBytesFromRow(1.0), 7352u);         // 1837.5 frames round up to a whole frame
    EXPECT_EQ(pcmBytesFromRow(6651.0), 48884852u);  // 277.125 s: frame 12221212.5 rounds up
    EXPECT_EQ(pcmBytesFromRow(0.49 / 1837.5), 0u);  // under half a frame (1837.5 frames a row): the first
    EXPECT_EQ(pcmBytesFromRow(0.51 / 1837.5), 4u);  // over half a frame: the next
}
