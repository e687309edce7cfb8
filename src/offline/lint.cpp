// Running the lint's rules over the show folder and summing up.
#include "offline/lint.h"

#include "offline/lint_rules.h"
#include "offline/lint_show.h"

namespace {

std::string verdictText(const RuleVerdict& verdict) {
    std::string text = verdict.rule;
    if (!verdict.judged) return text + " not judged (" + verdict.notJudgedReason + ")";
    text += verdict.findings.empty() ? " ok" : " failed";
    std::string details = verdict.figure;
    if (!verdict.findings.empty()) {
        size_t n = verdict.findings.size();
        details += (details.empty() ? "" : "; ") + std::to_string(n) + (n == 1 ? " finding" : " findings");
    }
    return details.empty() ? text : text + " (" + details + ")";
}

}  // namespace

LintReport lintShowFolder(const MusicalGrid& grid, const std::string& sourcePath) {
    LintReport report;
    LintShow show;
    if (!loadLintShow(grid, sourcePath, &show)) {
        closeLintShow(&show);
        report.summary = "lint: not judged (out of memory reading the tracks)";
        report.failed = true;
        return report;
    }
    std::string summary;
    for (RuleVerdict (*judge)(const LintShow&) : {judgeBubbles, judgeHiddenText, judgeFlashes, judgeSafeArea, judgeSong,
                                                  judgeStillFace, judgeShortLyrics, judgeBackdrop, judgeSeams}) {
        RuleVerdict verdict = judge(show);
        report.lines.insert(report.lines.end(), verdict.findings.begin(), verdict.findings.end());
        summary += (summary.empty() ? "" : ", ") + verdictText(verdict);
        if (verdict.failsTheLint()) report.failed = true;
    }
    closeLintShow(&show);
    report.summary = "lint: " + summary;
    return report;
}
