// Sound fixtures for the tests: real files, made by the tests themselves.
#include "support/audio_fixtures.h"

#include "platform/song_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

TempDir::TempDir() {
    char pattern[] = "/tmp/demo-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) {
        perror("mkdtemp");
        std::abort();
    }
    path = made;
}

TempDir::~TempDir() {
    std::string command = "rm -rf '" + path + "'";
    if (std::system(command.c_str()) != 0) perror("rm");
}

std::vector<int16_t> toneWithClicks(int rate, int channels, double seconds, const std::vector<long>& clickFrames) {
    long frames = long(seconds * rate);
    std::vector<int16_t> samples(size_t(frames) * channels);
    for (long i = 0; i < frames; ++i) {
        double phase = 2.0 * M_PI * 440.0 * double(i) / rate;
        for (int c = 0; c < channels; ++c) {
            samples[size_t(i) * channels + c] = int16_t(3000.0 * std::sin(phase * (1 + c)));
        }
    }
    for (long click : clickFrames) {
        for (int c = 0; c < channels; ++c) {
            if (click >= 0 && click < frames) samples[size_t(click) * channels + c] = 30000;
            if (click + 1 < frames) samples[size_t(click + 1) * channels + c] = -30000;
        }
    }
    return samples;
}

namespace {

void putLE(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(char((value >> (8 * i)) & 0xff));
}

}  // namespace

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels) {
    std::ofstream out(path, std::ios::binary);
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    putLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLE(out, 16, 4);
    putLE(out, 1, 2);
    putLE(out, uint32_t(channels), 2);
    putLE(out, uint32_t(rate), 4);
    putLE(out, uint32_t(rate * channels * 2), 4);
    putLE(out, uint32_t(channels * 2), 2);
    putLE(out, 16, 2);
    out.write("data", 4);
    putLE(out, dataBytes, 4);
    for (int16_t s : samples) putLE(out, uint16_t(s), 2);
    return bool(out);
}

bool encodeMp3(const std::string& wavPath, const std::string& mp3Path, const std::string& extraArguments) {
    std::string command = "lame --quiet -b 192 " + extraArguments + " '" + wavPath + "' '" + mp3Path + "'";
    return std::system(command.c_str()) == 0;
}

bool makeSong(const std::string& mp3Path, int rate, int channels, double seconds,
              const std::vector<long>& clickFrames) {
    std::string wavPath = mp3Path + ".wav";
    bool made = writeWav(wavPath, toneWithClicks(rate, channels, seconds, clickFrames), rate, channels) &&
                encodeMp3(wavPath, mp3Path);
    unlink(wavPath.c_str());
    return made;
}

std::vector<int16_t> decodeWholeSong(const std::string& path) {
    std::vector<int16_t> samples;
    SongStream* stream = nullptr;
    if (openSongStream(path.c_str(), &stream) != 0) return samples;
    std::vector<int16_t> chunk(4096 * 2);
    while (size_t frames = readSongFrames(stream, chunk.data(), 4096)) {
        samples.insert(samples.end(), chunk.begin(), chunk.begin() + long(frames * 2));
    }
    closeSongStream(stream);
    return samples;
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<double> wavMono(const std::string& path) {
    std::vector<unsigned char> bytes = readBytes(path);
    std::vector<double> mono;
    auto at = [&](size_t offset, const char* text) { return std::equal(text, text + 4, bytes.begin() + long(offset)); };
    if (bytes.size() < 44 || !at(0, "RIFF") || !at(36, "data")) return mono;
    const unsigned char* data = bytes.data() + 44;
    size_t frames = (bytes.size() - 44) / 4;
    mono.reserve(frames);
    for (size_t i = 0; i < frames; ++i) {
        int16_t left = int16_t(data[4 * i] | (data[4 * i + 1] << 8));
        int16_t right = int16_t(data[4 * i + 2] | (data[4 * i + 3] << 8));
        mono.push_back((left + right) / 65536.0);
    }
    return mono;
}
