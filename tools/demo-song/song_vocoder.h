// The voice's source-filter model: the spoken line is analysed into a spectral envelope (linear
// prediction, as reflection coefficients) and a level, frame by frame; singing runs a new source
// (a pulse train at the melody's pitch, noise for the hissed sounds) through that envelope.
#pragma once

#include <cstdint>
#include <vector>

constexpr int predictionOrder = 20;
constexpr int analysisHop = 64;  // samples between frames

struct EnvelopeFrame {
    float reflection[predictionOrder];
    float level;  // the RMS of the prediction error, per sample
};

// One frame every analysisHop samples, centred there.
std::vector<EnvelopeFrame> analyseSpeech(const std::vector<float>& samples);

// The envelope at a fractional sample position, interpolated between frames.
EnvelopeFrame envelopeAt(const std::vector<EnvelopeFrame>& frames, double position);

// The all-pole filter as a lattice, which stays stable while its coefficients move, followed by
// the de-emphasis that gives the analysis' pre-emphasis back.
struct VocalTract {
    double backward[predictionOrder + 1] = {};
    double deemphasis = 0;
};

double runVocalTract(VocalTract& tract, const EnvelopeFrame& envelope, double excitation);
