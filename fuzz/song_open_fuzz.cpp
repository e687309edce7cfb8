// Fuzz target: any bytes as the song file for the sound layer. The bytes are written to one
// temporary file, rewritten for every input, opened as a song stream and decoded in chunks for at
// most two seconds of output, so that a long valid file cannot slow the run. Checks that opening
// either yields a stream or a null one, and that no read delivers more frames than asked for.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/song_stream.h"

namespace {

constexpr size_t chunkFrames = 1152;
constexpr size_t maximumFrames = 2 * songOutputRate;

void require(bool condition) {
    if (!condition) std::abort();
}

// The temporary file, made once per process and removed from the directory at once; inputs are
// reached through /proc/self/fd so nothing is left behind however the run ends.
int inputDescriptor = -1;
char inputPath[64] = "";

void writeInput(const uint8_t* data, size_t size) {
    if (inputDescriptor < 0) {
        char pattern[] = "/tmp/song_open_fuzz.XXXXXX";
        inputDescriptor = mkstemp(pattern);
        require(inputDescriptor >= 0);
        unlink(pattern);
        std::snprintf(inputPath, sizeof inputPath, "/proc/self/fd/%d", inputDescriptor);
    }
    require(ftruncate(inputDescriptor, 0) == 0);
    size_t written = 0;
    while (written < size) {
        ssize_t done = pwrite(inputDescriptor, data + written, size - written, off_t(written));
        require(done > 0);
        written += size_t(done);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    SongStream* stream = nullptr;
    int status = openSongStream(inputPath, &stream);
    if (status != 0) {
        require(stream == nullptr);
        return 0;
    }
    require(stream != nullptr);
    static int16_t samples[chunkFrames * songOutputChannels];
    size_t total = 0;
    while (total < maximumFrames) {
        size_t frames = readSongFrames(stream, samples, chunkFrames);
        require(frames <= chunkFrames);
        if (frames == 0) break;
        total += frames;
    }
    require(songStreamInputOffset(stream) >= 0);
    closeSongStream(stream);
    return 0;
}
