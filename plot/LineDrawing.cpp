#include "plot/LineDrawing.h"

#include <algorithm>
#include <cmath>

#include "plot/LineReduction.h"
#include "plot/LineStyles.h"

namespace plot {

namespace {
const double kOverflow = 50;      // clipped points stay this far outside the frame
const double kMarkerSpacing = 4;  // markers of one kind closer than this are one
const double kPointSpacing = 4;   // a sparse line's points show when this far apart on average

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

// The markers of one line, one per kind within kMarkerSpacing pixels.
class MarkerCollector {
  public:
    void add(Point at, Marker shape) {
        double& last = lastX_[static_cast<int>(shape)];
        if (std::fabs(at.x - last) < kMarkerSpacing) return;
        last = at.x;
        markers_.push_back({at, shape});
    }
    std::vector<PlacedMarker> take() { return std::move(markers_); }

  private:
    double lastX_[kMarkerKinds] = {-1e9, -1e9, -1e9, -1e9, -1e9, -1e9};
    std::vector<PlacedMarker> markers_;
};

// A run of consecutive values beyond one end of the value range, marked at
// its most extreme value when it ends.
class Excursion {
  public:
    void add(double x, double y, const Axis& axis, const Mapping& mapping,
             MarkerCollector& markers) {
        const int side = y > axis.high ? 1 : y < axis.low ? -1 : 0;
        if (side != side_) end(mapping, markers);
        if (side != 0 && (side_ == 0 || side * (y - extremeY_) > 0)) extremeX_ = x, extremeY_ = y;
        side_ = side;
    }
    bool active() const { return side_ != 0; }
    void end(const Mapping& mapping, MarkerCollector& markers) {
        if (side_ == 1)
            markers.add({mapping.xAt(extremeX_), mapping.frame.top}, Marker::ClippedAbove);
        if (side_ == -1)
            markers.add({mapping.xAt(extremeX_), mapping.frame.bottom}, Marker::ClippedBelow);
        side_ = 0;
    }

  private:
    int side_ = 0;
    double extremeX_ = 0, extremeY_ = 0;
};

// Whether a line runs up and down within most of the pixel columns it
// crosses (a history much longer than the plot is wide): there a dash pattern
// shows as noise, not as a pattern, and dashing the line costs seconds in a
// raster image.
bool runsWithinColumns(const std::vector<Point>& segment) {
    if (segment.size() < 2) return false;
    const double columns = std::fabs(segment.back().x - segment.front().x) + 1;
    return static_cast<double>(segment.size()) > 2 * columns;
}
// Value pairs to pixels as one multiplication and addition per coordinate:
// drawing a long history costs little more than reading it.
class PixelTransform {
  public:
    explicit PixelTransform(const Mapping& mapping) : mapping_(mapping) {
        const Frame& f = mapping.frame;
        const Axis &x = mapping.x, &y = mapping.y;
        xScale_ = f.width() / (x.high - x.low);
        xOffset_ = f.left - x.low * xScale_;
        const double low = y.logarithmic ? std::log10(y.low) : y.low;
        const double high = y.logarithmic ? std::log10(y.high) : y.high;
        yScale_ = -f.height() / (high - low);
        yOffset_ = f.bottom - low * yScale_;
    }
    Point at(double x, double y) const {
        const Frame& f = mapping_.frame;
        const double py = yOffset_ + yScale_ * (mapping_.y.logarithmic ? std::log10(y) : y);
        return {std::clamp(xOffset_ + xScale_ * x, f.left - kOverflow, f.right + kOverflow),
                std::clamp(py, f.top - kOverflow, f.bottom + kOverflow)};
    }

