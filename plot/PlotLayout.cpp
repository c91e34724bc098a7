#include "plot/PlotLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/AxisTicks.h"
#include "plot/Legend.h"
#include "plot/LineReduction.h"
#include "plot/LineStyles.h"

namespace plot {

namespace {
const Colour kWhite{0xff, 0xff, 0xff};
const Colour kText{0x22, 0x22, 0x22};
const Colour kFrame{0x50, 0x50, 0x50};
const Colour kGrid{0xdd, 0xdd, 0xdd};
const Colour kMinorGrid{0xf1, 0xf1, 0xf1};
const Colour kLegendBorder{0xc8, 0xc8, 0xc8};
const double kTickLabelSize = 12;
const double kOverflow = 50;  // clipped points stay this far outside the frame
const char* const kNoData = "No data to plot";

struct Frame {
    double left, top, right, bottom;
};

struct Bounds {
    double xLow = std::numeric_limits<double>::infinity(), xHigh = -xLow;
    double yLow = xLow, yHigh = -xLow;
    bool empty() const { return xLow > xHigh; }
    void add(double x, double y) {
        xLow = std::min(xLow, x), xHigh = std::max(xHigh, x);
        yLow = std::min(yLow, y), yHigh = std::max(yHigh, y);
    }
};

// Points without a value break the line; on a logarithmic axis values that
// are not positive are left out.
enum class PointKind { Drawn, Skipped, Break };

PointKind kindOf(double x, double y, bool logarithmic) {
    if (std::isnan(x) || std::isnan(y)) return PointKind::Break;
    return logarithmic && y <= 0 ? PointKind::Skipped : PointKind::Drawn;
}

Bounds dataBounds(const Figure& figure) {
    Bounds bounds;
    for (const FigureLine& line : figure.lines)
        for (size_t i = 0; i < line.x.size(); ++i)
            if (kindOf(line.x[i], line.y[i], figure.logarithmicY) == PointKind::Drawn &&
                std::isfinite(line.x[i]) && std::isfinite(line.y[i]))
                bounds.add(line.x[i], line.y[i]);
    return bounds;
}

struct Mapping {
    Axis x, y;
    Frame frame;
    Point at(double xValue, double yValue) const {
        const double px = frame.left + x.fraction(xValue) * (frame.right - frame.left);
        const double py = frame.bottom - y.fraction(yValue) * (frame.bottom - frame.top);
        return {std::clamp(px, frame.left - kOverflow, frame.right + kOverflow),
                std::clamp(py, frame.top - kOverflow, frame.bottom + kOverflow)};
    }
};

// Collects the pieces of a line in pixel coordinates, reduced to pixel
// columns as they come unless every point is wanted.
class SegmentCollector {
  public:
    explicit SegmentCollector(bool reduce) : reduce_(reduce) {}
    void add(Point point) { reduce_ ? reducer_.add(point) : points_.push_back(point); }
    void breakLine() {
        std::vector<Point> piece = reduce_ ? reducer_.take() : std::move(points_);
        points_.clear();
        if (piece.size() == 1) piece.push_back(piece.front());  // a lone point still shows
        if (!piece.empty()) segments_.push_back(std::move(piece));
    }
    std::vector<std::vector<Point>> take() {
        breakLine();
        return std::move(segments_);
    }

