// An encoder process (ffmpeg) fed raw frames through a pipe. It runs in a process group of its
// own, so a Ctrl-C at the terminal reaches only the capture tool, which then closes the pipe and
// lets the encoder finish a playable file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct VideoEncoder {
    pid_t pid = -1;
    int input = -1;
};

// Starts the program with the arguments (the first is the program, found on PATH).
bool startEncoder(VideoEncoder* encoder, const std::vector<std::string>& arguments);
// False when the encoder has gone away.
bool writeToEncoder(VideoEncoder* encoder, const uint8_t* data, size_t bytes);
// Closes the pipe and waits; returns the encoder's exit status (-1 when it did not exit normally).
int finishEncoder(VideoEncoder* encoder);
