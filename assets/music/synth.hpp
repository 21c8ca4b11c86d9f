// Sound building blocks of the music generator: oscillators, envelopes, filters and a stereo bus.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace music {

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;

inline double midiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

inline std::size_t frameAt(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

// Deterministic white noise in [-1, 1) (xorshift32 with a fixed seed).
class Noise {
  public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_ = 0x5EED1234u;
};

// Band-limited step correction (PolyBLEP) for a phase t in [0, 1) advancing by dt per sample.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A phase accumulator with saw, square and sine outputs.
class Oscillator {
  public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}
    void advance(double hz) {
        dt_ = hz / kSampleRate;
        phase_ += dt_;
        if (phase_ >= 1.0) {
            phase_ -= 1.0;
        }
    }
    double saw() const { return 2.0 * phase_ - 1.0 - polyBlep(phase_, dt_); }
    double square() const {
        double half = phase_ < 0.5 ? phase_ + 0.5 : phase_ - 0.5;
        return (phase_ < 0.5 ? 1.0 : -1.0) + polyBlep(phase_, dt_) - polyBlep(half, dt_);
    }
    double sine() const { return std::sin(2.0 * kPi * phase_); }

  private:
    double phase_;
    double dt_ = 0.0;
};

// Exponential decay from 1 towards 0 with the given time constant, stepped once per sample.
class Decay {
  public:
    explicit Decay(double seconds) : k_(std::exp(-1.0 / (seconds * kSampleRate))) {}
    double next() {
        double v = value_;
        value_ *= k_;
        return v;
    }

  private:
    double k_;
    double value_ = 1.0;
};

// Attack-decay-sustain-release shape: times in seconds, sustain as a level 0..1.
struct Adsr {
    double attack, decay, sustain, release;

    // How long a note held for `gate` seconds sounds, release tail included.
    double length(double gate) const { return gate + 5.0 * release; }
};

// An Adsr envelope for one note held for `gate` seconds, stepped once per sample: a linear
// attack, an exponential decay to the sustain level, and an exponential release.
class Envelope {
  public:
    Envelope(const Adsr& shape, double gate)
        : sustain_(shape.sustain),
          attackFrames_(std::max<std::size_t>(1, frameAt(shape.attack))),
          gateFrames_(frameAt(gate)),
          decay_(shape.decay),
          release_(shape.release) {}
    double next() {
        ++frame_;
        if (frame_ > gateFrames_) {
            return held_ * release_.next();
        }
        if (frame_ <= attackFrames_) {
            held_ = static_cast<double>(frame_) / static_cast<double>(attackFrames_);
        } else {
            held_ = sustain_ + (1.0 - sustain_) * decay_.next();
        }
        return held_;
    }

  private:
    double sustain_;
    std::size_t attackFrames_, gateFrames_;
    Decay decay_, release_;
    std::size_t frame_ = 0;
    double held_ = 0.0;
};

// Two-pole state-variable low-pass filter (topology-preserving transform).
class LowPass {
  public:
    LowPass(double cutoff, double q) { tune(cutoff, q); }
    void tune(double cutoff, double q) {
        double g = std::tan(kPi * std::min(cutoff, 0.45 * kSampleRate) / kSampleRate);
        a1_ = 1.0 / (1.0 + g * (g + 1.0 / q));
        a2_ = g * a1_;
        a3_ = g * a2_;
    }
    double process(double x) {
        double v3 = x - s2_;
        double v1 = a1_ * s1_ + a2_ * v3;
        double v2 = s2_ + a2_ * s1_ + a3_ * v3;
        s1_ = 2.0 * v1 - s1_;
        s2_ = 2.0 * v2 - s2_;
        return v2;
    }

  private:
    double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, s1_ = 0.0, s2_ = 0.0;
};

// One-pole high-pass filter, for the noise of the cymbals and the snare.
class HighPass {
  public:
    explicit HighPass(double cutoff) : k_(std::exp(-2.0 * kPi * cutoff / kSampleRate)) {}
    double process(double x) {
        low_ = (1.0 - k_) * x + k_ * low_;
        return x - low_;
    }

  private:
    double k_;
    double low_ = 0.0;
};

// A stereo mix bus; pan runs from -1 (left) to +1 (right) with constant power.
struct Bus {
    std::vector<float> left, right;

    explicit Bus(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }
};

// Calls voice(t) for each sample from start on for the given duration and adds it to the bus.
template <typename Voice>
void render(Bus& bus, double start, double duration, double pan, Voice voice) {
    const double angle = (pan + 1.0) * kPi / 4.0;
    const double gainL = std::cos(angle), gainR = std::sin(angle);
    const std::size_t first = frameAt(start);
    const std::size_t count =
        std::min(frameAt(duration), bus.frames() - std::min(first, bus.frames()));
    for (std::size_t i = 0; i < count; ++i) {
        double value = voice(static_cast<double>(i) / kSampleRate);
        bus.left[first + i] += static_cast<float>(gainL * value);
        bus.right[first + i] += static_cast<float>(gainR * value);
    }
}

}  // namespace music
