// The offscreen renderer behind demo-capture.
#include "offline/capture.h"

#include "base/show_facts.h"
#include "platform/song_stream.h"
#include "runtime/show_loader.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

bool openCaptureSession(CaptureSession* session, int width, int height, int64_t fpsNum, int64_t fpsDen) {
    session->fpsNum = fpsNum;
    session->fpsDen = fpsDen;
    session->window.scaleX = float(width) / float(designSpaceWidth);
    session->window.scaleY = float(height) / float(designSpaceHeight);
    if (!session->window.openOffscreen(width, height)) return false;
    currentDisplay = &session->window;
    currentTextures = &session->store;
    session->syncDevice = createSyncDevice();
    if (!session->syncDevice) return false;
    loadShow(session->syncDevice, &session->window, &session->store, &session->show);
    glEnable(GL_BLEND);
    // The live show draws with depth testing off from its first sprite on, which is within its
    // first frame: every captured frame, the first included, is drawn in that state, so a frame
    // looks the same whether a capture starts with it or comes to it.
    glDisable(GL_DEPTH_TEST);
    return true;
}

void closeCaptureSession(CaptureSession* session) {
    destroySyncDevice(session->syncDevice);
    session->syncDevice = nullptr;
    currentTextures = nullptr;
    currentDisplay = nullptr;
    session->window.close();
}

double captureFrameRow(int64_t frame, int64_t fpsNum, int64_t fpsDen) {
    return double(frame) * rowsPerSecond * double(fpsDen) / double(fpsNum);
}

int64_t firstFrameAtOrAfter(double row, int64_t fpsNum, int64_t fpsDen) {
    int64_t frame = int64_t(std::ceil(row * double(fpsNum) / (rowsPerSecond * double(fpsDen))));
    while (frame > 0 && captureFrameRow(frame - 1, fpsNum, fpsDen) >= row) --frame;
    while (captureFrameRow(frame, fpsNum, fpsDen) < row) ++frame;
    return frame < 0 ? 0 : frame;
}

void bringTunnelPhasesTo(Show* show, int64_t fpsNum, int64_t fpsDen, int64_t* nextFrame, double row) {
    TunnelTracks tunnel = {show->tracks.tunnelMove, show->tracks.tunnelTexture, show->tracks.tunnelVariation};
    int64_t first = firstFrameAtOrAfter(row, fpsNum, fpsDen);
    if (first < *nextFrame) {
        show->tunnel = TunnelState();
        *nextFrame = 0;
    }
    for (; *nextFrame < first; ++*nextFrame) {
        advanceTunnelPhases(tunnel, captureFrameRow(*nextFrame, fpsNum, fpsDen), show->catalogue.tunnelTextures,
                            &show->tunnel);
    }
}

namespace {

void preparePhases(CaptureSession* session, double row) {
    bringTunnelPhasesTo(&session->show, session->fpsNum, session->fpsDen, &session->nextFrame, row);
}

void drawAndRead(CaptureSession* session, double row, std::vector<uint8_t>* rgba) {
    // t is the song time of the row: the live show reads it from a timer instead.
    renderFrame(&session->window, FrameState{row, row / rowsPerSecond}, &session->show);
    size_t stride = size_t(session->window.width) * 4;
    size_t height = size_t(session->window.height);
    std::vector<uint8_t> bottomUp(stride * height);
    session->window.readPixels(GL_RGBA, bottomUp.data());
    rgba->resize(bottomUp.size());
    for (size_t y = 0; y < height; ++y) memcpy(&(*rgba)[y * stride], &bottomUp[(height - 1 - y) * stride], stride);
}

}  // namespace

void captureFrame(CaptureSession* session, int64_t frame, std::vector<uint8_t>* rgba) {
    double row = captureFrameRow(frame, session->fpsNum, session->fpsDen);
    preparePhases(session, row);
    drawAndRead(session, row, rgba);
    session->nextFrame = frame + 1;
}

void captureRow(CaptureSession* session, double row, std::vector<uint8_t>* rgba) {
    preparePhases(session, row);
    drawAndRead(session, row, rgba);
    session->show.tunnel = TunnelState();  // off the grid: the next frame starts over
    session->nextFrame = 0;
}

namespace {

bool putLE(FILE* out, uint32_t value) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t((value >> (8 * i)) & 0xff);
    return fwrite(bytes, 1, 4, out) == 4;
}

bool writeWavHeader(FILE* out, uint32_t dataBytes) {
    const uint32_t format[] = {16, 1 | (2u << 16), 44100, 176400, 4 | (16u << 16)};
    bool good = fseek(out, 0, SEEK_SET) == 0 && fwrite("RIFF", 1, 4, out) == 4 && putLE(out, 36 + dataBytes) &&
                fwrite("WAVEfmt ", 1, 8, out) == 8;
    for (uint32_t word : format) good = good && putLE(out, word);
    return good && fwrite("data", 1, 4, out) == 4 && putLE(out, dataBytes);
}

// Copies the song's frames [skip, skip + count) into the file; false on a failed write.
bool copySongFrames(SongStream* stream, FILE* out, int64_t skip, int64_t count) {
    std::vector<int16_t> chunk(4096 * 2);
    while (count > 0) {
        size_t frames = readSongFrames(stream, chunk.data(), 4096);
        if (frames == 0) return true;  // the song ended first: the encoder pads with silence
        int64_t from = std::min<int64_t>(skip, int64_t(frames));
        skip -= from;
        int64_t take = std::min<int64_t>(int64_t(frames) - from, count);
        if (take > 0 && fwrite(chunk.data() + from * 2, 4, size_t(take), out) != size_t(take)) return false;
        count -= take;
    }
    return true;
}

}  // namespace

bool writeSongSegment(double firstRow, double endRow, const char* path) {
    int64_t first = int64_t(std::llround(firstRow / rowsPerSecond * 44100.0));
    int64_t count = int64_t(std::llround(endRow / rowsPerSecond * 44100.0)) - first;
    // A WAV file counts its bytes in 32 bits.
    if (first < 0 || count < 0 || count > int64_t(0xFFFFFFFFu - 36u) / 4) return false;
    SongStream* stream = nullptr;
    if (openSongStream(songFileName, &stream) != 0) return false;
    FILE* out = fopen(path, "wb");
    if (!out) {
        closeSongStream(stream);
        return false;
    }
    bool good = writeWavHeader(out, 0) && copySongFrames(stream, out, first, count);
    closeSongStream(stream);
    long end = good ? ftell(out) : -1;
    good = good && end >= 44 && writeWavHeader(out, uint32_t(end - 44));
    good = fflush(out) == 0 && good;
    return fclose(out) == 0 && good;
}
