#include "libs/mondata/RunDataBuilder.h"

#include <utility>

namespace mon {

RunDataBuilder::RunDataBuilder() {
    auto rows = std::make_shared<RowIndex>();
    rows_ = rows.get();
    data_.rows = std::move(rows);
}

int RunDataBuilder::declare(VariableInfo info) {
    auto found = columns_.constFind(info.name);
    if (found != columns_.constEnd()) return found.value();
    int column = static_cast<int>(data_.variables.size());
    columns_.insert(info.name, column);
    data_.variables.push_back(std::move(info));
    data_.columns.emplace_back().reserve(static_cast<size_t>(reservedRecords_));
    return column;
}

void RunDataBuilder::reserveRecords(int64_t records) {
    if (records <= reservedRecords_) return;
    reservedRecords_ = records;
    for (auto& values : data_.columns) values.reserve(static_cast<size_t>(records));
}

int RunDataBuilder::columnOf(const QString& name) const {
    return columns_.value(name, -1);
}

void RunDataBuilder::beginRecord(int step, int loop) {
    if (!rows_->isAfterLast(step, loop)) {
        rowCount_ = rows_->truncateFrom(step, loop);
        for (auto& values : data_.columns)
            if (values.size() > static_cast<size_t>(rowCount_))
                values.resize(static_cast<size_t>(rowCount_));
    }
    rowCount_ = rows_->append(step, loop);
}

RunData RunDataBuilder::finish() {
    for (auto& values : data_.columns) values.resize(static_cast<size_t>(rowCount_), FLT_MAX);
    return std::move(data_);
}

}  // namespace mon
