// The size a PNG file's header states, read without decoding the image.
#pragma once

#include <cstdint>
#include <string>

// Reads the width and height from the file's first 24 bytes (signature, IHDR length and type,
// width, height); false when the file cannot be read or does not start as a PNG.
bool pngHeaderSize(const std::string& path, uint32_t* width, uint32_t* height);
