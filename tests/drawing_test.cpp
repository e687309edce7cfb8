// The two 2-D draws, checked by the pixels they leave in an offscreen frame, and what a frame's
// list of layers leaves undrawn.
#include "render/draw_layers.h"
#include "render/draw_text.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <stb/stb_easy_font.h>

#include <cmath>

namespace {

const Rgba black = {0, 0, 0, 255};
const Rgba red = {255, 0, 0, 255};
const Rgba green = {0, 255, 0, 255};

// A 100x50 image: red, with a green top-left quarter.
int loadMarkedImage(OffscreenView* view, const TempDir& dir) {
    std::vector<uint8_t> pixels = solidImage(100, 50, 4, red);
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 50; ++x) {
            uint8_t* p = &pixels[size_t(y * 100 + x) * 4];
            p[0] = 0;
            p[1] = 255;
        }
    }
    EXPECT_TRUE(writePng(dir.file("marked.png"), 100, 50, 4, pixels));
    return view->store.load(dir.file("marked.png"));
}

}  // namespace

TEST(DrawSprite, CoversItsScaledRectangleUprightAndNothingForASlotTheStoreDoesNotHold) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(1920, 1080));
    int slot = loadMarkedImage(&view, dir);
    view.window.clear(Colour{0, 0, 0, 1});
    glColor4f(1, 1, 1, 1);
    view.window.drawSprite(slot, Vec2(1, 1), Vec2(0, 0), 0.0f);
    for (int other : {-1, 1, 1000, -2147483647 - 1}) view.window.drawSprite(other, Vec2(1, 1), Vec2(200, 200), 0);
    view.read();
    // 100x50 at scale 1.5 covers x 0..150, y 0..75, with the green quarter at the top left.
    EXPECT_TRUE(near(view.at(2, 2), green)) << describe(view.at(2, 2));
    EXPECT_TRUE(near(view.at(147, 72), red)) << describe(view.at(147, 72));
    EXPECT_TRUE(near(view.at(72, 35), green)) << describe(view.at(72, 35));
    EXPECT_TRUE(near(view.at(78, 35), red)) << describe(view.at(78, 35));
    EXPECT_TRUE(near(view.at(152, 10), black)) << describe(view.at(152, 10));
    EXPECT_TRUE(near(view.at(10, 77), black)) << describe(view.at(10, 77));
    for (int y = 300; y < 420; y += 7) {
        for (int x = 300; x < 460; x += 7) ASSERT_TRUE(near(view.at(x, y), black)) << x << "," << y;
    }
}

// A track can place a sprite anywhere a float reaches, NaN included (damaged track files do):
// the draw leaves the picture alone and its arithmetic stays in range (the sanitizer build
// checks the second).
TEST(DrawSprite, FarOffOrNaNPlacesDrawNothingAndDoNotOverflow) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(320, 180));
    int slot = loadMarkedImage(&view, dir);
    view.window.clear(Colour{0, 0, 0, 1});
    glColor4f(1, 1, 1, 1);
    const float far = 3e38f, nan = std::nanf("");
    for (Vec2 place : {Vec2(far, far), Vec2(-far, -far), Vec2(far, -far), Vec2(nan, 0), Vec2(0, nan)}) {
        view.window.drawSprite(slot, Vec2(1, 1), place, 0.0f);
        view.window.drawSprite(slot, Vec2(far, far), place, 45.0f);
    }
    view.window.drawSprite(slot, Vec2(1, 1), Vec2(0, 0), nan);
    view.read();
    for (int y = 100; y < 180; y += 9) {
        for (int x = 100; x < 320; x += 9) ASSERT_TRUE(near(view.at(x, y), black)) << x << "," << y;
    }
}

