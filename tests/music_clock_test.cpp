// The program's side of the sound layer: bytes to rows, the version check, the error messages.
#include "runtime/music.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MusicClock, ConvertsBytesOfDecodedPcmToRowsReadAsUnsigned) {
    EXPECT_EQ(rowFromPcmBytes(7350), 1.0);
    EXPECT_EQ(rowFromPcmBytes(176400), 24.0);
    EXPECT_DOUBLE_EQ(rowFromPcmBytes(7350 * 240 + 3675), 240.5);
    // 6651 rows are 277.125 s: the byte position at which the show ends.
    EXPECT_EQ(rowFromPcmBytes(uint32_t(277.125 * 176400)), 6651.0);
    EXPECT_NEAR(rowFromPcmBytes(0xffffffffu), 584349.29, 0.01) << "the top bit is no sign";
}

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

TEST(SoundErrors, PrintTheCodeAndItsTextAndCodesOutOfRangeAsUnknown) {
    struct Case {
        FMOD_RESULT code;
        const char* line;
    };
    const Case cases[] = {
        {23, "FMOD error! (23) File not found. \n"},
        {96, "FMOD error! (96) Unknown error.\n"},
        {-2147483647 - 1, "FMOD error! (-2147483648) Unknown error.\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(soundCallSucceeded(c.code));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line) << "code " << c.code;
    }
    testing::internal::CaptureStdout();
    EXPECT_TRUE(soundCallSucceeded(FMOD_OK));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (int code = 1; code <= 95; ++code) EXPECT_STRNE(FMOD_ErrorString(code), FMOD_ErrorString(code - 1)) << code;
}
