// demo-check: checks the show folder in the current directory before a showing: the catalogue
// images, the track files, the song and the shaders; with --lint, also the rules a show must live
// with, as a viewer sees it. This file parses arguments and prints; the checks and the lint are
// in the offline library (offline/show_check.h, offline/lint.h).
#include <cstdio>
#include <cstring>
#include <string>

#include "base/tool_exit.h"
#include "offline/lint_rows.h"
#include "offline/show_check.h"
#include "offline/lint.h"
#include "runtime/show_folder.h"

namespace {

const char* const toolHelp =
    "Usage: demo-check [--lint [--source FILE]]\n"
    "\n"
    "Run in a show folder: checks everything the demo reads there and prints one line per\n"
    "problem, the file first, then a summary line. Outside a show folder it says so, once.\n"
    "  - the 145 catalogue images: present, decodable, no side over 8192, a size that suits\n"
    "    where the show draws each one (1280x720 design space), and for the faces,\n"
    "    photographs, cards and credits the size the art generator drew in their place\n"
    "    (generated-images.txt)\n"
    "  - the 20 track files: well formed, as 'demo-tracks check' reports them\n"
    "  - data/mirekand2013.mp3: MP3 at 44100 Hz stereo, lasting the show's 6651 rows\n"
    "  - data/shaders/default.vs and noise.fs: compiling and linking in an offscreen GL\n"
    "    context, with the uniforms time and alpha\n"
    "\n"
    "--lint then judges the show as a viewer sees it, one line per finding (the rule, the\n"
    "rows, the images), then a summary line of the rules:\n"
    "  bubbles      a character with a visible, empty bubble for more than a bar; both\n"
    "               lyrics up at once\n"
    "  hidden text  lyrics, feature cards, credits or the logo of which some eighth gets less\n"
    "               than 60 % through the layers drawn over it (images: at any row; static,\n"
    "               fades and its own opacity: for over a quarter of a showing)\n"
    "  flashes      more than 3 general flashes in any second (WCAG 2.3.1), in frames\n"
    "               rendered offscreen at 160x90, one a row\n"
    "  safe area    text outside x 64-1216, y 36-684 at its placement, sways included\n"
    "  song         the song still sounding after row 6651 (above -60 dBFS), or ending before\n"
    "  still face   a sung line (song.events) whose singer's face changes less than once\n"
    "               every two syllables, or is not shown; not judged without song.events\n"
    "  short lyric  a sung line (song.events) whose lyric is shown for fewer rows than it is\n"
    "               sung (the face with a lyric picked); not judged without song.events\n"
    "  backdrop     one backdrop (the refrain picture at one height, a screen-wide\n"
    "               pictogram, a tunnel design and image) for more than 8 bars and a beat\n"
    "  seams        a tunnel image shown whose border is drawn (mean opacity over 0.15 in\n"
    "               its outer 3 %): every ring would show a hard square edge\n"
    "--source FILE  the choreography source: findings also give bar:beat from its tempo and\n"
    "               the source line of the key behind them (without it, rows and the track\n"
    "               only, and a bar is taken as 48 rows)\n"
    "\n"
    "Exit status: 0 no problem, 1 problems or findings, 2 bad arguments.\n";

struct Options {
    bool lint = false;
    std::string source;
};

// False with a message on standard error when the arguments are not understood.
bool parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lint") == 0) {
            options->lint = true;
        } else if (std::strcmp(argv[i], "--source") == 0 && i + 1 < argc && options->source.empty()) {
            options->source = argv[++i];
        } else {
            std::fprintf(stderr, "demo-check: unexpected argument '%s'\n", argv[i]);
            return false;
        }
    }
    if (!options->source.empty() && !options->lint) {
        std::fprintf(stderr, "demo-check: --source goes with --lint\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(toolHelp, stdout);
        return exitDone;
    }
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "(see 'demo-check --help')\n");
        return exitUsage;
    }
    MusicalGrid grid;
    std::string sourceProblem;
    if (!options.source.empty() && !readSourceGrid(options.source, &grid, &sourceProblem)) {
        std::fprintf(stderr, "demo-check: cannot read %s: %s\n", options.source.c_str(), sourceProblem.c_str());
        return exitUsage;
    }
    if (!isShowFolder()) {
        std::fprintf(stderr, "demo-check: %s\n", notAShowFolderText().c_str());
        return exitFailed;
    }
    ProblemList problems = checkShowFolder();
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    if (problems.empty()) {
        std::printf("show folder ok: images, track files, song and shaders\n");
    } else {
        std::printf("%zu problem%s found\n", problems.size(), problems.size() == 1 ? "" : "s");
    }
    if (!options.lint) return problems.empty() ? exitDone : exitFailed;
    if (!options.source.empty() && !grid.known) {
        std::printf("lint: %s declares no tempo; positions are given in rows\n", options.source.c_str());
    }
    std::fflush(stdout);
    LintReport report = lintShowFolder(grid, options.source);
    for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
    std::printf("%s\n", report.summary.c_str());
    return problems.empty() && !report.failed ? exitDone : exitFailed;
}
