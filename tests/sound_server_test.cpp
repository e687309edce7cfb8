// The sound layer against a real sound server: what comes out of the server's sink is the song,
// sample for sample, with nothing lost at the start.
#include "platform/sound.h"
#include "support/audio_fixtures.h"
#include "support/pulse_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

TEST(SoundServer, PlaysTheSongSampleForSample) {
    TempDir songs;
    ASSERT_TRUE(makeSong(songs.file("song.mp3"), 44100, 2, 2.0, {0, 1000, 50000}));
    std::vector<int16_t> source = decodeWholeSong(songs.file("song.mp3"));
    ASSERT_EQ(source.size(), size_t(2 * 88200));
    ASSERT_NE(source[0], 0) << "the song starts on a click, so a lost first sample shows";

    PulseServer server;
    ASSERT_TRUE(server.start()) << "pulseaudio could not be started";

    FMOD::System* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    ASSERT_EQ(system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    ASSERT_EQ(soundOutputKind(system), soundOutputDevice) << "the layer plays to the server";
    FMOD::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(songs.file("song.mp3").c_str(),
                                   FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME, nullptr, &sound),
              FMOD_OK);
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
    unsigned position = 0;
    while (position < 176400u * 5 / 2) {  // the 2 s song and half a second more
        system->update();
        ASSERT_EQ(channel->getPosition(&position, FMOD_TIMEUNIT_PCMBYTES), FMOD_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(sound->release(), FMOD_OK);
    EXPECT_EQ(system->release(), FMOD_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<int16_t> captured = server.capture();
    server.stop();

    auto first = std::find_if(captured.begin(), captured.end(), [](int16_t s) { return s != 0; });
    ASSERT_NE(first, captured.end()) << "nothing was played";
    size_t start = size_t(first - captured.begin());
    ASSERT_EQ(start % 2, 0u) << "the song starts on a left sample";
    ASSERT_GE(captured.size() - start, source.size()) << "the whole song came out";
    size_t mismatches = 0, firstMismatch = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        if (captured[start + i] != source[i] && mismatches++ == 0) firstMismatch = i;
    }
    EXPECT_EQ(mismatches, 0u) << "first difference at sample " << firstMismatch << ": "
                              << captured[start + firstMismatch] << " instead of " << source[firstMismatch];
}

TEST(SoundServer, PlaysTheShowsOwnSongFromItsFirstSample) {
    const std::string song = std::string(DEMO_BIN_DIR) + "/../show/data/mirekand2013.mp3";
    std::vector<int16_t> source = decodeWholeSong(song);
    ASSERT_GT(source.size(), size_t(2 * 44100 * 3)) << "the build's show folder holds the song";
    PulseServer server;
    ASSERT_TRUE(server.start()) << "pulseaudio could not be started";
    FMOD::System* system = nullptr;
    ASSERT_EQ(FMOD_System_Create(&system), FMOD_OK);
    ASSERT_EQ(system->init(1, FMOD_INIT_NORMAL, nullptr), FMOD_OK);
    FMOD::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(song.c_str(), FMOD_2D | FMOD_CREATESTREAM, nullptr, &sound), FMOD_OK);
    FMOD::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
    unsigned position = 0;
    while (position < 176400u * 3) {  // three seconds of it
        system->update();
        ASSERT_EQ(channel->getPosition(&position, FMOD_TIMEUNIT_PCMBYTES), FMOD_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(system->release(), FMOD_OK);
    std::vector<int16_t> captured = server.capture();
    server.stop();
    auto first = std::find_if(captured.begin(), captured.end(), [](int16_t s) { return s != 0; });
    ASSERT_NE(first, captured.end());
    // The song's own first non-silent sample lines up with the capture's, then two seconds match.
    auto sourceFirst = std::find_if(source.begin(), source.end(), [](int16_t s) { return s != 0; });
    size_t start = size_t(first - captured.begin()), offset = size_t(sourceFirst - source.begin());
    ASSERT_GE(captured.size(), start + size_t(2 * 44100 * 2));
    size_t mismatches = 0;
    for (size_t i = 0; i < size_t(2 * 44100 * 2); ++i) mismatches += captured[start + i] != source[offset + i];
    EXPECT_EQ(mismatches, 0u) << "the show's song comes out sample for sample";
}
