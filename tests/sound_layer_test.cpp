// The sound layer with real files made by the tests: result codes for every kind of bad call and
// bad file, gapless decoding into the one output format, and playing the song again from its
// start. (How the position runs, on and past the end, is sound_seek_test's.)
#include "platform/song_stream.h"
#include "platform/sound.h"
#include "support/audio_fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr FMOD_MODE songMode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;

FMOD::System* initialisedSystem() {
    FMOD::System* system = nullptr;
    EXPECT_EQ(FMOD_System_Create(&system), FMOD_OK);
    EXPECT_EQ(system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    return system;
}

FMOD_RESULT openCode(const std::string& path) {
    FMOD::System* system = initialisedSystem();
    FMOD::Sound* sound = reinterpret_cast<FMOD::Sound*>(1);
    FMOD_RESULT result = system->createStream(path.c_str(), songMode, nullptr, &sound);
    if (result == FMOD_OK) {
        EXPECT_EQ(sound->release(), FMOD_OK);
    } else {
        EXPECT_EQ(sound, nullptr) << "a failed open hands out no sound";
    }
    EXPECT_EQ(system->release(), FMOD_OK);
    return result;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

unsigned positionBytes(FMOD::Channel* channel) {
    unsigned position = 0;
    EXPECT_EQ(channel->getPosition(&position, FMOD_TIMEUNIT_PCMBYTES), FMOD_OK);
    return position;
}

// Frames at which the decoded left channel peaks above the tone's level: the clicks.
std::vector<long> clickFrames(const std::vector<int16_t>& stereo) {
    std::vector<long> clicks;
    for (size_t i = 0; i < stereo.size() / 2; ++i) {
        if (stereo[2 * i] > 15000 && (clicks.empty() || long(i) > clicks.back() + 100)) clicks.push_back(long(i));
    }
    return clicks;
}

}  // namespace

TEST(SoundLayerCalls, ReportTheVersionAndRefuseCallsBeforeInit) {
    FMOD::System* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    unsigned version = 0;
    EXPECT_EQ(system->getVersion(&version), FMOD_OK);
    EXPECT_EQ(version, 0x00044404u);
    FMOD::Sound* sound = nullptr;
    EXPECT_EQ(system->createStream("song.mp3", songMode, nullptr, &sound), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(system->update(), FMOD_ERR_UNINITIALIZED);
    for (int channels : {0, -1, 4094}) {
        EXPECT_EQ(system->init(channels, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INVALID_PARAM) << channels << " channels";
    }
    EXPECT_EQ(system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_EQ(system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_ERR_INITIALIZED);
    EXPECT_NE(soundOutputKind(system), soundOutputNone);
    EXPECT_EQ(system->update(), FMOD_OK);
    EXPECT_EQ(system->getVersion(nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->close(), FMOD_OK);
    EXPECT_EQ(system->createStream("song.mp3", songMode, nullptr, &sound), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(system->release(), FMOD_OK);
}

TEST(SoundLayerCalls, AnswerNullAndReleasedHandlesWithInvalidHandle) {
    EXPECT_EQ(FMOD_System_Create(nullptr), FMOD_ERR_INVALID_PARAM);
    unsigned value = 0;
    EXPECT_EQ(FMOD_System_Update(nullptr), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(FMOD_Channel_GetPosition(nullptr, &value, FMOD_TIMEUNIT_PCMBYTES), FMOD_ERR_INVALID_HANDLE);

    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 1.0));
    FMOD::System* system = initialisedSystem();
    FMOD::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(dir.file("song.mp3").c_str(), songMode, nullptr, &sound), FMOD_OK);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, nullptr, false, nullptr), FMOD_ERR_INVALID_HANDLE);
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
    EXPECT_EQ(channel->getPosition(&value, FMOD_TIMEUNIT_PCMBYTES), FMOD_OK);
    EXPECT_EQ(channel->getPosition(nullptr, FMOD_TIMEUNIT_PCMBYTES), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(channel->getPosition(&value, 0x400), FMOD_ERR_INVALID_PARAM);

    EXPECT_EQ(sound->release(), FMOD_OK);
    EXPECT_EQ(sound->release(), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->getPosition(&value, FMOD_TIMEUNIT_PCMBYTES), FMOD_ERR_INVALID_HANDLE)
        << "releasing a sound stops its channel";
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(system->release(), FMOD_OK);
    EXPECT_EQ(system->release(), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(system->update(), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(system->getVersion(&value), FMOD_ERR_INVALID_HANDLE);
}

TEST(SoundLayerFiles, GiveTheirCodesForMissingUnreadableAndUndecodableFiles) {
    TempDir dir;
    EXPECT_EQ(openCode(dir.file("missing.mp3")), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(openCode(dir.file("no/such/folder/song.mp3")), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(openCode(dir.path), FMOD_ERR_FILE_BAD) << "a folder cannot be read as a song";

    writeBytes(dir.file("empty.mp3"), {});
    EXPECT_EQ(openCode(dir.file("empty.mp3")), FMOD_ERR_FORMAT);

    std::mt19937 random(7);
    for (int size : {1, 3, 100, 4096, 100000}) {
        std::vector<unsigned char> garbage(static_cast<size_t>(size));
        for (auto& byte : garbage) byte = static_cast<unsigned char>(random());
        writeBytes(dir.file("garbage.mp3"), garbage);
        EXPECT_EQ(openCode(dir.file("garbage.mp3")), FMOD_ERR_FORMAT) << size << " random bytes";
    }

    ASSERT_TRUE(writeWav(dir.file("song.wav"), toneWithClicks(44100, 2, 0.5, {}), 44100, 2));
    EXPECT_EQ(openCode(dir.file("song.wav")), FMOD_ERR_FORMAT) << "a WAV file is not MP3";
    // MPEG audio of another layer decodes too, but is no MP3.
    ASSERT_EQ(
        std::system(
            ("ffmpeg -v error -i " + dir.file("song.wav") + " -c:a mp2 -f mp2 " + dir.file("layer2.mp3")).c_str()),
        0);
    EXPECT_EQ(openCode(dir.file("layer2.mp3")), FMOD_ERR_FORMAT) << "Layer II";

    // A FIFO without a writer would block an ordinary open for ever.
    ASSERT_EQ(mkfifo(dir.file("fifo.mp3").c_str(), 0600), 0);
    EXPECT_EQ(openCode(dir.file("fifo.mp3")), FMOD_ERR_FILE_BAD);
}

TEST(SoundLayerFiles, OpenATruncatedSongAndPlayWhatIsThere) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 2.0));
    std::vector<unsigned char> whole = readBytes(dir.file("song.mp3"));
    size_t wholeFrames = decodeWholeSong(dir.file("song.mp3")).size() / 2;
    for (size_t cut : {size_t(0), size_t(1), size_t(4), size_t(100), size_t(417), whole.size() / 3,
                       whole.size() / 2 + 1, whole.size() - 1}) {
        writeBytes(dir.file("cut.mp3"), std::vector<unsigned char>(whole.begin(), whole.begin() + long(cut)));
        FMOD_RESULT result = openCode(dir.file("cut.mp3"));
        if (cut < 1000) {
            EXPECT_EQ(result, FMOD_ERR_FORMAT) << "cut at " << cut;
        } else {
            EXPECT_EQ(result, FMOD_OK) << "cut at " << cut;
            size_t frames = decodeWholeSong(dir.file("cut.mp3")).size() / 2;
            EXPECT_GT(frames, 0u);
            EXPECT_LE(frames, wholeFrames);
        }
    }
}

TEST(SoundLayerDecoding, IsGaplessWithTheClicksOnTheirSamples) {
    TempDir dir;
    const std::vector<long> clicks = {0, 10000, 44100, 70001};
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 2.0, clicks));
    std::vector<int16_t> decoded = decodeWholeSong(dir.file("song.mp3"));
    EXPECT_EQ(decoded.size(), size_t(2 * 88200)) << "exactly the source's length";
    EXPECT_EQ(clickFrames(decoded), clicks) << "the first decoded sample is the first of the source";
}

TEST(SoundLayerDecoding, ConvertsMonoAnd48kHzToStereoAt44100) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("mono.mp3"), 44100, 1, 1.0, {0, 22050}));
    std::vector<int16_t> mono = decodeWholeSong(dir.file("mono.mp3"));
    ASSERT_EQ(mono.size(), size_t(2 * 44100));
    for (size_t i = 0; i < mono.size(); i += 2) ASSERT_EQ(mono[i], mono[i + 1]) << "frame " << i / 2;
    EXPECT_EQ(clickFrames(mono), (std::vector<long>{0, 22050}));

    ASSERT_TRUE(makeSong(dir.file("48k.mp3"), 48000, 2, 1.0, {24000}));
    std::vector<int16_t> resampled = decodeWholeSong(dir.file("48k.mp3"));
    EXPECT_NEAR(double(resampled.size()) / 2, 44100.0, 4.0);
    std::vector<long> found = clickFrames(resampled);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(double(found[0]), 22050.0, 30.0) << "half a second in, at the new rate";
}

