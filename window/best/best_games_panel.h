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
    // The world's: a kept game's status there ("world #3"), and why the server refused it; a
    // world board's row has the player's name and the server's id instead of a path.
    std::string world;
    std::string worldReason;
    std::string name;
    int64_t worldId = 0;
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
    // "S save" on the right; where the tables' names take the title's line, at the help line's
    // height instead. The desktop has neither.
    static constexpr float kButtonTop = kTop + 135, kButtonWidth = 960, kButtonHeight = 300;
    static constexpr float kLowButtonTop = kTop + kHeight - 450;
    static constexpr float ButtonTop(bool tabbed) { return tabbed ? kLowButtonTop : kButtonTop; }
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
    static bool OnOpen(float x, float y, bool tabbed) {
        return OnButton(kOpenLeft, ButtonTop(tabbed), kButtonWidth, x, y);
    }
    static bool OnSave(float x, float y, bool tabbed) {
        return OnButton(kSaveLeft, ButtonTop(tabbed), kButtonWidth, x, y);
    }
    static bool OnBestGames(float x, float y) {
        return OnButton(kBestLeft, kBestTop, kBestWidth, x, y);
    }
    // The tables' names across the panel's title, where a leaderboard is configured: a third of
    // the panel's width each.
    static constexpr float kTabTop = kTop + 90, kTabHeight = 360,
                           kTabWidth = (kWidth - 2 * kPad) / 3;
    // The tab under a point, or -1.
    static int TabAt(float x, float y) {
        if (y < kTabTop || y >= kTabTop + kTabHeight || x < kLeft + kPad ||
            x >= kLeft + kWidth - kPad)
            return -1;
        return static_cast<int>((x - kLeft - kPad) / kTabWidth);
    }
    // "D today's game" on the title screen, where the day's session is at hand: above
    // "H best games", as wide.
    static constexpr float kTodayTop = kBestTop - kButtonHeight - 90;
    static bool OnToday(float x, float y) {
        return OnButton(kBestLeft, kTodayTop, kBestWidth, x, y);
    }
};

class BestGamesPanel {
  public:
    // The player's own games, the world's board and today's: the last two only where a
    // leaderboard is configured (tabbed).
    enum class Tab : uint8_t { kMine, kWorld, kToday };
    static constexpr int kTabs = 3;

    // Shown again: from the top, without an old problem.
    void Open() {
        selected_ = 0;
        problem_.clear();
    }
    void SetTabbed(bool tabbed) {
        tabbed_ = tabbed;
        if (!tabbed)
            tab_ = Tab::kMine;
    }
    bool tabbed() const { return tabbed_; }
    Tab tab() const { return tab_; }
    // The next table (`step` 1) or the one before (-1), round the three.
    void Turn(int step) {
        if (!tabbed_)
            return;
        tab_ = static_cast<Tab>((static_cast<int>(tab_) + kTabs + step) % kTabs);
        selected_ = 0;
        problem_.clear();
    }
    void ShowTab(Tab tab) {
        if (tabbed_ && tab != tab_)
            Turn((static_cast<int>(tab) - static_cast<int>(tab_) + kTabs) % kTabs);
    }

    // A new table: the choice stays on the same rank, within the rows.
    void SetRows(std::vector<BestGameRow> rows) { SetRows(Tab::kMine, std::move(rows)); }
    void SetRows(Tab tab, std::vector<BestGameRow> rows) {
        BestGamesTable& table = tables_[static_cast<int>(tab)];
        table.rows = std::move(rows);
        table.loaded = true;
        if (tab == tab_ && selected_ >= static_cast<int>(table.rows.size()))
            selected_ = table.rows.empty() ? 0 : static_cast<int>(table.rows.size()) - 1;
    }
    void SetNote(std::string note) { SetNote(Tab::kMine, std::move(note)); }
    void SetNote(Tab tab, std::string note) {
        tables_[static_cast<int>(tab)].note = std::move(note);
    }
    // The player's own rows, to mark with their world status.
    std::vector<BestGameRow>& mine() { return tables_[0].rows; }
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
    const std::vector<BestGameRow>& rows() const { return shown().rows; }
    const std::string& note() const { return shown().note; }
    const std::string& problem() const { return problem_; }
    bool loaded() const { return shown().loaded; }

  private:
    const BestGamesTable& shown() const { return tables_[static_cast<int>(tab_)]; }

    // The tables, by tab. The choice and the problem belong to the panel, not to a table.
    BestGamesTable tables_[kTabs];
    bool tabbed_ = false;
    Tab tab_ = Tab::kMine;
    int selected_ = 0;
    std::string problem_;
};

}  // namespace sinkaway
