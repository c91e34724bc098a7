#include "plot/CairoCanvas.h"

#include <algorithm>

#include "plot/MarkerShapes.h"

namespace plot {

CairoCanvas::CairoCanvas(cairo_t* context) : cr_(context) {}

void CairoCanvas::setColour(Colour colour) {
    cairo_set_source_rgb(cr_, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
}

void CairoCanvas::setStroke(const Stroke& stroke) {
    setColour(stroke.colour);
    cairo_set_line_width(cr_, stroke.width);
    cairo_set_dash(cr_, stroke.dashes.data(), static_cast<int>(stroke.dashes.size()), 0);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

namespace {
// Points per stroke of a long solid line. The outline of one stroke is one
// polygon, and filling it costs its height times its edges: a dense line
// that runs up and down a band thousands of times would take seconds, the
// same line in short strokes a small fraction of that.
constexpr size_t kStrokePoints = 64;
}  // namespace

void CairoCanvas::polyline(const std::vector<Point>& points, const Stroke& stroke) {
    if (points.empty()) return;
    setStroke(stroke);
    // Round caps let a lone point show and join the short strokes of a solid
    // line seamlessly; a dashed line is stroked whole, its pattern unbroken.
    const bool solid = stroke.dashes.empty();
    if (solid) cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    const size_t step = solid ? kStrokePoints : points.size();
    for (size_t first = 0; first == 0 || first + 1 < points.size(); first += step) {
        const size_t end = std::min(points.size(), first + step + 1);  // shares its last point
        cairo_new_path(cr_);
        cairo_move_to(cr_, points[first].x, points[first].y);
        for (size_t i = first; i < end; ++i) cairo_line_to(cr_, points[i].x, points[i].y);
        cairo_stroke(cr_);
    }
}

void CairoCanvas::fillRect(double x, double y, double width, double height, Colour fill) {
    cairo_rectangle(cr_, x, y, width, height);
    setColour(fill);
    cairo_fill(cr_);
}

void CairoCanvas::strokeRect(double x, double y, double width, double height,
                             const Stroke& stroke) {
    cairo_rectangle(cr_, x, y, width, height);
    setStroke(stroke);
    cairo_stroke(cr_);
}

void CairoCanvas::text(Point at, const std::string& utf8, const TextStyle& style) {
    cairo_save(cr_);
    cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, utf8.c_str(), &extents);
    const double shift = style.anchor == Anchor::Start    ? 0
                         : style.anchor == Anchor::Middle ? extents.x_advance / 2
                                                          : extents.x_advance;
    cairo_translate(cr_, at.x, at.y);
    cairo_rotate(cr_, style.rotation * 3.14159265358979323846 / 180);
    cairo_move_to(cr_, -shift, 0);
    setColour(style.colour);
    cairo_show_text(cr_, utf8.c_str());
    cairo_restore(cr_);
}

void CairoCanvas::marker(Point at, Marker shape, Colour colour) {
    const std::vector<Point>& outline = markerOutline(shape);
    cairo_new_path(cr_);
    for (const Point& corner : outline) cairo_line_to(cr_, at.x + corner.x, at.y + corner.y);
    cairo_close_path(cr_);
    setColour(colour);
    cairo_fill(cr_);
}

void CairoCanvas::beginClip(double x, double y, double width, double height) {
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_clip(cr_);
}

void CairoCanvas::endClip() {
    cairo_restore(cr_);
}

}  // namespace plot
