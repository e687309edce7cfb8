// Pictograms, features, the refrain and its photographs, the tunnel, the logo, and the whole
// frame sequence over a crafted show.
#include "scenes/avatars.h"
#include "scenes/pictograms.h"
#include "scenes/refrain.h"
#include "scenes/tunnel.h"
#include "support/scene_fixtures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sys/mman.h>

namespace {

const Rgba black = {0, 0, 0, 255};
const Rgba white = {255, 255, 255, 255};

Rgba grey(double level) {
    int v = int(std::lround(255 * level));
    return Rgba{v, v, v, 255};
}

// Polaroid entry i: a transparent canvas with a white 20x20 square at x = 30 i, so a pixel in the
// square's middle shows whether entry i was drawn, and at what opacity.
std::vector<uint8_t> polaroidCanvas(int i) {
    int width = 30 * i + 20;
    std::vector<uint8_t> pixels = solidImage(width, 20, 4, Rgba{0, 0, 0, 0});
    for (int y = 0; y < 20; ++y) {
        for (int x = 30 * i; x < width; ++x) {
            for (int c = 0; c < 4; ++c) pixels[size_t(y * width + x) * 4 + size_t(c)] = 255;
        }
    }
    return pixels;
}

// Draws the layers one scene wrote over what the display holds, and reads the frame back.
void drawOver(SceneBench* bench, const FrameLayers& layers) {
    drawFrameLayers(&bench->view.window, bench->show.shader, layers, LayerDrawing::SkipHidden);
    bench->view.read();
}

}  // namespace

TEST(Pictogram, IsCentredByItsUnscaledSizeAndGrowsRightAndDown) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    for (int i = 0; i < 20; ++i) bench.show.catalogue.pictograms[i] = bench.addImage(200, 100, white);
    bench.set(&TrackSet::pictogramIndex, 4.0f);
    bench.set(&TrackSet::pictogramX, 640.0f);
    bench.set(&TrackSet::pictogramY, 360.0f);
    bench.set(&TrackSet::pictogramScale, 2.0f);
    // At t = 0 the wobble is (6, 0): the 200x100 image centred on (640, 360) has its corner at
    // (540 + 6, 310), and at scale 2 it covers 546-946 by 310-510.
    bench.drawFrame(100.0, 0.0);
    Rgba drawn = grey(0.8);  // never fully opaque
    EXPECT_TRUE(near(bench.view.at(548, 312), drawn)) << describe(bench.view.at(548, 312));
    EXPECT_TRUE(near(bench.view.at(544, 400), black));
    EXPECT_TRUE(near(bench.view.at(700, 308), black));
    EXPECT_TRUE(near(bench.view.at(944, 508), drawn));
    EXPECT_TRUE(near(bench.view.at(948, 400), black));
    EXPECT_TRUE(near(bench.view.at(700, 512), black));
}

TEST(Pictogram, PicksByTruncationAndLeavesPositionTracksUnreadWhileHidden) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    for (int i = 0; i < 20; ++i) bench.show.catalogue.pictograms[i] = bench.addImage(20 + i, 20, white);
    AvatarShake still = computeAvatarShake(FrameState{0, 0}, &bench.values[0].track);
    ConstantTrack which, scale, x, y;
    scale.set(1.0f);
    x.set(100.0f);
    y.set(100.0f);
    // Keys on a page that cannot be read: evaluating x or y while hidden would crash the test.
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    SyncTrack unreadable = {nullptr, static_cast<TrackKey*>(page), 1};
    noteImageSizes(&bench.show);
    auto draw = [&](const SyncTrack* position) {
        bench.view.window.clear(Colour{0.25f, 0.25f, 0.25f, 1});
        FrameLayers layers;
        describePictogram(
            FrameState{0, 0}, still, bench.show.images, bench.show.catalogue.pictograms,
            PictogramTracks{&which.track, position ? position : &x.track, position ? position : &y.track, &scale.track},
            &layers);
        drawOver(&bench, layers);
    };
    for (float value : {-1.0f, 20.0f, NAN}) {
        which.set(value);
        draw(&unreadable);
        draw(nullptr);  // x and y on screen: the picture is left as it was
        EXPECT_TRUE(near(bench.view.at(100, 100), grey(0.25)) && near(bench.view.at(116, 100), grey(0.25))) << value;
    }
    munmap(page, 4096);
    for (float value : {-0.5f, 4.0f, 19.9f}) {
        which.set(value);
        draw(nullptr);
        // Entry i = trunc(value) is 20 + i wide, centred on x = 100: its right edge is at 100 + (20 + i) / 2 + 6.
        int right = 100 + (20 + int(value)) / 2 + 6;
        EXPECT_TRUE(near(bench.view.at(right - 1, 100), grey(0.25 * 0.2 + 0.8))) << value;
        EXPECT_TRUE(near(bench.view.at(right + 1, 100), grey(0.25))) << value;
    }
}

