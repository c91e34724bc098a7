#include "libs/mondata/RunDataBuilder.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace mon {

namespace {
// Maps the fresh pages of [begin, end) in one call before they are written:
// a fault per 4 KB page costs several times more on virtual machines. Only
// a hint, which kernels without it refuse harmlessly.
void prepareForWriting(const float* begin, const float* end) {
    const uintptr_t page = 4096;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(begin) + page - 1) & ~(page - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(end) + page - 1) & ~(page - 1);
#ifdef MADV_POPULATE_WRITE
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#endif
}
}  // namespace

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

void RunDataBuilder::setRecordValues(const std::vector<int>& columns,
                                     const std::vector<RecordValues>& records) {
    size_t fields = 0;
    for (const RecordValues& record : records) fields = std::max(fields, record.count);
    const size_t first = static_cast<size_t>(rowCount_) - records.size();
    for (size_t field = 0; field < fields; ++field) {
        std::vector<float>& values = data_.columns[static_cast<size_t>(columns[field])];
        values.resize(first, FLT_MAX);
        if (values.capacity() >= first + records.size())
            prepareForWriting(values.data() + first, values.data() + first + records.size());
        for (const RecordValues& record : records)
            values.push_back(field < record.count ? record.values[field] : FLT_MAX);
    }
}

RunData RunDataBuilder::finish() {
    for (auto& values : data_.columns) values.resize(static_cast<size_t>(rowCount_), FLT_MAX);
    return std::move(data_);
}

}  // namespace mon
