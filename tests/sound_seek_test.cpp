// Moving and pausing a channel. Against a private sound server, what comes out of its sink after a
// seek or a resume starts exactly on the frame asked for, sample for sample. With the server and
// with the silent output, the position is exact right after a seek, holds still while paused, and
// never goes backwards between seeks. The silent-output test comes last: once OpenAL has found no
// server in a process, it finds none for the rest of it.
#include "platform/song_stream.h"
#include "platform/sound.h"
#include "support/audio_fixtures.h"
#include "support/pulse_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr unsigned songFrames = 4 * 44100;
constexpr size_t matchSamples = 2 * 20000;  // the run that must match after each start

struct Player {
    FMOD::System* system = nullptr;
    FMOD::Sound* sound = nullptr;
    FMOD::Channel* channel = nullptr;
};

Player play(const std::string& path, bool paused = false) {
    Player p;
    EXPECT_EQ(FMOD_System_Create(&p.system), FMOD_OK);
    EXPECT_EQ(p.system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    EXPECT_EQ(p.system->createStream(path.c_str(), FMOD_2D | FMOD_CREATESTREAM, nullptr, &p.sound), FMOD_OK);
    EXPECT_EQ(p.system->playSound(FMOD_CHANNEL_FREE, p.sound, paused, &p.channel), FMOD_OK);
    return p;
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

unsigned position(FMOD::Channel* channel, FMOD_TIMEUNIT unit = FMOD_TIMEUNIT_PCM) {
    unsigned value = 0;
    EXPECT_EQ(channel->getPosition(&value, unit), FMOD_OK);
    return value;
}

bool isPaused(FMOD::Channel* channel) {
    bool paused = false;
    EXPECT_EQ(channel->getPaused(&paused), FMOD_OK);
    return paused;
}

// Polls the position until it reaches `until`, checking that it never goes below the last read.
void runOn(FMOD::Channel* channel, unsigned* last, unsigned until) {
    for (int i = 0; i < 3000 && *last < until; ++i) {
        sleepMs(10);
        unsigned now = position(channel);
        ASSERT_GE(now, *last) << "the position went backwards";
        *last = now;
    }
    ASSERT_GE(*last, until) << "the position stopped";
}

// How many samples of the capture from `at` on are the song's from `frame` on, up to `samples`.
size_t matching(const std::vector<int16_t>& captured, size_t at, const std::vector<int16_t>& song, unsigned frame,
                size_t samples) {
    size_t n = 0;
    while (n < samples && at + n < captured.size() && captured[at + n] == song[2 * frame + n]) ++n;
    return n;
}

// Where the song from `frame` on first appears in the capture, at or after `from`.
size_t findRun(const std::vector<int16_t>& captured, size_t from, const std::vector<int16_t>& song, unsigned frame) {
    while (from + 64 <= captured.size() && matching(captured, from, song, frame, 64) < 64) ++from;
    return from + 64 <= captured.size() ? from : captured.size();
}

// The position after seeks and pauses on the output the test set up: exact after each seek,
// running on (never backwards) from there, past the song's end too.
void expectExactPositions(const std::string& path, SoundOutputKind kind) {
    Player p = play(path);
    ASSERT_EQ(soundOutputKind(p.system), kind);
    unsigned last = 0;
    runOn(p.channel, &last, 4410);
    for (unsigned frame : {120007u, 5003u, songFrames + 44100}) {  // forward, backward, past the end
        ASSERT_EQ(p.channel->setPosition(frame, FMOD_TIMEUNIT_PCM), FMOD_OK);
        EXPECT_EQ(position(p.channel), frame) << "exactly the frame, right after the seek";
        last = frame;
        runOn(p.channel, &last, frame + 4410);
    }
    ASSERT_EQ(p.channel->setPosition(60000, FMOD_TIMEUNIT_PCM), FMOD_OK);
    last = 60000;
    runOn(p.channel, &last, 64410);
    ASSERT_EQ(p.channel->setPaused(true), FMOD_OK);
    EXPECT_TRUE(isPaused(p.channel));
    const unsigned held = position(p.channel);
    EXPECT_GE(held, last);
    for (int i = 0; i < 5; ++i, sleepMs(20)) EXPECT_EQ(position(p.channel), held) << "read " << i;
    EXPECT_EQ(p.channel->setPaused(true), FMOD_OK);
    EXPECT_EQ(position(p.channel), held) << "pausing again does nothing";

    // While paused the position holds still, so every unit can be checked exactly.
    ASSERT_EQ(p.channel->setPosition(4 * 30000 + 3, FMOD_TIMEUNIT_PCMBYTES), FMOD_OK);
    EXPECT_EQ(position(p.channel), 30000u) << "bytes round down to the frame";
    EXPECT_EQ(position(p.channel, FMOD_TIMEUNIT_PCMBYTES), 4u * 30000);
    ASSERT_EQ(p.channel->setPosition(1234, FMOD_TIMEUNIT_MS), FMOD_OK);
    EXPECT_EQ(position(p.channel, FMOD_TIMEUNIT_MS), 1234u);
    EXPECT_EQ(position(p.channel), 54420u) << "the first frame of that millisecond";
    EXPECT_EQ(p.channel->setPosition(1, 0x400), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(p.channel->getPaused(nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_TRUE(isPaused(p.channel)) << "a seek keeps the channel paused";

    ASSERT_EQ(p.channel->setPaused(false), FMOD_OK);
    EXPECT_EQ(position(p.channel), 54420u) << "resumed on the held frame";
    EXPECT_FALSE(isPaused(p.channel));
    last = 54420;
    runOn(p.channel, &last, 54420 + 4410);
    EXPECT_EQ(p.channel->setPaused(false), FMOD_OK);
    runOn(p.channel, &last, last + 441);  // resuming a playing channel moved nothing back

    EXPECT_EQ(p.sound->release(), FMOD_OK);
    EXPECT_EQ(p.channel->setPosition(0, FMOD_TIMEUNIT_PCM), FMOD_ERR_INVALID_HANDLE) << "released with its sound";
    EXPECT_EQ(p.system->release(), FMOD_OK);

    Player q = play(path, true);  // a channel can start paused, held at the first frame
    sleepMs(50);
    EXPECT_TRUE(isPaused(q.channel));
    EXPECT_EQ(position(q.channel), 0u);
    ASSERT_EQ(q.channel->setPaused(false), FMOD_OK);
    last = 0;
    runOn(q.channel, &last, 4410);
    EXPECT_EQ(q.system->release(), FMOD_OK);
}

}  // namespace

TEST(SoundSeek, TheStreamDeliversTheExactSamplesFromAnyFrameOfStereoAndMonoSongs) {
    TempDir dir;
    std::vector<int16_t> chunk(2 * 8192);
    for (int channels : {2, 1}) {
        ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, channels, 4.0, {0, 40001}));
        std::vector<int16_t> song = decodeWholeSong(dir.file("song.mp3"));
        SongStream* stream = nullptr;
        ASSERT_EQ(openSongStream(dir.file("song.mp3").c_str(), &stream), 0);
        for (unsigned frame = 1; frame + 8192 <= songFrames; frame += 2999) {  // into odd and even MPEG frames
            ASSERT_EQ(seekSongStream(stream, frame), 0);
            ASSERT_EQ(readSongFrames(stream, chunk.data(), 8192), 8192u);
            EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), song.begin() + 2 * frame))
                << channels << " channels, from frame " << frame;
        }
        ASSERT_EQ(seekSongStream(stream, songFrames + 10), 0);
        EXPECT_EQ(readSongFrames(stream, chunk.data(), 8192), 0u) << "nothing past the end";
        closeSongStream(stream);
    }
}

