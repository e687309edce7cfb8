// demo-check --lint run for real on small crafted show folders: one that lives with every rule
// (each rule's case close to its limit) passes them all, and each change that breaks one rule
// fails that rule alone, with a finding that names it, the rows and the images.
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/run_program.h"
#include "support/sync_files.h"

#include "runtime/asset_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string goodLyric = "data/good_lyrics/01.png";
const std::string evilLyric = "data/evil_lyrics/01.png";
const std::string goodBubble = "data/good_lyrics/bg-taleboble.png";
const std::string tunnelTexture = "data/tunnel/tex6.png";  // the second tunnel texture
const std::string firstTunnelTexture = "data/tunnel/tunnel1.png";
const std::string refrainBackground = "data/refrain/refrain-bg.png";
const std::string firstPhotograph = "data/refrain/polaroids/omkvaed1.1.png";
const std::string song = "data/mirekand2013.mp3";

// An image of the size, transparent but for an opaque white block.
void writeBlockImage(const std::string& path, int width, int height, int left, int top, int right, int bottom) {
    std::vector<uint8_t> pixels = solidImage(width, height, 4, Rgba{0, 0, 0, 0});
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            for (int c = 0; c < 4; ++c) pixels[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)] = 255;
        }
    }
    ASSERT_TRUE(writePng(path, width, height, 4, pixels)) << path;
}

// A black image of the size at one alpha all over.
void writeVeilImage(const std::string& path, int width, int height, int alpha) {
    ASSERT_TRUE(writePng(path, width, height, 4, solidImage(width, height, 4, Rgba{0, 0, 0, alpha}))) << path;
}

// A black square texture, 64 pixels a side: its outer band (2 pixels deep, the outermost 3 %) at
// one alpha, everything inside it opaque.
void writeTunnelTexture(const std::string& path, int bandAlpha) {
    const int side = 64, band = 2;
    std::vector<uint8_t> pixels = solidImage(side, side, 4, Rgba{0, 0, 0, bandAlpha});
    for (int y = band; y < side - band; ++y) {
        for (int x = band; x < side - band; ++x) pixels[(size_t(y) * side + size_t(x)) * 4 + 3] = 255;
    }
    ASSERT_TRUE(writePng(path, side, side, 4, pixels)) << path;
}

// 277.5 s of stereo silence at 44100 Hz with a tone from 276 s until `toneEnd`: the show's last
// row ends at 277.125 s.
void writeSong(const std::string& folder, const std::string& name, double toneEnd) {
    const int rate = 44100;
    std::vector<int16_t> samples(size_t(277.5 * rate) * 2, 0);
    for (size_t frame = size_t(276.0 * rate); frame < size_t(toneEnd * rate); ++frame) {
        int16_t value = int16_t(8000.0 * std::sin(2.0 * M_PI * 440.0 * double(frame) / rate));
        samples[frame * 2] = samples[frame * 2 + 1] = value;
    }
    std::string wav = folder + "/" + name + ".wav";
    ASSERT_TRUE(writeWav(wav, samples, rate, 2));
    ASSERT_TRUE(encodeMp3(wav, folder + "/" + name));
    std::remove(wav.c_str());
}

// What every crafted show shares, made once: every catalogue image (tiny and transparent, the
// refrain's layers as large as the checks ask), the shaders, and the songs.
struct ShowParts {
    TempDir dir;
    std::string images = dir.file("images");
    std::string quietEnding = dir.file("quiet-ending.mp3");  // silent after the last row
    std::string soundingOn = dir.file("sounding-on.mp3");    // the tone goes on to its end
    std::string tooShort = dir.file("too-short.mp3");        // 10 s

