// The seams rule: the tunnel draws its texture whole on every square of every ring, so the
// texture's border is a square's edge on screen unless the texture fades out toward it. A tunnel
// texture the show draws whose outer band (the outermost 3 % of its rows and columns on all four
// sides) is on average more than faintly opaque shows a hard square edge on every ring.
#include "offline/lint_rules.h"

#include "base/number_words.h"
#include "offline/lint_layers.h"
#include "offline/lint_show.h"

#include <cstdio>
#include <map>

namespace {

constexpr double mostEdgeOpacity = 0.15;  // mean alpha of a texture's outer band

// The first stretch of rows in which each tunnel texture is drawn, by catalogue entry.
std::map<int, std::pair<int, int>> firstShowings(const LintShow& show) {
    std::map<int, std::pair<int, int>> showings;
    int previous = -1;
    for (int row = 0; row <= show.lastRow; ++row) {
        int entry = followFrame(show, row).tunnel.slot;
        if (entry >= 0 && !showings.count(entry)) showings[entry] = {row, row};
        if (entry >= 0 && entry == previous && showings[entry].second == row - 1) showings[entry].second = row;
        previous = entry;
    }
    return showings;
}

}  // namespace

RuleVerdict judgeSeams(const LintShow& show) {
    RuleVerdict verdict;
    verdict.rule = "seams";
    for (const auto& [entry, rows] : firstShowings(show)) {
        double edge = show.images[size_t(entry)].edgeAlpha;
        if (!(edge > mostEdgeOpacity)) continue;
        verdict.findings.push_back(
            "seams: " + show.fileNames[size_t(entry)] + ": its border is drawn (mean opacity " +
            formatNumber("%.2f", edge) + " along its edges, at most " + formatNumber("%.2f", mostEdgeOpacity) +
            "): every ring shows a hard square edge, first at " + rowSpanText(show.grid, rows.first, rows.second));
    }
    return verdict;
}
