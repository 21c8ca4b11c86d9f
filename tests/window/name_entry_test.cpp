// The name entry as a player steps it: each case opens it with a name, presses, and reads back the
// slots, the cursor and the name taken.
#include "name_entry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace sinkaway {
namespace {

struct Case {
    const char* name;
    const char* opened;  // what Open gets
    // Space-separated presses: U D < > the arrows, E Enter, X Escape; ^N vN @N a tap above, below
    // or on slot N's letter.
    const char* presses;
    const char* letters;  // the slots, without the blanks at the end
    int cursor;
    bool open;
    const char* taken;  // the name Enter took, or "-" for none
};

const Case kCases[] = {
    {"EmptyStartsOnAnA", "", "", "A", 0, true, "-"},
    {"OnlyOddCharactersAreEmpty", "!?*", "", "A", 0, true, "-"},
    {"CursorAfterTheLastLetter", "ab c", "", "AB C", 4, true, "-"},
    {"OddCharactersBecomeOneSpaceEach", "jo\xc3\xa9-b.x!", "", "JO -B.X", 7, true, "-"},
    {"CutToTheSlots", "abcdefghijklmnop", "", "ABCDEFGHIJKL", 11, true, "-"},
    {"DownWrapsToTheEnd", "", "D D", ".", 0, true, "-"},
    {"UpWrapsToTheSpace", "9.", "< U", "9", 1, true, "-"},
    {"CursorStopsAtTheEnds", "ab", "< < < <", "AB", 0, true, "-"},
    {"CursorStopsAtTheLastSlot", "abcdefghijk", "> > >", "ABCDEFGHIJK", 11, true, "-"},
    {"EnterTrimsBothEnds", "  a  b", "U E", "  A  BA", 6, false, "A  BA"},
    {"BlankNameIsRefused", "", "D E", "", 0, true, "-"},
    {"RefusedThenTaken", "", "D E U E", "A", 0, false, "A"},
    {"EscapeTakesNothing", "bo", "X U E", "BO", 2, false, "-"},
    {"TapsStepAndMove", "ab", "^0 v1 @5 ^12 v-1", "BA", 5, true, "-"},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class NameEntryTest : public ::testing::TestWithParam<Case> {};

TEST_P(NameEntryTest, ShowsAndTakesWhatThePlayerEntered) {
    const Case& c = GetParam();
    NameEntry entry;
    entry.Open(c.opened);
    std::string taken = "-";
    std::istringstream presses(c.presses);
    for (std::string p; presses >> p;) {
        switch (p[0]) {
            case 'U':
                entry.Up();
                break;
            case 'D':
                entry.Down();
                break;
            case '<':
                entry.Left();
                break;
            case '>':
                entry.Right();
                break;
            case 'E':
                if (auto name = entry.Enter())
                    taken = *name;
                break;
            case 'X':
                entry.Escape();
                break;
            default: {
                const int slot = std::stoi(p.substr(1));
                entry.Tap(slot, p[0] == '^'   ? NameEntry::Part::kAbove
                                : p[0] == 'v' ? NameEntry::Part::kBelow
                                              : NameEntry::Part::kLetter);
            }
        }
    }
    const std::string& letters = entry.letters();
    ASSERT_EQ(letters.size(), static_cast<size_t>(NameEntry::kSlots));
    EXPECT_EQ(letters.substr(0, letters.find_last_not_of(' ') + 1), c.letters);
    EXPECT_EQ(entry.cursor(), c.cursor);
    EXPECT_EQ(entry.open(), c.open);
    EXPECT_EQ(taken, c.taken);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameEntryTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace sinkaway