    void make() {
        AssetCatalogue catalogue;
        for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) {
            std::string path = images + "/" + entry.fileName;
            ASSERT_EQ(runCommand("mkdir -p " + shellQuote(path.substr(0, path.rfind('/'))), dir.path).status, 0);
            bool refrainLayer = entry.fileName.find("refrain-") != std::string::npos;
            int width = refrainLayer ? 1280 : 4, height = refrainLayer ? 724 : 4;
            ASSERT_TRUE(writePng(path, width, height, 4, solidImage(width, height, 4, Rgba{0, 0, 0, 0})));
        }
        // The good character's bubble, nearly transparent but just visible (mean alpha 14/255,
        // 0.055), is as large as its lyric; the lyric's text stays in the safe area however it
        // sways (drawn at (30, 600) give or take (6, 4)).
        writeVeilImage(images + "/" + goodBubble, 400, 80, 14);
        writeBlockImage(images + "/" + goodLyric, 360, 60, 40, 10, 360, 50);
        // A photograph away from the lyric.
        writeBlockImage(images + "/" + firstPhotograph, 700, 700, 500, 100, 700, 300);
        // The tunnel texture shown, its border faint enough: 38/255 (0.149) along its edges.
        writeTunnelTexture(images + "/" + tunnelTexture, 38);
        std::string shaders = std::string(DEMO_SOURCE_DIR) + "/data/shaders";
        ASSERT_EQ(runCommand("cp -r " + shellQuote(shaders) + " data/", images).status, 0);
        writeSong(dir.path, "quiet-ending.mp3", 277.0);
        writeSong(dir.path, "sounding-on.mp3", 277.5);
        ASSERT_TRUE(makeSong(tooShort, 44100, 2, 10.0));
    }
};

ShowParts* parts = nullptr;

// The white fade on for `rowsOn` rows and off as long, for two seconds from bar 6.
std::string whiteFlashes(int rowsOn) {
    std::string keys = "1:1 0\n";
    for (int row = 240; row < 288; row += 2 * rowsOn) {
        keys += std::to_string(row) + " 1\n" + std::to_string(row + rowsOn) + " 0\n";
    }
    return keys;
}

// The choreography of a crafted show, as text, track by track. With tempo 120 and four beats a
// bar, bar b starts at row 48 (b - 1). Unless a test changes it:
//   bars 2-3  the good character is shown; its first lyric for bar 2 alone, so its bubble is
//             empty for exactly a bar; the static at 0.35 lets 65 % of the lyric through; the
//             first photograph is shown away from it; while the lyric is sung (bar 2, four
//             syllables) the face changes twice
//   bar 5     the evil character sings half a bar, three syllables, with its first lyric up, and
//             its face changes once
//   bars 6-7  the white fade flashes three times a second (on 4 rows, off 4) over nothing else
//   bars 9-17 the tunnel, one texture and design for eight bars and a beat (rows 384-779)
std::map<std::string, std::string> passingChoreography() {
    return {
        {"fade:bg_white", whiteFlashes(4)},
        {"fade:fg_black", "1:1 0\n"},
        {"fade:fg_noise", "1:1 0\n2:1 0.35\n3:1 0\n"},
        {"avatar:good", "1:1 -5\n2:1 0\n2:3 1\n2:4 0\n4:1 -5\n"},
        {"avatar:evil", "1:1 -5\n5:1 0\n5:2 1\n5:3 -5\n"},
        {"lyrics:good", "1:1 -5\n2:1 0\n3:1 -5\n"},
        {"lyrics:evil", "1:1 -5\n5:1 0\n5:3 -5\n"},
        {"pictogram:pictogram", "1:1 -5\n"},
        {"pictogram:x", "1:1 0\n"},
        {"pictogram:y", "1:1 0\n"},
        {"pictogram:scale", "1:1 1\n"},
        {"features", "1:1 -5\n"},
        {"refrain:background", "1:1 720\n"},
        {"refrain:sun", "1:1 1500\n"},
        {"refrain:foreground", "1:1 720\n"},
        {"refrain:polaroid_start", "1:1 -5\n2:1 0\n3:1 -5\n"},
        {"refrain:polaroid_end", "1:1 0.99\n"},
        {"tunnel:move", "1:1 0\n"},
        {"tunnel:variation", "1:1 -5\n9:1 1\n"},
        {"tunnel:texture", "1:1 -5\n9:1 1\n17:2 -5\n"},
    };
}

