#include "monplot/serve/LineBlocks.h"

namespace serve {

namespace {
LineBlock blockAt(const plot::FigureLine& line, size_t begin, bool logarithmic) {
    LineBlock block;
    for (size_t k = 0; k < kBlockPoints; ++k) {
        const size_t i = begin + k;
        if (line.x[i] == plot::kMissing || !drawableValue(line.y[i], logarithmic) ||
            (k > 0 && line.x[i] < line.x[i - 1]))
            return {};
        if (line.y[i] < line.y[begin + block.lowest]) block.lowest = static_cast<uint8_t>(k);
        if (line.y[i] > line.y[begin + block.highest]) block.highest = static_cast<uint8_t>(k);
    }
    block.plain = true;
    return block;
}
}  // namespace

std::vector<LineBlock> lineBlocks(const plot::FigureLine& line, bool logarithmic) {
    std::vector<LineBlock> blocks(line.y.size() / kBlockPoints);
    for (size_t b = 0; b < blocks.size(); ++b)
        blocks[b] = blockAt(line, b * kBlockPoints, logarithmic);
    return blocks;
}

}  // namespace serve
