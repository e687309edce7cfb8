// Reading the art texts file: its "feature:", "caption:", "credit:" and "logo:" lines.
#include "art_show_text.h"

#include <cstdio>

TaggedText readArtTexts(const std::string& path) {
    return readTaggedText(path, {"feature", "caption", "credit", "logo"});
}

std::vector<TaggedLine> artTextLines(const std::string& path, const std::string& tag, size_t count) {
    TaggedText texts = readArtTexts(path);
    std::string error = texts.error.empty() ? checkTagCount(texts, path, tag, count) : texts.error;
    if (!error.empty()) {
        fprintf(stderr, "demo-art: %s\n", error.c_str());
        return {};
    }
    return linesWithTag(texts, tag);
}