// The song's events of a crafted show: the two sung lines of the choreography above, with
// syllables of the other singer and after the line that must not count, and the song's other events.
const std::string passingSongEvents = R"(# ROW LENGTH KIND
0 192 section:intro
0 48 bar
0 12 beat
0 0 kick
48 48 line:good
48 6 sing:good
60 6 sing:good
66 0 sing:evil
72 6 sing:good
78 0 sing:evil
84 6 sing:good
96 4 sing:good
192 24 line:evil
192 4 sing:evil
200 4 sing:evil
204 2 stutter:evil
208 4 sing:evil
)";

struct CraftedShow {
    TempDir dir;
    std::string folder = dir.file("show");
    std::map<std::string, std::string> tracks = passingChoreography();
    std::string songFile = parts->quietEnding;
    std::string songEvents = passingSongEvents;
    bool withSongEvents = true;

    CraftedShow() {
        ProgramResult copied = runCommand("cp -r " + shellQuote(parts->images) + " " + shellQuote(folder), dir.path);
        EXPECT_EQ(copied.status, 0) << copied.err;
    }
    std::string file(const std::string& name) const { return folder + "/" + name; }

    // Writes the choreography source, builds its track files with demo-tracks and puts the song in.
    void prepare() const {
        std::string source = "tempo 120\nbeats-per-bar 4\n";
        for (const auto& [name, keys] : tracks) source += "track " + name + "\n" + keys;
        writeBytes(file("show.tracks"), std::vector<unsigned char>(source.begin(), source.end()));
        ProgramResult built = runCommand(shellQuote(builtProgram("demo-tracks")) + " build show.tracks", folder);
        EXPECT_EQ(built.status, 0) << built.out << built.err;
        EXPECT_EQ(runCommand("cp " + shellQuote(songFile) + " " + song, folder).status, 0);
        if (withSongEvents)
            writeBytes(file("song.events"), std::vector<unsigned char>(songEvents.begin(), songEvents.end()));
    }
    ProgramResult lint() const {
        prepare();
        return runCommand(shellQuote(builtProgram("demo-check")) + " --lint --source show.tracks", folder);
    }
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void expectInOutput(const ProgramResult& result, const std::string& text) {
    EXPECT_TRUE(contains(result.out, text)) << "no \"" << text << "\" in:\n" << result.out;
}

// The summary line of a lint that failed exactly the one rule (the others ok, or not judged).
void expectOnlyRuleFailed(const ProgramResult& result, const std::string& rule) {
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    for (const char* each :
         {"bubbles", "hidden text", "flashes", "safe area", "song", "still face", "short lyric", "backdrop", "seams"}) {
        bool failing = each == rule;
        EXPECT_EQ(contains(result.out, std::string(each) + " failed"), failing) << each << "\n" << result.out;
    }
}

class ShowLint : public testing::Test {
protected:
    static void SetUpTestSuite() {
        parts = new ShowParts;
        parts->make();
    }
    static void TearDownTestSuite() {
        delete parts;
        parts = nullptr;
    }
};

}  // namespace

TEST_F(ShowLint, AShowThatLivesWithEveryRulePassesThemAll) {
    CraftedShow show;
    ProgramResult result = show.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    expectInOutput(
        result,
        "lint: bubbles ok, hidden text ok, flashes ok (most in a second: 3), safe area ok, song ok (silent "
        "after the last row), still face ok (2 sung lines), short lyric ok (2 sung lines), backdrop ok, seams "
        "ok\n");
}