TEST(Features, JitterAtTheCornerAndPickTheirEntry) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    for (int i = 0; i < 12; ++i) bench.show.catalogue.featureImages[i] = bench.addImage(100 + 10 * i, 50, white);
    for (float value : {11.9f, 12.0f}) {
        bench.set(&TrackSet::features, value);
        bench.drawFrame(100.0, 0.0);  // jitter (6, 0)
        bool shown = value < 12.0f;
        EXPECT_TRUE(near(bench.view.at(8, 2), shown ? white : black)) << value;
        EXPECT_TRUE(near(bench.view.at(6 + 209, 25), shown ? white : black)) << "entry 11 is 210 wide";
        EXPECT_TRUE(near(bench.view.at(4, 25), black)) << "six pixels in from the left edge";
    }
}

TEST(Refrain, DrawsItsThreeLayersWhateverTheTracks) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    bench.show.catalogue.refrainBackground = bench.addImage(1280, 100, Rgba{0, 0, 200, 255});
    bench.show.catalogue.refrainSun = bench.addImage(600, 600, Rgba{250, 200, 0, 255});
    bench.show.catalogue.refrainForeground = bench.addImage(1280, 50, Rgba{0, 150, 0, 255});
    bench.set(&TrackSet::refrainForeground, 600.0f);
    bench.drawFrame(100.0, 0.0);  // sun at (-460, 0) + (0, 9), unturned
    EXPECT_TRUE(near(bench.view.at(1000, 50), Rgba{0, 0, 200, 255})) << "background at (0, 0)";
    EXPECT_TRUE(near(bench.view.at(100, 50), Rgba{250, 200, 0, 255})) << "the sun over it";
    EXPECT_TRUE(near(bench.view.at(142, 300), black)) << "the sun ends at x 140";
    EXPECT_TRUE(near(bench.view.at(640, 625), Rgba{0, 150, 0, 255})) << "foreground at its track's y";
    // At t = 4.5 the sun has turned 45 degrees clockwise: a corner now points left of x 140's edge.
    bench.drawFrame(100.0, 4.5);
    double sunCentreY = 300 + 9 * std::cos(0.7 * 4.5);
    int edge = int(std::lround(-160 + 7 * std::sin(1.3 * 4.5) + 300 * std::sqrt(2.0)));
    EXPECT_TRUE(near(bench.view.at(edge - 4, int(sunCentreY)), Rgba{250, 200, 0, 255})) << "rotated corner";
    // Each layer carries its own opaque white, whatever colour the GL holds from before.
    glColor4f(0.5f, 1, 1, 0.5f);
    FrameLayers layers;
    const AssetCatalogue& c = bench.show.catalogue;
    describeRefrain(FrameState{100.0, 4.5}, bench.show.images,
                    RefrainImages{c.refrainBackground, c.refrainSun, c.refrainForeground},
                    RefrainTracks{bench.show.tracks.refrainSun, bench.show.tracks.refrainForeground,
                                  bench.show.tracks.refrainBackground},
                    &layers);
    ASSERT_EQ(layers.layers.size(), 3u);
    EXPECT_EQ(layers.layers[1].slot, c.refrainSun);
    EXPECT_FLOAT_EQ(layers.layers[1].angleDegrees, 45.0f);
    bench.view.window.clear(Colour{0, 0, 0, 1});
    drawOver(&bench, layers);
    EXPECT_TRUE(near(bench.view.at(1000, 50), Rgba{0, 0, 200, 255})) << describe(bench.view.at(1000, 50));
    EXPECT_TRUE(near(bench.view.at(640, 625), Rgba{0, 150, 0, 255})) << describe(bench.view.at(640, 625));
}

