// Running the real programs from tests: a shell command in a folder, its exit status and output.
#pragma once

#include <string>

struct ProgramResult {
    int status;       // the exit status; 128 + N when ended by signal N
    std::string out;  // standard output
    std::string err;  // standard error
};

ProgramResult runCommand(const std::string& command, const std::string& folder);

// The path of a program built into build/bin.
std::string builtProgram(const std::string& name);

// Quotes a text for the shell.
std::string shellQuote(const std::string& text);
