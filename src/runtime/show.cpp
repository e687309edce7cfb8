// The one show loader of the demo and the capture tool.
#include "runtime/show_loader.h"

#include "base/show_facts.h"
#include "render/demo_window.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"

#include <GL/glew.h>

void loadShow(SyncDevice* device, const DemoWindow* display, TextureStore* store, Show* show) {
    show->tracks = requestTrackSet(device);
    if (display->hasContext()) {
        show->shader = ShaderProgram::build(vertexShaderFileName, fragmentShaderFileName);
        glUseProgram(0);
        show->catalogue = loadAssetCatalogue(store);
    } else {
        for (CatalogueEntry& entry : catalogueEntries(&show->catalogue)) *entry.slot = -1;
    }
}
