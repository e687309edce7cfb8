// Spawning and feeding the encoder.
#include "platform/video_encoder.h"

#include <cerrno>
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