  private:
    bool reduce_;
    ColumnReducer reducer_;
    std::vector<Point> points_;
    std::vector<std::vector<Point>> segments_;
};

std::vector<std::vector<Point>> lineSegments(const FigureLine& line, const Mapping& mapping,
                                             bool reduce) {
    SegmentCollector collector(reduce);
    for (size_t i = 0; i < line.x.size(); ++i) {
        const PointKind kind = kindOf(line.x[i], line.y[i], mapping.y.logarithmic);
        if (kind == PointKind::Break) collector.breakLine();
        if (kind == PointKind::Drawn) collector.add(mapping.at(line.x[i], line.y[i]));
    }
    return collector.take();
}

// Whether a line runs up and down within most of the pixel columns it
// crosses (a history much longer than the plot is wide): there a dash pattern
// shows as noise, not as a pattern, and dashing the line costs seconds in a
// raster image.
bool runsWithinColumns(const std::vector<Point>& segment) {
    if (segment.size() < 2) return false;
    const double columns = std::fabs(segment.back().x - segment.front().x) + 1;
    return static_cast<double>(segment.size()) > 2 * columns;
}

// The line's stroke; solid where it runs within columns, its colour still
// telling it apart.
Stroke segmentStroke(size_t line, const std::vector<Point>& segment) {
    Stroke stroke = lineStroke(line);
    if (runsWithinColumns(segment)) stroke.dashes.clear();
    return stroke;
}

void drawLines(Canvas& canvas, const Figure& figure, const Mapping& mapping, bool reduce) {
    const Frame& f = mapping.frame;
    canvas.beginClip(f.left, f.top, f.right - f.left, f.bottom - f.top);
    for (size_t i = 0; i < figure.lines.size(); ++i)
        for (const std::vector<Point>& segment : lineSegments(figure.lines[i], mapping, reduce))
            canvas.polyline(segment, segmentStroke(i, segment));
    canvas.endClip();
}

TextStyle style(double size, Anchor anchor, double rotation = 0, bool bold = false) {
    TextStyle textStyle;
    textStyle.size = size;
    textStyle.anchor = anchor;
    textStyle.rotation = rotation;
    textStyle.colour = kText;
    textStyle.bold = bold;
    return textStyle;
}

void drawXTicks(Canvas& canvas, const Mapping& mapping) {
    const Frame& f = mapping.frame;
    for (const Tick& tick : mapping.x.ticks) {
        const double px = mapping.at(tick.value, mapping.y.low).x;
        if (tick.major) canvas.polyline({{px, f.top}, {px, f.bottom}}, Stroke{kGrid, 1, {}});
        canvas.polyline({{px, f.bottom}, {px, f.bottom + (tick.major ? 6 : 3)}},
                        Stroke{kFrame, 1, {}});
        if (!tick.label.empty())
            canvas.text({px, f.bottom + 22}, tick.label, style(kTickLabelSize, Anchor::Middle));
    }
}

void drawYTicks(Canvas& canvas, const Mapping& mapping) {
    const Frame& f = mapping.frame;
    for (const Tick& tick : mapping.y.ticks) {
        const double py = mapping.at(mapping.x.low, tick.value).y;
        canvas.polyline({{f.left, py}, {f.right, py}},
                        Stroke{tick.major ? kGrid : kMinorGrid, 1, {}});
        canvas.polyline({{f.left - (tick.major ? 6 : 3), py}, {f.left, py}}, Stroke{kFrame, 1, {}});
        if (!tick.label.empty())
            canvas.text({f.left - 9, py + 4}, tick.label, style(kTickLabelSize, Anchor::End));
    }
}

double widestLabel(const Axis& axis) {
    double widest = 0;
    for (const Tick& tick : axis.ticks)
        widest = std::max(widest, estimatedTextWidth(tick.label, kTickLabelSize));
    return widest;
}

void drawTitles(Canvas& canvas, const Figure& figure, const Frame& f, double yTitleX) {
    const double middle = (f.left + f.right) / 2;
    canvas.text({middle, 32}, figure.title, style(18, Anchor::Middle, 0, true));
    canvas.text({middle, f.bottom + 48}, figure.xTitle, style(14, Anchor::Middle));
    canvas.text({yTitleX, (f.top + f.bottom) / 2}, figure.yTitle, style(14, Anchor::Middle, -90));
}

std::vector<std::string> lineNames(const Figure& figure) {
    std::vector<std::string> names;
    for (const FigureLine& line : figure.lines) names.push_back(line.name);
    return names;
}

Mapping axesFor(const Figure& figure, const Bounds& bounds) {
    Mapping mapping;
    if (bounds.empty()) {
        mapping.y.logarithmic = figure.logarithmicY;
        if (figure.logarithmicY) mapping.y.low = 0.1, mapping.y.high = 1;
        return mapping;
    }
    mapping.x = linearAxis(bounds.xLow, bounds.xHigh);
    mapping.y = figure.logarithmicY ? logarithmicAxis(bounds.yLow, bounds.yHigh)
                                    : linearAxis(bounds.yLow, bounds.yHigh);
    return mapping;
}

void drawLegendPanel(Canvas& canvas, const std::vector<std::string>& names,
                     const LegendLayout& legend, double left, double top) {
    if (names.empty()) return;
    const double height = legend.rows < static_cast<int>(names.size())
                              ? legend.rows * legend.rowHeight
                              : static_cast<double>(names.size()) * legend.rowHeight;
    canvas.fillRect(left, top, legend.panelWidth(names.size()), height + 16, kWhite);
    canvas.strokeRect(left, top, legend.panelWidth(names.size()), height + 16,
                      Stroke{kLegendBorder, 1, {}});
    drawLegend(canvas, legend, names, left, top);
}
}  // namespace

void drawFigure(Canvas& canvas, const Figure& figure, const DrawingOptions& options) {
    const Bounds bounds = dataBounds(figure);
    Mapping mapping = axesFor(figure, bounds);
    const std::vector<std::string> names = lineNames(figure);
    Frame& f = mapping.frame;
    f.top = 56, f.bottom = options.height - 72;
    const LegendLayout legend = layoutLegend(names, options.width * 0.38, f.bottom - f.top);
    const double legendWidth = names.empty() ? 0 : legend.panelWidth(names.size());
    f.left = 44 + widestLabel(mapping.y) + 12;
    f.right = options.width - legendWidth - (names.empty() ? 30 : 28);

    canvas.fillRect(0, 0, options.width, options.height, kWhite);
    drawXTicks(canvas, mapping);
    drawYTicks(canvas, mapping);
    if (bounds.empty())
        canvas.text({(f.left + f.right) / 2, (f.top + f.bottom) / 2}, kNoData,
                    style(16, Anchor::Middle));
    else
        drawLines(canvas, figure, mapping, options.reduceLines);
    canvas.strokeRect(f.left, f.top, f.right - f.left, f.bottom - f.top, Stroke{kFrame, 1, {}});
    drawTitles(canvas, figure, f, f.left - widestLabel(mapping.y) - 24);
    drawLegendPanel(canvas, names, legend, f.right + 14, f.top);
}

}  // namespace plot
