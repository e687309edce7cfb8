// Fades, noise, the characters and the frame's shake, drawn into offscreen frames.
#include "scenes/avatars.h"
#include "support/scene_fixtures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const Rgba black = {0, 0, 0, 255};
const Rgba white = {255, 255, 255, 255};

// Entry i of a group gets a colour of its own, so a pixel tells which entry was drawn.
Rgba entryColour(int i) { return Rgba{10 + i * 7, 250 - i * 7, (i * 53) % 256, 255}; }

void addGroup(SceneBench* bench, int* group, int count, int width, int height) {
    for (int i = 0; i < count; ++i) group[i] = bench->addImage(width, height, entryColour(i));
}

}  // namespace

TEST(Fades, BlackOverWhiteOverThePictureWithValuesClamped) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(320, 180));
    // A textured picture under the fades: they must draw untextured to stay flat.
    bench.show.catalogue.refrainBackground = bench.addImage(1280, 720, Rgba{200, 30, 30, 255});
    struct Case {
        float white, black;
        Rgba seen;
    };
    for (Case c : {Case{0.0f, 0.0f, Rgba{200, 30, 30, 255}}, Case{1.0f, 1.0f, black},
                   Case{1.0f, 0.5f, Rgba{128, 128, 128, 255}}, Case{1.5f, -0.2f, white}}) {
        bench.set(&TrackSet::fadeBgWhite, c.white);
        bench.set(&TrackSet::fadeFgBlack, c.black);
        bench.drawFrame();
        EXPECT_TRUE(near(bench.view.at(100, 50), c.seen))
            << c.white << ", " << c.black << ": " << describe(bench.view.at(100, 50));
    }
}

TEST(Fades, TheNoiseLayerFollowsItsTrack) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(320, 180));
    testing::internal::CaptureStdout();
    bench.show.shader = ShaderProgram::build(std::string(DEMO_SOURCE_DIR) + "/data/shaders/default.vs",
                                             std::string(DEMO_SOURCE_DIR) + "/data/shaders/noise.fs");
    testing::internal::GetCapturedStdout();
    glUseProgram(0);
    bench.set(&TrackSet::fadeFgNoise, 1.0f);
    bench.drawFrame(100.0, 3.0);
    int lit = 0;
    for (int x = 0; x < 320; x += 7) lit += bench.view.at(x, 90).r > 20;
    EXPECT_GT(lit, 30) << "grain over the black frame";
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0) << "the fixed-function path is back for the later steps";

    bench.set(&TrackSet::fadeFgNoise, 0.0f);
    bench.drawFrame(100.0, 3.0);
    EXPECT_TRUE(near(bench.view.at(100, 90), black));

    // From 1 to 2 the static falls back to nothing: at 2 the logo, opaque, stands clear of it.
    bench.set(&TrackSet::fadeFgNoise, 2.0f);
    bench.drawFrame(100.0, 3.0);
    EXPECT_TRUE(near(bench.view.at(100, 90), black)) << describe(bench.view.at(100, 90));
    bench.set(&TrackSet::fadeFgNoise, 1.5f);
    bench.drawFrame(100.0, 3.0);
    int halfLit = 0;
    for (int x = 0; x < 320; x += 7) halfLit += bench.view.at(x, 90).r > 10;
    EXPECT_GT(halfLit, 30) << "half the static at 1.5";

    // The program is handed the frame time as "time" and the track's value as "alpha".
    bench.set(&TrackSet::fadeFgNoise, 0.25f);
    bench.drawFrame(100.0, 0.75);
    GLuint shader = bench.show.shader.program;
    GLfloat time = -1.0f, alpha = -1.0f;
    glGetUniformfv(shader, glGetUniformLocation(shader, "time"), &time);
    glGetUniformfv(shader, glGetUniformLocation(shader, "alpha"), &alpha);
    EXPECT_EQ(time, 0.75f);
    EXPECT_EQ(alpha, 0.25f);
}

