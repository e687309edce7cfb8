// The show's "tag: text" files (the lyrics, the art's headlines, captions and credits): lines
// read with the checks that give a clear message on bad input. The art draws these lines and the
// song sings them, so both read them here.
#pragma once

#include "base/show_images.h"

#include <string>
#include <vector>

struct TaggedLine {
    std::string tag;
    std::string text;
    std::string file;
    int lineNumber;
};

struct TaggedText {
    std::vector<TaggedLine> lines;
    std::string error;  // empty when the file was read and every line is well formed
};

// Reads a file in which each line is blank, a comment ('#' first) or "tag: text" with one of
// the allowed tags and a non-empty text in UTF-8. Stops at the first bad line. The file must be
// a regular file of at most a MiB.
TaggedText readTaggedText(const std::string& path, const std::vector<std::string>& allowedTags);

// The lines with the tag, in file order.
std::vector<TaggedLine> linesWithTag(const TaggedText& text, const std::string& tag);

// Checks that exactly `count` lines carry the tag; otherwise returns a message naming the file
// (and the first surplus line when there are too many). Empty when the count is right.
std::string checkTagCount(const TaggedText& text, const std::string& path, const std::string& tag, size_t count);

// Splits a text at '|' into parts, trimming spaces around each.
std::vector<std::string> splitParts(const std::string& text);

// "FILE:LINE: " for messages.
std::string whereOf(const TaggedLine& line);

// The show's lyrics: "good:" lines for Pip, "evil:" lines for Count Glitch, one for each lyric
// image of the show.
constexpr const char* lyricsFileName = "lyrics.txt";
constexpr size_t goodLyricLines = size_t(showImagePartSize(ShowImagePart::goodLyrics));
constexpr size_t evilLyricLines = size_t(showImagePartSize(ShowImagePart::evilLyrics));

// Reads the lyrics and checks both counts; the message names the file and line otherwise.
TaggedText readLyrics(const std::string& path);
