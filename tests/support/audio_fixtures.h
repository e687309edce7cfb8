// Test helpers for sound: temporary folders, test tones written as WAV and encoded to MP3 with the
// real lame encoder, and whole-file decoding through the layer's own decoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it when the object goes.
struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return path + "/" + name; }
};

// A quiet sine tone with full-scale clicks (one sample of +30000 then -30000) at the given
// frames, interleaved over the given channel count.
std::vector<int16_t> toneWithClicks(int rate, int channels, double seconds, const std::vector<long>& clickFrames);

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels);

// Runs lame on a WAV file (with its info tag, so decoding is gapless). Returns true on success.
bool encodeMp3(const std::string& wavPath, const std::string& mp3Path, const std::string& extraArguments = "");

// Makes an MP3 of a tone with clicks in one step.
bool makeSong(const std::string& mp3Path, int rate, int channels, double seconds,
              const std::vector<long>& clickFrames = {});

// The samples of a 16-bit stereo WAV as demo-song writes it (a 44-byte header), left and right
// averaged, in -1 .. 1; empty when the file is no such WAV.
std::vector<double> wavMono(const std::string& path);

// Decodes a whole file through the layer's decoder (16-bit stereo, 44100 Hz).
std::vector<int16_t> decodeWholeSong(const std::string& path);

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> readBytes(const std::string& path);
