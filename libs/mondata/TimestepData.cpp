#include "libs/mondata/TimestepData.h"

#include <utility>

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows, std::vector<float> values,
                           bool coefficientLoops)
    : rows_(std::move(rows)), values_(std::move(values)) {
    const mon::RowIndex& index = *rows_;
    if (index.empty()) return;
    int firstRow = 0;
    while (firstRow < index.rowCount() && values_[firstRow] == FLT_MAX) ++firstRow;
    int lastRow = index.rowCount() - 1;
    while (lastRow >= 0 && values_[lastRow] == FLT_MAX) --lastRow;
    if (lastRow < 0) {  // no value at all
        firstRow = 0;
        lastRow = index.rowCount() - 1;
    }
    firstStep_ = index.stepAt(index.positionOfRow(firstRow));
    int lastPosition = index.positionOfRow(lastRow);
    lastStep_ = index.stepAt(lastPosition);
    if (coefficientLoops) lastLoop_ = lastRow - index.firstRowAt(lastPosition) + 1;
}

TimestepData::~TimestepData() = default;

int TimestepData::getCloopCount(int step) const {
    int position = rows_->findStep(step);
    return position < 0 ? 0 : rows_->loopCountAt(position);
}
