// The still-face rule: a character who sings should be seen to sing. The song's generator lists
// beside the song, in song.events, each sung line (the time of its bubble) and each syllable. While
// a line is sung its singer's face must be shown, and the face shown must change at least once for
// every two syllables of the line; else the face is a still picture beside a moving voice.
// Without song.events the rule is not judged; a damaged one is named line by line, a few lines.
#include "offline/lint_rules.h"

#include "base/regular_file.h"
#include "offline/lint_show.h"
#include "scenes/selection.h"
#include "sync/song_events.h"
#include "sync/sync.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const songEventsFileName = "song.events";
constexpr int syllablesPerChange = 2;
constexpr size_t mostListedErrors = 10;
constexpr size_t mostListedFindings = 200;

struct Singer {
    std::string who;   // "good" or "evil", as song.events names the singer
    std::string name;  // "the good character"
    const SyncTrack* face;
    int faceCount;
    const int* faces;       // catalogue entries
    const char* faceTrack;  // the face track's name, for the findings
};

// The face a singer shows at every row of the show, and running counts to read any stretch by.
struct FaceRows {
    std::vector<int> shown;         // by row: the face's index in its group, or -1
    std::vector<int> changesUpTo;   // by row r: rows 1..r showing another face than the row before
    std::vector<int> hiddenBefore;  // by row r: rows 0..r-1 showing no face (one entry more)
};

FaceRows followFace(const Singer& singer, int lastRow) {
    FaceRows faces;
    faces.shown.assign(size_t(lastRow) + 1, -1);
    faces.changesUpTo.assign(size_t(lastRow) + 1, 0);
    faces.hiddenBefore.assign(size_t(lastRow) + 2, 0);
    for (int row = 0; row <= lastRow; ++row) {
        int index = 0;
        size_t r = size_t(row);
        if (pickEntry(evaluateTrack(singer.face, row), singer.faceCount, &index)) faces.shown[r] = index;
        faces.hiddenBefore[r + 1] = faces.hiddenBefore[r] + (faces.shown[r] < 0 ? 1 : 0);
        if (row == 0) continue;
        bool changed = faces.shown[r] >= 0 && faces.shown[r - 1] >= 0 && faces.shown[r] != faces.shown[r - 1];
        faces.changesUpTo[r] = faces.changesUpTo[r - 1] + (changed ? 1 : 0);
    }
    return faces;
}

// The singer's sung syllables starting within the line's time.
int syllablesIn(const SongEvent& line, const std::vector<double>& syllableRows) {
    auto from = std::lower_bound(syllableRows.begin(), syllableRows.end(), line.row);
    auto to = std::lower_bound(from, syllableRows.end(), line.row + line.length);
    return int(to - from);
}

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The file names of the faces shown in the rows, in the order they appear.
std::string facesShownText(const LintShow& show, const Singer& singer, const FaceRows& faces, RowSpan span) {
    std::vector<int> seen;
    std::string text;
    for (int row = span.first; row <= span.last; ++row) {
        int index = faces.shown[size_t(row)];
        if (index < 0 || std::find(seen.begin(), seen.end(), index) != seen.end()) continue;
        seen.push_back(index);
        text += (text.empty() ? "" : ", ") + show.fileNames[size_t(singer.faces[index])];
    }
    return text;
}

// The verdict being made, its findings listed up to a bound and the rest only counted (a hostile
// song.events may hold a great many lines, and naming a line's faces reads all its rows).
struct StillFaceJudge {
    const LintShow& show;
    RuleVerdict* verdict;
    int lines = 0;
    size_t unlisted = 0;

    template <typename Text>
    void add(Text text) {
        if (verdict->findings.size() < mostListedFindings) {
            verdict->findings.push_back(text());
        } else {
            unlisted += 1;
        }
    }

