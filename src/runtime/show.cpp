// Opening and closing the show.
#include "runtime/show.h"

#include "base/show_facts.h"
#include "render/demo_window.h"
#include "render/texture_store.h"
#include "sync/sync.h"

bool openShow(DemoWindow* display, Show* show) {
    *show = Show();
    show->textures = new TextureStore;
    currentTextures = show->textures;
    show->device = createSyncDevice();
    if (!show->device) {
        closeShow(show);
        return false;
    }
    show->tracks = requestTrackSet(show->device);
    if (display->hasContext()) {
        show->shader = ShaderProgram::build(vertexShaderFileName, fragmentShaderFileName);
        useNoShaderProgram();
        show->catalogue = loadAssetCatalogue(show->textures);
        display->enableBlending();
    } else {
        for (CatalogueEntry& entry : catalogueEntries(&show->catalogue)) *entry.slot = -1;
    }
    noteImageSizes(show);
    show->layers.layers.reserve(frameMostLayers);
    return true;
}

void noteImageSizes(Show* show) {
    show->images.resize(show->textures ? show->textures->textures.size() : 0);
    for (size_t slot = 0; slot < show->images.size(); ++slot) {
        const Texture& texture = show->textures->textures[slot];
        show->images[slot] = ImageSize{texture.width, texture.height, true};
    }
}

void closeShow(Show* show) {
    destroySyncDevice(show->device);
    show->device = nullptr;
    show->tracks = TrackSet{};
    if (currentTextures == show->textures) currentTextures = nullptr;
    delete show->textures;
    show->textures = nullptr;
    show->images.clear();
}
