// The lint's rules, each judging the show as a viewer would see it, and what each reports: one
// line per finding (the rule's name, the rows, the images) and a verdict for the summary line.
#pragma once

#include <string>
#include <vector>

struct LintShow;

struct RuleVerdict {
    std::string rule;                   // "bubbles", "hidden text", ...
    bool judged = true;                 // false when what the rule needs could not be read
    std::vector<std::string> findings;  // whole lines, each starting with the rule's name
    std::string figure;                 // a measure for the summary, or ""
    std::string notJudgedReason;
    bool optional = false;  // true when going unjudged (what it needs is not there) fails nothing
    bool failsTheLint() const { return judged ? !findings.empty() : !optional; }
};

// A character on screen with a visible, empty bubble for more than a bar; both characters'
// lyrics up at once.
RuleVerdict judgeBubbles(const LintShow& show);

// Text (lyrics, feature cards, credits, the logo) of which some eighth of its width gets too
// little of itself through to the screen while it is shown.
RuleVerdict judgeHiddenText(const LintShow& show);

// More than three general flashes in any one second, in frames rendered offscreen at 24 a second.
RuleVerdict judgeFlashes(const LintShow& show);

// Text outside the graphics-safe area at its placement, sways included.
RuleVerdict judgeSafeArea(const LintShow& show);

// The song still sounding after the show's last row, or ending before it.
RuleVerdict judgeSong(const LintShow& show);

// A sung line (from the show folder's song.events) whose singer's face is not shown, or changes
// less than once for every two syllables. Not judged without song.events.
RuleVerdict judgeStillFace(const LintShow& show);

// A sung line (from song.events) whose lyric is shown for fewer rows than the line is sung: the
// singer's face with a lyric picked, at every row of the line. Not judged without song.events.
RuleVerdict judgeShortLyrics(const LintShow& show);

// One backdrop (the refrain picture, a large pictogram, the tunnel) unchanged for more than eight
// bars and a beat.
RuleVerdict judgeBackdrop(const LintShow& show);

// A tunnel texture the show draws whose outer band is not nearly transparent: every square of
// every ring then shows its edge.
RuleVerdict judgeSeams(const LintShow& show);
