// make_music: synthesises Sinkaway's background track, a 60-second synthwave piece, and writes it
// as a 16-bit PCM stereo WAV file. Usage: make_music OUTPUT.wav
//
// Everything is generated here from oscillators, noise and envelopes: 128 BPM, A minor, the chord
// loop Am - F - C - G; a pulsing octave bass in eighth notes, an arpeggio in sixteenths, a detuned
// saw pad, a saw lead in the choruses, and kick, snare, hi-hats and crash made from sine sweeps and
// noise. The noise generator has a fixed seed, so the output is the same on every run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "music/instruments.hpp"
#include "music/mixdown.hpp"
#include "music/song.hpp"
#include "music/synth.hpp"
#include "music/wav.hpp"

namespace music {
namespace {

// Renders every section of the arrangement onto three buses and mixes them.
Bus composeSong() {
    int totalBars = 0;
    for (const Section& s : kSections) {
        totalBars += s.bars;
    }
    const std::size_t frames = frameAt(totalBars * kBar);
    Bus drums(frames), backing(frames), echoes(frames);
    Noise noise;
    std::vector<double> kickTimes;

    int bar = 0;
    for (const Section& section : kSections) {
        const unsigned p = section.parts;
        for (int b = 0; b < section.bars; ++b, ++bar) {
            const Chord& chord = cycle(kChords, bar);
            const double barStart = bar * kBar;
            const double progress = (b + 0.5) / section.bars;  // through the section, 0..1

            if ((p & kCrash) && b == 0) {
                crash(drums, noise, barStart, 0.22);
            }
            if (p & kPad) {
                double cutoff = (p & kSweep) ? 700.0 + 1100.0 * progress : 1900.0;
                for (std::size_t i = 0; i < chord.tones.size(); ++i) {
                    double pan = 0.6 * (static_cast<double>(i) - 1.0);  // left, centre, right
                    padNote(backing, barStart, kBar, chord.tones[i], cutoff, pan, 0.09);
                }
            }
            for (int step = 0; step < kStepsPerBar; ++step) {
                const double t = barStart + step * kStep;
                const double stepProgress =
                    (b + static_cast<double>(step) / kStepsPerBar) / section.bars;
                if ((p & kKick) && kKickPattern[step] == 'x') {
                    kick(drums, t, 0.75);
                    kickTimes.push_back(t);
                }
                if ((p & kSnare) && kSnarePattern[step] == 'x') {
                    snare(drums, noise, t, 0.45);
                }
                if ((p & kRoll) && kRollPattern[step] == 'x') {
                    snare(drums, noise, t, 0.12 + 0.33 * step / kStepsPerBar);
                }
                if ((p & kHats) && kHatPattern[step] != '-') {
                    bool open = kHatPattern[step] == 'o';
                    hiHat(drums, noise, t, (open ? 0.22 : 0.18) * (step % 4 == 0 ? 1.0 : 0.75),
                          open);
                }
                if ((p & kBass) && step % 2 == 0) {
                    bassNote(backing, t, 1.7 * kStep, chord.bass + cycle(kBassPattern, step / 2),
                             0.25);
                }
                if (p & kArp) {
                    int index = cycle(kArpPattern, step);
                    int midi = cycle(chord.tones, index) + 12 * (index / 3) + 12;
                    double cutoff = (p & kSweep) ? 500.0 + 3000.0 * stepProgress : 4000.0;
                    arpNote(echoes, t, kStep, midi, cutoff, step % 2 == 0 ? -0.35 : 0.35, 0.11);
                }
            }
            if (p & kLead) {
                const int phraseStep = (b % kMelodyBars) * kStepsPerBar;
                for (const Note& note : kMelody) {
                    if (note.step >= phraseStep && note.step < phraseStep + kStepsPerBar) {
                        double start = barStart + (note.step - phraseStep) * kStep;
                        leadNote(echoes, start, (note.length - 0.5) * kStep, note.midi, 0.13);
                    }
                }
            }
        }
    }
    pingPongDelay(echoes, 3 * kStep, 0.4, 0.35);  // dotted-eighth echo
    duck(backing, kickTimes, 0.55);
    duck(echoes, kickTimes, 0.3);
    for (std::size_t i = 0; i < frames; ++i) {
        drums.left[i] += backing.left[i] + echoes.left[i];
        drums.right[i] += backing.right[i] + echoes.right[i];
    }
    return drums;
}

}  // namespace
}  // namespace music

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_music OUTPUT.wav\n");
        return 2;
    }
    const std::vector<std::int16_t> pcm = music::master(music::composeSong(), music::kFadeSeconds);
    if (!music::writeWav(argv[1], pcm, 2, music::kSampleRate)) {
        std::fprintf(stderr, "make_music: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
