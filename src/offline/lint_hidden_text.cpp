// The hidden-text rule. A text is judged in parts, eighths of its width and about as tall as they
// are wide (one band for a line of lyrics, several for a credit card that holds lines of text),
// over its opaque pixels sampled on a coarse grid: how much of it reaches the screen through
// every layer drawn after it, each letting through 1 - its alpha (texel alpha times colour
// alpha), and through its own opacity.
// Images drawn over a text are a fault at any row. Full-screen layers and the text's own opacity
// are a fault when they keep it under the mark for more than a quarter of a showing (a run of rows
// with the text shown); a fade at either end of a showing, from or to nearly nothing and no
// longer than a bar, is a transition and does not count.
#include "offline/lint_rules.h"

#include "offline/lint_layers.h"
#include "offline/lint_show.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr int partsAcross = 8;
constexpr int mostBandsDown = 16;
constexpr float leastThrough = 0.6f;     // of a text's own light that must reach the screen
constexpr int samplesAcrossWanted = 48;  // opaque cells sampled across a text's width, about
constexpr int mostSamplePoints = 2048;   // grid points of a text, however large it is
constexpr float coveringAlpha = 0.1f;    // a layer this opaque over a sample counts as covering it
constexpr float nearlyNothing = 0.1f;    // a showing that starts or ends this faint fades in or out

struct TextSample {
    Vec2 pixel;  // in the text image
    int part;
};

struct TextSamples {
    int parts = 0;
    std::vector<TextSample> samples;
};

// The sample points of a text image: cell centres of its opaque cells on a grid, each with the
// part of the opaque box it falls in.
TextSamples textSamples(const ImageAlpha& image) {
    TextSamples found;
    const PixelBox& box = image.opaque;
    if (box.empty()) return found;
    int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    int bands = std::clamp(int(std::lround(double(boxHeight) * partsAcross / boxWidth)), 1, mostBandsDown);
    found.parts = partsAcross * bands;
    int boxCells = (boxWidth / alphaCellSide + 1) * (boxHeight / alphaCellSide + 1);
    int stride = std::max({1, boxWidth / alphaCellSide / samplesAcrossWanted,
                           int(std::ceil(std::sqrt(double(boxCells) / mostSamplePoints)))});
    for (int down = box.top / alphaCellSide; down * alphaCellSide < box.bottom; down += stride) {
        for (int across = box.left / alphaCellSide; across * alphaCellSide < box.right; across += stride) {
            if (image.cells[size_t(down) * size_t(image.cellsAcross) + size_t(across)] < 128) continue;
            float x = float(across * alphaCellSide) + alphaCellSide * 0.5f;
            float y = float(down * alphaCellSide) + alphaCellSide * 0.5f;
            int column = std::clamp(int((x - float(box.left)) * partsAcross / float(boxWidth)), 0, partsAcross - 1);
            int band = std::clamp(int((y - float(box.top)) * bands / float(boxHeight)), 0, bands - 1);
            found.samples.push_back(TextSample{Vec2(x, y), band * partsAcross + column});
        }
    }
    return found;
}

enum Cause : unsigned { UnderStatic = 1, UnderWhite = 2, UnderBlack = 4, OwnOpacity = 8 };

// What one row shows of one text.
struct TextAtRow {
    float imagesThrough = 1.0f;  // the worst part, through the images over it
    float screenThrough = 1.0f;  // through the full-screen layers over it and its own opacity
    std::set<int> covering;      // images covering a part that falls under the mark
    unsigned causes = 0;         // full-screen layers and own opacity in play
};

// Texts are drawn unturned: their pixels map to the design space by corner and scale alone.
Vec2 designPointOf(const Layer& layer, Vec2 pixel) {
    return Vec2(layer.corner.x + pixel.x * layer.scale, layer.corner.y + pixel.y * layer.scale);
}

bool onScreen(Vec2 p) {
    return p.x >= 0.0f && p.y >= 0.0f && p.x < float(designSpaceWidth) && p.y < float(designSpaceHeight);
}

