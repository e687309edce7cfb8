// Linear prediction by the autocorrelation method (Levinson-Durbin) and its lattice synthesis.
#include "song_vocoder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double preEmphasis = 0.94;
constexpr int windowLength = 512;

// Reflection coefficients and the remaining error of the autocorrelation r[0..order].
double levinson(const double* r, float* reflection) {
    double a[predictionOrder + 1] = {1.0};
    double previous[predictionOrder + 1];
    double error = r[0];
    for (int m = 1; m <= predictionOrder; ++m) {
        double sum = r[m];
        for (int j = 1; j < m; ++j) sum += a[j] * r[m - j];
        double k = error > 0 ? -sum / error : 0.0;
        k = std::clamp(k, -0.985, 0.985);
        reflection[m - 1] = float(k);
        std::copy(a, a + m, previous);
        for (int j = 1; j < m; ++j) a[j] = previous[j] + k * previous[m - j];
        a[m] = k;
        error *= 1.0 - k * k;
    }
    return error;
}

}  // namespace

std::vector<EnvelopeFrame> analyseSpeech(const std::vector<float>& samples) {
    long count = long(samples.size());
    std::vector<double> emphasised(samples.size());
    for (long i = 0; i < count; ++i)
        emphasised[size_t(i)] = samples[size_t(i)] - (i ? preEmphasis * samples[size_t(i - 1)] : 0.0);
    double window[windowLength];
    double windowEnergy = 0;
    for (int i = 0; i < windowLength; ++i) {
        window[i] = 0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / windowLength);
        windowEnergy += window[i] * window[i];
    }
    std::vector<EnvelopeFrame> frames;
    double windowed[windowLength];
    for (long centre = 0; centre < count + analysisHop; centre += analysisHop) {
        for (int i = 0; i < windowLength; ++i) {
            long at = centre - windowLength / 2 + i;
            windowed[i] = at >= 0 && at < count ? emphasised[size_t(at)] * window[i] : 0.0;
        }
        double r[predictionOrder + 1];
        for (int lag = 0; lag <= predictionOrder; ++lag) {
            double sum = 0;
            for (int i = lag; i < windowLength; ++i) sum += windowed[i] * windowed[i - lag];
            // A lag window widens the peaks a little so that no formant rings on its own.
            double spread = 2.0 * M_PI * 60.0 * lag / 22050.0;
            r[lag] = sum * std::exp(-0.5 * spread * spread);
        }
        // A floor of noise at about -66 dBFS: near-silent frames get a flat envelope instead of
        // an ill-conditioned one whose resonances would ring out of all proportion.
        r[0] = r[0] * 1.0001 + 2.5e-7 * windowEnergy;
        EnvelopeFrame frame{};
        double error = levinson(r, frame.reflection);
        frame.level = float(std::sqrt(std::max(0.0, error) / windowEnergy));
        frames.push_back(frame);
    }
    return frames;
}

EnvelopeFrame envelopeAt(const std::vector<EnvelopeFrame>& frames, double position) {
    double at = std::clamp(position / analysisHop, 0.0, double(frames.size() - 1));
    size_t first = size_t(at);
    size_t second = std::min(first + 1, frames.size() - 1);
    double mix = at - double(first);
    EnvelopeFrame result;
    for (int k = 0; k < predictionOrder; ++k) {
        result.reflection[k] =
            float(frames[first].reflection[k] + mix * (frames[second].reflection[k] - frames[first].reflection[k]));
    }
    result.level = float(frames[first].level + mix * (frames[second].level - frames[first].level));
    return result;
}

double runVocalTract(VocalTract& tract, const EnvelopeFrame& envelope, double excitation) {
    double forward = excitation;
    for (int m = predictionOrder; m >= 1; --m) {
        double k = envelope.reflection[m - 1];
        forward -= k * tract.backward[m - 1];
        tract.backward[m] = tract.backward[m - 1] + k * forward;
    }
    tract.backward[0] = forward;
    tract.deemphasis = forward + preEmphasis * tract.deemphasis;
    return tract.deemphasis;
}
