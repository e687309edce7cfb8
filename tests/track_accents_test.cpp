// Accents made from the song's events: the keys they lay over a track's own keys, the order in
// which they lie over each other, their options, and the errors of a source or an events file
// that cannot be followed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sync/musical_grid.h"
#include "sync/song_events.h"
#include "sync/song_fit.h"
#include "sync/sync.h"
#include "sync/track_accents.h"
#include "sync/track_text.h"

namespace {

const char* const events =
    "# ROW LENGTH KIND\n"
    "0 48 bar\n"
    "10 4 sing:good\n"
    "16 2.4 sing:good\n"
    "24 12 kick\n"
    "30.5 1 sing:good\n"
    "48 48 bar\n"
    "60 12 kick\n";

TrackSource built(const std::string& text) {
    TrackSource source = parseTrackSource("events song.events\n" + text);
    EXPECT_TRUE(source.errors.empty()) << source.errors[0].line << ": " << source.errors[0].message;
    SongEventList list = parseSongEvents(events);
    EXPECT_TRUE(list.errors.empty());
    applyAccents(&source, list.events);
    return source;
}

float valueAt(const SourceTrack& track, double row) {
    SyncTrack view{nullptr, const_cast<TrackKey*>(track.keys.data()), int32_t(track.keys.size())};
    return evaluateTrack(&view, row);
}

std::vector<float> valuesAt(const SourceTrack& track, const std::vector<double>& rows) {
    std::vector<float> values;
    for (double row : rows) values.push_back(valueAt(track, row));
    return values;
}

}  // namespace

TEST(TrackAccents, OnHoldsItsValueWhileEachEventLastsAndTheKeysTakeOverAfter) {
    TrackSource source = built("track face\n0 2\n20 3\non sing:good 5\n");
    ASSERT_EQ(source.errors.size(), 0u);
    const SourceTrack& face = source.tracks[0];
    // Syllables at 10 (4 rows), 16 (2.4 rows: to 18) and 30.5 (to the nearest rows, 31 to 32);
    // the key at 20 changes the face under them.
    EXPECT_EQ(valuesAt(face, {0, 9, 10, 13, 14, 16, 17.9, 18, 20, 30, 31, 31.9, 32}),
              (std::vector<float>{2, 2, 5, 5, 2, 5, 5, 2, 3, 3, 5, 5, 3}));
}

TEST(TrackAccents, PulsesAddTheirAmountAndEaseBackOnTopOfMovingKeys) {
    TrackSource source = built("track scale\n0 1 linear\n96 2\npulse kick 0.5 6\n");
    const SourceTrack& scale = source.tracks[0];
    // The keys run from 1 at row 0 to 2 at row 96: 1 + row / 96.
    EXPECT_FLOAT_EQ(valueAt(scale, 23), 1 + 23.0f / 96);
    EXPECT_FLOAT_EQ(valueAt(scale, 24), 1.25f + 0.5f);
    EXPECT_FLOAT_EQ(valueAt(scale, 27), 1 + 27.0f / 96 + 0.25f);
    EXPECT_FLOAT_EQ(valueAt(scale, 30), 1 + 30.0f / 96);
    EXPECT_FLOAT_EQ(valueAt(scale, 45), 1 + 45.0f / 96);
    EXPECT_FLOAT_EQ(valueAt(scale, 60), 1.625f + 0.5f);
    EXPECT_FLOAT_EQ(valueAt(scale, 100), 2.0f);

    // A rise builds over the whole of each bar and drops back when the bar ends.
    TrackSource rising = built("track white\n0 0.25\nrise bar 0.5\n");
    const double rows[] = {0, 24, 47, 48, 72, 95, 96, 100};
    const double expected[] = {0.25, 0.5, 0.25 + 0.5 * 47 / 48, 0.25, 0.5, 0.25 + 0.5 * 47 / 48, 0.25, 0.25};
    for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(valueAt(rising.tracks[0], rows[i]), expected[i], 1e-6) << rows[i];
}

