// The art texts as the art reads them: headlines, captions, credits and the logo's words.
#pragma once

#include <string>
#include <vector>

#include "base/tagged_text.h"

// The art texts file: "feature:", "caption:", "credit:" and "logo:" lines.
TaggedText readArtTexts(const std::string& path);

// Reads the art texts and checks that `count` lines carry the tag; prints the problem and
// returns an empty list on failure.
std::vector<TaggedLine> artTextLines(const std::string& path, const std::string& tag, size_t count);
