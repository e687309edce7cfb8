// Spawning and feeding the encoder, and the partial file it writes until the output is whole.
#include "platform/video_encoder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool startEncoder(VideoEncoder* encoder, const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], 0);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    int failed = posix_spawnp(&encoder->pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[0]);
    if (failed) {
        close(pipeEnds[1]);
        encoder->pid = -1;
        return false;
    }
    encoder->input = pipeEnds[1];
    return true;
}

bool writeToEncoder(VideoEncoder* encoder, const uint8_t* data, size_t bytes) {
    while (bytes > 0) {
        ssize_t written = write(encoder->input, data, bytes);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        bytes -= size_t(written);
    }
    return true;
}

int finishEncoder(VideoEncoder* encoder) {
    if (encoder->input >= 0) close(encoder->input);
    encoder->input = -1;
    if (encoder->pid <= 0) return -1;
    int status = 0;
    while (waitpid(encoder->pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    encoder->pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string partialFileName(const std::string& target) {
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) dot = name.size();
    return folder + "." + name.substr(0, dot) + ".partial" + name.substr(dot);
}

bool keepPartialFile(const std::string& partial, const std::string& target) {
    int file = open(partial.c_str(), O_RDONLY | O_CLOEXEC);
    bool flushed = file >= 0 && fsync(file) == 0;
    if (file >= 0) close(file);
    if (flushed && rename(partial.c_str(), target.c_str()) == 0) return true;
    discardPartialFile(partial);
    return false;
}

void discardPartialFile(const std::string& partial) { unlink(partial.c_str()); }
