#pragma once
// A figure line summed up in blocks of kBlockPoints points, once per figure:
// for a block whose every point is a drawable value (with its X, finite, and
// above zero on a log axis) and whose X never goes back, where its lowest
// and highest values are. A block that falls within one pixel column gives
// that column, through its first, lowest, highest and last point, what its
// points one by one would give: a whole-range view of a long history then
// reduces blocks rather than millions of points.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "plot/Figure.h"

namespace serve {

constexpr size_t kBlockPoints = 64;

struct LineBlock {
    bool plain = false;  // every point drawable, X not decreasing
    uint8_t lowest = 0;  // offsets within the block, the first of equals
    uint8_t highest = 0;
};

// One block per whole kBlockPoints of the line; the rest has none.
std::vector<LineBlock> lineBlocks(const plot::FigureLine& line, bool logarithmic);

// Whether a line value is drawn as a point of the line.
inline bool drawableValue(float y, bool logarithmic) {
    return y != plot::kMissing && std::isfinite(y) && !(logarithmic && y <= 0);
}

}  // namespace serve
