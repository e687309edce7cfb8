// The base layer's small shared pieces: the rows of a frame grid, the WAV header of the song's
// PCM, and numbers written with a pattern.
#include "base/frame_grid.h"
#include "base/number_words.h"
#include "base/wav_header.h"
#include "support/audio_fixtures.h"
#include "support/sync_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

uint32_t littleEndianAt(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes[at + size_t(i)]);
    return value;
}

}  // namespace

TEST(FrameGrid, FramesLieOnTheirRowsAndTheFirstFrameAtARowIsNeverBeforeIt) {
    EXPECT_EQ(frameGridRow(0, 60, 1), 0.0);
    EXPECT_EQ(frameGridRow(5, 60, 1), 2.0);  // 60 frames a second: 2.5 frames a row
    EXPECT_EQ(frameGridRow(1001, 30000, 1001), 24.0 * 1001 * 1001 / 30000);
    // A row on the grid is its own frame; a row between two frames takes the later one.
    EXPECT_EQ(firstFrameAtOrAfter(2.0, 60, 1), 5);
    EXPECT_EQ(firstFrameAtOrAfter(2.0001, 60, 1), 6);
    EXPECT_EQ(firstFrameAtOrAfter(0.0, 60, 1), 0);
    EXPECT_EQ(firstFrameAtOrAfter(-3.0, 60, 1), 0) << "no frame before the first";
    // Rates whose rows are not exact in binary still never put the frame before the row.
    for (int64_t frame : {1, 7, 1000, 99999}) {
        double row = frameGridRow(frame, 30000, 1001);
        EXPECT_EQ(firstFrameAtOrAfter(row, 30000, 1001), frame) << frame;
        EXPECT_GE(frameGridRow(firstFrameAtOrAfter(row + 1e-9, 30000, 1001), 30000, 1001), row + 1e-9);
    }
}

TEST(WavHeader, DescribesTheSongsPcmAndLeavesTheFileAtItsEnd) {
    TempDir dir;
    std::string path = dir.file("song.wav");
    FILE* out = fopen(path.c_str(), "wb+");
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(writeWavHeader(out, 0));
    ASSERT_EQ(fwrite("abcd", 1, 4, out), 4u);
    ASSERT_TRUE(writeWavHeader(out, 4));  // rewritten with the size once the samples are in
    EXPECT_EQ(ftell(out), 48);
    fclose(out);
    std::string bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(littleEndianAt(bytes, 4, 4), 40u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(littleEndianAt(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(littleEndianAt(bytes, 22, 2), 2u) << "stereo";
    EXPECT_EQ(littleEndianAt(bytes, 24, 4), 44100u);
    EXPECT_EQ(littleEndianAt(bytes, 28, 4), 176400u) << "bytes a second";
    EXPECT_EQ(littleEndianAt(bytes, 32, 2), 4u) << "bytes a frame";
    EXPECT_EQ(littleEndianAt(bytes, 34, 2), 16u) << "bits a sample";
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(littleEndianAt(bytes, 40, 4), 4u);
    EXPECT_EQ(bytes.substr(44), "abcd");

    FILE* full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_FALSE(writeWavHeader(full, 0)) << "a write that fails is no header";
    fclose(full);
}

TEST(NumberWords, WritesOneNumberWithItsPatternWithinItsRoom) {
    EXPECT_EQ(formatNumber("%.2f", 16.537), "16.54");
    EXPECT_EQ(formatNumber("row %.0f dBFS", -14.4), "row -14 dBFS");
    EXPECT_EQ(formatNumber("%.1f", 1e300).size(), 95u) << "cut at its room, not past it";
}

TEST(NumberWords, ReadWholeWordsWithinTheirRangeAndLeaveTheValueOtherwise) {
    int32_t whole = 7;
    EXPECT_TRUE(parseInt32("2147483647", &whole));
    EXPECT_EQ(whole, 2147483647);
    EXPECT_TRUE(parseInt32("-2147483648", &whole));
    EXPECT_EQ(whole, INT32_MIN);
    whole = 7;
    for (const char* bad : {"2147483648", "-2147483649", "99999999999999999999", "", " 5", "5 ", "5x", "1.0"}) {
        EXPECT_FALSE(parseInt32(bad, &whole)) << bad;
    }
    EXPECT_EQ(whole, 7);
    double number = 7.0;
    EXPECT_TRUE(parseFiniteDouble("-1.5e3", &number));
    EXPECT_EQ(number, -1500.0);
    number = 7.0;
    for (const char* bad : {"inf", "-inf", "nan", "1e400", "", " 1", "1 ", "1,5"}) {
        EXPECT_FALSE(parseFiniteDouble(bad, &number)) << bad;
    }
    EXPECT_EQ(number, 7.0);
    for (const char* bad : {".", "1.2.3", "-1", "+1", "1e3", " 1"})
        EXPECT_FALSE(parsePlainDecimal(bad, &number)) << bad;
    EXPECT_TRUE(parsePlainDecimal(".5", &number));
    EXPECT_EQ(number, 0.5);
}
