// Building shader programs from files, with the logs on standard output; and the demo's own two
// shader files drawing the noise layer.
#include "render/shader_program.h"
#include "render/shader_source.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/sync_files.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace {

const char* flatFragment = "#version 110\nvoid main() { gl_FragColor = vec4(1.0); }\n";

GLint programValue(GLuint program, GLenum name) {
    GLint value = -1;
    glGetProgramiv(program, name, &value);
    return value;
}

std::string dataShader(const char* name) { return std::string(DEMO_SOURCE_DIR) + "/data/shaders/" + name; }

}  // namespace

TEST(ShaderProgram, PrintsTheCompilerMessageUnderTheStageLabelAndStillReturnsAProgram) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    writeFileBytes(dir.file("broken.vs"), "#version 110\nvoid main() { gl_Position = ; }\n");
    writeFileBytes(dir.file("flat.fs"), flatFragment);
    testing::internal::CaptureStdout();
    ShaderProgram built = ShaderProgram::build(dir.file("broken.vs"), dir.file("flat.fs"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(built.program, 0u);
    ASSERT_EQ(out.rfind("VertexShader Info Log: \n", 0), 0u) << out;
    std::string message = out.substr(24, out.find('\n', 24) - 24);
    EXPECT_NE(message.find("error"), std::string::npos) << out;
    EXPECT_EQ(out.find("FragmentShader Info Log: "), std::string::npos) << "the fragment shader compiled cleanly";
    EXPECT_NE(programValue(built.program, GL_LINK_STATUS), GL_TRUE);
    EXPECT_EQ(programValue(built.program, GL_ATTACHED_SHADERS), 2) << "attached although it failed";
}

// An empty path leaves its stage out; a missing file is compiled as empty source; the bytes of a
// file reach GL unchanged, carriage returns included.
TEST(ShaderProgram, TakesEachStageFromItsPathAsItIs) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    writeFileBytes(dir.file("flat.fs"), flatFragment);
    testing::internal::CaptureStdout();
    ShaderProgram fragmentOnly = ShaderProgram::build("", dir.file("flat.fs"));
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLuint(current), fragmentOnly.program) << "the build leaves its program current";
    ShaderProgram none = ShaderProgram::build("", "");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(programValue(fragmentOnly.program, GL_ATTACHED_SHADERS), 1);
    EXPECT_EQ(programValue(fragmentOnly.program, GL_LINK_STATUS), GL_TRUE);
    EXPECT_NE(none.program, 0u);
    EXPECT_EQ(programValue(none.program, GL_ATTACHED_SHADERS), 0);
    EXPECT_EQ(out.find("Info Log"), out.find("Prog Info Log")) << "no stage log: " << out;

    testing::internal::CaptureStdout();
    ShaderProgram missing = ShaderProgram::build(dir.file("nowhere.vs"), dir.file("nowhere.fs"));
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(missing.program, 0u);
    EXPECT_NE(out.find("VertexShader Info Log: \n"), std::string::npos) << out;
    EXPECT_NE(out.find("FragmentShader Info Log: \n"), std::string::npos) << out;
    EXPECT_NE(programValue(missing.program, GL_LINK_STATUS), GL_TRUE);

    std::string crlf = "#version 110\r\nvoid main()\r\n{\r\n    gl_Position = ftransform();\r\n}\r\n";
    writeFileBytes(dir.file("crlf.vs"), crlf);
    testing::internal::CaptureStdout();
    ShaderProgram windows = ShaderProgram::build(dir.file("crlf.vs"), "");
    testing::internal::GetCapturedStdout();
    GLuint shader = 0;
    GLsizei count = 0;
    glGetAttachedShaders(windows.program, 1, &count, &shader);
    ASSERT_EQ(count, 1);
    std::vector<char> source(crlf.size() + 16, '\0');
    GLsizei length = 0;
    glGetShaderSource(shader, GLsizei(source.size()), &length, source.data());
    EXPECT_EQ(std::string(source.data(), size_t(length)), crlf);
    EXPECT_EQ(programValue(windows.program, GL_LINK_STATUS), GL_TRUE);
}

TEST(NoiseShaders, BuildCleanlyAndCoverTheFrameWithGrainThatMoves) {
    OffscreenView view;
    ASSERT_TRUE(view.open(320, 180));
    testing::internal::CaptureStdout();
    ShaderProgram noise = ShaderProgram::build(dataShader("default.vs"), dataShader("noise.fs"));
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(programValue(noise.program, GL_LINK_STATUS), GL_TRUE) << out;

    // At alpha 1; alpha 0 leaving the frame as it was is checked by Fades.TheNoiseLayerFollowsItsTrack.
    auto drawNoise = [&](float time) {
        view.window.clear(Colour{0.0f, 0.0f, 1.0f, 1.0f});
        glUseProgram(noise.program);
        glUniform1f(glGetUniformLocation(noise.program, "time"), time);
        glUniform1f(glGetUniformLocation(noise.program, "alpha"), 1.0f);
        view.window.drawQuad(Vec3(0, 0, 0), Vec2(0, 1), Vec2(1, 0));
        glUseProgram(0);
        view.read();
        return view.frame;
    };
    std::vector<uint8_t> grain = drawNoise(1.0f);
    int greyLevels[256] = {};
    size_t blueLeft = 0;
    for (size_t i = 0; i < grain.size(); i += 4) {
        ++greyLevels[grain[i]];
        blueLeft += grain[i + 2] != grain[i];
    }
    EXPECT_EQ(blueLeft, 0u) << "alpha 1 covers the frame with grey grain";
    int levelsUsed = 0;
    for (int count : greyLevels) levelsUsed += count > 0;
    EXPECT_GT(levelsUsed, 64) << "a grain, not a flat grey";
    EXPECT_NE(drawNoise(1.5f), grain) << "the grain moves with time";
}

TEST(ShaderSource, LeavesTheVersionLineEmptyForGLSLESAndEverythingElseAsItIs) {
    EXPECT_EQ(withoutVersionLine("// a comment\n#version 110\nvoid main() {}\n"), "// a comment\n\nvoid main() {}\n");
    EXPECT_EQ(withoutVersionLine("  \t#version 110\r\nx"), "\nx") << "blanks before it, and a CR LF line";
    EXPECT_EQ(withoutVersionLine("#version 110"), "") << "a last line without its end";
    EXPECT_EQ(withoutVersionLine("int version;\n// #version 110\n"), "int version;\n// #version 110\n");
    EXPECT_EQ(withoutVersionLine(""), "");
    EXPECT_EQ(withoutVersionLine("\n\n"), "\n\n");
}
