#include "plot/LineReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "plot/CairoCanvas.h"
#include "plot/PlotLayout.h"

namespace plot {
namespace {

TEST(LineReduction, KeepsFirstLowestHighestAndLastOfEachColumn) {
    std::ostringstream kept;
    for (const Point& point : reduceToPixelColumns(
             {{0.1, 5}, {0.5, 9}, {0.6, 1}, {0.7, 4}, {0.9, 6}, {1.2, 3}, {1.4, 3}, {3.5, 7}}))
        kept << point.x << "," << point.y << " ";
    EXPECT_EQ(kept.str(), "0.1,5 0.5,9 0.6,1 0.9,6 1.2,3 1.4,3 3.5,7 ");
    EXPECT_TRUE(reduceToPixelColumns({}).empty());
}

// Rendered pixels: 0 where the picture is white, 1 where something is drawn.
std::vector<bool> render(const Figure& figure, bool reduce) {
    DrawingOptions options;
    options.reduceLines = reduce;
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_RGB24, static_cast<int>(options.width), static_cast<int>(options.height));
    cairo_t* context = cairo_create(surface);
    // Without antialiasing a pixel is either covered or not: overlapping
    // segments do not darken edges, so only coverage is compared.
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    CairoCanvas canvas(context);
    drawFigure(canvas, figure, options);
    cairo_destroy(context);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<bool> drawn;
    for (int y = 0; y < options.height; ++y)
        for (int x = 0; x < options.width; ++x) {
            const unsigned char* pixel = data + y * stride + x * 4;
            drawn.push_back(pixel[0] < 160 || pixel[1] < 160 || pixel[2] < 160);
        }
    cairo_surface_destroy(surface);
    return drawn;
}

Figure noisyHistory() {
    Figure figure;
    figure.title = "Probe";
    for (int line = 0; line < 2; ++line) {
        FigureLine values;
        values.name = "Probe " + std::to_string(line);
        mon::FloatColumn x, y;
        for (int i = 0; i < 40000; ++i) {
            x.push_back(i);
            y.push_back(line + std::sin(i * 0.0005 * (line + 1)) +
                        0.3 * std::sin(i * 1.37 + line) * std::exp(-i / 20000.0));
        }
        values.x = LineValues(std::move(x));
        values.y = LineValues(std::move(y));
        figure.lines.push_back(values);
    }
    return figure;
}

// Pixels drawn in one picture with nothing drawn in the other at the same
// place or one pixel to either side: the reduction moves a line's edge by
// at most the part of a pixel column its dropped points covered.
size_t unmatched(const std::vector<bool>& picture, const std::vector<bool>& other) {
    const size_t width = static_cast<size_t>(DrawingOptions().width);
    size_t count = 0;
    for (size_t i = 1; i + 1 < picture.size(); ++i)
        if (picture[i] && !other[i] && !(i % width > 0 && other[i - 1]) &&
            !(i % width + 1 < width && other[i + 1]))
            ++count;
    return count;
}

TEST(LineReduction, DrawsTheSamePixelsAsEveryPoint) {
    const Figure figure = noisyHistory();
    const std::vector<bool> all = render(figure, false), reduced = render(figure, true);
    const size_t drawn = static_cast<size_t>(std::count(all.begin(), all.end(), true));
    EXPECT_GT(drawn, 30000u);
    EXPECT_LT(unmatched(all, reduced), drawn / 1000);
    EXPECT_LT(unmatched(reduced, all), drawn / 1000);
}

}  // namespace
}  // namespace plot