TEST_F(ShowLint, AnEmptyBubbleForMoreThanABarAndBothLyricsUpFailBubbles) {
    CraftedShow show;
    // The good character stays a beat longer after its line: the bubble is empty from 3:1 to 4:2.
    show.tracks["avatar:good"] = "1:1 -5\n2:1 0\n2:3 1\n2:4 0\n4:2 -5\n";
    // The evil character with its first lyric for the first beat of bar 2, and on screen beside
    // the good one for the first beat of bar 3 with no lyric: only the first is a crowd.
    show.tracks["avatar:evil"] = "1:1 -5\n2:1 0\n2:2 -5\n3:1 0\n3:2 -5\n5:1 0\n5:2 1\n5:3 -5\n";
    show.tracks["lyrics:evil"] = "1:1 -5\n2:1 0\n2:2 -5\n5:1 0\n5:3 -5\n";
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "bubbles");
    expectInOutput(result, "bubbles: rows 96-155 (3:1 to 4:2): the good character's bubble " + goodBubble +
                               " is empty for 60 rows, more than a bar (48; track lyrics:good, key at show.tracks:");
    expectInOutput(result, "\nbubbles: rows 48-59 (2:1 to 2:2): both lyrics up at once (" + goodLyric + " and " +
                               evilLyric + ")\n");
    EXPECT_FALSE(contains(result.out, "rows 96-107")) << result.out;
    expectInOutput(result, "bubbles failed (2 findings)");
}

TEST_F(ShowLint, AnEmptyBubbleThatCannotBeSeenIsNoFault) {
    CraftedShow show;
    writeVeilImage(show.file(goodBubble), 400, 80, 12);                    // mean alpha 0.047
    show.tracks["avatar:good"] = "1:1 -5\n2:1 0\n2:3 1\n2:4 0\n4:2 -5\n";  // empty from 3:1 to 4:2
    ProgramResult result = show.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    expectInOutput(result, "bubbles ok");
}

TEST_F(ShowLint, APhotographOverALyricAndStaticOverItFailHiddenText) {
    CraftedShow show;
    writeBlockImage(show.file(firstPhotograph), 700, 700, 0, 560, 500, 700);
    show.tracks["fade:fg_noise"] = "1:1 0\n2:1 0.5\n3:1 0\n";
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "hidden text");
    expectInOutput(result, "hidden text: rows 48-95 (2:1 to 3:1): " + goodLyric + " covered by " + firstPhotograph);
    expectInOutput(result, "hidden text: rows 48-95 (2:1 to 3:1): " + goodLyric +
                               " under 60 % for 48 of its 48 rows, under the static");
}

TEST_F(ShowLint, TheStaticFadesOutAgainAboveOneAndHidesTextByWhatIsLeft) {
    // At 1.62 the static is 0.38 opaque and lets 62 % of the lyric through; at 1.58, 58 %.
    CraftedShow fading;
    fading.tracks["fade:fg_noise"] = "1:1 0\n2:1 1.62\n3:1 0\n";
    ProgramResult result = fading.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;

    CraftedShow thicker;
    thicker.tracks["fade:fg_noise"] = "1:1 0\n2:1 1.58\n3:1 0\n";
    result = thicker.lint();
    expectOnlyRuleFailed(result, "hidden text");
    expectInOutput(result, "hidden text: rows 48-95 (2:1 to 3:1): " + goodLyric +
                               " under 60 % for 48 of its 48 rows, under the static (down to 58 % through)");
}

TEST_F(ShowLint, FourFlashesInASecondFailFlashes) {
    CraftedShow show;
    show.tracks["fade:bg_white"] = whiteFlashes(3);
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "flashes");
    expectInOutput(result, "flashes failed (most in a second: 4");
    expectInOutput(result, "\nflashes: rows 2");
}

TEST_F(ShowLint, ALyricReachingPastTheMarginsFailsSafeAreaWithHowFarOnEachSide) {
    CraftedShow show;
    writeBlockImage(show.file(goodLyric), 1200, 60, 0, 10, 1200, 50);
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "safe area");
    expectInOutput(
        result, "safe area: rows 48-95 (2:1 to 3:1): " + goodLyric + " reaches x 24 left of 64, x 1236 right of 1216");
}

TEST_F(ShowLint, ASongSoundingAfterTheLastRowOrEndingBeforeItFailsSong) {
    CraftedShow sounding;
    sounding.songFile = parts->soundingOn;
    ProgramResult result = sounding.lint();
    expectOnlyRuleFailed(result, "song");
    expectInOutput(result, "song: " + song + " still sounds after the show's last row 6651 (277.125 s)");

    CraftedShow shortSong;
    shortSong.songFile = parts->tooShort;
    result = shortSong.lint();
    expectOnlyRuleFailed(result, "song");
    expectInOutput(result, "song: " + song + " ends at 10.0");
}

