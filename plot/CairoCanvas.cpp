#include "plot/CairoCanvas.h"

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

void CairoCanvas::polyline(const std::vector<Point>& points, const Stroke& stroke) {
    if (points.empty()) return;
    cairo_new_path(cr_);
    cairo_move_to(cr_, points.front().x, points.front().y);
    for (const Point& point : points) cairo_line_to(cr_, point.x, point.y);
    setStroke(stroke);
    // Round caps let a lone point show; dashed lines keep butt caps, as
    // capping every dash of a long dense history costs seconds.
    if (stroke.dashes.empty()) cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr_);
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

void CairoCanvas::beginClip(double x, double y, double width, double height) {
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_clip(cr_);
}

void CairoCanvas::endClip() {
    cairo_restore(cr_);
}

}  // namespace plot
