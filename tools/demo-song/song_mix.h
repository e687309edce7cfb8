// Mixing the buses down to the song's stereo signal: the pads ducked under each kick, an echo
// (ping-pong delay) and a small room (reverb) on the sends, high- and low-pass filters on the master,
// and the fade to silence at the end.
#pragma once

#include <vector>

#include "song_arrange.h"
#include "song_instruments.h"

// Returns interleaved stereo samples (left, right, ...), frames = buses.frames.
std::vector<float> mixDown(const MixBuses& buses, const Arrangement& arrangement);

// Makes room for the voice: while it sings, the band's 1-4 kHz (where the words are understood)
// is pulled down by up to 10 dB, following the voice's level. Both interleaved stereo, equally long.
void carveRoomForVoice(std::vector<float>& band, const std::vector<float>& voice);
