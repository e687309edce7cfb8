// The display: the letterboxed viewport, and the GL state an offscreen display is opened with.
#include "render/demo_window.h"
#include "render/viewport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

TEST(Viewport, IsLetterboxedToTheDesignAspect) {
    // Each case: width, height, then the viewport's x, y, width and height. At 1366x768 the offset
    // -0.1875 truncates to 0; at 1440x900 single precision gives 44.99997, not 45.
    const std::vector<int> cases[] = {{1280, 720, 0, 0, 1280, 720},
                                      {1024, 768, 0, 96, 1024, 576},
                                      {2560, 1080, 0, -180, 2560, 1440},
                                      {1366, 768, 0, 0, 1366, 768},
                                      {1440, 900, 0, 44, 1440, 810}};
    for (const std::vector<int>& c : cases) {
        Viewport v = letterboxViewport(c[0], c[1], 1280.0f, 720.0f);
        EXPECT_EQ((std::vector<int>{v.x, v.y, v.width, v.height}), std::vector<int>(c.begin() + 2, c.end()))
            << c[0] << "x" << c[1];
    }
}

TEST(DemoWindow, RunsWithoutACallToGLWhileNothingIsOpen) {
    DemoWindow window;
    EXPECT_FALSE(window.hasContext());
    EXPECT_TRUE(window.isRunning()) << "before open";
    window.clear(Colour{1, 1, 1, 1});  // no context: no GL call, no crash
    window.swapBuffers();
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.isRunning()) << "after close";
}

TEST(DemoWindow, OpensOffscreenWithTheFixedState) {
    DemoWindow window;
    ASSERT_TRUE(window.openOffscreen(1024, 768));
    EXPECT_FLOAT_EQ(window.scaleX, 1024.0f / 1280.0f) << "the display works out its own scale";
    EXPECT_FLOAT_EQ(window.scaleY, 768.0f / 720.0f);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // 90 degrees vertically: the y scale is 1; the x scale divides by the output's aspect.
    EXPECT_NEAR(projection[5], 1.0f, 1e-6f);
    EXPECT_NEAR(projection[0], 768.0f / 1024.0f, 1e-6f);

    // A cleared frame covers the whole output, bands included.
    window.clear(Colour{1.0f, 0.0f, 0.0f, 1.0f});
    std::vector<uint8_t> pixels(size_t(1024) * 768 * 4);
    window.readPixels(pixels.data());
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[pixels.size() - 4], 255);
    EXPECT_TRUE(window.isRunning());
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.hasContext());
}
