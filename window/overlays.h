// What the window draws over the controls (the focus ring, the pressed look, the tooltip, the
// pause banner and the best games' own), and what it drew last, so that the loop draws only when
// something changed.
#pragma once

#include <cstdint>

#include "best_games_window.h"
#include "input_router.h"
#include "renderer.h"
#include "tooltip.h"

namespace sinkaway {

class Overlays {
  public:
    // Something besides the controls changed (an overlay, the window's size): draw again.
    void Invalidate() { dirty_ = true; }
    bool dirty() const { return dirty_; }
    // Whether the picture on screen is out of date, with `digest` the visible controls' and
    // `tooltip` whether the tooltip shows now.
    bool Stale(uint64_t digest, bool tooltip) const {
        return dirty_ || digest != digest_ || tooltip != tooltip_;
    }

    // The overlay for a picture of `shown` at `nowMs`: the dialog's own only while the game has
    // the keys.
    static Overlay Gather(const Form& shown, const InputRouter& router, const Tooltip& tooltip,
                          BestGamesWindow& best, int64_t nowMs) {
        Overlay overlay;
        if (best.games().mode() == BestGames::Mode::kGame) {
            overlay.focused = router.focused();
            overlay.pressed = router.drawnPressed();
            overlay.tooltip = tooltip.Showing(nowMs) && shown.imgNewGame.visible;
        }
        overlay.tooltipX = tooltip.x();
        overlay.tooltipY = tooltip.y();
        overlay.paused = router.paused();
        best.AddOverlay(shown, overlay);
        return overlay;
    }

    // A picture with `overlay` and controls of `digest` went on screen at `atMs`.
    void Drawn(const Overlay& overlay, uint64_t digest, int64_t atMs) {
        dirty_ = false;
        digest_ = digest;
        tooltip_ = overlay.tooltip;
        atMs_ = atMs;
    }
    int64_t drawnAtMs() const { return atMs_; }

  private:
    bool dirty_ = true;
    uint64_t digest_ = 0;
    bool tooltip_ = false;
    int64_t atMs_ = 0;  // on the window's clock
};

}  // namespace sinkaway
