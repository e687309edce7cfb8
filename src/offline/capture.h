// Rendering the show offscreen, frame by frame at exact rows, through the same display state,
// frame function and scenes as the live show. Frame n of a capture at fps = num / den is drawn at
// row n x 24 x den / num; its frame time t is the row's song time, so every run gives the same
// frames.
#pragma once

#include "offline/image_problem.h"
#include "render/demo_window.h"
#include "runtime/frame.h"

#include <cstdint>
#include <vector>

struct SyncDevice;

struct CaptureSession {
    DemoWindow window;
    Show show = {};
    TunnelPhaseGrid tunnelGrid;  // the frame grid, and the frames the tunnel's phases have taken in
    LayerDrawing drawing = LayerDrawing::SkipHidden;
};

// Opens an offscreen display of the size and opens the show from the working directory in it.
// False when no offscreen GL context can be made or memory runs out.
bool openCaptureSession(CaptureSession* session, int width, int height, int64_t fpsNum, int64_t fpsDen);
void closeCaptureSession(CaptureSession* session);

// The catalogue images the open session could not load, each with why: holes in its pictures.
std::vector<ImageHole> captureImageHoles(CaptureSession* session);

// Draws frame n and reads it back, top row first, RGBA. Frames may be asked for in any order:
// the tunnel's phases are brought to those a capture from frame 0 would have at frame n.
void captureFrame(CaptureSession* session, int64_t frame, std::vector<uint8_t>* rgba);
// Draws the frame at any row (not necessarily on the frame grid), with the phases of the grid
// frames before it.
void captureRow(CaptureSession* session, double row, std::vector<uint8_t>* rgba);

// Writes the song from the sample of firstRow up to that of endRow (or the song's end, if
// sooner), decoded as the demo decodes it, as a 16-bit stereo 44100 Hz WAV file. False when the
// song cannot be decoded, the range does not fit a WAV file, or any write fails.
bool writeSongSegment(double firstRow, double endRow, const char* path);