TEST(SoundLayerDecoding, OpeningReadsOnlyTheStartOfTheFile) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("long.mp3"), 44100, 2, 30.0));
    struct stat info;
    ASSERT_EQ(stat(dir.file("long.mp3").c_str(), &info), 0);
    SongStream* stream = nullptr;
    ASSERT_EQ(openSongStream(dir.file("long.mp3").c_str(), &stream), 0);
    EXPECT_LT(songStreamInputOffset(stream), info.st_size / 20);
    closeSongStream(stream);
}

TEST(SoundLayerPlayback, PlayingTheSongAgainStartsItOver) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 2.0));
    FMOD::System* system = initialisedSystem();
    FMOD::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(dir.file("song.mp3").c_str(), songMode, nullptr, &sound), FMOD_OK);
    FMOD::Channel* first = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &first), FMOD_OK);
    sleepMs(300);
    FMOD::Channel* second = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &second), FMOD_OK);
    unsigned value = 0;
    EXPECT_EQ(first->getPosition(&value, FMOD_TIMEUNIT_PCMBYTES), FMOD_ERR_INVALID_HANDLE);
    EXPECT_LT(positionBytes(second), 176400u / 5);
    EXPECT_EQ(system->release(), FMOD_OK);
    EXPECT_EQ(FMOD_Sound_Release(sound), FMOD_ERR_INVALID_HANDLE) << "released with its system";
}

TEST(SoundLayerPlayback, PlayingAgainASongEmptiedOnDiskSaysItCannotSeek) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 2.0));
    FMOD::System* system = initialisedSystem();
    FMOD::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(dir.file("song.mp3").c_str(), songMode, nullptr, &sound), FMOD_OK);
    FMOD::Channel* first = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &first), FMOD_OK);
    ASSERT_EQ(truncate(dir.file("song.mp3").c_str(), 0), 0);
    FMOD::Channel* second = reinterpret_cast<FMOD::Channel*>(1);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &second), FMOD_ERR_FILE_COULDNOTSEEK);
    EXPECT_EQ(second, nullptr) << "no channel handed out";
    EXPECT_EQ(system->release(), FMOD_OK);
}
