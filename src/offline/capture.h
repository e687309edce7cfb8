// Rendering the show offscreen, frame by frame at exact rows, through the same display state,
// frame function and scenes as the live show. Frame n of a capture at fps = num / den is drawn at
// row n x 24 x den / num; its frame time t is the row's song time, so every run gives the same
// frames.
#pragma once

#include "render/demo_window.h"
#include "render/texture_store.h"
#include "runtime/frame.h"

#include <cstdint>
#include <vector>

struct SyncDevice;

struct CaptureSession {
    DemoWindow window;
    TextureStore store;
    SyncDevice* syncDevice = nullptr;
    Show show = {};
    int64_t fpsNum = 60;
    int64_t fpsDen = 1;
    int64_t nextFrame = 0;  // the tunnel's phases are those after the frames before this one
};

// Opens an offscreen display of the size and loads the show from the working directory (tracks,
// shader, images), as start-up does. False when no offscreen GL context can be made.
bool openCaptureSession(CaptureSession* session, int width, int height, int64_t fpsNum, int64_t fpsDen);
void closeCaptureSession(CaptureSession* session);

double captureFrameRow(int64_t frame, int64_t fpsNum, int64_t fpsDen);
// The first frame whose row is at or after the given row.
int64_t firstFrameAtOrAfter(double row, int64_t fpsNum, int64_t fpsDen);

// Brings the tunnel's phases to those after every frame of the fpsNum / fpsDen grid whose row lies
// below the row. *nextFrame counts the grid frames already taken in (0 with fresh phases); going
// back starts over from fresh phases.
void bringTunnelPhasesTo(Show* show, int64_t fpsNum, int64_t fpsDen, int64_t* nextFrame, double row);

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
