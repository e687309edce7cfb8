// The bubbles rule: a character whose face is shown stands with its bubble. The bubble images are
// nearly transparent (each lyric image carries its own bubble), so an empty bubble is a fault only
// where the bubble image itself can be seen: then a bubble without a lyric for more than a bar
// reads as a mistake. Both characters' lyrics up at once is a crowd at any row; both characters
// on screen together is not.
#include "offline/lint_rules.h"

#include "offline/lint_show.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double leastVisibleBubble = 0.05;  // mean alpha over the image above which it is seen

struct CharacterTracks {
    const char* who;
    const CharacterPlacement& place;
    const SyncTrack* face;
    const SyncTrack* lyric;
    int bubble;
    const int* lyrics;       // catalogue entries
    const char* lyricTrack;  // the lyric track's name, for the findings
};

struct Stretch {
    int first = -1;
    int last = -1;
};

bool faceShown(const CharacterTracks& c, int row) {
    int index = 0;
    return pickEntry(evaluateTrack(c.face, row), c.place.faceCount, &index);
}

bool lyricPicked(const CharacterTracks& c, int row, int* index) {
    return pickEntry(evaluateTrack(c.lyric, row), c.place.lyricCount, index);
}

// The lyric image the character shows at the row (face shown and lyric picked), or -1.
int lyricShown(const CharacterTracks& c, int row) {
    int index = 0;
    if (!faceShown(c, row) || !lyricPicked(c, row, &index)) return -1;
    return c.lyrics[index];
}

// Calls report(first, last) for every stretch of consecutive rows where `holds` is true.
template <typename Holds, typename Report>
void eachStretch(int lastRow, Holds holds, Report report) {
    Stretch run;
    for (int row = 0; row <= lastRow + 1; ++row) {
        if (row <= lastRow && holds(row)) {
            if (run.first < 0) run.first = row;
            run.last = row;
        } else if (run.first >= 0) {
            report(run.first, run.last);
            run = Stretch{};
        }
    }
}

void judgeEmptyBubbles(const LintShow& show, const CharacterTracks& c, RuleVerdict* verdict) {
    const ImageAlpha& bubble = show.images[size_t(c.bubble)];
    if (!bubble.loaded || !(bubble.meanAlpha > leastVisibleBubble)) return;
    double bar = rowsPerBar(show.grid);
    int index = 0;
    auto empty = [&](int row) { return faceShown(c, row) && !lyricPicked(c, row, &index); };
    eachStretch(show.lastRow, empty, [&](int first, int last) {
        int rows = last - first + 1;
        if (!(rows > bar)) return;
        verdict->findings.push_back("bubbles: " + rowSpanText(show.grid, first, last) + ": " + c.who + "'s bubble " +
                                    show.fileNames[size_t(c.bubble)] + " is empty for " + std::to_string(rows) +
                                    " rows, more than a bar (" + std::to_string(int(std::lround(bar))) + "; " +
                                    behindText(show, c.lyricTrack, first) + ")");
    });
}

// The file names of the character's lyric images shown in the rows, in the order they appear.
std::string lyricsShownText(const LintShow& show, const CharacterTracks& c, int first, int last) {
    std::vector<int> seen;
    std::string text;
    for (int row = first; row <= last; ++row) {
        int entry = lyricShown(c, row);
        if (entry < 0 || std::find(seen.begin(), seen.end(), entry) != seen.end()) continue;
        seen.push_back(entry);
        text += (text.empty() ? "" : ", ") + show.fileNames[size_t(entry)];
    }
    return text;
}

void judgeLyricsTogether(const LintShow& show, const CharacterTracks& good, const CharacterTracks& evil,
                         RuleVerdict* verdict) {
    auto together = [&](int row) { return lyricShown(good, row) >= 0 && lyricShown(evil, row) >= 0; };
    eachStretch(show.lastRow, together, [&](int first, int last) {
        verdict->findings.push_back("bubbles: " + rowSpanText(show.grid, first, last) + ": both lyrics up at once (" +
                                    lyricsShownText(show, good, first, last) + " and " +
                                    lyricsShownText(show, evil, first, last) + ")");
    });
}

}  // namespace

RuleVerdict judgeBubbles(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "bubbles";
    const TrackSet& t = show.tracks;
    const AssetCatalogue& c = show.catalogue;
    CharacterTracks good = {"the good character", goodCharacter, t.avatarGood, t.lyricsGood,
                            c.goodBubble,         c.goodLyrics,  "lyrics:good"};
    CharacterTracks evil = {"the evil character", evilCharacter, t.avatarEvil, t.lyricsEvil,
                            c.evilBubble,         c.evilLyrics,  "lyrics:evil"};
    judgeEmptyBubbles(show, good, &verdict);
    judgeEmptyBubbles(show, evil, &verdict);
    judgeLyricsTogether(show, good, evil, &verdict);
    return verdict;
}
