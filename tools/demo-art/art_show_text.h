// The show's texts as the art reads them: files of "tag: text" lines (lyrics, headlines,
// captions, credits), with comments, and the checks that give a clear message on bad input.
#pragma once

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
// the allowed tags and a non-empty text in UTF-8. Stops at the first bad line.
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

// The art texts file: "feature:", "caption:", "credit:" and "logo:" lines.
TaggedText readArtTexts(const std::string& path);

// Reads the art texts and checks that `count` lines carry the tag; prints the problem and
// returns an empty list on failure.
std::vector<TaggedLine> artTextLines(const std::string& path, const std::string& tag, size_t count);
