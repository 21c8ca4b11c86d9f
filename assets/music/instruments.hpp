// The instruments of the track: each function renders one note or one drum hit onto a bus.
#pragma once

#include "synth.hpp"

namespace music {

inline void kick(Bus& bus, double start, double gain) {
    Oscillator osc;
    Noise click;  // its own generator, so every kick has the same click
    Decay pitch(0.035), body(0.22), snap(0.003);
    render(bus, start, 0.45, 0.0, [&](double) {
        osc.advance(45.0 + 115.0 * pitch.next());  // a fast sweep down to 45 Hz
        return gain * (osc.sine() * body.next() + 0.25 * click.next() * snap.next());
    });
}

inline void snare(Bus& bus, Noise& noise, double start, double gain) {
    Oscillator osc;
    HighPass hp(1200.0);
    Decay body(0.05), rattle(0.11);
    render(bus, start, 0.35, 0.0, [&](double t) {
        osc.advance(190.0 - 30.0 * t);
        return gain * (0.6 * osc.sine() * body.next() + hp.process(noise.next()) * rattle.next());
    });
}

inline void hiHat(Bus& bus, Noise& noise, double start, double gain, bool open) {
    HighPass hp(6000.0);
    const double seconds = open ? 0.11 : 0.03;
    Decay decay(seconds);
    render(bus, start, 6.0 * seconds, 0.25,
           [&](double) { return gain * hp.process(noise.next()) * decay.next(); });
}

inline void crash(Bus& bus, Noise& noise, double start, double gain) {
    HighPass hp(3500.0);
    Decay decay(0.6);
    render(bus, start, 2.5, -0.2,
           [&](double) { return gain * hp.process(noise.next()) * decay.next(); });
}

inline void bassNote(Bus& bus, double start, double gate, int midi, double gain) {
    const Adsr shape{0.004, 0.12, 0.65, 0.02};
    Envelope env(shape, gate);
    Oscillator saw, sub;
    LowPass filter(1000.0, 1.4);
    Decay pluck(0.07);  // the filter opens at the note's start and closes quickly
    const double hz = midiToHz(midi);
    std::size_t n = 0;
    render(bus, start, shape.length(gate), 0.0, [&](double) {
        double sweep = pluck.next();
        if (n++ % 8 == 0) {
            filter.tune(180.0 + 1600.0 * sweep, 1.4);
        }
        saw.advance(hz);
        sub.advance(hz / 2.0);
        return gain * env.next() * filter.process(saw.saw() + 0.5 * sub.square());
    });
}

inline void padNote(Bus& bus, double start, double gate, int midi, double cutoff, double pan,
                    double gain) {
    const Adsr shape{0.35, 0.5, 0.8, 0.3};
    Envelope env(shape, gate);
    Oscillator low, high(0.37);  // two saws slightly detuned against each other
    LowPass filter(cutoff, 0.7);
    const double hz = midiToHz(midi);
    render(bus, start, shape.length(gate), pan, [&](double) {
        low.advance(hz * 0.9954);
        high.advance(hz * 1.0046);
        return gain * env.next() * filter.process(low.saw() + high.saw());
    });
}

inline void arpNote(Bus& bus, double start, double gate, int midi, double cutoff, double pan,
                    double gain) {
    const Adsr shape{0.002, 0.09, 0.0, 0.05};
    Envelope env(shape, gate);
    Oscillator osc;
    LowPass filter(cutoff, 1.2);
    const double hz = midiToHz(midi);
    render(bus, start, shape.length(gate), pan, [&](double) {
        osc.advance(hz);
        return gain * env.next() * filter.process(osc.square());
    });
}

inline void leadNote(Bus& bus, double start, double gate, int midi, double gain) {
    const Adsr shape{0.015, 0.25, 0.7, 0.12};
    Envelope env(shape, gate);
    Oscillator a, b, lfo;
    LowPass filter(3500.0, 0.9);
    const double hz = midiToHz(midi);
    render(bus, start, shape.length(gate), 0.1, [&](double t) {
        lfo.advance(5.5);
        // Vibrato of up to a quarter semitone (a semitone is ln 2 / 12 = 1/17.3 of the
        // frequency), fading in over 0.4 s.
        double bend = 1.0 + 0.25 / 17.3 * std::min(1.0, t / 0.4) * lfo.sine();
        a.advance(hz * bend);
        b.advance(hz * bend * 1.006);
        return gain * env.next() * filter.process(a.saw() + b.saw());
    });
}

}  // namespace music
