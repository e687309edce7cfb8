// The short-lyric rule: a sung line should be read while it is heard. For each line song.events
// lists (line:good, line:evil: the rows its singer sings it), wherever the singer's face is shown
// a lyric must be picked: a lyric that comes late or goes early shows the line for less than its
// sung length. (Rows without the face are the still-face rule's.) Without song.events the rule is
// not judged.
#include "offline/lint_rules.h"

#include "base/regular_file.h"
#include "base/show_facts.h"
#include "offline/lint_show.h"
#include "scenes/selection.h"
#include "sync/song_events.h"
#include "sync/sync.h"

#include <cstdio>

namespace {

const char* const songEventsFileName = "song.events";
constexpr size_t mostListedFindings = 200;

struct LyricSinger {
    std::string lineKind;  // "line:good"
    std::string name;      // "the good character"
    const SyncTrack* face;
    int faceCount;
    const SyncTrack* lyrics;
    int lyricCount;
    const char* lyricTrack;  // the lyric track's name, for the finding
};

bool faceShown(const LyricSinger& singer, int row) {
    int index = 0;
    return pickEntry(evaluateTrack(singer.face, row), singer.faceCount, &index);
}

bool lyricPicked(const LyricSinger& singer, int row) {
    int index = 0;
    return pickEntry(evaluateTrack(singer.lyrics, row), singer.lyricCount, &index);
}

std::string secondsText(int rows) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", rows / rowsPerSecond);
    return text;
}

// The finding for a line whose lyric is up for `shown` of its rows, naming the first row its face
// shows without a lyric and the track behind it there.
std::string shortLyricText(const LintShow& show, const LyricSinger& singer, RowSpan span, int shown, int firstGap) {
    int rows = span.last - span.first + 1;
    return "short lyric: " + rowSpanText(show.grid, span.first, span.last) + ": " + singer.name + " sings a line for " +
           std::to_string(rows) + " rows (" + secondsText(rows) + ") but its lyric is up for " + std::to_string(shown) +
           " of them (" + secondsText(shown) + "); at " + rowSpanText(show.grid, firstGap, firstGap) +
           " the face shows with no lyric picked (" + behindText(show, singer.lyricTrack, firstGap) + ")";
}

}  // namespace

RuleVerdict judgeShortLyrics(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "short lyric";
    verdict.optional = true;
    FileKind kind = fileKindAt(songEventsFileName);
    if (kind != FileKind::Regular) {
        verdict.judged = false;
        verdict.notJudgedReason =
            kind == FileKind::Missing ? "no song.events in the show folder" : "song.events is no regular file";
        return verdict;
    }
    SongEventList list = readSongEvents(songEventsFileName);
    if (!list.errors.empty()) {
        verdict.judged = false;
        verdict.notJudgedReason = "song.events is damaged; the still face rule names how";
        return verdict;
    }
    const TrackSet& t = show.tracks;
    const LyricSinger singers[] = {
        {"line:good", "the good character", t.avatarGood, goodFaceCount, t.lyricsGood, goodLyricCount, "lyrics:good"},
        {"line:evil", "the evil character", t.avatarEvil, evilFaceCount, t.lyricsEvil, evilLyricCount, "lyrics:evil"}};
    int lines = 0;
    size_t unlisted = 0;
    for (const SongEvent& event : list.events) {
        for (const LyricSinger& singer : singers) {
            RowSpan span = {0, 0};
            if (event.kind != singer.lineKind || !rowsOfEvent(event.row, event.length, show.lastRow, &span)) continue;
            lines += 1;
            int shown = 0, firstGap = -1;
            for (int row = span.first; row <= span.last; ++row) {
                if (!faceShown(singer, row)) continue;
                if (lyricPicked(singer, row)) {
                    shown += 1;
                } else if (firstGap < 0) {
                    firstGap = row;
                }
            }
            if (firstGap < 0) continue;
            if (verdict.findings.size() < mostListedFindings) {
                verdict.findings.push_back(shortLyricText(show, singer, span, shown, firstGap));
            } else {
                unlisted += 1;
            }
        }
    }
    if (unlisted > 0) {
        verdict.findings.push_back("short lyric: and " + std::to_string(unlisted) + " more like these, not listed");
    }
    verdict.figure = std::to_string(lines) + (lines == 1 ? " sung line" : " sung lines");
    return verdict;
}