    // A sung line: its singer's face missing for some of its rows, and too few changes of face.
    void judgeLine(const Singer& singer, const FaceRows& faces, RowSpan span, int syllables) {
        std::string head = "still face: " + rowSpanText(show.grid, span.first, span.last) + ": " + singer.name +
                           " sings " + counted(syllables, "syllable", "syllables");
        std::string behind = " (" + behindText(show, singer.faceTrack, span.first) + ")";
        int rows = span.last - span.first + 1;
        int hidden = faces.hiddenBefore[size_t(span.last) + 1] - faces.hiddenBefore[size_t(span.first)];
        if (hidden > 0) {
            add([&] {
                return head + " with no face shown for " + std::to_string(hidden) + " of the line's " +
                       counted(rows, "row", "rows") + behind;
            });
        }
        if (hidden == rows) return;
        int changes = faces.changesUpTo[size_t(span.last)] - faces.changesUpTo[size_t(span.first)];
        int wanted = syllables / syllablesPerChange;
        if (changes >= wanted) return;
        add([&] {
            return head + " with " + (changes == 0 ? "no change" : counted(changes, "change", "changes")) +
                   " of face (" + facesShownText(show, singer, faces, span) + "), at least " + std::to_string(wanted) +
                   " wanted" + behind;
        });
    }

    // Every sung line of either singer, in the order they are sung.
    void judgeLines(const Singer* singers, int singerCount, const std::vector<SongEvent>& events) {
        struct Sung {
            std::string lineKind;
            std::vector<double> syllableRows;
            FaceRows faces;
        };
        std::vector<Sung> sung;
        for (int i = 0; i < singerCount; ++i) {
            const std::string syllableKind = "sing:" + singers[i].who;
            sung.push_back(Sung{"line:" + singers[i].who, {}, followFace(singers[i], show.lastRow)});
            for (const SongEvent& event : events) {
                if (event.kind == syllableKind) sung.back().syllableRows.push_back(event.row);
            }
        }
        for (const SongEvent& event : events) {
            RowSpan span = {0, 0};
            for (int i = 0; i < singerCount; ++i) {
                const Sung& each = sung[size_t(i)];
                if (event.kind != each.lineKind || !rowsOfEvent(event.row, event.length, show.lastRow, &span)) continue;
                lines += 1;
                judgeLine(singers[i], each.faces, span, syllablesIn(event, each.syllableRows));
            }
        }
    }
};

void reportErrors(const std::vector<SourceError>& errors, RuleVerdict* verdict) {
    for (size_t i = 0; i < errors.size() && i < mostListedErrors; ++i) {
        const SourceError& error = errors[i];
        std::string where = error.line > 0 ? std::string(songEventsFileName) + ":" + std::to_string(error.line) : "";
        verdict->findings.push_back("still face: " + (where.empty() ? "" : where + ": ") + error.message);
    }
    if (errors.size() > mostListedErrors) {
        verdict->findings.push_back("still face: " + std::string(songEventsFileName) + ": " +
                                    std::to_string(errors.size() - mostListedErrors) + " more problems not listed");
    }
}

}  // namespace

RuleVerdict judgeStillFace(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "still face";
    verdict.optional = true;
    FileKind kind = fileKindAt(songEventsFileName);
    if (kind == FileKind::Missing) {
        verdict.judged = false;
        verdict.notJudgedReason = "no song.events in the show folder";
        return verdict;
    }
    if (const char* irregular = irregularFileText(kind)) {
        verdict.findings.push_back("still face: " + std::string(songEventsFileName) + ": " + irregular);
        return verdict;
    }
    SongEventList list = readSongEvents(songEventsFileName);
    if (!list.errors.empty()) {
        reportErrors(list.errors, &verdict);
        return verdict;
    }
    const TrackSet& t = show.tracks;
    const AssetCatalogue& c = show.catalogue;
    const Singer singers[] = {
        {"good", "the good character", t.avatarGood, goodFaceCount, c.goodAvatars, "avatar:good"},
        {"evil", "the evil character", t.avatarEvil, evilFaceCount, c.evilAvatars, "avatar:evil"}};
    StillFaceJudge judge{show, &verdict};
    judge.judgeLines(singers, 2, list.events);
    if (judge.unlisted > 0) {
        verdict.findings.push_back("still face: and " + std::to_string(judge.unlisted) +
                                   " more like these, not listed");
    }
    verdict.figure = counted(judge.lines, "sung line", "sung lines");
    return verdict;
}
