// The name entry's slots and cursor, and what each step of the player's does to them.
#include "name_entry.h"

namespace sinkaway {

namespace {

// A byte of the name as a slot shows it: a letter of the alphabet, uppercased, or a space.
char SlotLetter(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        c = static_cast<unsigned char>(c - 'a' + 'A');
    return NameEntry::kAlphabet.find(static_cast<char>(c)) != std::string_view::npos
               ? static_cast<char>(c)
               : ' ';
}

bool ContinuesUtf8(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

void NameEntry::Open(std::string current) {
    letters_.assign(kSlots, ' ');
    int filled = 0;  // slots up to the last letter
    int slot = 0;
    for (const char c : current) {
        if (slot == kSlots)
            break;
        // A character of several bytes is one character outside the alphabet: one space.
        if (ContinuesUtf8(static_cast<unsigned char>(c)))
            continue;
        letters_[static_cast<size_t>(slot)] = SlotLetter(static_cast<unsigned char>(c));
        ++slot;
        if (letters_[static_cast<size_t>(slot - 1)] != ' ')
            filled = slot;
    }
    if (filled == 0) {
        // Nothing to start from: an "A" under the cursor, one step from any letter.
        letters_[0] = 'A';
        cursor_ = 0;
    } else {
        cursor_ = filled < kSlots ? filled : kSlots - 1;
    }
    open_ = true;
}

void NameEntry::Step(int by) {
    if (!open_)
        return;
    const int size = static_cast<int>(kAlphabet.size());
    char& letter = letters_[static_cast<size_t>(cursor_)];
    const int at = static_cast<int>(kAlphabet.find(letter));
    letter = kAlphabet[static_cast<size_t>((at + by + size) % size)];
}

void NameEntry::Up() {
    Step(1);
}

void NameEntry::Down() {
    Step(-1);
}

void NameEntry::Left() {
    if (open_ && cursor_ > 0)
        --cursor_;
}

void NameEntry::Right() {
    if (open_ && cursor_ + 1 < kSlots)
        ++cursor_;
}

std::optional<std::string> NameEntry::Enter() {
    const size_t first = letters_.find_first_not_of(' ');
    if (!open_ || first == std::string::npos)
        return std::nullopt;
    const size_t last = letters_.find_last_not_of(' ');
    open_ = false;
    return letters_.substr(first, last - first + 1);
}

void NameEntry::Tap(int slot, Part part) {
    if (!open_ || slot < 0 || slot >= kSlots)
        return;
    cursor_ = slot;
    if (part == Part::kAbove) {
        Up();
    } else if (part == Part::kBelow) {
        Down();
    }
}

}  // namespace sinkaway
