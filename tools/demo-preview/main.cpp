// demo-preview: the show in a window for the people who make it. It plays from any point with its
// song, pauses, moves by beats and bars, loops, and takes in every saved change of the
// choreography source and the show folder without stopping.
#include "arguments.h"
#include "preview.h"

#include "base/tool_exit.h"
#include "runtime/show_folder.h"

#include <cstdio>

namespace {

int fail(const std::string& problem) {
    fprintf(stderr, "demo-preview: %s\n", problem.c_str());
    return exitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    PreviewOptions options;
    std::string problem = parsePreviewOptions(argc, argv, &options);
    if (options.help && problem.empty()) {
        fputs(previewUsage, stdout);
        return exitDone;
    }
    Preview preview;
    preview.trace = options.trace;
    double start = 0.0;
    if (problem.empty()) problem = resolveStart(options, &preview.grid, &start);
    if (!problem.empty()) {
        fprintf(stderr, "demo-preview: %s\n%s\n", problem.c_str(), helpHintText("demo-preview").c_str());
        return exitUsage;
    }
    std::vector<std::string> missing = missingShowFiles();
    if (!missing.empty()) {
        return fail(incompleteShowFolderText(missing));
    }
    problem = openPreview(&preview, options.width, options.height, options.source);
    if (!problem.empty()) {
        closePreview(&preview);
        return fail(problem);
    }
    preview.transport.paused = true;  // the channel starts paused
    seekPreview(&preview, start);
    if (!options.paused) setPreviewPaused(&preview, false);
    runPreview(&preview);
    closePreview(&preview);
    return exitDone;
}
