// Whether a choreography source and the song it follows fit each other: the source counts its
// bars at the song's tempo, with the song's beats a bar and its bar 1, and the song lasts as long
// as the show. A source that counts at 120 beats a minute over a song at 126 puts every key a
// little further off the music, and a song that ends early leaves the show's end in silence.
#pragma once

#include <string>
#include <vector>

#include "sync/musical_grid.h"
#include "sync/song_events.h"

// What keeps the source's grid from the song's, a line each; empty when they fit. A song that
// does not declare its grid or end (older events files) is not held to them, and neither is a
// source without a tempo (it names rows only). `eventsFile` names the song in the messages.
std::vector<std::string> songMisfits(const MusicalGrid& source, const SongEventList& song,
                                     const std::string& eventsFile);