TEST(DrawSprite, TurnsClockwiseAboutItsCentre) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(1280, 720));
    int slot = loadMarkedImage(&view, dir);
    view.window.clear(Colour{0, 0, 0, 1});
    glColor4f(1, 1, 1, 1);
    // A quarter turn: the green top-left quarter goes to the top right; the centre stays at (150, 125).
    view.window.drawSprite(slot, Vec2(2, 2), Vec2(50, 75), 90.0f);
    view.read();
    EXPECT_TRUE(near(view.at(150 + 40, 125 - 80), green)) << describe(view.at(190, 45));
    EXPECT_TRUE(near(view.at(150 - 40, 125 - 80), red)) << describe(view.at(110, 45));
    EXPECT_TRUE(near(view.at(150 + 40, 125 + 80), red)) << describe(view.at(190, 205));
    EXPECT_TRUE(near(view.at(150 + 60, 125), black)) << "a quarter turn makes it 100 wide";
}

TEST(DrawSprite, LeavesDepthTestingOffAndTheMatricesRestored) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(640, 360));
    int slot = loadMarkedImage(&view, dir);
    GLfloat perspective[16], after[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, perspective);
    glLoadIdentity();
    glTranslatef(5, 6, 7);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    view.window.drawSprite(slot, Vec2(1, 1), Vec2(10, 10), 30.0f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(view.window.in2D);
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], perspective[i]) << i;
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "the caller's transform is gone: " << i;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    EXPECT_EQ(envMode, GL_MODULATE);
}

TEST(DrawQuad, FillsTheLetterboxedPictureWithTheFirstImageRowAtTheTop) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(1024, 768));
    int slot = loadMarkedImage(&view, dir);
    view.window.clear(Colour{0, 0, 0, 1});
    view.store.bind(slot);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    view.window.drawQuad(Vec3(0, 0, 0), Vec2(0, 1), Vec2(1, 0));
    view.read();
    // The picture is 1024x576 between bands of 96 rows; the image's green quarter at its top left.
    for (int x : {0, 1023}) {
        EXPECT_TRUE(near(view.at(x, 95), black)) << "top band at " << x;
        EXPECT_FALSE(near(view.at(x, 96), black)) << "first picture row at " << x;
        EXPECT_FALSE(near(view.at(x, 671), black)) << "last picture row at " << x;
        EXPECT_TRUE(near(view.at(x, 672), black)) << "bottom band at " << x;
    }
    EXPECT_TRUE(near(view.at(256, 240), green)) << describe(view.at(256, 240));
    EXPECT_TRUE(near(view.at(768, 240), red)) << describe(view.at(768, 240));
    EXPECT_TRUE(near(view.at(256, 528), red)) << describe(view.at(256, 528));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_FALSE(view.window.in2D);
}

// What a frame's list leaves out: everything under the last layer that covers the whole output
// opaquely, and only such a layer (unscaled, unturned, opaque rows across the output, opaque
// colour; or a full white or black).
TEST(FrameLayerList, OnlyAnOpaqueLayerOverTheWholeOutputHidesWhatLiesUnderIt) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(320, 180));
    // Its first and last rows blend with the other edge when filtered (the texture repeats): a
    // row taller than the screen at either end.
    ASSERT_TRUE(writePng(dir.file("screen.png"), 1280, 724, 4, solidImage(1280, 724, 4, red)));
    int screen = view.store.load(dir.file("screen.png"));
    ASSERT_GE(screen, 0);
    auto listOf = [&](Layer over) {
        FrameLayers frame;
        frame.layers.push_back(Layer());  // an image under it all
        frame.layers.push_back(over);
        frame.layers.push_back(Layer());  // and one over it
        return frame;
    };
    Layer covering;
    covering.slot = screen;
    covering.corner = Vec2(0, -2);
    EXPECT_EQ(lastCoveringLayer(view.window, listOf(covering)), 1);
    Layer flat;
    flat.kind = LayerKind::Black;
    flat.colour = Colour{0, 0, 0, 1};
    EXPECT_EQ(lastCoveringLayer(view.window, listOf(flat)), 1) << "a full black";
    FrameLayers both = listOf(covering);
    both.layers.push_back(flat);
    EXPECT_EQ(lastCoveringLayer(view.window, both), 3) << "the last one counts";

    std::vector<std::pair<const char*, Layer>> notCovering;
    Layer layer = covering;
    layer.colour.a = 0.99f;
    notCovering.push_back({"translucent", layer});
    layer = covering;
    layer.scale = 1.5f;
    notCovering.push_back({"scaled", layer});
    layer = covering;
    layer.angleDegrees = 1.0f;
    notCovering.push_back({"turned", layer});
    layer = covering;
    layer.corner = Vec2(2, -2);
    notCovering.push_back({"a gap at the left", layer});
    layer.corner = Vec2(0, 0);
    notCovering.push_back({"its filtered last row on screen", layer});
    layer = covering;
    layer.slot = screen + 1;
    notCovering.push_back({"no image", layer});
    layer = flat;
    layer.colour.a = 0.5f;
    notCovering.push_back({"a half black", layer});
    layer.kind = LayerKind::Static;
    layer.noiseAlpha = 1.0f;
    notCovering.push_back({"the static", layer});
    for (const auto& [name, over] : notCovering) EXPECT_EQ(lastCoveringLayer(view.window, listOf(over)), -1) << name;
}

