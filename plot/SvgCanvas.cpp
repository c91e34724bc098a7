#include "plot/SvgCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "plot/MarkerShapes.h"

namespace plot {

namespace {
std::string hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

const char* anchorName(Anchor anchor) {
    switch (anchor) {
        case Anchor::Middle:
            return "middle";
        case Anchor::End:
            return "end";
        default:
            return "start";
    }
}

std::string numberList(const std::vector<double>& values) {
    std::string list;
    for (double value : values) list += (list.empty() ? "" : ",") + svgNumber(value);
    return list;
}
}  // namespace

namespace {
// The points of a line that fall into one pixel column, as whole pixels.
struct ColumnSpan {
    long column;
    long low;
    long high;
};

std::vector<ColumnSpan> columnSpans(const std::vector<Point>& points) {
    std::vector<ColumnSpan> spans;
    for (const Point& point : points) {
        const long column = static_cast<long>(std::floor(point.x)), row = std::lround(point.y);
        if (spans.empty() || spans.back().column != column) spans.push_back({column, row, row});
        spans.back().low = std::min(spans.back().low, row);
        spans.back().high = std::max(spans.back().high, row);
    }
    return spans;
}

void appendMove(std::string& d, long dx, long dy) {
    if (dx == 0 && dy != 0) d += "v" + std::to_string(dy);
    if (dx != 0 && dy == 0) d += "h" + std::to_string(dx);
    if (dx != 0 && dy != 0)
        d += "l" + std::to_string(dx) + (dy < 0 ? "" : " ") + std::to_string(dy);
}
}  // namespace

// Lines go through pixel centres across (x at column + 0.5) and whole
// pixels down. In one column, all points lie on one vertical, so what is
// drawn there is the stretch from the highest to the lowest: the path enters
// it at the end nearer the previous column and leaves it at the other. The
// moves are relative, so that a long history (one to four points per column
// after LineReduction) writes about ten bytes per column.
std::string compactPath(const std::vector<Point>& points) {
    const std::vector<ColumnSpan> spans = columnSpans(points);
    long column = spans.front().column, row = std::lround(points.front().y);
    std::string d = "M" + std::to_string(column) + ".5 " + std::to_string(row);
    d.reserve(spans.size() * 10);
    for (const ColumnSpan& span : spans) {
        const bool downwards = std::labs(span.low - row) <= std::labs(span.high - row);
        const long entry = downwards ? span.low : span.high,
                   exit = downwards ? span.high : span.low;
        appendMove(d, span.column - column, entry - row);
        appendMove(d, 0, exit - entry);
        column = span.column;
        row = exit;
    }
    if (d.find_first_of("vhl") == std::string::npos) d += "h0";  // a lone point still shows
    return d;
}

std::string svgNumber(double value) {
    const long tenths = std::lround(value * 10);
    std::string text = std::to_string(tenths / 10);
    if (tenths < 0 && tenths > -10) text = "-0";
    if (tenths % 10 != 0) text += "." + std::to_string(std::labs(tenths % 10));
    return text;
}

SvgCanvas::SvgCanvas(int width, int height) {
    pugi::xml_node root = svg_.append_child("svg");
    root.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
    root.append_attribute("width") = width;
    root.append_attribute("height") = height;
    root.append_attribute("viewBox") =
        ("0 0 " + std::to_string(width) + " " + std::to_string(height)).c_str();
    root.append_attribute("xmlns:xlink") = "http://www.w3.org/1999/xlink";
    root.append_attribute("font-family") = "DejaVu Sans, Verdana, sans-serif";
    parents_.push_back(root);
}

void SvgCanvas::setStroke(pugi::xml_node element, const Stroke& stroke) {
    element.append_attribute("fill") = "none";
    element.append_attribute("stroke") = hex(stroke.colour).c_str();
    element.append_attribute("stroke-width") = svgNumber(stroke.width).c_str();
    if (!stroke.dashes.empty())
        element.append_attribute("stroke-dasharray") = numberList(stroke.dashes).c_str();
}

void SvgCanvas::polyline(const std::vector<Point>& points, const Stroke& stroke) {
    if (points.empty()) return;
    pugi::xml_node element = parents_.back().append_child("path");
    element.append_attribute("d") = compactPath(points).c_str();
    setStroke(element, stroke);
    element.append_attribute("stroke-linejoin") = "round";
    if (stroke.dashes.empty()) element.append_attribute("stroke-linecap") = "round";
}

pugi::xml_node SvgCanvas::rectElement(double x, double y, double width, double height) {
    pugi::xml_node element = parents_.back().append_child("rect");
    element.append_attribute("x") = svgNumber(x).c_str();
    element.append_attribute("y") = svgNumber(y).c_str();
    element.append_attribute("width") = svgNumber(width).c_str();
    element.append_attribute("height") = svgNumber(height).c_str();
    return element;
}

void SvgCanvas::fillRect(double x, double y, double width, double height, Colour fill) {
    rectElement(x, y, width, height).append_attribute("fill") = hex(fill).c_str();
}

void SvgCanvas::strokeRect(double x, double y, double width, double height, const Stroke& stroke) {
    setStroke(rectElement(x, y, width, height), stroke);
}

void SvgCanvas::text(Point at, const std::string& utf8, const TextStyle& style) {
    pugi::xml_node element = parents_.back().append_child("text");
    element.append_attribute("x") = svgNumber(at.x).c_str();
    element.append_attribute("y") = svgNumber(at.y).c_str();
    element.append_attribute("font-size") = svgNumber(style.size).c_str();
    if (style.anchor != Anchor::Start)
        element.append_attribute("text-anchor") = anchorName(style.anchor);
    if (style.bold) element.append_attribute("font-weight") = "bold";
    element.append_attribute("fill") = hex(style.colour).c_str();
    if (style.rotation != 0)
        element.append_attribute("transform") = ("rotate(" + svgNumber(style.rotation) + " " +
                                                 svgNumber(at.x) + " " + svgNumber(at.y) + ")")
                                                    .c_str();
    element.text().set(utf8.c_str());
}

void SvgCanvas::defineMarker(Marker shape) {
    bool& defined = defined_[static_cast<int>(shape)];
    if (defined) return;
    defined = true;
    if (!defs_) defs_ = parents_.front().prepend_child("defs");
    std::string d;
    for (const Point& corner : markerOutline(shape))
        d += (d.empty() ? "M" : "L") + svgNumber(corner.x) + " " + svgNumber(corner.y);
    pugi::xml_node path = defs_.append_child("path");
    path.append_attribute("id") = markerId(shape).c_str();
    path.append_attribute("d") = (d + "Z").c_str();
}

void SvgCanvas::marker(Point at, Marker shape, Colour colour) {
    defineMarker(shape);
    pugi::xml_node element = parents_.back().append_child("use");
    element.append_attribute("xlink:href") = ("#" + markerId(shape)).c_str();
    element.append_attribute("x") = svgNumber(at.x).c_str();
    element.append_attribute("y") = svgNumber(at.y).c_str();
    element.append_attribute("fill") = hex(colour).c_str();
}

void SvgCanvas::beginClip(double x, double y, double width, double height) {
    const std::string id = "clip" + std::to_string(++clipCount_);
    pugi::xml_node clip = parents_.front().append_child("clipPath");
    clip.append_attribute("id") = id.c_str();
    parents_.push_back(clip);
    rectElement(x, y, width, height);
    parents_.pop_back();
    pugi::xml_node group = parents_.back().append_child("g");
    group.append_attribute("clip-path") = ("url(#" + id + ")").c_str();
    parents_.push_back(group);
}

void SvgCanvas::endClip() {
    if (parents_.size() > 1) parents_.pop_back();
}

std::string SvgCanvas::document() const {
    std::ostringstream out;
    svg_.save(out, " ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

}  // namespace plot
