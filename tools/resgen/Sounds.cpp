#include "Sounds.h"

#include "Art.h"

#include <algorithm>
#include <cmath>

namespace {
const double kTwoPi = 6.283185307179586;

std::vector<int16_t> ToPcm(const std::vector<double>& signal, double peak)
{
    double largest = 1e-12;
    for (double v : signal)
        largest = std::max(largest, std::fabs(v));
    std::vector<int16_t> pcm(signal.size());
    for (size_t i = 0; i < signal.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::lround(signal[i] / largest * peak * 32767));
    return pcm;
}
} // namespace

std::vector<int16_t> MakeAmbient()
{
    std::vector<double> signal(kSampleRate, 0.0);
    // A low drone of whole-hertz partials, each swelling slowly at its own whole-hertz rate.
    struct Partial {
        int hz;
        double level;
        int swellHz;
    };
    const Partial drone[] = {{55, 1.0, 1}, {56, 0.6, 2}, {110, 0.5, 1}, {111, 0.35, 3}, {165, 0.22, 2}, {220, 0.12, 1}};
    for (const Partial& p : drone)
        for (int i = 0; i < kSampleRate; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double swell = 0.75 + 0.25 * std::sin(kTwoPi * p.swellHz * t + p.hz);
            signal[i] += p.level * swell * std::sin(kTwoPi * p.hz * t);
        }
    // Wind: a band of random-phase partials, one per hertz, softer towards the highs.
    std::vector<double> wind(kSampleRate, 0.0);
    for (int hz = 160; hz <= 2400; ++hz) {
        const double phase = kTwoPi * Hash01(hz, 1, 901);
        const double centre = std::log(hz / 520.0);
        const double level = std::exp(-centre * centre * 1.2) / std::sqrt(hz);
        const double step = kTwoPi * hz / kSampleRate;
        for (int i = 0; i < kSampleRate; ++i)
            wind[i] += level * std::sin(step * i + phase);
    }
    double windPeak = 1e-12, dronePeak = 1e-12;
    for (int i = 0; i < kSampleRate; ++i) {
        windPeak = std::max(windPeak, std::fabs(wind[i]));
        dronePeak = std::max(dronePeak, std::fabs(signal[i]));
    }
    for (int i = 0; i < kSampleRate; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double gust = 0.55 + 0.45 * std::sin(kTwoPi * t - 1.2) * std::sin(kTwoPi * 2 * t + 0.4);
        signal[i] = signal[i] / dronePeak + 0.55 * gust * wind[i] / windPeak;
    }
    return ToPcm(signal, 0.42);
}

std::vector<int16_t> MakeFlap()
{
    const int count = 105512 / 2;
    std::vector<double> signal(count, 0.0);
    // Noise through a resonant band-pass whose centre rises with the downstroke and falls back.
    double low = 0, band = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double noise = Hash01(i, 7, 1234) * 2 - 1;
        const double centre = 260 + 900 * std::exp(-std::pow((t - 0.09) / 0.08, 2)) + 140 * std::exp(-t * 3);
        const double f = 2 * std::sin(3.141592653589793 * centre / kSampleRate);
        const double damping = 0.55;
        low += f * band;
        const double high = noise - low - damping * band;
        band += f * high;
        const double attack = SmoothStep(0.0, 0.018, t);
        const double decay = std::exp(-t / 0.24);
        // The push of air: a low thump under the whoosh.
        const double thump = std::sin(kTwoPi * 58 * t) * std::exp(-t / 0.06) * SmoothStep(0.0, 0.01, t);
        const double tail = SmoothStep(1.196, 1.15, t);
        signal[i] = (band * attack * decay + 0.35 * thump) * tail;
    }
    signal[count - 1] = 0;
    return ToPcm(signal, 0.8);
}
