#include "plot/LineStyles.h"

namespace plot {

namespace {
const Colour kPalette[] = {
    {0x1f, 0x63, 0xc6}, {0xd9, 0x4a, 0x1e}, {0x23, 0x96, 0x3b}, {0x86, 0x3d, 0xb0},
    {0xdd, 0x9a, 0x00}, {0x00, 0x9a, 0xa6}, {0xc7, 0x1f, 0x66}, {0x6b, 0x4f, 0x3a},
    {0x7c, 0x9a, 0x1c}, {0x40, 0x40, 0x40},
};
const size_t kColours = sizeof kPalette / sizeof kPalette[0];
const std::vector<double> kDashes[] = {{}, {9, 4}, {2, 3}, {10, 3, 2, 3}};
const size_t kDashKinds = sizeof kDashes / sizeof kDashes[0];
}  // namespace

Stroke lineStroke(size_t index) {
    return Stroke{kPalette[index % kColours], 1.6, kDashes[(index / kColours) % kDashKinds]};
}

}  // namespace plot