TEST(TrackAccents, LaterAccentsLieOverEarlierOnesAndOptionsPickTheirEvents) {
    // Blinks on the first beat of every other bar but only where the face is shown, and the
    // syllables over them; an accent from bar 2 only.
    TrackSource source = built(
        "tempo 120\n"
        "track face\n0 -5\n8 2\n"
        "on bar 7 3 every 1 if-between -1 10\n"
        "on sing:good 5 to 0\n"  // before row 0: no syllable
        "on kick 9 2 from 2:1\n");
    ASSERT_EQ(source.errors.size(), 0u) << source.errors[0].message;
    const SourceTrack& face = source.tracks[0];
    // The bar at 0 comes while the face is hidden (-5): no blink; the bar at 48 blinks.
    EXPECT_EQ(valuesAt(face, {0, 2, 8, 48, 50, 51, 59, 60, 61, 62}),
              (std::vector<float>{-5, -5, 2, 7, 7, 2, 2, 9, 9, 2}));
    TrackSource every = built("track face\n0 0\non sing:good 1 every 2\n");
    EXPECT_EQ(valuesAt(every.tracks[0], {10, 16, 31}), (std::vector<float>{1, 0, 1}));
}

TEST(TrackAccents, ASourceThatCannotBeFollowedSaysWhereAndWhy) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"track a\non kick 1\n", 2, "'on' needs an 'events FILE' line before it"},
        {"events e\non kick 1\n", 2, "'on' before any 'track' line"},
        {"events e\ntrack a\non kick\n", 3, "'on' needs an event and a value: on sing:good 5"},
        {"events e\ntrack a\npulse kick 1\n", 3, "'pulse' needs an event, an amount and rows: pulse kick 0.3 6"},
        {"events e\ntrack a\npulse kick 1 0\n", 3, "rows '0' is not a length in rows above 0"},
        {"events e\ntrack a\non kick 1 every 0\n", 3, "every '0' is not a whole number of at least 1"},
        {"events e\ntrack a\non kick 1 sometimes\n", 3, "unknown option 'sometimes'"},
        {"events e\ntrack a\non kick 1 if-between 0\n", 3, "'if-between' needs two values"},
        {"events e\nevents f\n", 2, "the events were already named at line 1"},
    };
    for (const Case& c : cases) {
        TrackSource source = parseTrackSource(c.text);
        ASSERT_FALSE(source.errors.empty()) << c.text;
        EXPECT_EQ(source.errors[0].line, c.line) << c.text;
        EXPECT_EQ(source.errors[0].message.rfind(c.message, 0), 0u) << c.text << " gave " << source.errors[0].message;
    }
    TrackSource unknown = parseTrackSource("events song.events\ntrack a\n0 1\non kik 1\n");
    applyAccents(&unknown, parseSongEvents(events).events);
    ASSERT_EQ(unknown.errors.size(), 1u);
    EXPECT_EQ(unknown.errors[0].line, 4);
    EXPECT_EQ(unknown.errors[0].message, "the song has no event 'kik' (see song.events)");
    TrackSource overflow = parseTrackSource("events e\ntrack a\n0 3e38\npulse kick 3e38 4\n");
    applyAccents(&overflow, parseSongEvents(events).events);
    ASSERT_EQ(overflow.errors.size(), 1u);
    EXPECT_EQ(overflow.errors[0].line, 4);
}

