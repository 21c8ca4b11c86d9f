// Sinkaway's track as data: tempo, chords, bass and arpeggio patterns, drums, melody, arrangement.
#pragma once

#include <array>
#include <cstddef>

namespace music {

constexpr double kBpm = 128.0;
constexpr double kStep = 60.0 / kBpm / 4.0;  // one sixteenth note, in seconds
constexpr int kStepsPerBar = 16;
constexpr double kBar = kStep * kStepsPerBar;

// One chord per bar, repeating every four bars. MIDI note numbers (69 = A4 = 440 Hz).
struct Chord {
    int bass;                  // root in the bass register
    std::array<int, 3> tones;  // chord tones around middle C, for the pad and the arpeggio
};
constexpr std::array<Chord, 4> kChords = {{
    {33, {57, 60, 64}},  // A minor: A1 | A3 C4 E4
    {29, {57, 60, 65}},  // F major: F1 | A3 C4 F4
    {36, {55, 60, 64}},  // C major: C2 | G3 C4 E4
    {31, {55, 59, 62}},  // G major: G1 | G3 B3 D4
}};

// Bass: eighth notes bouncing between the root and its octave.
constexpr std::array<int, 8> kBassPattern = {0, 12, 0, 12, 0, 12, 0, 12};

// Arpeggio: sixteenths, indices into the chord tones spread over two octaves (3..5 = an octave up).
constexpr std::array<int, 16> kArpPattern = {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 5, 4, 3, 2};

// Drums, one character per sixteenth: x = hit, o = open hi-hat, - = rest.
constexpr const char* kKickPattern = "x---x---x---x---";
constexpr const char* kSnarePattern = "----x-------x---";
constexpr const char* kHatPattern = "x-o-x-o-x-o-x-ox";
// The snare build-up before the last chorus, getting louder across the bar.
constexpr const char* kRollPattern = "x-x-x-x-xxxxxxxx";

// Lead melody over eight bars: start (in sixteenths from the phrase start), length, note.
struct Note {
    int step;
    int length;
    int midi;
};
constexpr std::array<Note, 29> kMelody = {{
    {0, 6, 76},   {6, 2, 74},   {8, 4, 72},   {12, 4, 69},   // Am: E D C A
    {16, 4, 72},  {20, 4, 77},  {24, 4, 76},  {28, 4, 72},   // F:  C F E C
    {32, 6, 79},  {38, 2, 76},  {40, 4, 72},  {44, 4, 76},   // C:  G E C E
    {48, 8, 74},  {56, 4, 71},  {60, 4, 74},  {64, 6, 76},   // G:  D B D | Am: E
    {70, 2, 74},  {72, 4, 72},  {76, 4, 69},  {80, 6, 81},   // D C A | F: A
    {86, 2, 79},  {88, 4, 77},  {92, 4, 76},  {96, 4, 76},   // G F E | C: E
    {100, 4, 79}, {104, 8, 84}, {112, 6, 83}, {118, 2, 81},  // G C | G: B A
    {120, 8, 79},                                            // G
}};
constexpr int kMelodyBars = 8;

// The arrangement: which parts play in each section.
enum Part : unsigned {
    kPad = 1u << 0,
    kArp = 1u << 1,
    kBass = 1u << 2,
    kKick = 1u << 3,
    kSnare = 1u << 4,
    kHats = 1u << 5,
    kLead = 1u << 6,
    kRoll = 1u << 7,   // snare roll instead of the snare pattern
    kCrash = 1u << 8,  // a crash cymbal on the section's first beat
    kSweep = 1u << 9,  // the pad's and the arpeggio's filters open over the section
};
struct Section {
    int bars;
    unsigned parts;
};
constexpr unsigned kBeat = kBass | kKick | kSnare | kHats;
constexpr std::array<Section, 7> kSections = {{
    {2, kPad | kArp | kSweep},                   // intro
    {2, kPad | kArp | kHats | kSweep},           // intro, hats enter
    {8, kPad | kArp | kBeat | kCrash},           // verse
    {8, kPad | kArp | kBeat | kLead | kCrash},   // chorus
    {3, kPad | kArp | kHats | kSweep | kCrash},  // breakdown
    {1, kPad | kArp | kRoll},                    // build-up
    {8, kPad | kArp | kBeat | kLead | kCrash},   // last chorus, fading out
}};
constexpr double kFadeSeconds = 4 * kBar;

// The element at index i of a pattern that repeats: a[i mod N].
template <typename T, std::size_t N>
const T& cycle(const std::array<T, N>& a, int i) {
    return a[static_cast<std::size_t>(i) % N];
}

}  // namespace music
