// demo-tracks: looks into, checks and builds the show's track files in the current directory.
// This file parses arguments and prints; reading, checking, parsing and writing track files is
// done by the sync library, through the same code the demo uses.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/regular_file.h"
#include "base/show_facts.h"
#include "base/tool_exit.h"
#include "offline/coverage.h"
#include "offline/image_problem.h"
#include "runtime/show_folder.h"
#include "runtime/show_source.h"
#include "runtime/track_set.h"
#include "sync/musical_grid.h"
#include "sync/stale_tracks.h"
#include "sync/sync.h"
#include "sync/track_file.h"
#include "sync/track_text.h"

namespace {

using Arguments = std::vector<std::string>;

// A command's words, and the choreography source named by --source (eval and dump take it).
struct CommandLine {
    Arguments words;
    std::string source;
};

struct Command {
    const char* name;
    int (*run)(const CommandLine& line);
    const char* help;
    bool takesSource;
};

const char* const toolHelp =
    "Usage: demo-tracks COMMAND [ARGUMENTS]\n"
    "\n"
    "Works on the show's track files (sync_NAME.track, ':' in a name written as '[') in the\n"
    "current directory, reading them exactly as the demo does.\n"
    "\n"
    "Commands:\n"
    "  eval NAME ROW [ROW ...]  print the value of track NAME at each row (or BAR:BEAT)\n"
    "  dump NAME                print the keys of track NAME as text source\n"
    "  check                    check the show's 20 track files\n"
    "  build SOURCE             compile a text source into track files\n"
    "  coverage                 list the first row at which each of the show's images shows\n"
    "\n"
    "'demo-tracks COMMAND --help' tells more about a command; 'demo-tracks build --help'\n"
    "describes the text source.\n"
    "\n"
    "Exit status: 0 done, 1 a missing or damaged file or an error in a source, 2 bad arguments.\n";

const char* const evalHelp =
    "Usage: demo-tracks eval NAME ROW [ROW ...] [--source FILE]\n"
    "\n"
    "Prints the value of track NAME at each ROW, one per line (printf \"%.9g\"). Rows are\n"
    "numbers of 1/24 s and may have fractions: 240.5 is 10.02 seconds into the song. With\n"
    "--source FILE (the choreography source) a ROW may be BAR:BEAT as the source writes it,\n"
    "counted from 1 at the source's tempo (26:1, 26:2.5), within the show (up to row 6651).\n"
    "Fails when the track's file is missing; warns when it is damaged.\n";

const char* const dumpHelp =
    "Usage: demo-tracks dump NAME [--source FILE]\n"
    "\n"
    "Prints the keys of track NAME as the demo loads them, in the text source format that\n"
    "'demo-tracks build' reads: the key count, then one line per key (row, value, kind).\n"
    "Building the output gives back the same file, byte for byte, when the file is well\n"
    "formed. Damage found in the file is noted in comments. With --source FILE (the\n"
    "choreography source) each key's row is also given as BAR:BEAT, counted from 1 at the\n"
    "source's tempo, in a comment.\n";

const char* const checkHelp =
    "Usage: demo-tracks check\n"
    "\n"
    "Reads the show's 20 track files and reports for each one: ok with its key count, or\n"
    "missing, not a regular file (a directory, a FIFO, a device), empty, truncated (and how\n"
    "many keys survive), negative key count, a count over the limit of 1000000 keys, out of\n"
    "memory, trailing bytes, rows not increasing, unknown kind, non-finite value, values too\n"
    "far apart for a float (value overflow). Exit status 1 when any file is not well formed,\n"
    "0 otherwise.\n";

const char* const coverageHelp =
    "Usage: demo-tracks coverage\n"
    "\n"
    "Run in a show folder: follows the 20 tracks through the show (rows 0 to 6651, a quarter\n"
    "row at a time) with the scenes' selection rules and prints each of the 145 catalogue\n"
    "images with the first row at which it is visible, or 'never shown'. Each image is also\n"
    "loaded as the demo loads it: one that is missing or cannot be decoded is named, with\n"
    "why, as a hole in the picture (and warned of on standard error). Exit status 1 when any\n"
    "image is never shown or cannot be loaded, 0 otherwise.\n";

const char* const buildHelp =
    "Usage: demo-tracks build SOURCE\n"
    "\n"
    "Compiles the text source SOURCE into one track file per track it names, written to the\n"
    "current directory (the show folder), all or nothing: each goes to a temporary file first,\n"
    "and only once every one is written are they renamed into place; a failure leaves the old\n"
    "files as they were. Nothing is written when the source has an error; errors are printed\n"
    "as SOURCE:LINE: message. Then the track files of an earlier build that the source no\n"
    "longer writes are removed (only files named sync_NAME.track that hold track keys), so\n"
    "that a build gives what a clean build gives.\n"
    "\n"
    "The show has 20 tracks; a source may name no other (an error names the nearest one), and\n"
    "one it leaves out is a warning (the demo sees it as 0 at every row):\n"
    "@TRACKS@"
    "The song's events file (events FILE, written with the song) gives the song's tempo, beats\n"
    "a bar and length: a source whose tempo, beats-per-bar or start-row differ from the song's,\n"
    "or a song that ends before the show's last row (6651), is an error at the events line.\n"
    "\n"
    "The source, one item per line; '#' starts a comment:\n"
    "  tempo BPM             beats per minute, above 0 and at most 10000, needed before the\n"
    "                        first BAR:BEAT time\n"
    "  beats-per-bar N       beats in a bar, 1 to 64 (4 when not given)\n"
    "  start-row ROW         row of bar 1, beat 1, 0 to 999999999 (0 when not given)\n"
    "  track NAME            the keys that follow belong to track NAME\n"
    "  POSITION VALUE [KIND] one key\n"
    "  events FILE           the song's events (ROW LENGTH KIND lines, written by demo-song)\n"
    "  on EVENT VALUE [ROWS] [OPTIONS]    hold VALUE while each EVENT lasts (or for ROWS)\n"
    "  pulse EVENT AMOUNT ROWS [OPTIONS]  add AMOUNT at each EVENT, easing back over ROWS\n"
    "  rise EVENT AMOUNT [ROWS] [OPTIONS] add from 0 up to AMOUNT over each EVENT (or ROWS)\n"
    "POSITION is a row number, or BAR:BEAT counted from 1, the bar in digits and the beat a plain\n"
    "decimal such as 2 or 2.5 (at 24 rows a second a beat is 1440 / BPM rows; times between\n"
    "rows go to the nearest row).\n"
    "VALUE is a decimal number, or bits:XXXXXXXX for a raw IEEE single such as a NaN. KIND is\n"
    "step, linear, smooth or ramp (the shape up to the next key), or a raw number from -128 to\n"
    "127; step when left out. Keys of a track must rise in row, at most 1000000 of them; values\n"
    "joined by linear, smooth or ramp must differ by less than a 32-bit float holds. Track\n"
    "names have at most 231 characters. Declarations hold for the lines after them.\n"
    "\n"
    "Accents (on, pulse, rise) make keys from the song's events: EVENT is a kind such as beat, kick,\n"
    "clap, riser, section:NAME, line:good, sing:good (a sung syllable, as long as the mouth is\n"
    "open) or stutter:evil. OPTIONS: every N, from POSITION, to POSITION, if-between LOW HIGH\n"
    "(only where the track's keys lie strictly between). An accent lies over the track's keys\n"
    "and the accents before it; the keys take over again when it ends.\n"
    "\n"
    "Example:\n"
    "  tempo 120                    # 12 rows a beat\n"
    "  track fade:bg_white\n"
    "  0        1      linear       # row 0: white\n"
    "  2:1      0      step         # bar 2, beat 1 (row 48): faded out\n"
    "  track tunnel:move\n"
    "  1:1      0      smooth\n"
    "  9:2.5    100.5  ramp         # halfway through beat 2 of bar 9\n"
    "  6651     200\n"
    "  events song.events\n"
    "  track avatar:good\n"
    "  9:1      2                   # Pip's face from bar 9 ...\n"
    "  on sing:good 5               # ... open-mouthed while he sings each syllable\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "demo-tracks: %s\n(see 'demo-tracks --help')\n", message.c_str());
    return exitUsage;
}

