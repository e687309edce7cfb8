// Writes the seed corpora of the fuzz targets with the library's own writer and printer: small
// real track files for the loader, text sources for the parser, small PNGs of every component
// count for the image decoder and short WAV files (which scripts/fuzz turns into MP3 with lame)
// for the song stream. Usage: make_seeds DIRECTORY
#include <sys/stat.h>
#include <unistd.h>

#include <stb/stb_image_write.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sync/track_file.h"
#include "sync/track_text.h"

namespace {

struct Seed {
    const char* name;
    std::vector<TrackKey> keys;
};

std::vector<Seed> seedTracks() {
    std::vector<TrackKey> many;
    for (int32_t i = 0; i < 600; ++i) many.push_back({i * 3, static_cast<float>(i % 17) * 0.5f, i % 5});
    return {
        {"empty", {}},
        {"one", {{12, 0.5f, 1}}},
        {"kinds", {{0, 0.0f, 0}, {10, 1.0f, 1}, {20, -2.0f, 2}, {30, 4.0f, 3}, {40, 8.0f, 0}}},
        {"odd", {{-5, 1.0f, 7}, {5, 2.0f, -1}, {5, 3.0f, 1}, {2, 0.25f, 2}}},
        {"limits", {{INT32_MIN, -1e30f, 1}, {0, 0.0f, 3}, {INT32_MAX, 1e30f, 2}}},
        {"many", many},
    };
}

int writeLoaderSeeds(const std::string& directory) {
    for (const Seed& seed : seedTracks()) {
        std::string path = directory + "/" + seed.name + ".track";
        if (writeTrackFile(path.c_str(), seed.keys.data(), static_cast<int32_t>(seed.keys.size())) != 0) return -1;
    }
    std::string cut = directory + "/cut.track";
    std::vector<TrackKey> kinds = seedTracks()[2].keys;
    if (writeTrackFile(cut.c_str(), kinds.data(), 5) != 0 || truncate(cut.c_str(), 30) != 0) return -1;
    return 0;
}

int writeText(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return -1;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written ? 0 : -1;
}

int writeTextSeeds(const std::string& directory) {
    for (const Seed& seed : seedTracks()) {
        std::string text = formatTrackSource(seed.name, seed.keys.data(), static_cast<int32_t>(seed.keys.size()));
        if (writeText(directory + "/" + seed.name + ".txt", text) != 0) return -1;
    }
    return writeText(directory + "/musical.txt",
                     "# musical time\ntempo 120\nbeats-per-bar 3\nstart-row 96\n"
                     "track tunnel:move\n1:1 0 smooth\n2:2.5 1.5 ramp\n9:3 bits:7fc00000 linear\n"
                     "tempo 133.5\ntrack fade:bg_white\n-3 1 7\n4:1.25 0\n");
}

// One PNG of the given shape whose bytes are a gradient, so that its filters and deflate blocks
// are not trivial.
int writeImage(const std::string& path, int width, int height, int components) {
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * size_t(components));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7 + i / 5);
    return stbi_write_png(path.c_str(), width, height, components, pixels.data(), width * components) != 0 ? 0 : -1;
}

// Every other format the decoder library knows, whole and damaged, so that the fuzzer starts
// from each of them: only PNG may be decoded, and no other format may hang or crash the reader.
int writeOtherFormatSeeds(const std::string& directory) {
    std::vector<unsigned char> pixels(8 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 13);
    std::vector<float> hdr(8 * 4 * 3, 0.5f);
    bool written = stbi_write_bmp((directory + "/image.bmp").c_str(), 8, 4, 4, pixels.data()) &&
                   stbi_write_tga((directory + "/image.tga").c_str(), 8, 4, 4, pixels.data()) &&
                   stbi_write_jpg((directory + "/image.jpg").c_str(), 8, 4, 3, pixels.data(), 90) &&
                   stbi_write_hdr((directory + "/image.hdr").c_str(), 8, 4, 3, hdr.data());
    if (!written) return -1;
    const struct {
        const char* name;
        std::string bytes;
    } handMade[] = {
        {"cut-rle.hdr", std::string("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 16\n\x02\x02\x00\x10\x82", 51)},
        {"header-only.ppm", "P6\n1024 256\n255\n"},
        {"grey.pgm", std::string("P5\n2 2\n255\n\x01\x02\x03\x04", 15)},
        {"image.gif",
         std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x00;", 26)},
        {"image.psd",
         std::string("8BPS\x00\x01\x00\x00\x00\x00\x00\x00\x00\x04\x00\x00\x00\x02\x00\x00\x00\x02\x00\x08\x00\x03",
                     26)},
        {"image.pic", std::string("\x53\x80\xf6\x34PICT", 8)},
    };
    for (const auto& seed : handMade) {
        if (writeText(directory + "/" + seed.name, seed.bytes) != 0) return -1;
    }
    return 0;
}

int writeImageSeeds(const std::string& directory) {
    struct Shape {
        const char* name;
        int width, height, components;
    };
    const Shape shapes[] = {{"grey", 8, 8, 1},  {"grey-alpha", 5, 3, 2}, {"rgb-odd", 7, 5, 3},
                            {"rgba", 16, 4, 4}, {"tall", 1, 33, 3},      {"dot", 1, 1, 4}};
    for (const Shape& shape : shapes) {
        std::string path = directory + "/" + shape.name + ".png";
        if (writeImage(path, shape.width, shape.height, shape.components) != 0) return -1;
    }
    return writeOtherFormatSeeds(directory);
}

void putLittleEndian(std::string* bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes->push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A 16-bit PCM WAV of a quarter second of a rising tone.
int writeWave(const std::string& path, uint32_t rate, uint16_t channels) {
    uint32_t frames = rate / 4;
    uint32_t dataBytes = frames * channels * 2;
    std::string bytes = "RIFF";
    putLittleEndian(&bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLittleEndian(&bytes, 16, 4);
    putLittleEndian(&bytes, 1, 2);
    putLittleEndian(&bytes, channels, 2);
    putLittleEndian(&bytes, rate, 4);
    putLittleEndian(&bytes, rate * channels * 2, 4);
    putLittleEndian(&bytes, channels * 2u, 2);
    putLittleEndian(&bytes, 16, 2);
    bytes += "data";
    putLittleEndian(&bytes, dataBytes, 4);
    for (uint32_t frame = 0; frame < frames; ++frame) {
        double phase = 2.0 * M_PI * (220.0 + frame * 0.02) * frame / rate;
        int16_t sample = static_cast<int16_t>(12000.0 * std::sin(phase));
        for (uint16_t channel = 0; channel < channels; ++channel)
            putLittleEndian(&bytes, static_cast<uint16_t>(sample), 2);
    }
    return writeText(path, bytes);
}

int writeSongSeeds(const std::string& directory) {
    if (writeWave(directory + "/stereo-44100.wav", 44100, 2) != 0) return -1;
    return writeWave(directory + "/mono-22050.wav", 22050, 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIRECTORY\n");
        return 2;
    }
    std::string base = argv[1];
    mkdir(base.c_str(), 0755);
    std::string loader = base + "/track_loader_fuzz", text = base + "/track_text_fuzz";
    std::string image = base + "/image_decode_fuzz", song = base + "/song_open_fuzz";
    for (const std::string& directory : {loader, text, image, song}) mkdir(directory.c_str(), 0755);
    if (writeLoaderSeeds(loader) != 0 || writeTextSeeds(text) != 0 || writeImageSeeds(image) != 0 ||
        writeSongSeeds(song) != 0) {
        std::perror("make_seeds");
        return 1;
    }
    return 0;
}
