// Taking the version line out of a shader's text for GLSL ES.
#include "render/shader_source.h"

std::string withoutVersionLine(const std::string& source) {
    std::string out;
    out.reserve(source.size());
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        size_t first = source.find_first_not_of(" \t", start);
        bool version = first != std::string::npos && first < end && source.compare(first, 8, "#version") == 0;
        if (!version) out.append(source, start, end - start);
        if (end < source.size()) out += '\n';
        start = end + 1;
    }
    return out;
}
