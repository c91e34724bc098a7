#pragma once
// The drawing surface the plot layout paints on: lines, rectangles and texts
// in pixel coordinates (origin top left, y downwards). SvgCanvas writes them
// as SVG elements, CairoCanvas renders them to PNG and PDF.

#include <string>
#include <vector>

namespace plot {

struct Point {
    double x = 0;
    double y = 0;
};

struct Colour {
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
};

struct Stroke {
    Colour colour;
    double width = 1;
    std::vector<double> dashes;  // on, off, on, ... lengths; empty for solid
};

enum class Anchor { Start, Middle, End };

// Marks drawn at a point in a line's colour: a value of a sparse line, +inf
// at the top of the axis (a triangle hanging from the point, pointing up),
// -inf at the bottom (standing on the point, pointing down), a NaN (a
// diamond standing on the point), and values clipped from the range above
// or below it (an open chevron at the edge, pointing out).
enum class Marker { Point, Above, Below, NotANumber, ClippedAbove, ClippedBelow };
constexpr int kMarkerKinds = 6;

// Whether the marker sits at the top edge and hangs into the frame.
inline bool atTopEdge(Marker shape) {
    return shape == Marker::Above || shape == Marker::ClippedAbove;
}

struct TextStyle {
    double size = 12;
    Anchor anchor = Anchor::Start;
    double rotation = 0;  // degrees, clockwise; -90 reads upwards
    Colour colour;
    bool bold = false;
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void polyline(const std::vector<Point>& points, const Stroke& stroke) = 0;
    virtual void fillRect(double x, double y, double width, double height, Colour fill) = 0;
    virtual void strokeRect(double x, double y, double width, double height,
                            const Stroke& stroke) = 0;
    // Text on its baseline through at, placed by the anchor.
    virtual void text(Point at, const std::string& utf8, const TextStyle& style) = 0;
    virtual void marker(Point at, Marker shape, Colour colour) = 0;
    // Everything drawn until endClip stays inside the rectangle.
    virtual void beginClip(double x, double y, double width, double height) = 0;
    virtual void endClip() = 0;
};

}  // namespace plot