TEST(Polaroids, ShowTheirRunWithTheLastFadingInAndCreditsSwayOnTheirOwn) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(1280, 720));
    for (int i = 0; i < 39; ++i) bench.show.catalogue.polaroids[i] = bench.addImage(30 * i + 20, 20, polaroidCanvas(i));
    struct Case {
        float start, end;
        std::vector<double> levels;
    };  // levels of entries 0..8
    const Case cases[] = {
        {0.0f, 2.5f, {1, 1, 0.5, 0, 0}}, {0.0f, 3.0f, {1, 1, 0, 0, 0}},       {0.0f, 3.001f, {1, 1, 1, 0.001, 0}},
        {-0.5f, 2.0f, {1, 0, 0, 0}},  // end a whole number: its last entry at opacity 0
        {-1.0f, 2.0f, {0, 0, 0}},        {5.0f, 5.0f, {0, 0, 0, 0, 0, 0, 0}}, {5.7f, 5.2f, {0, 0, 0, 0, 0, 0.2, 0}},
        {2.0f, 39.0f, {0, 0, 0, 0, 0}},  {39.0f, 38.0f, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        bench.set(&TrackSet::refrainPolaroidStart, c.start);
        bench.set(&TrackSet::refrainPolaroidEnd, c.end);
        bench.drawFrame(100.0, 0.0);
        for (size_t i = 0; i < c.levels.size(); ++i) {
            Rgba seen = bench.view.at(int(30 * i + 10), 10);
            EXPECT_TRUE(near(seen, grey(c.levels[i])))
                << "start " << c.start << " end " << c.end << " entry " << i << ": " << describe(seen);
        }
    }
    bench.set(&TrackSet::refrainPolaroidEnd, 38.5f);
    for (float start : {30.0f, 33.0f}) {
        bench.set(&TrackSet::refrainPolaroidStart, start);
        bench.drawFrame(100.0, 0.0);
        bool credits = start >= 33.0f;
        // Entry 34 sways by 6 cos(34) = -5.1 pixels in credits mode, into the gap before it; with
        // the one shared offset it stays put.
        EXPECT_TRUE(near(bench.view.at(34 * 30 - 3, 10), credits ? white : black)) << start;
        EXPECT_TRUE(near(bench.view.at(38 * 30 + 10 + int(6 * std::cos(38.0)), 10), grey(0.5))) << start;
        EXPECT_TRUE(near(bench.view.at(32 * 30 + 10, 10), credits ? black : white)) << start;
    }
}

TEST(Tunnel, StoresItsPhaseInWholeStepsBoundedForAnyMove) {
    EXPECT_EQ(nextTunnelPhase(2.0f), -1.0f);
    EXPECT_EQ(nextTunnelPhase(-3.0f), 3.0f);
    EXPECT_EQ(nextTunnelPhase(1000.5f), -0.5f);
    EXPECT_GE(nextTunnelPhase(1e30f), -1.0f) << "adding 1 at a time would never get there";
}

TEST(Tunnel, DrawsOnlyWhatItsTracksAndImagesSelectAndKeepsThePhasesOfWhatItDoesNotDraw) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(320, 180));
    for (int i = 0; i < 3; ++i) bench.show.catalogue.tunnelTextures[i] = bench.addImage(16, 16, white);
    noteImageSizes(&bench.show);
    const ImageSizes& images = bench.show.images;
    ConstantTrack move, texture, variation;
    TunnelTracks tracks = {&move.track, &texture.track, &variation.track};
    TunnelState state;
    state.tunnelPhase[1] = 0.75f;
    move.set(2.25f);
    FrameLayers frame;
    const float outOfRange[4][2] = {{3.0f, 1.0f}, {-1.0f, 1.0f}, {1.0f, 3.0f}, {1.0f, -1.0f}};
    for (const float* bad : outOfRange) {
        texture.set(bad[0]);
        variation.set(bad[1]);
        EXPECT_EQ(describeTunnel(tracks, 0, bench.show.catalogue.tunnelTextures, images, &state, &frame.tunnel), 0)
            << bad[0] << ", " << bad[1];
        EXPECT_EQ(frame.tunnel.slot, -1);
    }
    const int notHeld[3] = {0, 3, 2};
    texture.set(1.0f);
    variation.set(1.0f);
    EXPECT_EQ(describeTunnel(tracks, 0, notHeld, images, &state, &frame.tunnel), 0) << "a slot the store does not hold";
    EXPECT_EQ(std::vector<float>(state.tunnelPhase, state.tunnelPhase + 3), (std::vector<float>{0.0f, 0.75f, 0.0f}));

    // Texture 2.99 is image 2 and variation 1.9 is variation 1: its 20 rings, with image 2 bound.
    texture.set(2.99f);
    variation.set(1.9f);
    EXPECT_EQ(describeTunnel(tracks, 0, bench.show.catalogue.tunnelTextures, images, &state, &frame.tunnel), 20);
    EXPECT_EQ(state.tunnelPhase[1], -0.25f);
    drawOver(&bench, frame);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), bench.view.store.get(bench.show.catalogue.tunnelTextures[2]).glName);
    state.tunnelPhase[2] = 1e8f;  // single precision cannot count down from here: bounded anyway
    EXPECT_LE(describeTunnelVariation(2, 0, -1e8f, &state, &frame.tunnel), 10);
}

