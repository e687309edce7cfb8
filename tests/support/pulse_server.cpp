// Starting, capturing and stopping a private PulseAudio server.
#include "support/pulse_server.h"

#include "platform/playback_clock.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool waitForFile(const std::string& path, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (access(path.c_str(), F_OK) == 0) return true;
        usleep(20000);
    }
    return false;
}

void readLoop(PulseServer* server) {
    std::vector<char> chunk(65536);
    std::vector<char> pending;
    while (!server->stopReading) {
        pollfd fd = {server->fifo, POLLIN, 0};
        if (poll(&fd, 1, 50) <= 0) continue;
        ssize_t got = read(server->fifo, chunk.data(), chunk.size());
        if (got <= 0) continue;
        pending.insert(pending.end(), chunk.begin(), chunk.begin() + got);
        size_t whole = pending.size() / 2 * 2;
        std::lock_guard<std::mutex> lock(server->captureMutex);
        for (size_t i = 0; i < whole; i += 2) {
            server->captured.push_back(int16_t(uint16_t(uint8_t(pending[i])) | uint16_t(uint8_t(pending[i + 1])) << 8));
        }
        pending.erase(pending.begin(), pending.begin() + long(whole));
        server->arrivals.emplace_back(monotonicSeconds(), server->captured.size() / 2);
    }
}

}  // namespace

bool PulseServer::start() {
    fifoPath = dir.file("sink.fifo");
    if (mkfifo(fifoPath.c_str(), 0600) != 0) return false;
    fifo = open(fifoPath.c_str(), O_RDONLY | O_NONBLOCK);
    if (fifo < 0) return false;
    setenv("XDG_RUNTIME_DIR", dir.path.c_str(), 1);
    setenv("HOME", dir.path.c_str(), 1);  // keeps the server's state files inside the folder
    std::string command =
        "pulseaudio -n -D --exit-idle-time=-1 --disallow-exit --log-target=file:" + dir.file("server.log") +
        " -L module-native-protocol-unix"
        " -L 'module-pipe-sink file=" +
        fifoPath +
        " sink_name=capture format=s16le rate=44100 channels=2 use_system_clock_for_timing=yes'"
        " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    std::string socket = dir.file("pulse/native");
    if (!waitForFile(socket, 5000)) return false;
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    running = true;
    reader = std::thread(readLoop, this);
    return true;
}

void PulseServer::stop() {
    if (reader.joinable()) {
        stopReading = true;
        reader.join();
    }
    if (running) {
        std::string command = "XDG_RUNTIME_DIR='" + dir.path + "' pulseaudio --kill >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            // Already gone: nothing to stop.
        }
        running = false;
    }
    if (fifo >= 0) {
        close(fifo);
        fifo = -1;
    }
}

std::vector<int16_t> PulseServer::capture() {
    std::lock_guard<std::mutex> lock(captureMutex);
    return captured;
}
