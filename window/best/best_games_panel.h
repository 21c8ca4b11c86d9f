// The "Best games" panel's contents: the table as the window last heard of it, the row chosen and
// the notes. No SDL; whether it shows is the best games' mode (best_games.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sinkaway {

struct BestGameRow {
    int rank = 0;
    int64_t score = 0;
    std::string played;      // "2026-12-08T03:00:00Z"
    bool verified = false;   // its replay ends on its score
    std::string replayPath;  // full path
};

// One table the panel lists: its rows as the window last heard of them, or why it has none.
struct BestGamesTable {
    std::vector<BestGameRow> rows;
    std::string note;     // the line shown instead of rows: why there are none
    bool loaded = false;  // heard of at least once
};

// Where the panel lies, in twips: inside the walls, from below the score to above the check
// boxes' text. The drawing and the taps on its rows both go by it.
struct PanelLayout {
    static constexpr float kLeft = 240, kTop = 420, kWidth = 4155, kHeight = 4860;
    static constexpr float kRowTop = kTop + 900, kRowHeight = 330, kPad = 120;
    static constexpr int kRowsShown = 10;

    // The page's two buttons, at the title's height on either side of it: "O open" on the left,
    // "S save" on the right. The desktop has neither.
    static constexpr float kButtonTop = kTop + 135, kButtonWidth = 960, kButtonHeight = 300;
    static constexpr float kOpenLeft = kLeft + kPad,
                           kSaveLeft = kLeft + kWidth - kPad - kButtonWidth;

    static bool Contains(float x, float y) {
        return x >= kLeft && x < kLeft + kWidth && y >= kTop && y < kTop + kHeight;
    }
    // The row drawn at a point (0 the first), whether or not the table has it; -1 for none.
    static int RowAt(float x, float y) {
        if (x < kLeft + kPad / 2 || x >= kLeft + kWidth - kPad / 2 || y < kRowTop)
            return -1;
        const int row = static_cast<int>((y - kRowTop) / kRowHeight);
        return row < kRowsShown ? row : -1;
    }
    // And "H best games" on the title and game-over screens, for a finger: bottom right inside
    // the walls, level with the lower check box, clear of the credit line below it; wide enough
    // for its twelve letters.
    static constexpr float kBestWidth = 1680, kBestLeft = 4560 - kPad - kBestWidth, kBestTop = 5160;

    static bool OnButton(float left, float top, float width, float x, float y) {
        return x >= left && x < left + width && y >= top && y < top + kButtonHeight;
    }
    static bool OnOpen(float x, float y) {
        return OnButton(kOpenLeft, kButtonTop, kButtonWidth, x, y);
    }
    static bool OnSave(float x, float y) {
        return OnButton(kSaveLeft, kButtonTop, kButtonWidth, x, y);
    }
    static bool OnBestGames(float x, float y) {
        return OnButton(kBestLeft, kBestTop, kBestWidth, x, y);
    }
};

class BestGamesPanel {
  public:
    // Shown again: from the top, without an old problem.
    void Open() {
        selected_ = 0;
        problem_.clear();
    }

    // A new table: the choice stays on the same rank, within the rows.
    void SetRows(std::vector<BestGameRow> rows) {
        table_.rows = std::move(rows);
        table_.loaded = true;
        if (selected_ >= static_cast<int>(table_.rows.size()))
            selected_ = table_.rows.empty() ? 0 : static_cast<int>(table_.rows.size()) - 1;
    }
    void SetNote(std::string note) { table_.note = std::move(note); }
    // What went wrong with the last thing asked, shown in place of the keys' help until the
    // player asks for something else.
    void SetProblem(std::string problem) { problem_ = std::move(problem); }

    void Up() {
        problem_.clear();
        if (selected_ > 0)
            --selected_;
    }
    void Down() {
        problem_.clear();
        if (selected_ + 1 < static_cast<int>(rows().size()))
            ++selected_;
    }
    // nullptr when there are no rows.
    const BestGameRow* Selected() const {
        return rows().empty() ? nullptr : &rows()[static_cast<size_t>(selected_)];
    }
    int selected() const { return selected_; }
    const std::vector<BestGameRow>& rows() const { return table_.rows; }
    const std::string& note() const { return table_.note; }
    const std::string& problem() const { return problem_; }
    bool loaded() const { return table_.loaded; }

  private:
    // The table shown. The choice and the problem belong to the panel, not to a table, so that
    // more tables can come with a choice among them.
    BestGamesTable table_;
    int selected_ = 0;
    std::string problem_;
};

}  // namespace sinkaway
