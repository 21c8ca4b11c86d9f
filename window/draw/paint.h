// Drawing primitives in output pixels: filled and outlined rectangles and ellipses, raised and
// sunken edges, dotted focus rectangles. No anti-aliasing, so edges stay sharp at every scale.
#pragma once

#include <SDL.h>

#include "colors.h"
#include "viewport.h"

namespace sinkaway {

class Painter {
  public:
    explicit Painter(SDL_Renderer* renderer) : r_(renderer) {}

    void Fill(const PixelRect& rect, Color color);
    // The rectangle but for the part inside `skip`, in at most four pieces.
    void Fill(const PixelRect& rect, Color color, const PixelRect& skip);
    // An outline `thickness` pixels wide, lying inside the rectangle.
    void Outline(const PixelRect& rect, int thickness, Color color);
    void FillEllipse(const PixelRect& bounds, Color color);
    // The ring between the ellipse of `bounds` and the one `thickness` pixels inside it.
    void EllipseRing(const PixelRect& bounds, int thickness, Color color);
    // One-pixel-wide (times `thickness`) edges: top and left in one colour, bottom and right in
    // the other. Returns the rectangle inside the edges.
    PixelRect Edge(const PixelRect& rect, int thickness, Color topLeft, Color bottomRight);
    // Dots `dot` pixels square, one dot's gap apart, along the rectangle's inside.
    void Dotted(const PixelRect& rect, int dot, Color color);

  private:
    void SetColor(Color color);
    void Span(int x0, int x1, int y, Color color);  // [x0, x1) on row y

    SDL_Renderer* r_;
};

// The horizontal span [x0, x1) of the ellipse filling `bounds` on pixel row y: the pixels whose
// centres lie inside it. Empty (x0 >= x1) when the row misses the ellipse.
void EllipseSpan(const PixelRect& bounds, int y, int& x0, int& x1);

}  // namespace sinkaway
