#include "plot/PlotLayout.h"

#include <algorithm>
#include <cmath>

#include "plot/AxisTicks.h"
#include "plot/Legend.h"
#include "plot/LineDrawing.h"
#include "plot/LineNotes.h"
#include "plot/LineStats.h"
#include "plot/LineStyles.h"
#include "plot/Panels.h"

namespace plot {

namespace {
const Colour kWhite{0xff, 0xff, 0xff};
const Colour kText{0x22, 0x22, 0x22};
const Colour kFrame{0x50, 0x50, 0x50};
const Colour kGrid{0xdd, 0xdd, 0xdd};
const Colour kMinorGrid{0xf1, 0xf1, 0xf1};
const Colour kLegendBorder{0xc8, 0xc8, 0xc8};
const double kTickLabelSize = 12;
const double kPanelGap = 26;
const double kMarkerWidth = 10;
const double kMarkerStep = 12;
const char* const kNoData = "No data to plot";

TextStyle style(double size, Anchor anchor, double rotation = 0, bool bold = false) {
    TextStyle textStyle;
    textStyle.size = size;
    textStyle.anchor = anchor;
    textStyle.rotation = rotation;
    textStyle.colour = kText;
    textStyle.bold = bold;
    return textStyle;
}

void drawXTicks(Canvas& canvas, const Mapping& mapping, bool labelled) {
    const Frame& f = mapping.frame;
    for (const Tick& tick : mapping.x.ticks) {
        const double px = mapping.xAt(tick.value);
        if (tick.major) canvas.polyline({{px, f.top}, {px, f.bottom}}, Stroke{kGrid, 1, {}});
        canvas.polyline({{px, f.bottom}, {px, f.bottom + (tick.major ? 6 : 3)}},
                        Stroke{kFrame, 1, {}});
        if (labelled && !tick.label.empty())
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

void drawLegendPanel(Canvas& canvas, const std::vector<std::string>& names,
                     const std::vector<size_t>& styles, const LegendLayout& legend, double left,
                     double top) {
    if (names.empty()) return;
    const double height = legend.rows < static_cast<int>(names.size())
                              ? legend.rows * legend.rowHeight
                              : static_cast<double>(names.size()) * legend.rowHeight;
    canvas.fillRect(left, top, legend.panelWidth(names.size()), height + 16, kWhite);
    canvas.strokeRect(left, top, legend.panelWidth(names.size()), height + 16,
                      Stroke{kLegendBorder, 1, {}});
    drawLegend(canvas, legend, names, styles, left, top);
}

struct LineMarker {
    PlacedMarker placed;
    Colour colour;
    size_t line;
};

// One panel's axes in the frame it is given.
struct PanelPicture {
    const Panel* panel;
    Mapping mapping;
};

std::vector<PanelPicture> panelPictures(const std::vector<Panel>& panels, const Axis& xAxis,
                                        double top, double bottom) {
    std::vector<PanelPicture> pictures;
    const double count = static_cast<double>(panels.size());
    const double height = (bottom - top - (count - 1) * kPanelGap) / count;
    for (size_t i = 0; i < panels.size(); ++i) {
        PanelPicture picture{&panels[i], {}};
        picture.mapping.x = xAxis;
        picture.mapping.y = panels[i].axis;
        picture.mapping.frame.top = top + static_cast<double>(i) * (height + kPanelGap);
        picture.mapping.frame.bottom = picture.mapping.frame.top + height;
        pictures.push_back(picture);
    }
    return pictures;
}

// Markers over the frame and every line. Where markers of one shape from
// several lines fall on one place (three imbalances going to +inf at the
// same step), each next line's moves a marker's length inwards, so that
// every line's colour shows.
void drawMarkers(Canvas& canvas, std::vector<LineMarker>& markers) {
    std::vector<const LineMarker*> placed;
    for (LineMarker& marker : markers) {
        Point& at = marker.placed.at;
        const Marker shape = marker.placed.shape;
        const int inwards = atTopEdge(shape) ? 1 : -1;
        for (bool moved = shape != Marker::Point; moved;) {
            moved = false;
            for (const LineMarker* other : placed)
                if (other->line != marker.line && other->placed.shape == shape &&
                    std::fabs(other->placed.at.x - at.x) < kMarkerWidth &&
                    std::fabs(other->placed.at.y - at.y) < 1)
                    at.y += inwards * kMarkerStep, moved = true;
        }
        canvas.marker(at, shape, marker.colour);
        placed.push_back(&marker);
    }
}

void drawPanel(Canvas& canvas, const Figure& figure, const std::vector<LinePlan>& plans,
               const PanelPicture& picture, bool lowest, double yTitleX, bool reduce) {
    const Mapping& mapping = picture.mapping;
    const Frame& f = mapping.frame;
    drawXTicks(canvas, mapping, lowest);
    drawYTicks(canvas, mapping);
    std::vector<LineMarker> markers;
    canvas.beginClip(f.left, f.top, f.width(), f.height());
    for (size_t i : picture.panel->lines)
        for (const PlacedMarker& marker :
             drawLine(canvas, figure.lines[i], plans[i], mapping, reduce))
            markers.push_back({marker, lineStroke(figure.lines[i].style).colour, i});
    canvas.endClip();
    canvas.strokeRect(f.left, f.top, f.width(), f.height(), Stroke{kFrame, 1, {}});
    drawMarkers(canvas, markers);
    canvas.text({yTitleX, (f.top + f.bottom) / 2}, picture.panel->yTitle,
                style(14, Anchor::Middle, -90));
}
}  // namespace

void drawFigure(Canvas& canvas, const Figure& figure, const DrawingOptions& options) {
    std::vector<LinePlan> plans = linePlans(figure);
    const std::vector<Panel> panels = panelsOf(figure, plans);
    Range xValues;
    std::vector<std::string> names;
    std::vector<size_t> styles;
    for (size_t i = 0; i < figure.lines.size(); ++i) {
        xValues.add(plans[i].stats.x);
        names.push_back(legendName(figure.lines[i], plans[i]));
        styles.push_back(figure.lines[i].style);
    }
    const double top = 56, bottom = options.height - 72;
    const Axis xAxis = xValues.empty() ? Axis{} : linearAxis(xValues.low, xValues.high);
    std::vector<PanelPicture> pictures = panelPictures(panels, xAxis, top, bottom);
    double widest = 0;
    for (const PanelPicture& picture : pictures)
        widest = std::max(widest, widestLabel(picture.mapping.y));
    const LegendLayout legend = layoutLegend(names, options.width * 0.38, bottom - top);
    const double legendWidth = names.empty() ? 0 : legend.panelWidth(names.size());
    const double left = 44 + widest + 12;
    const double right = options.width - legendWidth - (names.empty() ? 30 : 28);
    for (PanelPicture& picture : pictures)
        picture.mapping.frame.left = left, picture.mapping.frame.right = right;

    canvas.fillRect(0, 0, options.width, options.height, kWhite);
    for (size_t i = 0; i < pictures.size(); ++i)
        drawPanel(canvas, figure, plans, pictures[i], i + 1 == pictures.size(), left - widest - 24,
                  options.reduceLines);
    if (xValues.empty())
        canvas.text({(left + right) / 2, (top + bottom) / 2}, kNoData, style(16, Anchor::Middle));
    const double middle = (left + right) / 2;
    canvas.text({middle, 32}, figure.title, style(18, Anchor::Middle, 0, true));
    canvas.text({middle, bottom + 48}, figure.xTitle, style(14, Anchor::Middle));
    drawLegendPanel(canvas, names, styles, legend, right + 14, top);
}

}  // namespace plot