TEST(GoodAvatar, ShowsTheEntryOfItsValueWithBubbleAndLyricAtTheirOffsets) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    addGroup(&bench, bench.show.catalogue.goodAvatars, 10, 20, 20);
    bench.show.catalogue.goodBubble = bench.addImage(60, 30, Rgba{240, 240, 240, 255});
    addGroup(&bench, bench.show.catalogue.goodLyrics, 32, 10, 10);
    struct Case {
        float face, lyric;
        int faceEntry, lyricEntry;
    };  // -1: nothing of that drawn
    const Case cases[] = {
        {9.99f, 31.5f, 9, 31}, {-0.5f, 0.0f, 0, 0}, {4.0f, 32.0f, 4, -1}, {10.0f, 3.0f, -1, -1}, {-1.0f, 3.0f, -1, -1}};
    for (const Case& c : cases) {
        bench.set(&TrackSet::avatarGood, c.face);
        bench.set(&TrackSet::lyricsGood, c.lyric);
        bench.drawFrame(100.0, 0.0);  // t = 0: no sway, the face's corner at (910, 250)
        Rgba face = bench.view.at(915, 255), bubble = bench.view.at(85, 625), lyric = bench.view.at(35, 605);
        if (c.faceEntry < 0) {
            EXPECT_TRUE(near(face, black) && near(bubble, black) && near(lyric, black)) << c.face;
            continue;
        }
        EXPECT_TRUE(near(face, entryColour(c.faceEntry))) << c.face << ": " << describe(face);
        EXPECT_TRUE(near(bubble, Rgba{240, 240, 240, 255})) << "bubble at (30, 600): " << describe(bubble);
        Rgba expectedLyric = c.lyricEntry < 0 ? Rgba{240, 240, 240, 255} : entryColour(c.lyricEntry);
        EXPECT_TRUE(near(lyric, expectedLyric)) << c.lyric << ": " << describe(lyric);
    }
}

TEST(GoodAvatar, SwaysSlowlyAndJittersWhileTheEvilOneIsShown) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    addGroup(&bench, bench.show.catalogue.goodAvatars, 10, 20, 20);
    bench.set(&TrackSet::avatarGood, 2.0f);
    const double t = 1.3;
    for (float evil : {-5.0f, 2.0f}) {
        bench.set(&TrackSet::avatarEvil, evil);
        bench.drawFrame(100.0, t);
        double k = evil > -1 ? 100.0 : 1.0;
        int x = int(std::lround(6 * std::sin(k * (t * 1.2)) + 910));
        int y = int(std::lround(4 * std::sin(k * (t * 0.8)) + 250));
        EXPECT_TRUE(near(bench.view.at(x + 1, y + 1), entryColour(2))) << "k " << k;
        EXPECT_TRUE(near(bench.view.at(x - 2, y + 10), black)) << "k " << k;
        EXPECT_TRUE(near(bench.view.at(x + 10, y - 2), black)) << "k " << k;
    }
}

TEST(EvilAvatar, ShowsItsRangeWithBubbleAndLyric) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    addGroup(&bench, bench.show.catalogue.evilAvatars, 5, 30, 30);
    bench.show.catalogue.evilBubble = bench.addImage(60, 30, Rgba{90, 20, 20, 255});
    addGroup(&bench, bench.show.catalogue.evilLyrics, 18, 10, 10);
    bench.set(&TrackSet::lyricsEvil, 17.5f);
    for (float value : {-1.0f, -0.5f, 4.9f, 5.0f}) {
        bench.set(&TrackSet::avatarEvil, value);
        bench.drawFrame(100.0, 0.0);  // t = 0: the face's corner at (0, 280)
        bool shown = value > -1 && value < 5;
        Rgba face = bench.view.at(10, 295);
        EXPECT_TRUE(near(face, shown ? entryColour(value < 0 ? 0 : 4) : black)) << value << ": " << describe(face);
        EXPECT_TRUE(near(bench.view.at(305, 607), shown ? entryColour(17) : black)) << "lyric 18 at (300, 602)";
        EXPECT_TRUE(near(bench.view.at(340, 625), shown ? Rgba{90, 20, 20, 255} : black)) << "bubble";
    }
}

TEST(EvilAvatar, JittersAtItsOwnReachAndPace) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    addGroup(&bench, bench.show.catalogue.evilAvatars, 5, 30, 30);
    bench.set(&TrackSet::avatarEvil, 2.0f);
    // The face's corner is (3 sin(120 t), 280 + 2 sin(80 t)): its right edge and top edge are
    // checked to the pixel at times where neither edge lies near a pixel's centre.
    int checked = 0;
    for (double t = 0.05; t < 3.0; t += 0.11) {
        double right = 30 + 3 * std::sin(100 * (1.2 * t)), top = 280 + 2 * std::sin(100 * (0.8 * t));
        auto nearCentre = [](double edge) { return std::fabs(edge - 0.5 - std::round(edge - 0.5)) < 0.1; };
        if (nearCentre(right) || nearCentre(top)) continue;
        ++checked;
        int lastColumn = int(std::ceil(right - 0.5)) - 1, firstRow = int(std::ceil(top - 0.5));
        bench.drawFrame(100.0, t);
        EXPECT_TRUE(near(bench.view.at(lastColumn, 295), entryColour(2))) << "t " << t;
        EXPECT_TRUE(near(bench.view.at(lastColumn + 1, 295), black)) << "t " << t;
        EXPECT_TRUE(near(bench.view.at(15, firstRow), entryColour(2))) << "t " << t;
        EXPECT_TRUE(near(bench.view.at(15, firstRow - 1), black)) << "t " << t;
    }
    EXPECT_GE(checked, 10);
}
