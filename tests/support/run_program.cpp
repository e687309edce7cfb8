// Runs a command through the shell with its output captured in files.
#include "support/run_program.h"

#include "support/audio_fixtures.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ProgramResult runCommand(const std::string& command, const std::string& folder) {
    TempDir capture;
    std::string line = "cd " + shellQuote(folder) + " && ( " + command + " ) >" + shellQuote(capture.file("out")) +
                       " 2>" + shellQuote(capture.file("err"));
    int raw = std::system(line.c_str());
    ProgramResult result;
    if (WIFEXITED(raw)) {
        result.status = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        result.status = 128 + WTERMSIG(raw);
    } else {
        result.status = -1;
    }
    result.out = readText(capture.file("out"));
    result.err = readText(capture.file("err"));
    return result;
}

std::string builtProgram(const std::string& name) { return std::string(DEMO_BIN_DIR) + "/" + name; }