  private:
    const Mapping& mapping_;
    double xScale_, xOffset_, yScale_, yOffset_;
};

// The kind of value of the stretch a line is in: a stretch of NaN, +inf,
// -inf or (on a logarithmic axis) values that are not positive is marked
// once, at its first record.
enum class Stretch { Plain, Nan, PlusInf, MinusInf, NotPositive };

// A value that is not a plain point of the line: non-finite, not positive
// on a logarithmic axis, or beyond the value range.
void addUnusual(double x, float y, const Mapping& mapping, const PixelTransform& pixels,
                SegmentCollector& segments, MarkerCollector& markers, Excursion& excursion,
                Stretch& stretch) {
    const Stretch kind = std::isnan(y)   ? Stretch::Nan
                         : std::isinf(y) ? (y > 0 ? Stretch::PlusInf : Stretch::MinusInf)
                         : mapping.y.logarithmic && y <= 0 ? Stretch::NotPositive
                                                           : Stretch::Plain;
    const bool first = kind != stretch;
    stretch = kind;
    if (kind == Stretch::Plain) {
        segments.add(pixels.at(x, y));
        excursion.add(x, y, mapping.y, mapping, markers);
        return;
    }
    if (kind != Stretch::NotPositive) segments.breakLine(), excursion.end(mapping, markers);
    if (!first) return;
    const Marker shape = kind == Stretch::Nan       ? Marker::NotANumber
                         : kind == Stretch::PlusInf ? Marker::Above
                                                    : Marker::Below;
    const double edge = atTopEdge(shape) ? mapping.frame.top : mapping.frame.bottom;
    markers.add({mapping.xAt(x), edge}, shape);
}
}  // namespace

double Mapping::xAt(double xValue) const {
    return std::clamp(frame.left + x.fraction(xValue) * frame.width(), frame.left - kOverflow,
                      frame.right + kOverflow);
}

Point Mapping::at(double xValue, double yValue) const {
    const double py = frame.bottom - y.fraction(yValue) * frame.height();
    return {xAt(xValue), std::clamp(py, frame.top - kOverflow, frame.bottom + kOverflow)};
}

std::vector<PlacedMarker> drawLine(Canvas& canvas, const FigureLine& line, const LinePlan& plan,
                                   const Mapping& mapping, bool reduce) {
    const LineStats& stats = plan.stats;
    const bool sparse = stats.sparse();
    const bool atZero = plan.roundOff > 0;
    const bool points =
        sparse && static_cast<double>(stats.valued) * kPointSpacing <= mapping.frame.width();
    const PixelTransform pixels(mapping);
    const float low = static_cast<float>(mapping.y.low), high = static_cast<float>(mapping.y.high);
    SegmentCollector segments(reduce);
    MarkerCollector markers;
    Excursion excursion;
    Stretch stretch = Stretch::Plain;
    for (size_t i = 0; i < line.y.size(); ++i) {
        const float value = line.y[i];
        const float y = atZero && std::isfinite(value) && value != kMissing ? 0.0f : value;
        if (y == kMissing) {
            if (!sparse) segments.breakLine();
            continue;
        }
        if (line.x[i] == kMissing || !std::isfinite(line.x[i])) continue;
        const double x = line.xOrigin + line.x[i];
        if (y < low || y > high || !std::isfinite(y)) {  // NaN fails the comparisons
            addUnusual(x, y, mapping, pixels, segments, markers, excursion, stretch);
            continue;
        }
        stretch = Stretch::Plain;
        const Point at = pixels.at(x, y);
        segments.add(at);
        if (excursion.active()) excursion.end(mapping, markers);
        if (points) markers.add(at, Marker::Point);
    }
    excursion.end(mapping, markers);
    for (const std::vector<Point>& segment : segments.take()) {
        if (points && segment.size() == 2 && segment[0].x == segment[1].x &&
            segment[0].y == segment[1].y)
            continue;  // a lone point: its marker shows it
        Stroke stroke = lineStroke(line.style);
        if (runsWithinColumns(segment)) stroke.dashes.clear();
        canvas.polyline(segment, stroke);
    }
    return markers.take();
}

}  // namespace plot
