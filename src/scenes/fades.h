// The three full-output layers: the noise layer drawn by the shader program, and the white and
// black fades, each with an opacity that follows its track.
#pragma once

#include "render/shader_program.h"
#include "scenes/frame_state.h"

class DemoWindow;
struct SyncTrack;

void renderNoiseOverlay(const FrameState& frame, DemoWindow* display, const ShaderProgram& shader,
                        const SyncTrack* fadeFgNoise);
void renderWhiteFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeBgWhite);
void renderBlackFade(const FrameState& frame, DemoWindow* display, const SyncTrack* fadeFgBlack);
