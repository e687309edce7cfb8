// MP3 encoding with libmp3lame and 16-bit WAV writing.
#include "song_output.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/show_facts.h"
#include "base/wav_header.h"

namespace {

FILE* openForWriting(const std::string& path) {
    std::error_code error;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, error);
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) perror(path.c_str());
    return file;
}

int closeWritten(FILE* file, const std::string& path, bool ok) {
    bool closed = fclose(file) == 0;
    if (ok && closed) return 0;
    fprintf(stderr, "demo-song: cannot write %s\n", path.c_str());
    return -1;
}

int16_t toPcm16(float sample) {
    double scaled = std::round(double(sample) * 32767.0);
    return int16_t(std::fmax(-32768.0, std::fmin(32767.0, scaled)));
}

// The encoder, set up for 256 kbit/s joint stereo (at 192 the encoder drops enough of the
// cymbals to lose 0.3 LU) with the info tag and no ID3 tags.
lame_t makeEncoder() {
    lame_t encoder = lame_init();
    if (!encoder) return nullptr;
    lame_set_in_samplerate(encoder, int(songOutputRate));
    lame_set_out_samplerate(encoder, int(songOutputRate));
    lame_set_num_channels(encoder, songOutputChannels);
    lame_set_mode(encoder, JOINT_STEREO);
    lame_set_brate(encoder, 256);
    lame_set_quality(encoder, 5);
    lame_set_bWriteVbrTag(encoder, 1);
    lame_set_write_id3tag_automatic(encoder, 0);
    if (lame_init_params(encoder) < 0) {
        lame_close(encoder);
        return nullptr;
    }
    return encoder;
}

}  // namespace

int writeMp3(const std::string& path, const std::vector<float>& stereo) {
    lame_t encoder = makeEncoder();
    if (!encoder) {
        fprintf(stderr, "demo-song: the MP3 encoder cannot be set up\n");
        return -1;
    }
    FILE* out = openForWriting(path);
    if (!out) {
        lame_close(encoder);
        return -1;
    }
    const int chunkFrames = 8192;
    std::vector<unsigned char> buffer(size_t(chunkFrames * 5 / 4 + 7200));
    size_t frames = stereo.size() / 2;
    bool ok = true;
    for (size_t first = 0; first < frames && ok; first += chunkFrames) {
        int count = int(std::min<size_t>(chunkFrames, frames - first));
        int bytes = lame_encode_buffer_interleaved_ieee_float(encoder, stereo.data() + 2 * first, count, buffer.data(),
                                                              int(buffer.size()));
        ok = bytes >= 0 && fwrite(buffer.data(), 1, size_t(bytes), out) == size_t(bytes);
    }
    if (ok) {
        int bytes = lame_encode_flush(encoder, buffer.data(), int(buffer.size()));
        ok = bytes >= 0 && fwrite(buffer.data(), 1, size_t(bytes), out) == size_t(bytes);
    }
    // The first frame of the stream was kept free for the info tag, which is only complete now.
    if (ok) {
        size_t tagBytes = lame_get_lametag_frame(encoder, buffer.data(), buffer.size());
        ok = tagBytes > 0 && tagBytes <= buffer.size() && fseek(out, 0, SEEK_SET) == 0 &&
             fwrite(buffer.data(), 1, tagBytes, out) == tagBytes;
    }
    lame_close(encoder);
    return closeWritten(out, path, ok);
}

int writeWav(const std::string& path, const std::vector<float>& stereo) {
    FILE* out = openForWriting(path);
    if (!out) return -1;
    uint64_t dataBytes = uint64_t(stereo.size()) * songBytesPerSample;
    bool ok = dataBytes <= wavMostDataBytes && writeWavHeader(out, uint32_t(dataBytes));
    std::vector<int16_t> pcm(stereo.size());
    for (size_t i = 0; i < stereo.size(); ++i) pcm[i] = toPcm16(stereo[i]);
    ok = ok && fwrite(pcm.data(), sizeof(int16_t), pcm.size(), out) == pcm.size();
    return closeWritten(out, path, ok);
}
