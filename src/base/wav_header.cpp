// The WAV header of the song's PCM.
#include "base/wav_header.h"

#include "base/show_facts.h"

namespace {

bool putLittleEndian(FILE* out, uint32_t value) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t((value >> (8 * i)) & 0xff);
    return fwrite(bytes, 1, 4, out) == 4;
}

}  // namespace

bool writeWavHeader(FILE* out, uint32_t dataBytes) {
    // The format chunk: its size, PCM with the song's channels, rate, byte rate, frame size and
    // bits a sample.
    const uint32_t format[] = {16, 1 | (uint32_t(songOutputChannels) << 16), uint32_t(songOutputRate),
                               uint32_t(songBytesPerSecond),
                               uint32_t(songBytesPerFrame) | (uint32_t(8 * songBytesPerSample) << 16)};
    bool good = fseek(out, 0, SEEK_SET) == 0 && fwrite("RIFF", 1, 4, out) == 4 &&
                putLittleEndian(out, 36 + dataBytes) && fwrite("WAVEfmt ", 1, 8, out) == 8;
    for (uint32_t word : format) good = good && putLittleEndian(out, word);
    return good && fwrite("data", 1, 4, out) == 4 && putLittleEndian(out, dataBytes) && fseek(out, 0, SEEK_END) == 0;
}
