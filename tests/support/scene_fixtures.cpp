// Scene fixtures.
#include "support/scene_fixtures.h"

bool SceneBench::open(int width, int height) {
    if (!view.open(width, height)) return false;
    show.textures = &view.store;
    show.layers.layers.reserve(frameMostLayers);
    for (int i = 0; i < trackCount; ++i) show.tracks.*trackSetFields[i] = &values[size_t(i)].track;
    for (SyncTrack* TrackSet::*hidden :
         {&TrackSet::avatarGood, &TrackSet::avatarEvil, &TrackSet::lyricsGood, &TrackSet::lyricsEvil,
          &TrackSet::pictogramIndex, &TrackSet::features, &TrackSet::refrainPolaroidStart, &TrackSet::tunnelTexture,
          &TrackSet::tunnelVariation}) {
        set(hidden, -5.0f);
    }
    set(&TrackSet::pictogramScale, 1.0f);
    for (CatalogueEntry& entry : catalogueEntries(&show.catalogue)) *entry.slot = -1;
    return true;
}

void SceneBench::set(SyncTrack* TrackSet::*field, float value) {
    for (int i = 0; i < trackCount; ++i) {
        if (trackSetFields[i] == field) values[size_t(i)].set(value);
    }
}

int SceneBench::addImage(int width, int height, Rgba colour) {
    return addImage(width, height, solidImage(width, height, 4, colour));
}

int SceneBench::addImage(int width, int height, const std::vector<uint8_t>& rgba) {
    std::string path = dir.file("image" + std::to_string(imagesMade++) + ".png");
    if (!writePng(path, width, height, 4, rgba)) return -1;
    return view.store.load(path);
}

void SceneBench::drawFrame(double row, double t, LayerDrawing how) {
    noteImageSizes(&show);
    renderFrame(&view.window, FrameState{row, t}, &show, how);
    view.read();
}