TEST(FrameLayerList, AFaintLayerIsDrawnAndOnlyOneOfNoOpacityIsLeftOut) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(320, 180));
    ASSERT_TRUE(writePng(dir.file("white.png"), 64, 64, 4, solidImage(64, 64, 4, Rgba{255, 255, 255, 255})));
    Layer layer;
    layer.slot = view.store.load(dir.file("white.png"));
    ASSERT_GE(layer.slot, 0);
    FrameLayers frame;
    frame.layers.push_back(layer);
    // At 0.004 a white layer over black still lifts its pixels by one step of 255; at 0 it
    // changes nothing and is left out.
    for (float alpha : {0.004f, 0.0f}) {
        frame.layers[0].colour.a = alpha;
        view.window.clear(Colour{0, 0, 0, 1});
        drawFrameLayers(&view.window, ShaderProgram{}, frame, LayerDrawing::SkipHidden);
        view.read();
        EXPECT_EQ(view.at(10, 10).r, alpha > 0.0f ? 1 : 0) << alpha;
    }
}

// The preview's text over the picture: a few lines large from a 540-line window up, a long list
// (every track) small so the picture stays seen, and a line wider than the window wrapped at a
// space with nothing lost, never cut at an edge.
TEST(TextPanel, KeepsLongListsSmallAndWrapsWhatIsWiderThanTheWindow) {
    std::vector<std::string> few = {"row 1200.00  26:1  50.000 s  60.0 fps"};
    EXPECT_EQ(layoutTextPanel(few, 1920, 1080).scale, 2.0f);
    EXPECT_EQ(layoutTextPanel(few, 640, 360).scale, 1.0f);
    std::vector<std::string> many(30, "refrain:polaroid_start        12.000");
    TextPanelLayout list = layoutTextPanel(many, 1920, 1080);
    EXPECT_EQ(list.scale, 1.0f);
    EXPECT_EQ(list.lines, many);

    std::string error =
        "../../show/choreography.tracks:212: unknown track 'refrain:son'; did you mean "
        "'refrain:sun'? and then a great many more words that go on past the window's edge";
    TextPanelLayout wrapped = layoutTextPanel({error}, 320, 180);
    ASSERT_GT(wrapped.lines.size(), 1u);
    std::string joined;
    for (const std::string& line : wrapped.lines) {
        std::vector<char> text(line.begin(), line.end());
        text.push_back('\0');
        EXPECT_LE(stb_easy_font_width(text.data()), 320 - 12) << "each piece fits within the margins: " << line;
        std::string piece = line.rfind("  ", 0) == 0 ? line.substr(2) : line;
        joined += (joined.empty() ? "" : " ") + piece;
    }
    EXPECT_EQ(joined, error);
    EXPECT_EQ(wrapped.lines[0].rfind("../../show/choreography.tracks:212:", 0), 0u) << "the start stays in view";
}
