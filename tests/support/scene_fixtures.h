// Test helpers for the scenes: tracks that hold one value at every row, and a show whose tracks
// are such tracks (every scene hidden to start with) and whose images are all missing until a
// test adds the ones it needs, drawn into an offscreen display.
#pragma once

#include "runtime/frame.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "sync/sync.h"

#include <array>

// A track of one key: the same value at every row.
struct ConstantTrack {
    TrackKey key = {0, 0.0f, 0};
    SyncTrack track = {nullptr, &key, 1};
    void set(float value) { key.value = value; }
};

// The show's store is the view's; the show is not opened from a folder, so it is never closed.
struct SceneBench {
    OffscreenView view;
    TempDir dir;
    std::array<ConstantTrack, trackCount> values;
    Show show = {};
    int imagesMade = 0;

    // Opens the display at the output size; every selection track starts out of range (nothing
    // shown), every position and fade at 0, every image entry -1.
    bool open(int width = 1280, int height = 720);
    // Sets the value of one of the show's tracks, e.g. set(&TrackSet::avatarGood, 3).
    void set(SyncTrack* TrackSet::*field, float value);
    // Writes and loads a solid image; returns its slot. Pass transparent areas with alpha 0.
    int addImage(int width, int height, Rgba colour);
    int addImage(int width, int height, const std::vector<uint8_t>& rgba);
    // Clears to black, draws one whole frame at the row and frame time and reads it back.
    void drawFrame(double row = 100.0, double t = 0.0, LayerDrawing how = LayerDrawing::SkipHidden);
};
