// What the show's tools exit with, and the lines they share on the way out. Each tool's --help
// says what its failures are; the values mean the same in every tool.
#pragma once

#include <string>
#include <vector>

constexpr int exitDone = 0;
constexpr int exitFailed = 1;         // the work could not be done, or (demo-check) the show has problems
constexpr int exitUsage = 2;          // the arguments are not understood
constexpr int exitInterrupted = 130;  // stopped by a signal (128 + SIGINT, as a shell reports it)

// "the show folder is incomplete: FILE is missing" and, when more are missing, " (and N more)":
// the first of the missing files named, the rest counted. `missing` holds at least one name.
std::string incompleteShowFolderText(const std::vector<std::string>& missing);

// "the current directory is not a show folder: ...": the one line a tool that works in a show
// folder prints when none of the show's files are where it runs.
std::string notAShowFolderText();

// "(TOOL --help shows the options)", the line after a complaint about the arguments.
std::string helpHintText(const char* tool);
