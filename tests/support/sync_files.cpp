// Scratch directories, hand-made track file bytes and running demo-tracks, for the sync tests.
#include "support/sync_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

ScratchDirectory::ScratchDirectory() {
    previous = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "sync-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()) || chdir(buffer.data()) != 0) {
        ADD_FAILURE() << "cannot make a scratch directory from " << pattern;
        return;
    }
    path = buffer.data();
}

ScratchDirectory::~ScratchDirectory() {
    if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous;
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

namespace {

void appendLittleEndian(std::string* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes->push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

}  // namespace

std::string trackFileBytes(int32_t count, const std::vector<TrackKey>& keys) {
    std::string bytes;
    appendLittleEndian(&bytes, static_cast<uint32_t>(count));
    for (const TrackKey& key : keys) {
        appendLittleEndian(&bytes, static_cast<uint32_t>(key.row));
        appendLittleEndian(&bytes, floatBits(key.value));
        bytes.push_back(static_cast<char>(key.kind & 0xff));
    }
    return bytes;
}

std::string trackFileBytes(const std::vector<TrackKey>& keys) {
    return trackFileBytes(static_cast<int32_t>(keys.size()), keys);
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) ADD_FAILURE() << "cannot write " << path;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

ToolRun runTracksTool(const std::vector<std::string>& arguments) {
    std::string tool = std::string(DEMO_BIN_DIR) + "/demo-tracks";
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::string outPath = (std::filesystem::temp_directory_path() / "sync-tool-XXXXXX").string();
    std::string errPath = outPath;
    int outFile = mkstemp(outPath.data());
    int errFile = mkstemp(errPath.data());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFile, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFile, STDERR_FILENO);
    pid_t child = -1;
    int waitStatus = 0;
    ToolRun run{-1, "", ""};
    if (posix_spawn(&child, tool.c_str(), &actions, nullptr, argv.data(), environ) == 0 &&
        waitpid(child, &waitStatus, 0) == child && WIFEXITED(waitStatus)) {
        run.status = WEXITSTATUS(waitStatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outFile);
    close(errFile);
    run.out = readFileBytes(outPath);
    run.err = readFileBytes(errPath);
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return run;
}
