// The track files a build leaves behind: files in the working directory named as a build names
// a track's file ("sync_", the name with ':' as '[', ".track") and holding what a build writes
// (a key count and that many 9-byte keys), of tracks the source no longer writes. Removing them
// makes a build give what a clean build gives: a renamed or dropped track no longer plays on from
// its old file. Nothing else is touched: no other name, no link, directory or other file kind,
// no file whose size is not that of its key count.
#pragma once

#include <string>
#include <vector>

#include "sync/track_text.h"

// Removes the stale track files of `source` from the working directory. Gives the names removed,
// in directory order; `failures` gets "NAME: reason" for each that could not be removed.
std::vector<std::string> removeStaleTrackFiles(const TrackSource& source, std::vector<std::string>* failures);
