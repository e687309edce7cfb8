// The display: the letterboxed viewport, and the GL state an offscreen display is opened with.
#include "render/demo_window.h"
#include "render/viewport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

TEST(Viewport, IsLetterboxedToTheDesignAspect) {
    struct Case {
        int width, height;
        Viewport expected;
    };
    const Case cases[] = {
        {1280, 720, {0, 0, 1280, 720}},  {1920, 1080, {0, 0, 1920, 1080}},  {1920, 1200, {0, 60, 1920, 1080}},
        {1024, 768, {0, 96, 1024, 576}}, {1280, 1024, {0, 152, 1280, 720}}, {2560, 1080, {0, -180, 2560, 1440}},
        {1366, 768, {0, 0, 1366, 768}},   // the offset -0.1875 truncates to 0
        {1440, 900, {0, 44, 1440, 810}},  // single precision gives 44.99997, not 45
    };
    for (const Case& c : cases) {
        Viewport v = letterboxViewport(c.width, c.height, 1280.0f, 720.0f);
        EXPECT_EQ(v.x, c.expected.x) << c.width << "x" << c.height;
        EXPECT_EQ(v.y, c.expected.y) << c.width << "x" << c.height;
        EXPECT_EQ(v.width, c.expected.width) << c.width << "x" << c.height;
        EXPECT_EQ(v.height, c.expected.height) << c.width << "x" << c.height;
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
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 96, 1024, 576}));
    GLint value = 0;
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // 90 degrees vertically: the y scale is 1; the x scale divides by the output's aspect.
    EXPECT_NEAR(projection[5], 1.0f, 1e-6f);
    EXPECT_NEAR(projection[0], 768.0f / 1024.0f, 1e-6f);

    // A cleared frame covers the whole output, bands included.
    window.clear(Colour{1.0f, 0.0f, 0.0f, 1.0f});
    std::vector<uint8_t> pixels(size_t(1024) * 768 * 4);
    window.readPixels(GL_RGBA, pixels.data());
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[pixels.size() - 4], 255);
    EXPECT_TRUE(window.isRunning());
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.hasContext());
}