bool boxHolds(const DesignBox& box, Vec2 p) {
    return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
}

float fullScreenThrough(const std::vector<Layer>& layers, size_t text, unsigned* causes) {
    float through = layerOpacity(layers[text]);
    if (through < 1.0f) *causes |= OwnOpacity;
    for (size_t j = text + 1; j < layers.size(); ++j) {
        const Layer& layer = layers[j];
        if (layer.kind == LayerKind::Image || !(layerOpacity(layer) > 0.0f)) continue;
        through *= 1.0f - layerOpacity(layer);
        if (layer.kind == LayerKind::Static) *causes |= UnderStatic;
        if (layer.kind == LayerKind::White) *causes |= UnderWhite;
        if (layer.kind == LayerKind::Black) *causes |= UnderBlack;
    }
    return through;
}

TextAtRow judgeText(const LintShow& show, const std::vector<Layer>& layers, size_t text, const TextSamples& samples) {
    const Layer& textLayer = layers[text];
    struct Over {
        const Layer* layer;
        DesignBox box;
    };
    std::vector<Over> over;
    for (size_t j = text + 1; j < layers.size(); ++j) {
        if (layers[j].kind != LayerKind::Image || !(layerOpacity(layers[j]) > 0.0f)) continue;
        over.push_back(Over{&layers[j], paintedBox(layers[j], show.images[size_t(layers[j].slot)])});
    }
    std::vector<float> sums(size_t(samples.parts), 0.0f), counts(size_t(samples.parts), 0.0f);
    std::vector<std::set<int>> coveringByPart(size_t(samples.parts));
    for (const TextSample& sample : samples.samples) {
        Vec2 p = designPointOf(textLayer, sample.pixel);
        if (!onScreen(p)) continue;
        float through = 1.0f;
        for (const Over& o : over) {
            if (!boxHolds(o.box, p)) continue;
            float alpha = layerAlphaAt(*o.layer, show.images[size_t(o.layer->slot)], p);
            through *= 1.0f - alpha;
            if (alpha >= coveringAlpha) coveringByPart[size_t(sample.part)].insert(o.layer->slot);
        }
        sums[size_t(sample.part)] += through;
        counts[size_t(sample.part)] += 1.0f;
    }
    TextAtRow seen;
    seen.screenThrough = fullScreenThrough(layers, text, &seen.causes);
    for (size_t part = 0; part < sums.size(); ++part) {
        if (counts[part] == 0.0f) continue;
        float mean = sums[part] / counts[part];
        seen.imagesThrough = std::min(seen.imagesThrough, mean);
        if (mean < leastThrough) seen.covering.insert(coveringByPart[part].begin(), coveringByPart[part].end());
    }
    return seen;
}

std::string percent(float fraction) { return std::to_string(int(std::lround(fraction * 100.0f))) + " %"; }

std::string causeText(unsigned causes) {
    std::vector<std::string> parts;
    if (causes & UnderStatic) parts.push_back("the static");
    if (causes & UnderWhite) parts.push_back("the white fade");
    if (causes & UnderBlack) parts.push_back("the black fade");
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "under " : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    if (causes & OwnOpacity) text += text.empty() ? "at its own opacity" : ", at its own opacity";
    return text;
}

// One text's showings and covered stretches, as the rows go by.
struct TextWatch {
    int showFirst = -1, showLast = -1;
    int dimRows = 0;  // rows under the mark through the full-screen layers and own opacity
    float dimLeast = 1.0f;
    unsigned dimCauses = 0;
    bool allDim = true;    // every row of the showing so far was dim
    bool fadesIn = false;  // its first row was nearly nothing
    int leadingDim = 0;    // dim rows at its start
    int trailingDim = 0;   // dim rows at its end so far
    float lastThrough = 1.0f;
    int coverFirst = -1, coverLast = -1;
    float coverLeast = 1.0f;
    std::set<int> coverers;
};

