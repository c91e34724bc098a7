#include "plot/MarkerShapes.h"

#include <cmath>

namespace plot {

namespace {
std::vector<Point> circle(double radius) {
    std::vector<Point> outline;
    for (int i = 0; i < 12; ++i) {
        const double angle = i * 3.14159265358979323846 / 6;
        outline.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return outline;
}
}  // namespace

const std::vector<Point>& markerOutline(Marker shape) {
    static const std::vector<Point> kPoint = circle(3.5);
    // Triangles with their tip on the point: a value clipped at the top edge
    // hangs below it, one at the bottom edge stands above it.
    static const std::vector<Point> kAbove = {{0, 0}, {5, 9}, {-5, 9}};
    static const std::vector<Point> kBelow = {{0, 0}, {5, -9}, {-5, -9}};
    static const std::vector<Point> kNan = {{0, 0}, {5, -6}, {0, -12}, {-5, -6}};
    // Open chevrons, a stroke 3 pixels thick, their tip on the edge: unlike
    // the solid triangles of ±inf, they say "more beyond the range".
    static const std::vector<Point> kClippedAbove = {{-6, 6}, {0, 0}, {6, 6},
                                                     {6, 10}, {0, 4}, {-6, 10}};
    static const std::vector<Point> kClippedBelow = {{-6, -6}, {0, 0},  {6, -6},
                                                     {6, -10}, {0, -4}, {-6, -10}};
    switch (shape) {
        case Marker::Above:
            return kAbove;
        case Marker::Below:
            return kBelow;
        case Marker::NotANumber:
            return kNan;
        case Marker::ClippedAbove:
            return kClippedAbove;
        case Marker::ClippedBelow:
            return kClippedBelow;
        default:
            return kPoint;
    }
}

std::string markerId(Marker shape) {
    switch (shape) {
        case Marker::Above:
            return "above";
        case Marker::Below:
            return "below";
        case Marker::NotANumber:
            return "nan";
        case Marker::ClippedAbove:
            return "clipped-above";
        case Marker::ClippedBelow:
            return "clipped-below";
        default:
            return "point";
    }
}

}  // namespace plot
