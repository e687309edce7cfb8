// The backdrop rule: what fills the screen behind the characters and texts should move on; one
// backdrop unchanged for more than eight bars (and a beat of slack for a change that lands late)
// reads as a stalled show. The backdrop of a row is, in this order: the refrain picture when its
// background covers the middle of the screen with its opaque part (named with where the
// background stands, to the nearest 200 px, so that a pan is a change); a pictogram drawn at least
// 1000 px wide; the tunnel, with its texture and ring design; or black, which is never judged.
#include "offline/lint_rules.h"

#include "base/number_words.h"
#include "offline/lint_layers.h"
#include "offline/lint_show.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

constexpr int barsHeld = 8;                    // and a beat
constexpr double backgroundStep = 200.0;       // design px the refrain's background is named by
constexpr float leastBackdropWidth = 1000.0f;  // design px a pictogram must span to be a backdrop

// Whether the layer hides the middle of the screen: on average at least half opaque over the
// middle ninth of the screen (a third of its width and of its height), sampled on a grid.
bool coversTheMiddle(const Layer& layer, const ImageAlpha& image) {
    constexpr int samplesAcross = 9;
    float thirdAcross = float(designSpaceWidth) / 3.0f, thirdDown = float(designSpaceHeight) / 3.0f;
    float sum = 0.0f;
    for (int i = 0; i < samplesAcross; ++i) {
        for (int j = 0; j < samplesAcross; ++j) {
            Vec2 point(thirdAcross + thirdAcross * (float(i) + 0.5f) / samplesAcross,
                       thirdDown + thirdDown * (float(j) + 0.5f) / samplesAcross);
            sum += layerAlphaAt(layer, image, point);
        }
    }
    return sum >= 0.5f * float(samplesAcross * samplesAcross);
}

std::string refrainName(const Layer& background) {
    long step = std::lround(double(background.corner.y) / backgroundStep);
    return "the refrain picture, its background at y " + std::to_string(step * long(backgroundStep));
}

// The backdrop of the frame at a row, or "" for black.
std::string backdropAt(const LintShow& show, int row) {
    FrameLayers frame = followFrame(show, row);
    const AssetCatalogue& c = show.catalogue;
    std::string pictogram;
    for (const Layer& layer : frame.layers) {
        if (layer.kind != LayerKind::Image) continue;
        const ImageAlpha& image = show.images[size_t(layer.slot)];
        if (layer.slot == c.refrainBackground && coversTheMiddle(layer, image)) return refrainName(layer);
        bool isPictogram =
            std::find(std::begin(c.pictograms), std::end(c.pictograms), layer.slot) != std::end(c.pictograms);
        if (isPictogram && std::fabs(float(image.width) * layer.scale) >= leastBackdropWidth) {
            pictogram = "pictogram " + show.fileNames[size_t(layer.slot)];
        }
    }
    if (!pictogram.empty()) return pictogram;
    if (frame.tunnel.slot < 0) return "";
    return "the tunnel, " + show.fileNames[size_t(frame.tunnel.slot)] + ", variation " +
           std::to_string(frame.tunnel.variation);
}

// Seconds with up to two decimals: "16", "16.5", "16.54".
std::string secondsText(double seconds) {
    std::string s = formatNumber("%.2f", seconds);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s + " s";
}

}  // namespace

RuleVerdict judgeBackdrop(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "backdrop";
    double mostRows = barsHeld * rowsPerBar(show.grid) + rowsPerBeat(show.grid);
    std::string held;
    int heldFrom = 0;
    for (int row = 0; row <= show.lastRow + 1; ++row) {
        std::string name = row <= show.lastRow ? backdropAt(show, row) : "";
        if (row <= show.lastRow && name == held) continue;
        int rows = row - heldFrom;
        if (!held.empty() && double(rows) > mostRows) {
            verdict.findings.push_back("backdrop: " + rowSpanText(show.grid, heldFrom, row - 1) + ": " + held +
                                       " for " + secondsText(rows / rowsPerSecond) + " unchanged (at most " +
                                       std::to_string(barsHeld) + " bars and a beat, " +
                                       secondsText(mostRows / rowsPerSecond) + ")");
        }
        held = name;
        heldFrom = row;
    }
    return verdict;
}
