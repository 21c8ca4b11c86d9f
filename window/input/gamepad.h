// A game pad as the keyboard: the d-pad and the left stick hold the arrow keys, A and Start press
// the new-game button, Back and Y open and close the best games, and B goes back. Plain logic, no
// SDL: the input router feeds it the pad's changes and routes what comes out.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace sinkaway {

enum class PadButton : uint8_t {
    kDpadLeft,
    kDpadRight,
    kDpadUp,
    kDpadDown,
    kA,
    kB,
    kStart,
    kBack,
    kX,
    kY,
    kOther
};

struct PadOutput {
    enum class Kind : uint8_t {
        kKeyDown,
        kKeyUp,
        kNewGame,
        kStart,
        kBestGames,
        kGoBack,
        kToday
    } kind;
    uint16_t vk = 0;  // kKeyDown, kKeyUp
    bool operator==(const PadOutput&) const = default;
};

class PadMapper {
  public:
    // The stick must lean this far (of 32767) to hold a direction, and come back inside the
    // smaller one to let go: a stick resting near one threshold does not chatter.
    static constexpr int kStickPress = 16000;
    static constexpr int kStickRelease = 10000;

    // `pad` tells several pads apart (SDL's instance id). Each call appends what the window must
    // do to `out`; a key goes down when the first pad starts to hold it and up when the last lets
    // go, so two pads, or the d-pad and the stick together, never send a key-up too early.
    void Button(int pad, PadButton button, bool pressed, std::vector<PadOutput>& out);
    void StickX(int pad, int value, std::vector<PadOutput>& out);
    void StickY(int pad, int value, std::vector<PadOutput>& out);  // negative is up
    // A pad pulled out lets go of everything it held.
    void Removed(int pad, std::vector<PadOutput>& out);

    bool Holds(uint16_t vk) const;

  private:
    struct Pad {
        bool dpadLeft = false, dpadRight = false, dpadUp = false, dpadDown = false;
        int stick = 0;   // -1 left, 0 centre, +1 right
        int stickY = 0;  // -1 up, 0 centre, +1 down
    };
    // The stick's lean on one axis after it moved to `value`.
    static int Lean(int was, int value);
    // Runs `change` on a pad and reports the keys whose held state changed.
    template <typename Change>
    void Update(int pad, Change change, std::vector<PadOutput>& out);

    std::map<int, Pad> pads_;
};

}  // namespace sinkaway
