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
#include "fuzz_input.h"

namespace {

constexpr size_t chunkFrames = 1152;
constexpr size_t maximumFrames = 2 * songOutputRate;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* inputPath = writeFuzzInput(data, size);
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
