// What the show folder (the working directory) must hold for the show: the song, the two
// shaders, the 145 catalogue images and the 20 track files.
#pragma once

#include <string>
#include <vector>

// Every file the show reads, in the order start-up reads them.
std::vector<std::string> showFileNames();

// The files of showFileNames() that are not there.
std::vector<std::string> missingShowFiles();

// True when at least one of the show's files is there: the working directory is a show folder,
// whole or not.
bool isShowFolder();
