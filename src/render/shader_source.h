// A shader file's text as GLSL ES takes it: a browser's WebGL compiles the show's GLSL 1.10
// unchanged but for the "#version 110" line, which GLSL ES accepts only as the very first thing
// in the source (the files start with a comment).
#pragma once

#include <string>

// The text with every line that starts (after blanks) with "#version" left empty, so that the
// compiler's line numbers stay those of the file.
std::string withoutVersionLine(const std::string& source);