std::string keyCountText(size_t count) { return std::to_string(count) + (count == 1 ? " key" : " keys"); }

// The file name of a track named on the command line, or "" when the name is too long for one.
std::string commandLineFileName(const SyncDevice* device, const std::string& name) {
    const char* fileName = trackFileName(device->baseName, name.c_str());
    return fileName ? fileName : "";
}

bool parseRow(const std::string& word, double* row) {
    char* end = nullptr;
    *row = std::strtod(word.c_str(), &end);
    return !word.empty() && end == word.c_str() + word.size() && std::isfinite(*row);
}

// The grid of the source named by --source; an unknown grid when none is named. A message and
// an exit status when it cannot be read.
int readCommandGrid(const CommandLine& line, MusicalGrid* grid) {
    *grid = MusicalGrid{};
    std::string problem;
    if (line.source.empty() || readSourceGrid(line.source, grid, &problem)) return exitDone;
    std::fprintf(stderr, "demo-tracks: cannot read %s: %s\n", line.source.c_str(), problem.c_str());
    return exitFailed;
}

// A row given on the command line: a number, or BAR:BEAT on the source's grid within the show.
// "" with the row, or what is wrong.
std::string commandLineRow(const std::string& word, const CommandLine& line, const MusicalGrid& grid, double* row) {
    if (word.find(':') == std::string::npos) {
        return parseRow(word, row) ? "" : "row " + quotedWord(word) + " is not a finite number (nor BAR:BEAT)";
    }
    std::string problem = readBarBeatRow(word, grid, rowLimit, row);
    if (problem.empty() || grid.known) return problem;
    return line.source.empty() ? problem + ": name the choreography source with --source FILE"
                               : problem + ": " + line.source + " declares no tempo";
}

