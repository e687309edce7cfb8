// The song's events as the choreography reads them: the beats and bars, the drum hits and
// risers the arrangement plays, the sections, and every sung line and syllable, in rows.
#pragma once

#include <string>
#include <vector>

#include "song_arrange.h"
#include "song_voice.h"
#include "sync/song_events.h"

struct SungTiming {
    Singer singer;
    std::vector<SyllableTiming> syllables;  // of every line the singer sings, in order
};

std::vector<SongEvent> songEvents(const Score& score, const Arrangement& arrangement,
                                  const std::vector<SungLine>& lines, const std::vector<SungTiming>& sung);

// Writes the events, a header comment and the song's grid (the score's tempo, four beats a bar,
// bar 1 at row 0) and end row first; 0, or -1 after saying why on standard error.
int writeSongEvents(const std::string& path, const Score& score, double endRow, const std::vector<SongEvent>& events);
