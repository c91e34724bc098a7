#pragma once
// A canvas that renders through cairo onto any cairo surface: an image for
// PNG files, a PDF surface for documents. Texts use the DejaVu Sans font.

#include <cairo.h>

#include "plot/Canvas.h"

namespace plot {

class CairoCanvas : public Canvas {
  public:
    // Draws on the context, which the caller owns.
    explicit CairoCanvas(cairo_t* context);

    void polyline(const std::vector<Point>& points, const Stroke& stroke) override;
    void fillRect(double x, double y, double width, double height, Colour fill) override;
    void strokeRect(double x, double y, double width, double height, const Stroke& stroke) override;
    void text(Point at, const std::string& utf8, const TextStyle& style) override;
    void marker(Point at, Marker shape, Colour colour) override;
    void beginClip(double x, double y, double width, double height) override;
    void endClip() override;

  private:
    void setColour(Colour colour);
    void setStroke(const Stroke& stroke);

    cairo_t* cr_;
};

}  // namespace plot
