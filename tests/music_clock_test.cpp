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
