#pragma once
// A canvas that builds an SVG document through pugixml: one element per
// drawing call, lines as compact <path> elements, texts as <text> elements so
// that they stay searchable.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "plot/Canvas.h"

namespace plot {

class SvgCanvas : public Canvas {
  public:
    SvgCanvas(int width, int height);

    void polyline(const std::vector<Point>& points, const Stroke& stroke) override;
    void fillRect(double x, double y, double width, double height, Colour fill) override;
    void strokeRect(double x, double y, double width, double height, const Stroke& stroke) override;
    void text(Point at, const std::string& utf8, const TextStyle& style) override;
    // A <use> of the shape's definition at the point, filled in the colour.
    void marker(Point at, Marker shape, Colour colour) override;
    void beginClip(double x, double y, double width, double height) override;
    void endClip() override;

    // The document, with its XML declaration.
    std::string document() const;

  private:
    pugi::xml_node rectElement(double x, double y, double width, double height);
    void setStroke(pugi::xml_node element, const Stroke& stroke);

    void defineMarker(Marker shape);

    pugi::xml_document svg_;
    pugi::xml_node defs_;
    bool defined_[kMarkerKinds] = {};
    std::vector<pugi::xml_node> parents_;  // the innermost group is last
    int clipCount_ = 0;
};

// A coordinate as short text: at most one decimal, no trailing ".0".
std::string svgNumber(double value);
// The path data of a line through the points, in whole pixels: "M" to the
// first, then relative "l", "h" and "v" moves; the points of one pixel
// column become one vertical stretch.
std::string compactPath(const std::vector<Point>& points);

}  // namespace plot
