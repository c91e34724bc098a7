#include "export/TimeHistoryLines.h"

#include <algorithm>
#include <thread>

#include "export/OrderedBlocks.h"
#include "libs/mondata/TimestepData.h"

namespace owl {

namespace {
// Text formatted per block: large enough that a block is one big write and
// the threads rarely meet, small enough to keep the memory bounded.
constexpr size_t kBlockBytes = 1 << 20;
// Below this many fields one thread is quicker than starting workers.
constexpr size_t kParallelFields = 1 << 16;

// First position whose step is not below step (or above it, when after).
int boundary(const mon::RowIndex& rows, int32_t step, bool after) {
    int low = 0, high = rows.stepCount();
    while (low < high) {
        int middle = low + (high - low) / 2;
        bool before = after ? rows.stepAt(middle) <= step : rows.stepAt(middle) < step;
        if (before)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
}  // namespace

// Formats a run of lines. Columns that share the key's records are read
// straight from their value arrays; others go through getValue.
class TimeHistoryLines::BlockFormatter {
  public:
    BlockFormatter(const mon::RowIndex& rows, const std::vector<TimeHistoryColumn>& columns,
                   const TableFormat& format, bool coeffLoops)
        : rows_(rows), columns_(columns), format_(format), coeffLoops_(coeffLoops) {
        for (const TimeHistoryColumn& column : columns) {
            bool shared = &column.data->rows() == &rows;
            records_.push_back(shared ? column.data->values().data() : nullptr);
        }
        lineBytes_ = format.maxLineBytes(columns.size());
    }

    size_t maxLineBytes() const { return lineBytes_; }

    void format(Cursor start, size_t lines, TextBlock& text) const {
        char* out = text.reserve(lines * lineBytes_);
        Cursor cursor = start;
        for (size_t line = 0; line < lines; ++line) {
            out = formatLine(cursor, out);
            advance(cursor);
        }
        text.setEnd(out);
    }

  private:
    void advance(Cursor& cursor) const {
        if (coeffLoops_ && ++cursor.loop < rows_.loopCountAt(cursor.position)) return;
        cursor.loop = 0;
        do ++cursor.position;
        while (cursor.position < rows_.stepCount() && rows_.loopCountAt(cursor.position) < 1);
    }

    char* formatLine(Cursor cursor, char* out) const {
        const int count = rows_.loopCountAt(cursor.position);
        const int loop = coeffLoops_ ? cursor.loop : count - 1;
        const int row = rows_.firstRowAt(cursor.position) + loop;
        for (size_t column = 0; column < columns_.size(); ++column) {
            if (column > 0) *out++ = ',';
            if (columns_[column].key != keyfields::RecordKey::None) {
                out = format_.keyField(keyOfLine(columns_[column].key, cursor, loop), out);
                continue;
            }
            const float* records = records_[column];
            float value = records ? records[row] : fallbackValue(column, cursor);
            out = format_.field(value, columns_[column].integer, out);
        }
        *out++ = '\n';
        return out;
    }

    // loop counts from 0 within the step; loops are numbered from 1.
    int32_t keyOfLine(keyfields::RecordKey key, Cursor cursor, int loop) const {
        return key == keyfields::RecordKey::Step ? rows_.stepAt(cursor.position) : loop + 1;
    }

    float fallbackValue(size_t column, Cursor cursor) const {
        int step = rows_.stepAt(cursor.position);
        return columns_[column].data->getValue(step, coeffLoops_ ? cursor.loop + 1 : -1);
    }

    const mon::RowIndex& rows_;
    const std::vector<TimeHistoryColumn>& columns_;
    const TableFormat& format_;
    bool coeffLoops_;
    std::vector<const float*> records_;
    size_t lineBytes_ = 0;
};

TimeHistoryLines::TimeHistoryLines(const TimestepData& key, int32_t firstStep, int32_t lastStep,
                                   bool coeffLoops)
    : rows_(key.rows()), coeffLoops_(coeffLoops) {
    if (firstStep > lastStep) return;
    firstPosition_ = boundary(rows_, firstStep, false);
    endPosition_ = std::max(firstPosition_, boundary(rows_, lastStep, true));
    for (int position = firstPosition_; position < endPosition_; ++position)
        lineCount_ += static_cast<size_t>(linesAt(position));
}

// A step without records (never made by the readers) has no line.
int TimeHistoryLines::linesAt(int position) const {
    const int loops = rows_.loopCountAt(position);
    if (loops < 1) return 0;
    return coeffLoops_ ? loops : 1;
}

std::vector<TimeHistoryLines::Cursor> TimeHistoryLines::blockStarts(size_t linesPerBlock) const {
    std::vector<Cursor> starts;
    size_t needed = 0;  // lines until the next block starts
    for (int position = firstPosition_; position < endPosition_; ++position) {
        const size_t lines = static_cast<size_t>(linesAt(position));
        for (size_t loop = needed; loop < lines; loop += linesPerBlock)
            starts.push_back({position, static_cast<int>(loop)});
        needed = needed >= lines
                     ? needed - lines
                     : (linesPerBlock - (lines - needed) % linesPerBlock) % linesPerBlock;
    }
    return starts;
}

void TimeHistoryLines::write(std::ostream& out, const std::vector<TimeHistoryColumn>& columns,
                             const TableFormat& format, unsigned workers) const {
    if (lineCount_ == 0) return;
    const BlockFormatter formatter(rows_, columns, format, coeffLoops_);
    const size_t linesPerBlock = std::max<size_t>(1, kBlockBytes / formatter.maxLineBytes());
    const std::vector<Cursor> starts = blockStarts(linesPerBlock);
    if (lineCount_ * columns.size() < kParallelFields) workers = 0;
    OrderedBlocks::run(
        starts.size(), workers,
        [&](size_t block, TextBlock& text) {
            size_t lines = std::min(linesPerBlock, lineCount_ - block * linesPerBlock);
            formatter.format(starts[block], lines, text);
        },
        [&](const TextBlock& text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            out.flush();  // a block's lines are in the output before the next is written
            return static_cast<bool>(out);
        });
}

unsigned TimeHistoryLines::defaultWorkers() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 2 ? 0 : std::min(cores, 8u);
}

}  // namespace owl
