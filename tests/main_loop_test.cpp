// The main loop driven by a scripted clock and a scripted Escape key.
#include "runtime/main_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Script {
    std::vector<double> rows;    // what the clock returns, in turn (the last one repeats)
    int escapeAfterChecks = -1;  // isRunning turns false from this check on; -1 never
    int checks = 0;
    int updates = 0;
    size_t reads = 0;
    std::vector<double> drawnRows;
    std::vector<int> updatesAtDraw;  // how many updates had run when each frame was drawn
};

bool scriptIsRunning(void* context) {
    Script* script = static_cast<Script*>(context);
    bool running = script->escapeAfterChecks < 0 || script->checks < script->escapeAfterChecks;
    ++script->checks;
    return running;
}

void scriptUpdate(void* context) { ++static_cast<Script*>(context)->updates; }

double scriptRow(void* context) {
    Script* script = static_cast<Script*>(context);
    size_t i = std::min(script->reads++, script->rows.size() - 1);
    return script->rows[i];
}

void scriptDraw(void* context, double row) {
    Script* script = static_cast<Script*>(context);
    script->drawnRows.push_back(row);
    script->updatesAtDraw.push_back(script->updates);
}

long run(Script* script) {
    MainLoopHooks hooks = {script, scriptIsRunning, scriptUpdate, scriptRow, scriptDraw};
    return runMainLoop(hooks);
}

}  // namespace

TEST(MainLoop, DrawsEachNewRowOnceUpToTheFrameThatReachesTheLimit) {
    Script script;
    script.rows = {0.0, 0.0, 2.5, 2.5, 2.5, 3.0, 6650.9, 6651.2, 7000.0};
    EXPECT_EQ(run(&script), 4);
    EXPECT_EQ(script.drawnRows, (std::vector<double>{2.5, 3.0, 6650.9, 6651.2}));
    EXPECT_EQ(script.updatesAtDraw, (std::vector<int>{3, 6, 7, 8})) << "one update per iteration";
    EXPECT_EQ(script.updates, 8) << "no update after the frame at the limit";
}

TEST(MainLoop, NaNAndInfiniteRowsEndTheLoop) {
    Script script;
    script.rows = {5.0, NAN, 6.0};
    run(&script);
    ASSERT_EQ(script.drawnRows.size(), 2u);
    EXPECT_TRUE(std::isnan(script.drawnRows[1]));
    EXPECT_EQ(script.updates, 2) << "the loop ended at the NaN";
    Script infinite;
    infinite.rows = {INFINITY};
    EXPECT_EQ(run(&infinite), 1);
    EXPECT_EQ(infinite.updates, 1);
}

TEST(MainLoop, EscapeEndsTheLoopAfterTheIterationThatSawIt) {
    Script script;
    script.rows = {1.0, 2.0, 3.0, 4.0};
    script.escapeAfterChecks = 3;  // the start check and two iterations see it released
    EXPECT_EQ(run(&script), 3);
    EXPECT_EQ(script.drawnRows, (std::vector<double>{1.0, 2.0, 3.0}));
    Script early;
    early.rows = {1.0};
    early.escapeAfterChecks = 0;
    EXPECT_EQ(run(&early), 0);
    EXPECT_EQ(early.updates + int(early.reads), 0) << "Escape before the first iteration";
}

TEST(MainLoop, StepsOneAtATimeMakeTheSameDecisionsAsTheWholeLoopAndNothingAfterTheEnd) {
    std::vector<std::vector<double>> clocks = {
        {0.0, 0.0, 2.5, 2.5, 2.5, 3.0, 6650.9, 6651.2, 7000.0}, {5.0, NAN, 6.0}, {1.0, 2.0, 3.0, 4.0, 6651.0}};
    for (int escapeAfter : {-1, 0, 3}) {
        for (const std::vector<double>& rows : clocks) {
            Script whole;
            whole.rows = rows;
            whole.escapeAfterChecks = escapeAfter;
            long drawn = run(&whole);
            Script stepped;
            stepped.rows = rows;
            stepped.escapeAfterChecks = escapeAfter;
            MainLoopHooks hooks = {&stepped, scriptIsRunning, scriptUpdate, scriptRow, scriptDraw};
            MainLoopState state;
            int steps = 0;
            while (stepMainLoop(hooks, &state)) ++steps;
            EXPECT_EQ(state.framesDrawn, drawn);
            EXPECT_EQ(stepped.drawnRows.size(), whole.drawnRows.size());
            for (size_t i = 0; i < std::min(stepped.drawnRows.size(), whole.drawnRows.size()); ++i) {
                EXPECT_TRUE(stepped.drawnRows[i] == whole.drawnRows[i] ||
                            (std::isnan(stepped.drawnRows[i]) && std::isnan(whole.drawnRows[i])));
            }
            EXPECT_EQ(stepped.updatesAtDraw, whole.updatesAtDraw);
            EXPECT_EQ(stepped.updates, whole.updates) << "one update per step, as per iteration";
            EXPECT_EQ(steps + 1, std::max(stepped.updates, 1)) << "each step but the last goes on";
            int updates = stepped.updates, checks = stepped.checks;
            size_t reads = stepped.reads;
            EXPECT_FALSE(stepMainLoop(hooks, &state));
            EXPECT_EQ(stepped.updates, updates) << "a step after the end does nothing";
            EXPECT_EQ(stepped.checks, checks);
            EXPECT_EQ(stepped.reads, reads);
        }
    }
}

// Landing exactly on the limit: that frame is drawn, its own step ends the loop, and a loop that
// stands at the limit (resumed there) draws nothing more.
TEST(MainLoop, AFrameExactlyAtTheLimitIsTheLastAndItsStepEndsTheLoop) {
    Script script;
    script.rows = {6650.0, 6651.0, 6652.0};
    MainLoopHooks hooks = {&script, scriptIsRunning, scriptUpdate, scriptRow, scriptDraw};
    MainLoopState state;
    EXPECT_TRUE(stepMainLoop(hooks, &state));
    EXPECT_FALSE(stepMainLoop(hooks, &state)) << "the step that drew row 6651 ended the loop";
    EXPECT_EQ(script.drawnRows, (std::vector<double>{6650.0, 6651.0}));
    EXPECT_EQ(script.updates, 2);

    Script resumed;
    resumed.rows = {6652.0};
    MainLoopHooks resumedHooks = {&resumed, scriptIsRunning, scriptUpdate, scriptRow, scriptDraw};
    MainLoopState atLimit;
    atLimit.row = rowLimit;
    atLimit.started = true;
    EXPECT_FALSE(stepMainLoop(resumedHooks, &atLimit));
    EXPECT_EQ(resumed.updates + int(resumed.reads), 0);
    EXPECT_TRUE(resumed.drawnRows.empty());
}