// Opens track NAME for eval and dump: a message and an exit status when its file is unusable.
int openNamedTrack(SyncDevice* device, const std::string& name, TrackFileReport* report) {
    std::string fileName = commandLineFileName(device, name);
    if (fileName.empty()) return usageError("track name " + quotedWord(name) + " is too long for a file name");
    inspectTrackFile(device, name.c_str(), report);
    if (!report->opened) {
        std::string problem = report->fileKind == FileKind::Missing
                                  ? "no file " + fileName + " in the current directory"
                                  : fileName + ": " + describeTrackFileProblems(*report)[0];
        std::fprintf(stderr, "demo-tracks: %s (the demo would see an empty track, 0 at every row)\n", problem.c_str());
        return exitFailed;
    }
    if (!trackFileIsWellFormed(*report)) {
        std::fprintf(stderr, "demo-tracks: warning: %s is damaged: %s\n", fileName.c_str(),
                     describeTrackFileProblems(*report)[0].c_str());
    }
    return exitDone;
}

int runEval(const CommandLine& line) {
    const Arguments& arguments = line.words;
    if (arguments.size() < 2) return usageError("eval needs a track name and at least one row");
    MusicalGrid grid;
    if (readCommandGrid(line, &grid) != exitDone) return exitFailed;
    std::vector<double> rows(arguments.size() - 1);
    for (size_t i = 1; i < arguments.size(); ++i) {
        std::string problem = commandLineRow(arguments[i], line, grid, &rows[i - 1]);
        if (!problem.empty()) return usageError(problem);
    }
    SyncDevice* device = createSyncDevice();
    if (!device) return exitFailed;
    TrackFileReport report;
    int status = openNamedTrack(device, arguments[0], &report);
    if (status == exitDone) {
        const SyncTrack* track = getTrack(device, arguments[0].c_str());
        for (double row : rows) std::printf("%.9g\n", static_cast<double>(evaluateTrack(track, row)));
    }
    destroySyncDevice(device);
    return status;
}

// The source text of the keys from row `from` up to, not including, `to`; with a known grid each
// key line ends in a comment giving its row as BAR:BEAT.
std::string dumpedKeys(const SyncTrack* track, double from, double to, const MusicalGrid& grid) {
    std::vector<TrackKey> keys;
    for (int32_t i = 0; i < track->keyCount; ++i) {
        if (track->keys[i].row >= from && track->keys[i].row < to) keys.push_back(track->keys[i]);
    }
    std::string text = formatTrackSource(track->name, keys.data(), int32_t(keys.size()));
    if (!grid.known) return text;
    std::string annotated;
    size_t start = 0;
    for (int line = -1; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        annotated += text.substr(start, end - start);
        std::string bar = line >= 0 ? barBeatText(grid, keys[size_t(line)].row) : "";
        if (!bar.empty()) annotated += "  # " + bar;
        annotated += "\n";
        start = end + 1;
    }
    return annotated;
}

