// Effects and the master chain: echo, side-chain pump, low-pass, fade-out and limiter.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "synth.hpp"

namespace music {

// Ping-pong echo: the mono sum bounces left, right, left ... with the given feedback.
inline void pingPongDelay(Bus& bus, double seconds, double feedback, double mix) {
    std::size_t length = frameAt(seconds);
    std::vector<double> left(length, 0.0), right(length, 0.0);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        double outL = left[pos], outR = right[pos];
        double in = 0.5 * (static_cast<double>(bus.left[i]) + static_cast<double>(bus.right[i]));
        left[pos] = in + feedback * outR;
        right[pos] = feedback * outL;
        bus.left[i] += static_cast<float>(mix * outL);
        bus.right[i] += static_cast<float>(mix * outR);
        pos = (pos + 1) % length;
    }
}

// Side-chain "pump": the gain of the melodic parts dips on every kick and swells back.
inline void duck(Bus& bus, const std::vector<double>& kicks, double depth) {
    std::vector<float> gain(bus.frames(), 1.0f);
    for (double start : kicks) {
        std::size_t first = frameAt(start);
        for (std::size_t i = 0; i < frameAt(0.4) && first + i < gain.size(); ++i) {
            double t = static_cast<double>(i) / kSampleRate;
            double dip = t < 0.005 ? t / 0.005 : std::exp(-(t - 0.005) / 0.1);
            gain[first + i] = std::min(gain[first + i], static_cast<float>(1.0 - depth * dip));
        }
    }
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        bus.left[i] *= gain[i];
        bus.right[i] *= gain[i];
    }
}

// Gentle low-pass, DC removal, a fade-out over the last fadeSeconds, soft limiting and
// normalisation to a peak of -1 dBFS; returns interleaved stereo samples.
inline std::vector<std::int16_t> master(const Bus& mix, double fadeSeconds) {
    const double lowPass = std::exp(-2.0 * kPi * 7000.0 / kSampleRate);
    HighPass dcLeft(15.0), dcRight(15.0);
    std::vector<double> out(2 * mix.frames());
    double stateL = 0.0, stateR = 0.0, peak = 1e-9;
    for (std::size_t i = 0; i < mix.frames(); ++i) {
        stateL = (1.0 - lowPass) * static_cast<double>(mix.left[i]) + lowPass * stateL;
        stateR = (1.0 - lowPass) * static_cast<double>(mix.right[i]) + lowPass * stateR;
        double left = static_cast<double>(mix.frames() - i) / kSampleRate;  // seconds to the end
        double fade = 0.5 - 0.5 * std::cos(kPi * std::min(1.0, left / fadeSeconds));
        out[2 * i] = fade * dcLeft.process(stateL);
        out[2 * i + 1] = fade * dcRight.process(stateR);
        peak = std::max({peak, std::fabs(out[2 * i]), std::fabs(out[2 * i + 1])});
    }
    const double drive = 1.6;  // how hard the soft limiter squeezes the loudest hits
    const double ceiling = 0.89 * 32767.0;
    std::vector<std::int16_t> pcm(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        double limited = std::tanh(drive * out[i] / peak) / std::tanh(drive);
        pcm[i] = static_cast<std::int16_t>(std::lround(ceiling * limited));
    }
    return pcm;
}

}  // namespace music
