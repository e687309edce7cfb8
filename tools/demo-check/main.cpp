// demo-check: checks the show folder in the current directory before a showing: the catalogue
// images, the track files, the song and the shaders. This file parses arguments and prints; the
// checks themselves are in the runtime library (runtime/show_check.h).
#include <cstdio>
#include <cstring>

#include "runtime/show_check.h"

namespace {

constexpr int exitProblems = 1;
constexpr int exitUsage = 2;

const char* const toolHelp =
    "Usage: demo-check\n"
    "\n"
    "Run in a show folder: checks everything the demo reads there and prints one line per\n"
    "problem, the file first, then a summary line.\n"
    "  - the 145 catalogue images: present, decodable, no side over 8192, and a size that\n"
    "    suits where the show draws each one (1280x720 design space)\n"
    "  - the 20 track files: well formed, as 'demo-tracks check' reports them\n"
    "  - data/mirekand2013.mp3: MP3 at 44100 Hz stereo, lasting the show's 6651 rows\n"
    "  - data/shaders/default.vs and noise.fs: compiling and linking in an offscreen GL\n"
    "    context, with the uniforms time and alpha\n"
    "\n"
    "Exit status: 0 no problem, 1 problems found, 2 bad arguments.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(toolHelp, stdout);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "demo-check: takes no arguments\n(see 'demo-check --help')\n");
        return exitUsage;
    }
    ProblemList problems = checkShowFolder();
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    if (problems.empty()) {
        std::printf("show folder ok: images, track files, song and shaders\n");
        return 0;
    }
    std::printf("%zu problem%s found\n", problems.size(), problems.size() == 1 ? "" : "s");
    return exitProblems;
}
