// Mixing the buses down to the song's stereo signal: the pads ducked under each kick, an echo
// (ping-pong delay) and a small room (reverb) on the sends, high- and low-pass filters on the master,
// and the fade to silence at the end.
#pragma once

#include <vector>

#include "song_arrange.h"
#include "song_instruments.h"

// Returns interleaved stereo samples (left, right, ...), frames = buses.frames.
std::vector<float> mixDown(const MixBuses& buses, const Arrangement& arrangement);
