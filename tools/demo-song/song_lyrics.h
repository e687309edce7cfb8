// Which words are sung where: the score's "sing=" slots joined with the lines of the lyrics (the
// same lines the speech bubbles show) and the notes of the section's melody under each slot.
#pragma once

#include <string>
#include <vector>

#include "base/tagged_text.h"
#include "song_score.h"
#include "song_voice.h"

struct SungLines {
    std::vector<SungLine> lines;
    std::string error;  // "FILE:LINE: message", or empty
};

SungLines sungLines(const Score& score, const TaggedText& lyrics);