namespace {

// The tunnel's design, worked out on the CPU: the path it winds along, and each variation's ring
// count, path gains, spin (degrees per unit of path) and the squares of a ring at depth l.
double pathX(double s) { return std::cos(s / 5) + std::cos(s / 20) + std::sin(s / 15) + std::sin(s / 7); }
double pathY(double s) { return std::sin(s / 12) + 4 * std::cos(s / 20) + std::cos(s / 5) + std::sin(s / 25); }

struct RingSquare {
    double half, r, g, b, a;
};
struct TunnelDesign {
    int rings;
    double gainX, gainY, spin;
};
const TunnelDesign tunnelDesigns[3] = {{10, 3, 2, 100}, {20, 3, 2, 100}, {10, 2, 4, 50}};

std::vector<RingSquare> ringSquares(int variation, double l) {
    double q = 10 / (l + 1);
    if (variation == 0) return {{q, l / 8, l / 5, l / 4, 10 / (l + 5)}, {q / 4, l / 8, l / 8, l / 6, q}};
    if (variation == 1) return {{20 / (l + 1), l / 2, l / 7, l / 12, 13 / (l + 15)}};
    return {{q, l / 5, l / 2, l, 3 / (l + 1)},
            {q / 2, l / 5, l / 2, l, 3 / (l + 1)},
            {q / 4, l / 5, l / 2, l, 3 / (l + 1)}};
}

// The colour the tunnel leaves at pixel (x, y from the top) of a width x height frame under a
// 90-degree vertical field of view, rings blended far to near over black and tinted by the
// texture's colour; false when a ring's edge passes within a pixel of the pixel's centre.
bool expectedTunnelPixel(int variation, double move, double phase, Rgba texture, int x, int y, int width, int height,
                         double* rgb) {
    const TunnelDesign& design = tunnelDesigns[variation];
    double ndcX = (x + 0.5) / width * 2 - 1, ndcY = 1 - (y + 0.5) / height * 2;
    rgb[0] = rgb[1] = rgb[2] = 0;
    for (int ring = 0; ring < design.rings; ++ring) {
        double l = phase + design.rings - ring, s = l + move;
        double dx = ndcX * width / height * l - design.gainX * (pathX(s) - pathX(move));
        double dy = ndcY * l - design.gainY * (pathY(s) - pathY(move));
        double turn = design.spin * s * M_PI / 180;
        double u = std::fabs(dx * std::cos(turn) + dy * std::sin(turn));
        double v = std::fabs(-dx * std::sin(turn) + dy * std::cos(turn));
        double pixel = 2 * l / height;  // a pixel's size in the ring's plane
        for (const RingSquare& square : ringSquares(variation, l)) {
            if (std::fabs(u - square.half) < pixel || std::fabs(v - square.half) < pixel) return false;
            if (u > square.half || v > square.half) continue;
            double a = std::min(square.a, 1.0), colour[3] = {square.r, square.g, square.b};
            const int tint[3] = {texture.r, texture.g, texture.b};
            for (int c = 0; c < 3; ++c) rgb[c] = std::min(colour[c], 1.0) * tint[c] * a + rgb[c] * (1 - a);
        }
    }
    return true;
}

}  // namespace