// The dim rows of a showing that are not the fades at its ends.
int dimRowsCounted(const TextWatch& w, int bar) {
    if (w.allDim) return w.dimRows;  // never clear at all: no fade leads anywhere
    int excused = 0;
    if (w.fadesIn) excused += std::min(w.leadingDim, bar);
    if (w.lastThrough < nearlyNothing) excused += std::min(w.trailingDim, bar);
    return w.dimRows - excused;
}

struct Judge {
    const LintShow& show;
    RuleVerdict* verdict;
    std::map<int, TextWatch> watches;
    std::map<int, TextSamples> samples;

    const TextSamples& samplesOf(int entry) {
        auto found = samples.find(entry);
        if (found == samples.end()) found = samples.emplace(entry, textSamples(show.images[size_t(entry)])).first;
        return found->second;
    }

    void closeCover(int entry, TextWatch* w) {
        if (w->coverFirst < 0) return;
        std::string names;
        for (int coverer : w->coverers) names += (names.empty() ? "" : ", ") + show.fileNames[size_t(coverer)];
        verdict->findings.push_back("hidden text: " + rowSpanText(show.grid, w->coverFirst, w->coverLast) + ": " +
                                    show.fileNames[size_t(entry)] + " covered by " + names + " (down to " +
                                    percent(w->coverLeast) + " through)");
        w->coverFirst = w->coverLast = -1;
        w->coverLeast = 1.0f;
        w->coverers.clear();
    }

    void closeShowing(int entry, TextWatch* w) {
        closeCover(entry, w);
        if (w->showFirst < 0) return;
        int rows = w->showLast - w->showFirst + 1;
        int dim = dimRowsCounted(*w, int(std::lround(rowsPerBar(show.grid))));
        if (dim * 4 > rows) {
            verdict->findings.push_back("hidden text: " + rowSpanText(show.grid, w->showFirst, w->showLast) + ": " +
                                        show.fileNames[size_t(entry)] + " under " + percent(leastThrough) + " for " +
                                        std::to_string(dim) + " of its " + std::to_string(rows) + " rows, " +
                                        causeText(w->dimCauses) + " (down to " + percent(w->dimLeast) + " through)");
        }
        *w = TextWatch{};
    }

    void see(int entry, int row, const TextAtRow& seen) {
        TextWatch& w = watches[entry];
        if (w.showFirst < 0) {
            w.showFirst = row;
            w.fadesIn = seen.screenThrough < nearlyNothing;
        }
        w.showLast = row;
        w.lastThrough = seen.screenThrough;
        if (seen.screenThrough < leastThrough) {
            w.dimRows += 1;
            w.dimLeast = std::min(w.dimLeast, seen.screenThrough);
            w.dimCauses |= seen.causes;
            w.trailingDim += 1;
            if (w.allDim) w.leadingDim += 1;
        } else {
            w.allDim = false;
            w.trailingDim = 0;
        }
        if (!(seen.imagesThrough < leastThrough)) {
            closeCover(entry, &w);
            return;
        }
        if (w.coverFirst < 0) w.coverFirst = row;
        w.coverLast = row;
        w.coverLeast = std::min(w.coverLeast, seen.imagesThrough);
        w.coverers.insert(seen.covering.begin(), seen.covering.end());
    }

    void row(int row) {
        FrameLayers frame = followFrame(show, row);
        std::set<int> shown;
        for (size_t i = 0; i < frame.layers.size(); ++i) {
            const Layer& layer = frame.layers[i];
            if (layer.kind != LayerKind::Image || !show.isText[size_t(layer.slot)]) continue;
            if (!layerShows(layer, show)) continue;
            shown.insert(layer.slot);
            see(layer.slot, row, judgeText(show, frame.layers, i, samplesOf(layer.slot)));
        }
        for (auto& [entry, watch] : watches) {
            if (!shown.count(entry)) closeShowing(entry, &watch);
        }
    }
};

}  // namespace

RuleVerdict judgeHiddenText(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "hidden text";
    Judge judge{show, &verdict, {}, {}};
    for (int row = 0; row <= show.lastRow; ++row) judge.row(row);
    for (auto& [entry, watch] : judge.watches) judge.closeShowing(entry, &watch);
    return verdict;
}
