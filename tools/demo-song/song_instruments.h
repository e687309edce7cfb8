// The song's instruments: drums made of tuned sines and filtered noise, and the bass, pad,
// arpeggio and lead synths (band-limited saws and squares through resonant filters). Each
// event is rendered into the mix buses: the dry stereo sound, the pads (ducked by the kick
// later) and the mono sends to the delay and the reverb.
#pragma once

#include <cstdint>
#include <vector>

#include "song_arrange.h"

struct MixBuses {
    long frames;
    std::vector<float> dryLeft;
    std::vector<float> dryRight;
    std::vector<float> padLeft;
    std::vector<float> padRight;
    std::vector<float> delaySend;
    std::vector<float> reverbSend;
};

MixBuses makeMixBuses(long frames);

// Adds one event's sound to the buses. The seed makes the noise of each event its own, the
// same on every run.
void renderEvent(const NoteEvent& event, MixBuses& buses, uint32_t seed);
