// The offscreen renderer behind demo-capture.
#include "offline/capture.h"

#include "base/show_facts.h"
#include "platform/song_stream.h"
#include "base/frame_grid.h"
#include "base/wav_header.h"
#include "runtime/show.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

bool openCaptureSession(CaptureSession* session, int width, int height, int64_t fpsNum, int64_t fpsDen) {
    session->tunnelGrid = TunnelPhaseGrid{fpsNum, fpsDen, 0};
    if (!session->window.openOffscreen(width, height)) return false;
    if (!openShow(&session->window, &session->show)) return false;
    session->window.disableDepthTest();
    return true;
}

void closeCaptureSession(CaptureSession* session) {
    closeShow(&session->show);
    session->window.close();
}

std::vector<ImageHole> captureImageHoles(CaptureSession* session) {
    std::vector<ImageHole> holes;
    for (const CatalogueEntry& entry : catalogueEntries(&session->show.catalogue)) {
        if (*entry.slot >= 0) continue;
        ImageFileSize size{0, 0};
        std::string problem = imageFileProblem(entry.fileName, &size, nullptr);
        holes.push_back(ImageHole{entry.fileName, problem.empty() ? "out of the image memory budget" : problem});
    }
    return holes;
}

namespace {

void preparePhases(CaptureSession* session, double row) {
    const Show& show = session->show;
    TunnelTracks tunnel = {show.tracks.tunnelMove, show.tracks.tunnelTexture, show.tracks.tunnelVariation};
    bringTunnelPhasesTo(tunnel, show.catalogue.tunnelTextures, show.images, row, &session->tunnelGrid,
                        &session->show.tunnel);
}

void drawAndRead(CaptureSession* session, double row, std::vector<uint8_t>* rgba) {
    // t is the song time of the row: the live show reads it from a timer instead.
    renderFrame(&session->window, FrameState{row, row / rowsPerSecond}, &session->show, session->drawing);
    size_t stride = size_t(session->window.width) * 4;
    size_t height = size_t(session->window.height);
    std::vector<uint8_t> bottomUp(stride * height);
    session->window.readPixels(bottomUp.data());
    rgba->resize(bottomUp.size());
    for (size_t y = 0; y < height; ++y) memcpy(&(*rgba)[y * stride], &bottomUp[(height - 1 - y) * stride], stride);
}

}  // namespace

void captureFrame(CaptureSession* session, int64_t frame, std::vector<uint8_t>* rgba) {
    double row = frameGridRow(frame, session->tunnelGrid.fpsNum, session->tunnelGrid.fpsDen);
    preparePhases(session, row);
    drawAndRead(session, row, rgba);
    session->tunnelGrid.nextFrame = frame + 1;
}

void captureRow(CaptureSession* session, double row, std::vector<uint8_t>* rgba) {
    preparePhases(session, row);
    drawAndRead(session, row, rgba);
    session->show.tunnel = TunnelState();  // off the grid: the next frame starts over
    session->tunnelGrid.nextFrame = 0;
}

namespace {

// Copies the song's frames [skip, skip + count) into the file; false on a failed write.
bool copySongFrames(SongStream* stream, FILE* out, int64_t skip, int64_t count) {
    const size_t chunkFrames = 4096;
    std::vector<int16_t> chunk(chunkFrames * songOutputChannels);
    while (count > 0) {
        size_t frames = readSongFrames(stream, chunk.data(), chunkFrames);
        if (frames == 0) return true;  // the song ended first: the encoder pads with silence
        int64_t from = std::min<int64_t>(skip, int64_t(frames));
        skip -= from;
        int64_t take = std::min<int64_t>(int64_t(frames) - from, count);
        if (take > 0 &&
            fwrite(chunk.data() + from * songOutputChannels, songBytesPerFrame, size_t(take), out) != size_t(take))
            return false;
        count -= take;
    }
    return true;
}

}  // namespace

bool writeSongSegment(double firstRow, double endRow, const char* path) {
    int64_t first = int64_t(std::llround(firstRow / rowsPerSecond * double(songOutputRate)));
    int64_t count = int64_t(std::llround(endRow / rowsPerSecond * double(songOutputRate))) - first;
    if (first < 0 || count < 0 || count > int64_t(wavMostDataBytes) / songBytesPerFrame) return false;
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