TEST_F(ShowLint, AFaceTooStillOrNotShownWhileItsLineIsSungFailsStillFace) {
    CraftedShow show;
    show.tracks["avatar:good"] = "1:1 -5\n2:1 0\n2:3 1\n4:1 -5\n";  // one change in the line, two wanted
    show.tracks["avatar:evil"] = "1:1 -5\n";                        // not shown while it sings
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "still face");
    expectInOutput(result,
                   "\nstill face: rows 48-95 (2:1 to 3:1): the good character sings 4 syllables with 1 change of face "
                   "(data/avatars/annoyed.png, data/avatars/awww.png), at least 2 wanted (track avatar:good, key at "
                   "show.tracks:");
    expectInOutput(result,
                   "\nstill face: rows 192-215 (5:1 to 5:3): the evil character sings 3 syllables with no face "
                   "shown for 24 of the line's 24 rows (track avatar:evil, key at show.tracks:");
    expectInOutput(result, "still face failed (2 sung lines; 2 findings)");
}

// The good character's lyric comes a beat late into the line it sings (bar 2): the line is shown
// for less than its sung length, named with the track and the source line behind it.
TEST_F(ShowLint, ALyricShownForLessThanItsLineIsSungFailsShortLyric) {
    CraftedShow show;
    show.tracks["lyrics:good"] = "1:1 -5\n2:2 0\n3:1 -5\n";
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "short lyric");
    // The key in force at the line's start is the first after the track's line.
    int trackLine = 0, line = 0;
    std::istringstream source(readFileBytes(show.file("show.tracks")));
    for (std::string text; std::getline(source, text);) {
        ++line;
        if (text == "track lyrics:good") trackLine = line;
    }
    ASSERT_GT(trackLine, 0);
    expectInOutput(result,
                   "\nshort lyric: rows 48-95 (2:1 to 3:1): the good character sings a line for 48 rows "
                   "(2.00 s) but its lyric is up for 36 of them (1.50 s); at row 48 (2:1 to 2:1.08) the face "
                   "shows with no lyric picked (track lyrics:good, key at show.tracks:" +
                       std::to_string(trackLine + 1) + ")\n");
    expectInOutput(result, "short lyric failed (2 sung lines; 1 finding)");
}

TEST_F(ShowLint, WithoutSongEventsStillFaceIsNotJudgedAndFailsNothing) {
    CraftedShow show;
    show.withSongEvents = false;
    ProgramResult result = show.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    expectInOutput(result,
                   "song ok (silent after the last row), still face not judged (no song.events in the show "
                   "folder), short lyric not judged (no song.events in the show folder), backdrop ok");
}

TEST_F(ShowLint, ADamagedSongEventsFileIsNamedByLineAFewLinesAtMost) {
    CraftedShow badLine;
    badLine.songEvents = "# events\n48 48 line:good\n60 six sing:good\n72 6 sing:good\n";
    ProgramResult result = badLine.lint();
    expectOnlyRuleFailed(result, "still face");
    expectInOutput(result, "\nstill face: song.events:3: ");
    EXPECT_FALSE(contains(result.out, "still face: song.events:4")) << result.out;

    CraftedShow manyBadLines;
    manyBadLines.songEvents.clear();
    for (int line = 0; line < 5000; ++line) manyBadLines.songEvents += "not an event\n";
    result = manyBadLines.lint();
    expectOnlyRuleFailed(result, "still face");
    expectInOutput(result, "\nstill face: song.events:10: ");
    expectInOutput(result, "\nstill face: song.events: 91 more problems not listed\n");
    EXPECT_FALSE(contains(result.out, "still face: song.events:11:")) << result.out;

    CraftedShow directory;
    directory.withSongEvents = false;
    ASSERT_EQ(runCommand("mkdir song.events", directory.folder).status, 0);
    result = directory.lint();
    expectOnlyRuleFailed(result, "still face");
    expectInOutput(result, "\nstill face: song.events: a directory, not a regular file\n");
}

