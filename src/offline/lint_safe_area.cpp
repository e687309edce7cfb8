// The safe-area rule: a text's opaque pixels, at its placement and as far as its sway can take
// them, stay inside the graphics-safe area, 5 % in from each edge of the design space, where
// every screen shows them whole.
#include "offline/lint_rules.h"

#include "offline/lint_layers.h"
#include "offline/lint_show.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr double safeMargin = 0.05;

struct Area {
    double left, top, right, bottom;
};

const Area safeArea = {designSpaceWidth * safeMargin, designSpaceHeight* safeMargin,
                       designSpaceWidth*(1.0 - safeMargin), designSpaceHeight*(1.0 - safeMargin)};

// The design-space box the text's opaque pixels can reach at its placement.
Area reachOf(const Layer& layer, const ImageAlpha& image) {
    const PixelBox& ink = image.opaque;
    double scale = layer.scale;
    double x0 = layer.restCorner.x + ink.left * scale, x1 = layer.restCorner.x + ink.right * scale;
    double y0 = layer.restCorner.y + ink.top * scale, y1 = layer.restCorner.y + ink.bottom * scale;
    return Area{std::min(x0, x1) - layer.reach.x, std::min(y0, y1) - layer.reach.y, std::max(x0, x1) + layer.reach.x,
                std::max(y0, y1) + layer.reach.y};
}

bool outside(const Area& a) {
    return a.left < safeArea.left || a.top < safeArea.top || a.right > safeArea.right || a.bottom > safeArea.bottom;
}

std::string figure(double value) { return std::to_string(int(std::lround(value))); }

// A stretch of rows in which one text leaves the safe area, and how far it goes at most.
struct Excursion {
    int first = -1, last = -1;
    Area extreme = {1e9, 1e9, -1e9, -1e9};
};

std::string edgesText(const Area& e) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (e.left < safeArea.left) add("x " + figure(e.left) + " left of " + figure(safeArea.left));
    if (e.right > safeArea.right) add("x " + figure(e.right) + " right of " + figure(safeArea.right));
    if (e.top < safeArea.top) add("y " + figure(e.top) + " above " + figure(safeArea.top));
    if (e.bottom > safeArea.bottom) add("y " + figure(e.bottom) + " below " + figure(safeArea.bottom));
    return text;
}

}  // namespace

RuleVerdict judgeSafeArea(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "safe area";
    std::map<int, Excursion> open;
    auto close = [&](int entry, Excursion* e) {
        verdict.findings.push_back("safe area: " + rowSpanText(show.grid, e->first, e->last) + ": " +
                                   show.fileNames[size_t(entry)] + " reaches " + edgesText(e->extreme));
        *e = Excursion{};
    };
    for (int row = 0; row <= show.lastRow; ++row) {
        std::set<int> out;
        for (const Layer& layer : followFrame(show, row).layers) {
            if (layer.kind != LayerKind::Image || !show.isText[size_t(layer.slot)]) continue;
            const ImageAlpha& image = show.images[size_t(layer.slot)];
            if (image.opaque.empty() || !layerShows(layer, show)) continue;
            Area reach = reachOf(layer, image);
            if (!outside(reach)) continue;
            out.insert(layer.slot);
            Excursion& e = open[layer.slot];
            if (e.first < 0) e.first = row;
            e.last = row;
            e.extreme = Area{std::min(e.extreme.left, reach.left), std::min(e.extreme.top, reach.top),
                             std::max(e.extreme.right, reach.right), std::max(e.extreme.bottom, reach.bottom)};
        }
        for (auto& [entry, e] : open) {
            if (e.first >= 0 && !out.count(entry)) close(entry, &e);
        }
    }
    for (auto& [entry, e] : open) {
        if (e.first >= 0) close(entry, &e);
    }
    return verdict;
}