TEST(Tunnel, DrawsItsRingsWhereItsPathDepthAndSpinPutThem) {
    const int width = 320, height = 180;
    SceneBench bench;
    ASSERT_TRUE(bench.open(width, height));
    const Rgba texture = {255, 200, 120, 255};
    int slot = bench.addImage(16, 16, texture);
    struct Case {
        int variation;
        float move, phase;
    };
    // In variations 0 and 2 the nearest ring is opaque and covers the others: a phase near 0 puts
    // it far enough away for the edges of its inner squares to show.
    for (Case c : {Case{0, 1.3f, -0.05f}, Case{0, 6.0f, -0.02f}, Case{1, 7.9f, -0.7f}, Case{1, 31.25f, -0.1f},
                   Case{2, 13.6f, -0.05f}, Case{2, 40.0f, -0.1f}}) {
        TunnelState state;
        state.tunnelPhase[c.variation] = c.phase;
        bench.view.window.clear(Colour{0, 0, 0, 1});
        // As the frame before leaves them: depth testing and texturing off. The tunnel turns
        // texturing and blending on itself.
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        FrameLayers frame;
        ASSERT_EQ(describeTunnelVariation(c.variation, slot, c.move, &state, &frame.tunnel),
                  tunnelDesigns[c.variation].rings);
        // Squares inside a ring, in one colour over a one-colour texture, cannot be seen here:
        // their sizes are checked on the list (half and a quarter of the outer one).
        const TunnelRing& ring = frame.tunnel.rings[0];
        if (c.variation == 0) {
            EXPECT_EQ(ring.squares[1].halfSize, ring.squares[0].halfSize / 4.0f);
        }
        if (c.variation == 2) {
            EXPECT_EQ(ring.squares[1].halfSize, ring.squares[0].halfSize / 2.0f);
            EXPECT_EQ(ring.squares[2].halfSize, ring.squares[0].halfSize / 4.0f);
        }
        drawOver(&bench, frame);
        int compared = 0, wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                double rgb[3];
                if (!expectedTunnelPixel(c.variation, c.move, c.phase, texture, x, y, width, height, rgb)) continue;
                ++compared;
                Rgba expected = {int(std::lround(rgb[0])), int(std::lround(rgb[1])), int(std::lround(rgb[2])), 255};
                if (!near(bench.view.at(x, y), expected, 4) && wrong++ < 3) {
                    ADD_FAILURE() << "variation " << c.variation << " at (" << x << ", " << y
                                  << "): " << describe(bench.view.at(x, y)) << " instead of " << describe(expected);
                }
            }
        }
        EXPECT_GT(compared, width * height / 3) << "variation " << c.variation;
        EXPECT_EQ(wrong, 0) << "variation " << c.variation << " move " << c.move;
    }
}

TEST(Logo, AppearsAfterItsRowCentredWithTheNoiseOpacity) {
    SceneBench bench;
    ASSERT_TRUE(bench.open());
    bench.show.catalogue.logo = bench.addImage(400, 100, white);
    bench.set(&TrackSet::fadeFgNoise, 1.0f);
    for (double row : {4776.0, 4776.01}) {
        bench.drawFrame(row, 0.0);
        bool shown = row > 4776.0;
        EXPECT_TRUE(near(bench.view.at(442, 25), shown ? white : black)) << row;
        EXPECT_TRUE(near(bench.view.at(438, 25), black)) << "left edge at design x 440";
        EXPECT_TRUE(near(bench.view.at(838, 118), shown ? white : black)) << row;
    }
    bench.set(&TrackSet::fadeFgNoise, 0.0f);
    bench.drawFrame(5000.0, 0.0);
    EXPECT_TRUE(near(bench.view.at(600, 60), black)) << "drawn fully transparent";
}

TEST(FrameSequence, RunsEveryRowOfACraftedShowWithEveryImageMissing) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(64, 36));
    // Tracks that sweep every range, and the catalogue entries all -1: nothing is read outside
    // the store (the sanitizer build checks) and nothing crashes.
    TrackKey keys[4] = {{0, -2.0f, 1}, {3000, 45.0f, 2}, {6000, -40.0f, 3}, {6651, 1e30f, 0}};
    std::vector<SyncTrack> sweeps(trackCount, SyncTrack{nullptr, keys, 4});
    for (int i = 0; i < trackCount; ++i) bench.show.tracks.*trackSetFields[i] = &sweeps[size_t(i)];
    long frames = 0;
    for (double row = 0.0; row < 6652.0; row += 1.0 + 1.0 / 7.0, ++frames) bench.drawFrame(row, row / 24.0);
    EXPECT_GT(frames, 5800);
}

