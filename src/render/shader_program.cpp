// Building the demo's shader program.
#include "render/shader_program.h"

#include "base/regular_file.h"
#include "render/shader_source.h"

#include <GL/glew.h>

#include <cstdio>
#include <vector>

namespace {

// The whole file as raw bytes (no line-end conversion; in a browser without its version line) plus
// a terminating zero; an empty source when the file is no regular file (a FIFO is not waited on),
// cannot be read, or is implausibly large.
std::vector<char> readSource(const std::string& path) {
    std::string text;
    if (readRegularFile(path.c_str(), maxShaderSourceBytes, &text) != 0) text.clear();
#ifdef __EMSCRIPTEN__
    text = withoutVersionLine(text);  // WebGL's GLSL ES takes the show's GLSL 1.10 without it
#endif
    std::vector<char> source(text.begin(), text.end());
    source.push_back('\0');
    return source;
}

// Prints the labelled log and keeps a copy of it in the program's record.
void printLog(const char* label, const std::vector<char>& log, std::string* kept) {
    printf("%s\n", label);
    fflush(stdout);
    printf("%s\n", log.data());
    fflush(stdout);
    *kept += std::string(label) + "\n" + log.data() + "\n";
}

void printShaderLog(GLuint shader, const char* label, std::string* kept) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return;
    std::vector<char> log(size_t(length) + 1, '\0');
    glGetShaderInfoLog(shader, length, &length, log.data());
    printLog(label, log, kept);
}

void printProgramLog(GLuint program, std::string* kept) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return;
    std::vector<char> log(size_t(length) + 1, '\0');
    glGetProgramInfoLog(program, length, &length, log.data());
    printLog("Prog Info Log: ", log, kept);
}

void addStage(GLuint program, GLenum type, const std::string& path, const char* label, std::string* kept) {
    GLuint shader = glCreateShader(type);
    std::vector<char> source = readSource(path);
    const GLchar* text = source.data();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    printShaderLog(shader, label, kept);
    glAttachShader(program, shader);  // also when it failed to compile: the logs tell
}

}  // namespace

ShaderProgram ShaderProgram::build(const std::string& vertexPath, const std::string& fragmentPath) {
    ShaderProgram result;
    result.program = glCreateProgram();
    if (!vertexPath.empty())
        addStage(result.program, GL_VERTEX_SHADER, vertexPath, "VertexShader Info Log: ", &result.log);
    if (!fragmentPath.empty()) {
        addStage(result.program, GL_FRAGMENT_SHADER, fragmentPath, "FragmentShader Info Log: ", &result.log);
    }
    glLinkProgram(result.program);
    GLint linked = GL_FALSE;
    glGetProgramiv(result.program, GL_LINK_STATUS, &linked);
    result.linked = linked == GL_TRUE;
    glValidateProgram(result.program);
    printProgramLog(result.program, &result.log);
    glUseProgram(result.program);
    return result;
}

void useNoShaderProgram() { glUseProgram(0); }

void deleteShaderProgram(ShaderProgram* program) {
    if (program->program != 0) glDeleteProgram(program->program);
    *program = ShaderProgram();
}

bool shaderHasUniform(const ShaderProgram& program, const char* name) {
    return glGetUniformLocation(program.program, name) >= 0;
}