TEST(SoundSeek, WhatIsHeardAfterASeekOrAResumeStartsOnThatFrame) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 4.0, {0, 40001, 100003, 150001}));
    std::vector<int16_t> song = decodeWholeSong(dir.file("song.mp3"));
    ASSERT_EQ(song.size(), 2u * songFrames);
    PulseServer server;
    ASSERT_TRUE(server.start()) << "pulseaudio could not be started";
    Player p = play(dir.file("song.mp3"));
    ASSERT_EQ(soundOutputKind(p.system), soundOutputDevice);
    const unsigned forward = 100003, backward = 40001;
    unsigned last = 0;
    runOn(p.channel, &last, 22050);
    for (unsigned frame : {forward, backward}) {
        ASSERT_EQ(p.channel->setPosition(frame, FMOD_TIMEUNIT_PCM), FMOD_OK);
        last = frame;
        runOn(p.channel, &last, frame + 22050);
    }
    ASSERT_EQ(p.channel->setPaused(true), FMOD_OK);
    const unsigned held = position(p.channel);
    sleepMs(300);
    ASSERT_EQ(p.channel->setPaused(false), FMOD_OK);
    last = held;
    runOn(p.channel, &last, held + 22050);
    EXPECT_EQ(p.system->release(), FMOD_OK);
    sleepMs(300);
    std::vector<int16_t> captured = server.capture();
    server.stop();

    // Neither seek target was heard before its seek: each first appearance is where its seek began.
    for (unsigned frame : {forward, backward}) {
        size_t at = findRun(captured, 0, song, frame);
        ASSERT_LT(at, captured.size()) << "frame " << frame << " never came out";
        ASSERT_GE(at, 16u);
        EXPECT_EQ(matching(captured, at, song, frame, matchSamples), matchSamples) << "played on from " << frame;
        EXPECT_LT(matching(captured, at - 16, song, frame - 8, 16), 16u) << "what came just before is not the song";
    }
    // Around the pause the song is unbroken up to the held frame; after nothing but silence, it
    // goes on from that very frame: no gap, no repeat.
    size_t heardBefore = 2 * size_t(held - backward), pausedAt = findRun(captured, 0, song, backward) + heardBefore;
    EXPECT_EQ(matching(captured, pausedAt - heardBefore, song, backward, heardBefore), heardBefore);
    size_t resumedAt = findRun(captured, pausedAt, song, held);
    ASSERT_LT(resumedAt, captured.size()) << "the held frame never came out";
    EXPECT_TRUE(std::all_of(captured.begin() + long(pausedAt), captured.begin() + long(resumedAt), [](int16_t s) {
        return s == 0;
    })) << "only silence between the pause and the resumed song";
    EXPECT_EQ(matching(captured, resumedAt, song, held, matchSamples), matchSamples);
}

TEST(SoundSeek, PositionIsExactAfterSeeksAndHoldsWhilePausedWithADevice) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 4.0));
    PulseServer server;
    ASSERT_TRUE(server.start()) << "pulseaudio could not be started";
    expectExactPositions(dir.file("song.mp3"), soundOutputDevice);
}

TEST(SoundSeek, PositionIsExactAfterSeeksAndHoldsWhilePausedWithTheSilentOutput) {
    TempDir dir;
    ASSERT_TRUE(makeSong(dir.file("song.mp3"), 44100, 2, 4.0));
    setenv("PULSE_SERVER", ("unix:" + dir.file("no-server")).c_str(), 1);
    setenv("ALSOFT_DRIVERS", "pulse", 1);  // and no sound card either
    expectExactPositions(dir.file("song.mp3"), soundOutputSilent);
}
