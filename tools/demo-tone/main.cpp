// demo-tone: writes a stand-in song as a WAV file: a soft chord with a metronome at 120 beats a
// minute (one beat every 12 rows), louder on the first beat of each bar of four. The build
// encodes it with lame into the show folder while the show has no song of its own.
//
//   demo-tone OUT.wav [SECONDS]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int rate = 44100;

void putLE(FILE* out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) fputc(int((value >> (8 * i)) & 0xff), out);
}

float sampleAt(long i) {
    double t = double(i) / rate;
    double chord = 0.05 * (std::sin(2 * M_PI * 220.0 * t) + std::sin(2 * M_PI * 277.18 * t) +
                           std::sin(2 * M_PI * 329.63 * t));
    long beat = long(t * 2.0);
    double sinceBeat = t - beat * 0.5;
    double loudness = beat % 4 == 0 ? 0.5 : 0.25;
    double click = loudness * std::exp(-sinceBeat * 60.0) * std::sin(2 * M_PI * 1000.0 * sinceBeat);
    return float(chord + click);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: demo-tone OUT.wav [SECONDS]\n");
        return 2;
    }
    double seconds = argc == 3 ? atof(argv[2]) : 280.0;
    if (!(seconds > 0.0 && seconds < 3600.0)) {
        fprintf(stderr, "demo-tone: SECONDS must be between 0 and 3600\n");
        return 2;
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    long frames = long(seconds * rate);
    unsigned dataBytes = unsigned(frames * 4);
    fwrite("RIFF", 1, 4, out);
    putLE(out, 36 + dataBytes, 4);
    fwrite("WAVEfmt ", 1, 8, out);
    putLE(out, 16, 4);
    putLE(out, 1, 2);
    putLE(out, 2, 2);
    putLE(out, rate, 4);
    putLE(out, rate * 4, 4);
    putLE(out, 4, 2);
    putLE(out, 16, 2);
    fwrite("data", 1, 4, out);
    putLE(out, dataBytes, 4);
    for (long i = 0; i < frames; ++i) {
        unsigned value = unsigned(uint16_t(int16_t(std::lround(sampleAt(i) * 32767.0f))));
        putLE(out, value, 2);
        putLE(out, value, 2);
    }
    return fclose(out) == 0 ? 0 : 1;
}
