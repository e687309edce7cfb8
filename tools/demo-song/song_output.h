// Writing the finished song: as an MP3 through the LAME library, with the LAME info tag that
// lets decoders drop the encoder's delay and padding (so the first decoded sample is the
// song's first sample), or as a 16-bit WAV file for checks.
#pragma once

#include <string>
#include <vector>

// Both take interleaved stereo samples at 44100 Hz in [-1, 1]. They return 0, or -1 after
// printing what went wrong.
int writeMp3(const std::string& path, const std::vector<float>& stereo);
int writeWav(const std::string& path, const std::vector<float>& stereo);
