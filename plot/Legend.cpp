#include "plot/Legend.h"

#include <algorithm>
#include <cmath>

#include "plot/LineStyles.h"

namespace plot {

namespace {
const double kSampleWidth = 26;
const double kGap = 8;
const double kPadding = 8;
const double kAverageEm = 0.6;

size_t characterCount(const std::string& utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

LegendLayout tryLayout(const std::vector<std::string>& names, double fontSize, double height) {
    LegendLayout layout;
    layout.fontSize = fontSize;
    layout.rowHeight = std::round(fontSize * 1.4);
    layout.rows = std::max(1, static_cast<int>((height - 2 * kPadding) / layout.rowHeight));
    double widest = 0;
    for (const std::string& name : names)
        widest = std::max(widest, estimatedTextWidth(name, fontSize));
    layout.columnWidth = kSampleWidth + kGap + widest + 2 * kGap;
    layout.maxCharacters = std::string::npos;
    return layout;
}
}  // namespace

double LegendLayout::panelWidth(size_t entries) const {
    return columns(entries) * columnWidth + 2 * kPadding;
}

int LegendLayout::columns(size_t entries) const {
    return static_cast<int>((entries + static_cast<size_t>(rows) - 1) / static_cast<size_t>(rows));
}

double estimatedTextWidth(const std::string& utf8, double fontSize) {
    return static_cast<double>(characterCount(utf8)) * fontSize * kAverageEm;
}

std::string shortened(const std::string& utf8, size_t maxCharacters) {
    if (characterCount(utf8) <= maxCharacters) return utf8;
    size_t kept = 0, end = 0;
    for (; end < utf8.size(); ++end) {
        if ((static_cast<unsigned char>(utf8[end]) & 0xc0) != 0x80 && kept++ == maxCharacters - 1)
            break;
    }
    return utf8.substr(0, end) + "…";
}

LegendLayout layoutLegend(const std::vector<std::string>& names, double maxWidth, double height) {
    LegendLayout layout = tryLayout(names, 12, height);
    if (layout.panelWidth(names.size()) <= maxWidth) return layout;
    layout = tryLayout(names, 10, height);
    const int fewer = layout.columns(names.size());
    const double fitting = (maxWidth - 2 * kPadding) / fewer;
    if (layout.columnWidth > fitting) {
        layout.columnWidth = fitting;
        const double textRoom = fitting - kSampleWidth - 3 * kGap;
        layout.maxCharacters =
            static_cast<size_t>(std::max(4.0, textRoom / (layout.fontSize * kAverageEm)));
    }
    return layout;
}

void drawLegend(Canvas& canvas, const LegendLayout& layout, const std::vector<std::string>& names,
                const std::vector<size_t>& styles, double left, double top) {
    TextStyle style;
    style.size = layout.fontSize;
    style.colour = {0x22, 0x22, 0x22};
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t rows = static_cast<size_t>(layout.rows);
        const double x = left + kPadding + static_cast<double>(i / rows) * layout.columnWidth;
        const double y = top + kPadding + (static_cast<double>(i % rows) + 0.5) * layout.rowHeight;
        Stroke stroke = lineStroke(styles[i]);
        stroke.width = 2;
        canvas.polyline({{x, y}, {x + kSampleWidth, y}}, stroke);
        canvas.text({x + kSampleWidth + kGap, y + layout.fontSize * 0.35},
                    shortened(names[i], layout.maxCharacters), style);
    }
}

}  // namespace plot