TEST_F(ShowLint, OneBackdropHeldPastEightBarsAndABeatFailsBackdrop) {
    CraftedShow show;
    show.tracks["tunnel:texture"] = "1:1 -5\n9:1 1\n781 -5\n";  // one row longer
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "backdrop");
    expectInOutput(result, "\nbackdrop: rows 384-780 (9:1 to 17:2.08): the tunnel, " + tunnelTexture +
                               ", variation 1 for 16.54 s unchanged (at most 8 bars and a beat, 16.5 s)\n");
}

TEST_F(ShowLint, TheRefrainPictureIsNamedByItsPlaceSoAPanIsAChange) {
    // The refrain's background, opaque, covers the middle of the screen from bar 20 for eight bars
    // and a beat and a row: held still it fails; panned up 150 px it is two backdrops, at y 0 and
    // -200; transparent it is no backdrop at all.
    CraftedShow still;
    writeVeilImage(still.file(refrainBackground), 1280, 724, 255);
    still.tracks["refrain:background"] = "1:1 720\n20:1 0\n1309 720\n";
    ProgramResult result = still.lint();
    expectOnlyRuleFailed(result, "backdrop");
    expectInOutput(result,
                   "\nbackdrop: rows 912-1308 (20:1 to 28:2.08): the refrain picture, its background at y 0 "
                   "for 16.54 s unchanged");

    CraftedShow panned;
    writeVeilImage(panned.file(refrainBackground), 1280, 724, 255);
    panned.tracks["refrain:background"] = "1:1 720\n20:1 0 linear\n1308 -150\n1309 720\n";
    result = panned.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;

    CraftedShow transparent;
    transparent.tracks = still.tracks;
    result = transparent.lint();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
}

TEST_F(ShowLint, ATunnelTextureWithAnOpaqueBorderFailsSeamsOnlyWhereItIsShown) {
    CraftedShow show;
    writeTunnelTexture(show.file(tunnelTexture), 40);        // 0.157 along its edges
    writeTunnelTexture(show.file(firstTunnelTexture), 255);  // never shown
    ProgramResult result = show.lint();
    expectOnlyRuleFailed(result, "seams");
    expectInOutput(result, "\nseams: " + tunnelTexture +
                               ": its border is drawn (mean opacity 0.16 along its edges, at most 0.15): every ring "
                               "shows a hard square edge, first at rows 384-779 (9:1 to 17:2)\n");
    EXPECT_FALSE(contains(result.out, "seams: " + firstTunnelTexture)) << result.out;
}

TEST_F(ShowLint, DamagedFilesAreReportedAndJudgedAroundWithoutACrash) {
    CraftedShow show;
    ASSERT_EQ(std::remove(show.file(goodLyric).c_str()), 0);
    show.songFile = show.file("garbage.mp3");
    std::string garbage(20000, 'x');
    writeBytes(show.songFile, std::vector<unsigned char>(garbage.begin(), garbage.end()));
    show.prepare();
    // A count of five keys and one byte of the first: the good character's track reads as empty,
    // 0 at every row, so its first face stands with an empty bubble to the end of the show.
    writeBytes(show.file("sync_avatar[good.track"), {5, 0, 0, 0, 1});
    ProgramResult result = runCommand(shellQuote(builtProgram("demo-check")) + " --lint", show.folder);
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    expectInOutput(result, song + ": not decodable as MP3");
    expectInOutput(result, "\nbubbles: rows 96-6651: the good character's bubble");
    expectInOutput(result,
                   "lint: bubbles failed (1 finding), hidden text ok, flashes ok (most in a second: 3), safe area ok, "
                   "song not judged (no song to decode), still face failed (2 sung lines; 1 finding)");
    expectInOutput(result,
                   "\nstill face: rows 48-95: the good character sings 4 syllables with no change of face "
                   "(data/avatars/annoyed.png), at least 2 wanted (track avatar:good)\n");
}
