// An encoder process (ffmpeg) fed raw frames through a pipe. It runs in a process group of its
// own, so a Ctrl-C at the terminal reaches only the capture tool, which then closes the pipe and
// lets the encoder finish a playable file.
//
// A file output is written under a partial name beside its target (same folder, so same file
// system, and same extension, so the encoder picks the same format) and moved to the target only
// once it is whole: a capture that fails leaves the target as it was and nothing partial behind.
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

// The name a file output is written under until it is whole: "dir/show.mkv" gives
// "dir/.show.partial.mkv".
std::string partialFileName(const std::string& target);
// Flushes the partial file to the disk and moves it onto the target. False when either fails
// (a full disk can show only here); the partial file is then removed.
bool keepPartialFile(const std::string& partial, const std::string& target);
// Removes the partial file (it may not exist).
void discardPartialFile(const std::string& partial);