TEST(SongEvents, ReadsEventsAndRefusesWhatIsNotOneWithItsLine) {
    SongEventList list = parseSongEvents("# c\n\n1.5 2 beat # after\n1.5 0 section:verse 1\n");
    ASSERT_EQ(list.events.size(), 1u);
    EXPECT_EQ(list.events[0].row, 1.5);
    EXPECT_EQ(list.events[0].kind, "beat");
    ASSERT_EQ(list.errors.size(), 1u);
    EXPECT_EQ(list.errors[0].line, 4);
    const std::string bad[] = {
        "x 1 beat",     "-1 1 beat",          "1 -2 beat", "1 nan beat", "1 1 " + std::string(65, 'k'),
        "5 1 a\n4 1 b", "1 1 a\n5 1 b\n4 1 c"};
    for (const std::string& text : bad) EXPECT_FALSE(parseSongEvents(text).errors.empty()) << text;
    SongEvent event{12.25, 3.5, "sing:evil"};
    SongEventList back = parseSongEvents(formatSongEvent(event));
    ASSERT_EQ(back.events.size(), 1u);
    EXPECT_EQ(back.events[0].row, 12.25);
    EXPECT_EQ(back.events[0].length, 3.5);
    EXPECT_EQ(back.events[0].kind, "sing:evil");
    SongEventList missing = readSongEvents("/nonexistent/song.events");
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(missing.errors[0].line, 0);
}

// An events file opens with the song's grid and end; a source is held to them: the same tempo,
// beats a bar and bar 1, and a song that lasts to the show's last row. What either side does not
// say is not held against it.
TEST(SongEvents, TheSongsGridAndEndAreReadAndHeldAgainstTheSources) {
    SongEventList song =
        parseSongEvents("# the song\ntempo 126\nbeats-per-bar 3\nstart-row 0\nend 6700.5\n0 12 beat\n");
    ASSERT_TRUE(song.errors.empty()) << song.errors[0].message;
    EXPECT_TRUE(song.grid.known);
    EXPECT_EQ(song.grid.tempo, 126.0);
    EXPECT_EQ(song.grid.beatsPerBar, 3);
    EXPECT_EQ(song.endRow, 6700.5);
    EXPECT_EQ(parseSongEvents(formatSongGrid(song.grid, song.endRow)).endRow, 6700.5) << "written as it is read";

    const struct {
        const char* text;
        const char* error;
    } refused[] = {{"0 12 beat\ntempo 120\n", "'tempo' must come before the events"},
                   {"tempo 0\n", "bad value '0' for 'tempo'"},
                   {"beats-per-bar 65\n", "bad value '65' for 'beats-per-bar'"},
                   {"end -1\n", "bad value '-1' for 'end'"},
                   {"end nan\n", "bad value 'nan' for 'end'"},
                   {"tempo 120 4\n", "'tempo' needs exactly one value"}};
    for (const auto& c : refused) {
        SongEventList list = parseSongEvents(c.text);
        ASSERT_EQ(list.errors.size(), 1u) << c.text;
        EXPECT_EQ(list.errors[0].message, c.error);
    }

    MusicalGrid counted{true, 126.0, 3, 0.0};
    EXPECT_TRUE(songMisfits(counted, song, "song.events").empty());
    std::vector<std::string> faster = songMisfits(MusicalGrid{true, 120.0, 3, 0.0}, song, "song.events");
    ASSERT_EQ(faster.size(), 1u);
    EXPECT_EQ(faster[0].rfind("the song (song.events) plays at 126 beats a minute, but this source counts 120", 0), 0u);
    EXPECT_EQ(songMisfits(MusicalGrid{true, 126.0, 4, 0.0}, song, "e").size(), 1u);
    EXPECT_EQ(songMisfits(MusicalGrid{true, 126.0, 3, 12.0}, song, "e").size(), 1u);
    EXPECT_TRUE(songMisfits(MusicalGrid{}, song, "e").empty()) << "a source of rows only";
    song.endRow = 6650.0;
    ASSERT_EQ(songMisfits(counted, song, "e").size(), 1u);
    EXPECT_NE(
        songMisfits(counted, song, "e")[0].find("ends at row 6650.0 (277.1 s), before the show's end at row 6651"),
        std::string::npos);
    song.endRow = 6651.0;
    EXPECT_TRUE(songMisfits(counted, song, "e").empty());
    EXPECT_TRUE(songMisfits(counted, parseSongEvents("0 12 beat\n"), "e").empty()) << "an events file of old";
}
