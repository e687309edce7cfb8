// demo-cards: writes a test card at every image path of the catalogue, sized for where the show
// draws it, one colour per group, so the demo can run before its art exists.
//
//   demo-cards SHOW_FOLDER
#include "base/show_images.h"
#include "base/tool_exit.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct CardStyle {
    ShowImagePart part;
    int width, height;
    unsigned char r, g, b;
};

const CardStyle styles[] = {
    {ShowImagePart::evilFaces, 260, 380, 200, 40, 60},
    {ShowImagePart::goodFaces, 300, 400, 60, 160, 220},
    {ShowImagePart::goodBubble, 900, 110, 240, 240, 240},
    {ShowImagePart::evilBubble, 900, 110, 60, 20, 30},
    {ShowImagePart::goodLyrics, 860, 90, 30, 90, 200},
    {ShowImagePart::evilLyrics, 860, 90, 230, 80, 80},
    {ShowImagePart::polaroids, 420, 380, 250, 250, 245},
    {ShowImagePart::refrainSun, 1000, 1000, 250, 200, 40},
    {ShowImagePart::refrainBackground, 1280, 1000, 120, 200, 150},
    {ShowImagePart::refrainForeground, 1280, 1000, 120, 200, 150},
    {ShowImagePart::pictograms, 200, 200, 40, 40, 40},
    {ShowImagePart::features, 600, 160, 250, 120, 20},
    {ShowImagePart::credits, 700, 300, 20, 20, 20},
    {ShowImagePart::tunnelTextures, 256, 256, 90, 60, 160},
    {ShowImagePart::logo, 800, 160, 255, 255, 255},
};

const CardStyle& styleFor(ShowImagePart part) {
    for (const CardStyle& style : styles) {
        if (style.part == part) return style;
    }
    return styles[0];
}

void makeFolders(const std::string& path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        mkdir(path.substr(0, at).c_str(), 0755);
    }
}

// A filled card with a darker frame and a diagonal, index-dependent stripe.
std::vector<unsigned char> card(const CardStyle& style, int index) {
    std::vector<unsigned char> pixels(size_t(style.width) * size_t(style.height) * 4);
    for (int y = 0; y < style.height; ++y) {
        for (int x = 0; x < style.width; ++x) {
            unsigned char* p = &pixels[(size_t(y) * size_t(style.width) + size_t(x)) * 4];
            bool frame = x < 6 || y < 6 || x >= style.width - 6 || y >= style.height - 6;
            bool stripe = ((x + y + index * 12) / 24) % 8 == 0;
            float shade = frame ? 0.5f : stripe ? 0.8f : 1.0f;
            p[0] = (unsigned char)(float(style.r) * shade);
            p[1] = (unsigned char)(float(style.g) * shade);
            p[2] = (unsigned char)(float(style.b) * shade);
            p[3] = 255;
        }
    }
    return pixels;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: demo-cards SHOW_FOLDER\n");
        return exitUsage;
    }
    int index = 0;
    for (const ShowImage& image : showImages()) {
        std::string path = std::string(argv[1]) + "/" + image.fileName;
        makeFolders(path);
        const CardStyle& style = styleFor(image.part);
        std::vector<unsigned char> pixels = card(style, index++);
        if (!stbi_write_png(path.c_str(), style.width, style.height, 4, pixels.data(), style.width * 4)) {
            fprintf(stderr, "demo-cards: cannot write %s\n", path.c_str());
            return exitFailed;  // a card could not be written
        }
    }
    return exitDone;
}
