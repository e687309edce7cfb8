// The bubbles rule: a character whose face is shown stands with its bubble; a bubble without a
// lyric for more than a bar reads as a mistake, and both bubbles up at once as a crowd.
#include "offline/lint_rules.h"

#include "offline/lint_show.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <cmath>

namespace {

struct CharacterTracks {
    const char* who;
    const CharacterPlacement& place;
    const SyncTrack* face;
    const SyncTrack* lyric;
    int bubble;
};

struct Stretch {
    int first = -1;
    int last = -1;
};

bool faceShown(const CharacterTracks& c, int row) {
    int index = 0;
    return pickEntry(evaluateTrack(c.face, row), c.place.faceCount, &index);
}

bool lyricPicked(const CharacterTracks& c, int row) {
    int index = 0;
    return pickEntry(evaluateTrack(c.lyric, row), c.place.lyricCount, &index);
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
    double bar = rowsPerBar(show.grid);
    auto empty = [&](int row) { return faceShown(c, row) && !lyricPicked(c, row); };
    eachStretch(show.lastRow, empty, [&](int first, int last) {
        int rows = last - first + 1;
        if (!(rows > bar)) return;
        verdict->findings.push_back("bubbles: " + rowSpanText(show.grid, first, last) + ": " + c.who + "'s bubble " +
                                    show.fileNames[size_t(c.bubble)] + " is empty for " + std::to_string(rows) +
                                    " rows, more than a bar (" + std::to_string(int(std::lround(bar))) + ")");
    });
}

}  // namespace

RuleVerdict judgeBubbles(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "bubbles";
    const TrackSet& t = show.tracks;
    CharacterTracks good = {"the good character", goodCharacter, t.avatarGood, t.lyricsGood, show.catalogue.goodBubble};
    CharacterTracks evil = {"the evil character", evilCharacter, t.avatarEvil, t.lyricsEvil, show.catalogue.evilBubble};
    judgeEmptyBubbles(show, good, &verdict);
    judgeEmptyBubbles(show, evil, &verdict);
    auto together = [&](int row) { return faceShown(good, row) && faceShown(evil, row); };
    eachStretch(show.lastRow, together, [&](int first, int last) {
        verdict.findings.push_back("bubbles: " + rowSpanText(show.grid, first, last) + ": both bubbles up at once (" +
                                   show.fileNames[size_t(good.bubble)] + " and " + show.fileNames[size_t(evil.bubble)] +
                                   ")");
    });
    return verdict;
}