TEST(FrameSequence, StepsUnderAnOpaqueRefrainAreLeftOutAndKeepTheirTunnelPhases) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(320, 180));
    for (int i = 0; i < 3; ++i) bench.show.catalogue.tunnelTextures[i] = bench.addImage(16, 16, white);
    bench.show.catalogue.refrainBackground = bench.addImage(1280, 800, Rgba{0, 0, 200, 255});
    bench.set(&TrackSet::tunnelTexture, 1.0f), bench.set(&TrackSet::tunnelVariation, 1.0f);
    bench.set(&TrackSet::tunnelMove, 2.25f);
    // Covering the picture with a row of margin, then leaving its upper half to the tunnel.
    for (float y : {-40.0f, 400.0f}) {
        bench.set(&TrackSet::refrainBackground, y);
        for (LayerDrawing how : {LayerDrawing::EveryQuadWhole, LayerDrawing::SkipHidden}) {
            bench.show.tunnel = TunnelState();
            bench.drawFrame(100.0, 0.0, how);
            EXPECT_EQ(bench.show.tunnel.tunnelPhase[1], -0.25f) << "phases kept as if drawn";
            Rgba seen = bench.view.at(160, 60);
            EXPECT_TRUE(y < 0 ? near(seen, Rgba{0, 0, 200, 255}) : seen.r > 0) << y << " " << describe(seen);
        }
    }
}

// The frame's list holds the steps' layers in the one drawing order the renderer and the lint
// both follow: pictogram, good character (face, bubble, lyric), refrain (background, sun,
// foreground), photographs, static, logo, features, evil character, white, black; and the tunnel
// under them all.
TEST(FrameSequence, WritesEveryStepsLayersInTheFixedDrawingOrder) {
    SceneBench bench;
    ASSERT_TRUE(bench.open(64, 36));
    AssetCatalogue& c = bench.show.catalogue;
    for (int* entry : {&c.pictograms[0], &c.goodAvatars[0], &c.goodBubble, &c.goodLyrics[0], &c.refrainBackground,
                       &c.refrainSun, &c.refrainForeground, &c.polaroids[0], &c.logo, &c.featureImages[0],
                       &c.evilAvatars[0], &c.evilBubble, &c.evilLyrics[0], &c.tunnelTextures[0]}) {
        *entry = bench.addImage(4, 4, white);
    }
    for (SyncTrack* TrackSet::*shown :
         {&TrackSet::avatarGood, &TrackSet::avatarEvil, &TrackSet::lyricsGood, &TrackSet::lyricsEvil,
          &TrackSet::pictogramIndex, &TrackSet::features, &TrackSet::refrainPolaroidStart, &TrackSet::tunnelTexture,
          &TrackSet::tunnelVariation}) {
        bench.set(shown, 0.0f);
    }
    bench.set(&TrackSet::refrainPolaroidEnd, 1.0f);
    noteImageSizes(&bench.show);
    FrameLayers frame;
    describeFrame(bench.show.tracks, c, bench.show.images, FrameState{5000.0, 0.0}, &bench.show.tunnel, &frame);
    EXPECT_EQ(frame.tunnel.slot, c.tunnelTextures[0]);
    std::vector<int> slots;
    std::vector<LayerKind> kinds;
    for (const Layer& layer : frame.layers) slots.push_back(layer.slot), kinds.push_back(layer.kind);
    EXPECT_EQ(slots,
              (std::vector<int>{c.pictograms[0], c.goodAvatars[0], c.goodBubble, c.goodLyrics[0], c.refrainBackground,
                                c.refrainSun, c.refrainForeground, c.polaroids[0], -1, c.logo, c.featureImages[0],
                                c.evilAvatars[0], c.evilBubble, c.evilLyrics[0], -1, -1}));
    EXPECT_EQ(kinds[8], LayerKind::Static);
    EXPECT_EQ(kinds[14], LayerKind::White);
    EXPECT_EQ(kinds[15], LayerKind::Black);
}
