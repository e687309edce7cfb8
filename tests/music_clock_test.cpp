// The program's side of the sound layer: bytes to rows, the version check, the error messages.
#include "runtime/music.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MusicClock, ConvertsBytesOfDecodedPcmToRows) {
    EXPECT_EQ(rowFromPcmBytes(0), 0.0);
    EXPECT_EQ(rowFromPcmBytes(7350), 1.0);
    EXPECT_EQ(rowFromPcmBytes(44100), 6.0);
    EXPECT_EQ(rowFromPcmBytes(176400), 24.0);
    // Divide first, then multiply, in double: the same bits as that order of operations.
    EXPECT_EQ(rowFromPcmBytes(123457), 123457.0 / 176400.0 * 24.0);
    // A fractional row between two whole rows.
    EXPECT_DOUBLE_EQ(rowFromPcmBytes(7350 * 240 + 3675), 240.5);
}

TEST(MusicClock, ReadsPositionsAsUnsigned) {
    EXPECT_EQ(rowFromPcmBytes(0x80000000u), 2147483648.0 / 176400.0 * 24.0);
    EXPECT_GT(rowFromPcmBytes(0xffffffffu), 0.0);
    EXPECT_EQ(rowFromPcmBytes(0xffffffffu), 4294967295.0 / 176400.0 * 24.0);
}

TEST(MusicClock, TheRowLimitIsTheSongTimeOfTheShow) {
    // 6651 rows are 277.125 s: the byte position at which the show ends.
    EXPECT_EQ(rowFromPcmBytes(uint32_t(277.125 * 176400)), 6651.0);
}

TEST(SoundVersion, RefusesOlderVersionsWithTheMessage) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(soundVersionAccepted(0x00044403));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error!  You are using an old version of FMOD 00044403.  This program requires 00044404\n");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(soundVersionAccepted(0));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error!  You are using an old version of FMOD 00000000.  This program requires 00044404\n");
}

TEST(SoundVersion, AcceptsTheRequiredAndNewerVersionsSilently) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(soundVersionAccepted(0x00044404));
    EXPECT_TRUE(soundVersionAccepted(0x00044500));
    EXPECT_TRUE(soundVersionAccepted(0x00050000));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(SoundErrors, PrintsTheCodeAndItsText) {
    struct Case { FMOD_RESULT code; const char* line; };
    const Case cases[] = {
        {23, "FMOD error! (23) File not found. \n"},
        {19, "FMOD error! (19) Error loading file. \n"},
        {25, "FMOD error! (25) Unsupported file or audio format. \n"},
        {36, "FMOD error! (36) An invalid object handle was used. \n"},
        {43, "FMOD error! (43) Not enough memory or resources. \n"},
        {60, "FMOD error! (60) Error initializing output device. \n"},
        {79, "FMOD error! (79) This command failed because System::init or System::setDriver was not called. \n"},
        {96, "FMOD error! (96) Unknown error.\n"},
        {-1, "FMOD error! (-1) Unknown error.\n"},
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
}

TEST(SoundErrors, EveryCodeHasItsOwnText) {
    EXPECT_STREQ(FMOD_ErrorString(0), "No errors.");
    for (int code = 1; code <= 95; ++code) {
        std::string text = FMOD_ErrorString(code);
        EXPECT_NE(text, "Unknown error.") << code;
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.back(), ' ') << "code " << code << " keeps its trailing blank";
        if (code > 1) {
            EXPECT_STRNE(FMOD_ErrorString(code - 1), text.c_str()) << code;
        }
    }
    EXPECT_STREQ(FMOD_ErrorString(95 + 1), "Unknown error.");
}
