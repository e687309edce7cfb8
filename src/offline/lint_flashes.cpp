// The flashes rule: every row of the show is rendered offscreen at a small size through the
// demo's own frame function, 24 frames a second with the tunnel's phases carried from frame to
// frame, and the mean relative luminance of nine overlapping quarter-screen windows is followed
// from frame to frame. More than three flashes in any one second in any window fails.
#include "offline/lint_rules.h"

#include "base/show_facts.h"
#include "offline/capture.h"
#include "offline/lint_flash_count.h"
#include "offline/lint_layers.h"
#include "offline/lint_show.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace {

constexpr int pictureWidth = 160;
constexpr int pictureHeight = 90;
constexpr int framesPerSecond = int(rowsPerSecond);  // one frame a row
constexpr int mostFlashesAllowed = 3;
constexpr int windowsAcross = 3, windowsDown = 3;
constexpr int windowCount = windowsAcross * windowsDown;
constexpr size_t namesShown = 6;

using WindowMeans = std::array<float, windowCount>;

std::array<float, 256> linearLuminanceTable() {
    std::array<float, 256> table{};
    for (int i = 0; i < 256; ++i) {
        double c = i / 255.0;
        table[size_t(i)] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return table;
}

// Mean relative luminance of each quarter-screen window: half the width by half the height, at
// steps of a quarter of each.
WindowMeans windowMeans(const std::vector<uint8_t>& rgba) {
    static const std::array<float, 256> linear = linearLuminanceTable();
    std::vector<float> luminance(size_t(pictureWidth) * pictureHeight);
    for (size_t i = 0; i < luminance.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        luminance[i] = 0.2126f * linear[p[0]] + 0.7152f * linear[p[1]] + 0.0722f * linear[p[2]];
    }
    WindowMeans means{};
    const int w = pictureWidth / 2, h = pictureHeight / 2;
    for (int wy = 0; wy < windowsDown; ++wy) {
        for (int wx = 0; wx < windowsAcross; ++wx) {
            int x0 = wx * pictureWidth / 4, y0 = wy * pictureHeight / 4;
            double sum = 0.0;
            for (int y = y0; y < y0 + h; ++y) {
                for (int x = x0; x < x0 + w; ++x) sum += luminance[size_t(y) * pictureWidth + size_t(x)];
            }
            means[size_t(wy * windowsAcross + wx)] = float(sum / (w * h));
        }
    }
    return means;
}

// True when nothing at all is drawn over the cleared black frame.
bool frameIsBlack(const LintShow& show, const FrameLayers& frame) {
    if (frame.tunnel.slot >= 0) return false;
    for (const Layer& layer : frame.layers) {
        if (layerShows(layer, show)) return false;
    }
    return true;
}

// Standard output goes nowhere while the session loads the show: the shader's logs, if any, are
// the show folder check's to report.
bool openQuietly(CaptureSession* session) {
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    int sink = open("/dev/null", O_WRONLY);
    if (saved >= 0 && sink >= 0) dup2(sink, STDOUT_FILENO);
    bool opened = openCaptureSession(session, pictureWidth, pictureHeight, framesPerSecond, 1);
    std::fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    if (sink >= 0) close(sink);
    return opened;
}

// The nine windows' luminance, frame by frame, for frames (rows) 0 to lastRow.
bool renderWindowSeries(const LintShow& show, std::vector<WindowMeans>* series) {
    CaptureSession session;
    bool opened =
        openQuietly(&session) && session.window.width == pictureWidth && session.window.height == pictureHeight;
    if (opened) {
        std::vector<uint8_t> rgba;
        for (int row = 0; row <= show.lastRow; ++row) {
            if (frameIsBlack(show, followFrame(show, row))) {
                series->push_back(WindowMeans{});
                continue;
            }
            captureFrame(&session, row, &rgba);
            series->push_back(windowMeans(rgba));
        }
    }
    closeCaptureSession(&session);
    return opened;
}

std::string onScreenNames(const LintShow& show, int first, int last) {
    std::set<int> entries;
    for (int row = first; row <= last; ++row) {
        FrameLayers frame = followFrame(show, row);
        if (frame.tunnel.slot >= 0) entries.insert(frame.tunnel.slot);
        for (const Layer& layer : frame.layers) {
            if (layer.kind == LayerKind::Image && layerShows(layer, show)) entries.insert(layer.slot);
        }
    }
    std::string names;
    size_t listed = 0;
    for (int entry : entries) {
        if (listed++ == namesShown) break;
        names += (names.empty() ? "" : ", ") + show.fileNames[size_t(entry)];
    }
    if (entries.size() > namesShown) names += " and " + std::to_string(entries.size() - namesShown) + " more";
    return names.empty() ? "nothing but full-screen layers" : names;
}

}  // namespace

RuleVerdict judgeFlashes(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "flashes";
    std::vector<WindowMeans> series;
    if (!renderWindowSeries(show, &series)) {
        verdict.judged = false;
        verdict.notJudgedReason = "no offscreen GL context to render with";
        return verdict;
    }
    int frames = int(series.size());
    std::vector<int> most(series.size(), 0);  // by the frame that ends the second
    for (int w = 0; w < windowCount; ++w) {
        std::vector<float> luminance(series.size());
        for (size_t f = 0; f < series.size(); ++f) luminance[f] = series[f][size_t(w)];
        std::vector<int> flashes = flashesInSecondEndingAt(luminanceChanges(luminance), frames, framesPerSecond);
        for (size_t f = 0; f < flashes.size(); ++f) most[f] = std::max(most[f], flashes[f]);
    }
    std::vector<int> worstOver(series.size(), 0);  // the most flashes of any failing second holding the frame
    for (int f = 0; f < frames; ++f) {
        if (most[size_t(f)] <= mostFlashesAllowed) continue;
        for (int g = std::max(0, f - framesPerSecond + 1); g <= f; ++g) {
            worstOver[size_t(g)] = std::max(worstOver[size_t(g)], most[size_t(f)]);
        }
    }
    for (int f = 0; f < frames;) {
        if (worstOver[size_t(f)] == 0) {
            ++f;
            continue;
        }
        int first = f, worst = 0;
        for (; f < frames && worstOver[size_t(f)] > 0; ++f) worst = std::max(worst, worstOver[size_t(f)]);
        verdict.findings.push_back("flashes: " + rowSpanText(show.grid, first, f - 1) + ": " + std::to_string(worst) +
                                   " flashes in one second over a quarter of the screen, with " +
                                   onScreenNames(show, first, f - 1));
    }
    int peak = most.empty() ? 0 : *std::max_element(most.begin(), most.end());
    verdict.figure = "most in a second: " + std::to_string(peak);
    return verdict;
}
