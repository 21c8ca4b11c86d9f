// The window's controls as designed, before the load event runs.
#include "form.h"

namespace sinkaway {

const char* TimerName(TimerId id) {
    switch (id) {
        case TimerId::tmrScore:
            return "tmrScore";
        case TimerId::tmrBall:
            return "tmrBall";
        case TimerId::tmrMain:
            return "tmrMain";
        case TimerId::tmrPower:
            return "tmrPower";
        case TimerId::tmrGameOver:
            return "tmrGameOver";
    }
    return "";
}

namespace {

Shape Rect(float l, float t, float w, float h) {
    Shape s;
    s.left = l;
    s.top = t;
    s.width = w;
    s.height = h;
    return s;
}

// The walls are solid white with a one-pixel outline in the window-text colour (black).
Shape Wall(float l, float t, float w, float h) {
    Shape s = Rect(l, t, w, h);
    s.fillColor = colors::kWhite;
    s.borderColor = colors::kBlack;
    s.borderPixels = 1;
    return s;
}

Label MakeLabel(float l, float t, float w, float h, const char* caption, Color fore, Align align,
                FontSpec font) {
    Label lb;
    lb.left = l;
    lb.top = t;
    lb.width = w;
    lb.height = h;
    lb.caption = caption;
    lb.foreColor = fore;
    lb.align = align;
    lb.font = font;
    return lb;
}

constexpr FontSpec kFixedsys9{"Fixedsys", 9.0f, 700, false};

}  // namespace

Form MakeDesignForm() {
    Form f;
    f.backColor = colors::kBlack;

    f.shpWallTop = Wall(0, 0, 4640, 80);
    f.shpWallLeft = Wall(0, 0, 80, 5895);
    f.shpWallRight = Wall(4560, 0, 80, 5895);

    // The bottom boundary only serves as the ball's lower limit: no outline, no interior.
    f.shpWallBottom = Rect(-10, 5780, 4750, 80);
    f.shpWallBottom.fillColor = colors::kWhite;
    f.shpWallBottom.fillSolid = false;

    f.shpBall = Rect(1440, 240, 300, 300);
    f.shpBall.form = ShapeForm::kCircle;
    f.shpBall.visible = false;
    f.shpBall.fillColor = colors::kBlack;
    f.shpBall.borderColor = colors::kRed;
    f.shpBall.backColor = colors::kBlack;
    f.shpBall.borderPixels = 3;

    f.shpHole = Rect(2760, 3360, 1095, 615);
    f.shpHole.visible = false;
    f.shpHole.fillColor = colors::kBlack;

    f.shpFloor = Rect(0, 3720, 4725, 135);
    f.shpFloor.visible = false;
    f.shpFloor.fillColor = colors::kGreen;
    f.shpFloor.borderColor = colors::kWhite;
    f.shpFloor.borderPixels = 1;

    f.shpPower = Rect(2640, 5160, 200, 200);
    f.shpPower.form = ShapeForm::kCircle;
    f.shpPower.visible = false;
    f.shpPower.fillColor = colors::kBlue;
    f.shpPower.borderColor = colors::kGrey;
    f.shpPower.borderPixels = 2;

    f.lblScore = MakeLabel(120, 60, 1455, 255, "Score:", colors::kLightCyan, Align::kLeft,
                           {"Arial Black", 9.75f, 900, false});
    f.lblScore.visible = false;
    f.lblGameOverScore = MakeLabel(0, 2160, 4725, 375, "Score", colors::kCyan, Align::kCenter,
                                   {"Arial Black", 14.25f, 900, true});
    f.lblGameOverScore.visible = false;
    f.lblVantrel = MakeLabel(240, 5520, 4215, 255, kAuthorCredit, colors::kLightCyan,
                             Align::kCenter, {"Arial Black", 8.25f, 900, false});
    f.lblSinkaway = MakeLabel(0, 960, 4725, 735, "Sinkaway!", colors::kCyan, Align::kCenter,
                              {"Fixedsys", 27.0f, 700, true});
    f.lblGameOver = MakeLabel(0, 1560, 4725, 375, "GO", colors::kCyan, Align::kCenter,
                              {"Arial Black", 14.25f, 900, false});

    // clang-format off
    f.chkPower = {360, 4920, 1575, 255, 1, true, "PowerUps", colors::kLightCyan, colors::kBlack,
                  kFixedsys9};
    f.chkBGM = {360, 5160, 1095, 375, 1, true, "BGM", colors::kLightCyan, colors::kBlack,
                {"Arial Black", 9.0f, 900, false}};
    // clang-format on

    f.imgNewGame = {1800, 2880, 1100, 855, true, colors::kBlack};
    f.cmdNewGame = {1920, 3600, 840, 135, true, colors::kBlack};

    f.tmrMain() = {1, false};
    f.tmrBall() = {1, false};
    f.tmrPower() = {1, false};
    f.tmrScore() = {300, false};
    f.tmrGameOver() = {1, true};
    return f;
}

}  // namespace sinkaway
