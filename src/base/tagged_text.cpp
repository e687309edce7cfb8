// Reading the show's "tag: text" files, with messages that name the file and line.
#include "base/tagged_text.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "base/regular_file.h"

namespace {

constexpr int64_t maxTextBytes = 1 << 20;

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool validUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + size_t(extra) >= text.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        }
        if (c < 0x20 && c != '\t') return false;
        i += size_t(extra) + 1;
    }
    return true;
}

std::string located(const std::string& path, int lineNumber, const std::string& what) {
    return path + ":" + std::to_string(lineNumber) + ": " + what;
}

}  // namespace

TaggedText readTaggedText(const std::string& path, const std::vector<std::string>& allowedTags) {
    TaggedText result;
    std::string bytes;
    if (readRegularFile(path.c_str(), maxTextBytes, &bytes) != 0) {
        result.error = path + ": cannot be read (" + std::strerror(errno) + ")";
        return result;
    }
    std::istringstream in(bytes);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) {
            result.error = located(path, lineNumber, "expected \"tag: text\", found no ':'");
            return result;
        }
        TaggedLine tagged{trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)), path, lineNumber};
        bool known = false;
        for (const std::string& tag : allowedTags) known = known || tag == tagged.tag;
        if (!known) {
            std::string list;
            for (const std::string& tag : allowedTags) list += (list.empty() ? "" : ", ") + tag;
            result.error =
                located(path, lineNumber, "unknown tag \"" + tagged.tag + "\" (expected one of: " + list + ")");
            return result;
        }
        if (tagged.text.empty()) {
            result.error = located(path, lineNumber, "the text after \"" + tagged.tag + ":\" is empty");
            return result;
        }
        if (!validUtf8(tagged.text)) {
            result.error = located(path, lineNumber, "the text is not valid UTF-8");
            return result;
        }
        result.lines.push_back(tagged);
    }
    return result;
}

std::vector<TaggedLine> linesWithTag(const TaggedText& text, const std::string& tag) {
    std::vector<TaggedLine> found;
    for (const TaggedLine& line : text.lines) {
        if (line.tag == tag) found.push_back(line);
    }
    return found;
}

std::string checkTagCount(const TaggedText& text, const std::string& path, const std::string& tag, size_t count) {
    std::vector<TaggedLine> found = linesWithTag(text, tag);
    if (found.size() == count) return "";
    std::string expected =
        "expected " + std::to_string(count) + " \"" + tag + ":\" lines, found " + std::to_string(found.size());
    if (found.size() > count) return located(path, found[count].lineNumber, expected + " (this one is extra)");
    return path + ": " + expected;
}

std::vector<std::string> splitParts(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t bar = text.find('|', start);
        parts.push_back(trimmed(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return parts;
}

std::string whereOf(const TaggedLine& line) { return line.file + ":" + std::to_string(line.lineNumber) + ": "; }

TaggedText readLyrics(const std::string& path) {
    TaggedText lyrics = readTaggedText(path, {"good", "evil"});
    if (lyrics.error.empty()) lyrics.error = checkTagCount(lyrics, path, "good", goodLyricLines);
    if (lyrics.error.empty()) lyrics.error = checkTagCount(lyrics, path, "evil", evilLyricLines);
    return lyrics;
}
