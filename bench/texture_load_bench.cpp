// Measures the start-up cost of the show's 145 images: decoding alone, then decoding and
// uploading through the texture store into an offscreen GL context, and the texture memory the
// images take.   texture_load_bench [SHOW_FOLDER]   (default: the build's show folder)
#include "platform/playback_clock.h"
#include "render/demo_window.h"
#include "render/texture_store.h"
#include "runtime/asset_catalogue.h"

#include <GL/glew.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> imageNames() {
    AssetCatalogue catalogue;
    std::vector<std::string> names;
    for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) names.push_back(entry.fileName);
    return names;
}

double decodeAll(const std::vector<std::string>& names, double* bytes) {
    double start = monotonicSeconds();
    *bytes = 0;
    for (const std::string& name : names) {
        int w = 0, h = 0, c = 0;
        unsigned char* pixels = stbi_load(name.c_str(), &w, &h, &c, 0);
        if (pixels) *bytes += double(w) * h * (c < 3 ? c + 2 : c);
        stbi_image_free(pixels);
    }
    return monotonicSeconds() - start;
}

double loadAll(const std::vector<std::string>& names) {
    TextureStore store;
    double start = monotonicSeconds();
    for (const std::string& name : names) store.load(name);
    glFinish();
    return monotonicSeconds() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : std::string(DEMO_SHOW_DIR);
    if (chdir(folder.c_str()) != 0) {
        perror(folder.c_str());
        return 1;
    }
    DemoWindow window;
    if (!window.openOffscreen(1280, 720)) {
        fprintf(stderr, "no offscreen GL context\n");
        return 1;
    }
    std::vector<std::string> names = imageNames();
    std::vector<double> decodes, loads;
    double bytes = 0;
    for (int run = 0; run < 5; ++run) {
        decodes.push_back(decodeAll(names, &bytes));
        loads.push_back(loadAll(names));
    }
    double decode = median(decodes), load = median(loads);
    printf("images: %zu, texture memory: %.1f MiB\n", names.size(), bytes / (1024.0 * 1024.0));
    printf("decode alone: %.1f ms; decode + upload: %.1f ms (upload %.1f ms); ratio %.2f (medians of 5)\n",
           decode * 1000, load * 1000, (load - decode) * 1000, load / decode);
    window.close();
    return 0;
}