int runDump(const CommandLine& line) {
    const Arguments& arguments = line.words;
    if (arguments.empty() || arguments.size() > 3)
        return usageError("dump needs one track name, then FROM and TO if any");
    MusicalGrid grid;
    if (readCommandGrid(line, &grid) != exitDone) return exitFailed;
    double range[2] = {-HUGE_VAL, HUGE_VAL};
    for (size_t i = 1; i < arguments.size(); ++i) {
        std::string problem = commandLineRow(arguments[i], line, grid, &range[i - 1]);
        if (!problem.empty()) return usageError(problem);
    }
    if (!(range[0] < range[1])) return usageError("dump's FROM must come before its TO");
    SyncDevice* device = createSyncDevice();
    if (!device) return exitFailed;
    TrackFileReport report;
    int status = openNamedTrack(device, arguments[0], &report);
    if (status == exitDone) {
        std::printf("# %s\n", commandLineFileName(device, arguments[0]).c_str());
        for (const std::string& problem : describeTrackFileProblems(report)) {
            std::printf("# damaged: %s\n", problem.c_str());
        }
        const SyncTrack* track = getTrack(device, arguments[0].c_str());
        std::fputs(dumpedKeys(track, range[0], range[1], grid).c_str(), stdout);
    }
    destroySyncDevice(device);
    return status;
}

int runCheck(const CommandLine& line) {
    const Arguments& arguments = line.words;
    if (!arguments.empty()) return usageError("check takes no arguments");
    SyncDevice* device = createSyncDevice();
    if (!device) return exitFailed;
    int damagedFiles = 0;
    for (const char* name : trackNames) {
        std::string fileName = commandLineFileName(device, name);
        TrackFileReport report;
        inspectTrackFile(device, name, &report);
        std::vector<std::string> problems = describeTrackFileProblems(report);
        if (problems.empty()) {
            std::printf("%s: ok, %s\n", fileName.c_str(), keyCountText(report.keyCount).c_str());
        }
        for (const std::string& problem : problems) {
            std::printf("%s: %s\n", fileName.c_str(), problem.c_str());
        }
        if (!trackFileIsWellFormed(report)) damagedFiles += 1;
    }
    destroySyncDevice(device);
    if (damagedFiles == 0) {
        std::printf("all %d track files are well formed\n", trackCount);
        return exitDone;
    }
    std::printf("%d of %d track files are not well formed\n", damagedFiles, trackCount);
    return exitFailed;
}

// Why a source file could not be read: what it is when it is no regular file, else errno's text.
std::string unreadableSourceReason(const char* path, int error) {
    const char* irregular = irregularFileText(fileKindAt(path));
    return irregular ? irregular : std::strerror(error);
}

// Prints what writing the tracks did: each file put in place, then the failure if there was one.
int reportWrittenTracks(const TrackSource& source, const TrackWriteOutcome& outcome) {
    for (int i = 0; i < outcome.placedTracks; ++i) {
        const SourceTrack& track = source.tracks[static_cast<size_t>(i)];
        std::printf("wrote %s, %s\n", trackFileName("sync", track.name.c_str()),
                    keyCountText(track.keys.size()).c_str());
    }
    if (outcome.failedTrack < 0) return exitDone;
    const SourceTrack& failed = source.tracks[static_cast<size_t>(outcome.failedTrack)];
    std::string consequence =
        outcome.placedTracks == 0 ? "no track file was changed" : "only the files listed above were replaced";
    std::fprintf(stderr, "demo-tracks: cannot write the file of track %s: %s; %s\n", quotedWord(failed.name).c_str(),
                 std::strerror(outcome.error), consequence.c_str());
    return exitFailed;
}

// Removes the track files of an earlier build that this source no longer writes.
void removeStaleFiles(const TrackSource& source) {
    std::vector<std::string> failures;
    for (const std::string& name : removeStaleTrackFiles(source, &failures)) {
        std::printf("removed %s, which the source no longer writes\n", name.c_str());
    }
    for (const std::string& failure : failures) {
        std::fprintf(stderr, "demo-tracks: warning: cannot remove a track file the source no longer writes: %s\n",
                     failure.c_str());
    }
}

int runBuild(const CommandLine& line) {
    const Arguments& arguments = line.words;
    if (arguments.size() != 1) return usageError("build needs exactly one source file");
    const char* sourcePath = arguments[0].c_str();
    std::string text;
    if (readTextFile(sourcePath, &text) != 0) {
        std::fprintf(stderr, "demo-tracks: cannot read %s: %s\n", sourcePath,
                     unreadableSourceReason(sourcePath, errno).c_str());
        return exitFailed;
    }
    TrackSource source = compileShowSource(text);
    for (const SourceError& error : source.errors) {
        std::fprintf(stderr, "%s:%d: %s\n", sourcePath, error.line, error.message.c_str());
    }
    if (!source.errors.empty()) {
        std::fprintf(stderr, "demo-tracks: %zu errors in %s; no file written\n", source.errors.size(), sourcePath);
        return exitFailed;
    }
    for (const SourceError& warning : source.warnings) {
        std::fprintf(stderr, "%s: warning: %s\n", sourcePath, warning.message.c_str());
    }
    int status = reportWrittenTracks(source, writeSourceTracks(source));
    if (status == exitDone) removeStaleFiles(source);
    return status;
}

