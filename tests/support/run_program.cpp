// Runs a command through the shell with its output captured in files.
#include "support/run_program.h"

#include "support/audio_fixtures.h"

#include <cstdlib>
#include <sys/wait.h>

namespace {

std::string readText(const std::string& path) {
    std::vector<unsigned char> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
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
    int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
    return ProgramResult{status, readText(capture.file("out")), readText(capture.file("err"))};
}

std::string builtProgram(const std::string& name) { return std::string(DEMO_BIN_DIR) + "/" + name; }
