// Accents: the keys a choreography source asks for with `on` and `pulse`, made from the song's
// events and laid over a track's own keys, so that faces, pops and flashes follow what the song
// plays and sings rather than keys typed per syllable.
#pragma once

#include <vector>

#include "sync/song_events.h"
#include "sync/track_text.h"

// Lays each track's accents over its keys. Problems (an event the song never has, a track
// grown past maxTrackKeys) go to source->errors with the accent's line.
void applyAccents(TrackSource* source, const std::vector<SongEvent>& events);

// When the source has an `events` line: reads the events file it names (relative to the working
// directory), holds the source's grid and the show's length to the song's (sync/song_fit.h) and
// applies the accents; an unreadable or damaged file, or a song that does not fit, is an error
// at that line.
void readEventsAndApplyAccents(TrackSource* source);