int runCoverage(const CommandLine& line) {
    const Arguments& arguments = line.words;
    if (!arguments.empty()) return usageError("coverage takes no arguments");
    if (!isShowFolder()) {
        std::fprintf(stderr, "demo-tracks: %s\n", notAShowFolderText().c_str());
        return exitFailed;
    }
    SyncDevice* device = createSyncDevice();
    if (!device) return exitFailed;
    std::vector<CoverageEntry> entries = catalogueCoverage(requestTrackSet(device));
    destroySyncDevice(device);
    int never = 0;
    std::vector<ImageHole> holes;
    for (size_t i = 0; i < entries.size(); ++i) {
        const CoverageEntry& entry = entries[i];
        char shown[64] = "never shown";
        if (entry.firstRow >= 0) std::snprintf(shown, sizeof shown, "from row %g", entry.firstRow);
        if (entry.firstRow < 0) never += 1;
        if (entry.problem.empty()) {
            std::printf("%3zu  %-42s %s\n", i, entry.fileName.c_str(), shown);
            continue;
        }
        holes.push_back(ImageHole{entry.fileName, entry.problem});
        std::printf("%3zu  %-42s %s, but %s: a hole in the picture\n", i, entry.fileName.c_str(), shown,
                    entry.problem.c_str());
        std::fprintf(stderr, "demo-tracks: %s\n", imageHoleText(holes.back()).c_str());
    }
    if (never == 0 && holes.empty()) {
        std::printf("all %zu images are shown\n", entries.size());
        return exitDone;
    }
    std::string summary =
        never == 0 ? "every image is shown by the tracks"
                   : std::to_string(never) + " of " + std::to_string(entries.size()) + " images are never shown";
    if (!holes.empty()) summary += "; " + imageHolesSummary(holes);
    std::printf("%s\n", summary.c_str());
    return exitFailed;
}

const Command commands[] = {
    {"eval", runEval, evalHelp, true},
    {"dump", runDump, dumpHelp, true},
    {"check", runCheck, checkHelp, false},
    {"build", runBuild, buildHelp, false},
    {"coverage", runCoverage, coverageHelp, false},
};

bool isHelpOption(const std::string& word) { return word == "--help" || word == "-h"; }

// Prints a help text, the show's track names (from the one list the demo reads) in place of
// @TRACKS@, two spaces in and lines of at most 90 characters.
void printHelp(const char* help) {
    std::string text = help, names, line = " ";
    for (const char* name : trackNames) {
        if (line.size() + 1 + std::strlen(name) > 90) names += line + "\n", line = " ";
        line += std::string(" ") + name;
    }
    names += line + "\n";
    size_t at = text.find("@TRACKS@");
    if (at != std::string::npos) text.replace(at, 8, names);
    std::fputs(text.c_str(), stdout);
}

// Runs a command after taking out --help and --source FILE (where the command takes it) and
// refusing other options. Words that merely start with '-' are left alone: they may be negative
// rows.
int runCommand(const Command& command, const Arguments& arguments) {
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (isHelpOption(word)) {
            printHelp(command.help);
            return exitDone;
        }
        if (word == "--source" && command.takesSource) {
            if (i + 1 >= arguments.size()) return usageError("--source needs a file");
            line.source = arguments[++i];
        } else if (word.compare(0, 2, "--") == 0) {
            return usageError(std::string(command.name) + ": unknown option '" + word + "'");
        } else {
            line.words.push_back(word);
        }
    }
    return command.run(line);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usageError("no command given");
    std::string name = argv[1];
    if (isHelpOption(name)) {
        printHelp(toolHelp);
        return exitDone;
    }
    for (const Command& command : commands) {
        if (name == command.name) return runCommand(command, Arguments(argv + 2, argv + argc));
    }
    return usageError("unknown command '" + name + "' (commands: eval, dump, check, build, coverage)");
}
