// The lines the show's tools share on the way out.
#include "base/tool_exit.h"

std::string incompleteShowFolderText(const std::vector<std::string>& missing) {
    if (missing.empty()) return "the show folder is incomplete";
    std::string text = "the show folder is incomplete: " + missing[0] + " is missing";
    if (missing.size() > 1) text += " (and " + std::to_string(missing.size() - 1) + " more)";
    return text;
}

std::string helpHintText(const char* tool) { return std::string("(") + tool + " --help shows the options)"; }

std::string notAShowFolderText() {
    return "the current directory is not a show folder: none of the show's files (data/, sync_*.track) are here; "
           "run it in one, such as build/show";
}
