// The demo's entry point in a browser: the same start-up, loop and shutdown as on the desktop,
// the loop run one step per animation frame. The page may hand it a starting row (--row ROW) and
// ask for a still frame (--still): the song held paused at that row and the frame drawn as the
// capture tool draws it, so a page can be compared with a capture.
#include "base/number_words.h"
#include "platform/web/frame_loop.h"
#include "runtime/demo.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

bool parseStart(int argc, char** argv, DemoStart* start) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--still") == 0) {
            start->still = true;
        } else if (std::strcmp(argv[i], "--row") == 0 && i + 1 < argc) {
            double row = 0.0;
            if (!parseFiniteDouble(argv[++i], &row) || row < 0.0 || row >= rowLimit) return false;
            start->row = row;
        } else {
            return false;
        }
    }
    return true;
}

bool stepOnce(void* context) { return stepDemo(static_cast<Demo*>(context)); }

void finish(void* context) {
    int status = finishDemo(static_cast<Demo*>(context));
    std::printf("demo: the show ended with status %d\n", status);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    static Demo demo;
    DemoStart start;
    if (!parseStart(argc, argv, &start)) {
        std::fprintf(stderr, "demo: the page's arguments are --row ROW (0 to %g) and --still\n", rowLimit);
        return 2;
    }
    if (!startDemo(&demo, start)) {
        std::printf("demo: the show ended with status -1\n");
        std::fflush(stdout);
        return -1;
    }
    runEachAnimationFrame(stepOnce, finish, &demo);
    return 0;
}
