// A real PulseAudio server for a test, private to it: its own runtime folder, one sink that
// writes everything played into a FIFO, and a thread that reads the FIFO into memory.
#pragma once

#include "support/audio_fixtures.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct PulseServer {
    TempDir dir;
    std::string fifoPath;
    int fifo = -1;
    bool running = false;
    std::thread reader;
    std::atomic<bool> stopReading{false};
    std::mutex captureMutex;
    std::vector<int16_t> captured;  // interleaved stereo, 44100 Hz
    // When each read from the sink's FIFO arrived (monotonic seconds) and how many stereo frames
    // had been captured by then. The sink writes in real time, in whole blocks: a block's first
    // frame starts to be heard when it arrives, its last one a block later.
    std::vector<std::pair<double, size_t>> arrivals;

    // Starts the server with the FIFO sink as its default sink and points this process's sound
    // clients (PULSE_SERVER) at it. Returns false when it cannot be started.
    bool start();
    // Stops reading and stops the server.
    void stop();
    std::vector<int16_t> capture();
    ~PulseServer() { stop(); }
};
