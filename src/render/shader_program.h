// GLSL programs built from a vertex-shader file and a fragment-shader file, with the compiler's
// and linker's logs on standard output. The build never stops on an error: the logs are the only
// report and a program name is returned in every case.
#pragma once

#include <cstdint>
#include <string>

struct ShaderProgram {
    uint32_t program = 0;  // the GL program name
    bool linked = false;   // whether GL linked it: an unlinked program is refused when selected,
                           // and a draw meant for it would fall back to fixed-function drawing
    std::string log;       // the labelled logs as printed, for a caller that shows them elsewhere

    // Compiles, attaches, links and validates; leaves the program current. An empty path leaves
    // that stage out; a file that cannot be read compiles as empty source. Needs a GL context.
    static ShaderProgram build(const std::string& vertexPath, const std::string& fragmentPath);
};

// Shader sources larger than this are treated as unreadable.
constexpr long maxShaderSourceBytes = 1 << 20;

// Makes no program current: drawing is fixed-function again.
void useNoShaderProgram();
// Deletes the program's GL name (0 is left alone) and empties the record.
void deleteShaderProgram(ShaderProgram* program);
// Whether the program has an active uniform of the name.
bool shaderHasUniform(const ShaderProgram& program, const char* name);
