// The player's name for the world's boards, entered the arcade way: twelve slots, each stepped
// through a short alphabet, so that keys, a pad and a finger all enter it alike and a phone needs
// no keyboard of its own. No SDL: the window's glue passes on what the player did, and the
// drawing reads the slots and the cursor back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sinkaway {

class NameEntry {
  public:
    static constexpr int kSlots = 12;
    // The space comes first, so that a slot can be left blank.
    static constexpr std::string_view kAlphabet = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.";
    // Where on a slot a finger lands: on the triangle above its letter, the letter, or below.
    enum class Part : uint8_t { kAbove, kLetter, kBelow };

    // Shown with `current` in the slots: uppercased, a character outside the alphabet as a space,
    // cut to the slots; with nothing in it, an "A" to start from. The cursor goes to the slot
    // after the last letter, or the last slot.
    void Open(std::string current);
    // The letter under the cursor, one on or one back through the alphabet, round at its ends.
    void Up();
    void Down();
    // The cursor, one slot aside; it stays put at either end.
    void Left();
    void Right();
    // The name, without the blanks at either end: taken, and the entry closes. A name of blanks
    // only is none: the entry stays open.
    std::optional<std::string> Enter();
    // Closes without a name.
    void Escape() { open_ = false; }
    // A finger on `slot` takes the cursor there; above or below its letter it is Up or Down too.
    void Tap(int slot, Part part);

    bool open() const { return open_; }
    int cursor() const { return cursor_; }
    // kSlots characters of the alphabet.
    const std::string& letters() const { return letters_; }

  private:
    void Step(int by);

    std::string letters_ = std::string(kSlots, ' ');
    int cursor_ = 0;
    bool open_ = false;
};

// Where the entry lies, in twips: a box over the game-over screen's middle, below the score and
// inside the walls. The drawing and the taps on its slots both go by it.
struct NameEntryLayout {
    static constexpr float kLeft = 240, kTop = 2880, kWidth = 4160, kHeight = 2280;
    static constexpr float kTitleTop = kTop + 135;
    // The slots side by side in the middle, each a column of three bands: the triangle above,
    // the letter, the triangle below.
    static constexpr float kSlotWidth = 270;
    static constexpr float kSlotsLeft =
        kLeft + (kWidth - static_cast<float>(NameEntry::kSlots) * kSlotWidth) / 2;
    static constexpr float kArrowHeight = 270, kLetterHeight = 420;
    static constexpr float kAboveTop = kTop + 540, kLetterTop = kAboveTop + kArrowHeight;
    static constexpr float kBelowTop = kLetterTop + kLetterHeight;
    static constexpr float kSlotsBottom = kBelowTop + kArrowHeight;
    // "OK" under the slots, in the middle, and the keys' help along the bottom.
    static constexpr float kOkWidth = 960, kOkHeight = 300;
    static constexpr float kOkLeft = kLeft + (kWidth - kOkWidth) / 2, kOkTop = kSlotsBottom + 120;
    static constexpr float kHelpTop = kTop + kHeight - 300;

    static bool Contains(float x, float y) {
        return x >= kLeft && x < kLeft + kWidth && y >= kTop && y < kTop + kHeight;
    }
    // The slot whose column holds a point (0 the first), or -1 for none.
    static int SlotAt(float x, float y) {
        if (x < kSlotsLeft || y < kAboveTop || y >= kSlotsBottom)
            return -1;
        const int slot = static_cast<int>((x - kSlotsLeft) / kSlotWidth);
        return slot < NameEntry::kSlots ? slot : -1;
    }
    // Which band of a slot's column lies at height `y`, for a point SlotAt finds a slot at.
    static NameEntry::Part PartAt(float y) {
        if (y < kLetterTop)
            return NameEntry::Part::kAbove;
        return y < kBelowTop ? NameEntry::Part::kLetter : NameEntry::Part::kBelow;
    }
    static bool OnOk(float x, float y) {
        return x >= kOkLeft && x < kOkLeft + kOkWidth && y >= kOkTop && y < kOkTop + kOkHeight;
    }
};

}  // namespace sinkaway
