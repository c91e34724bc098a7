#include "export/TimeHistoryLines.h"

#include <algorithm>
#include <cfloat>
#include <thread>

#include "export/NumberFormat.h"
#include "export/OrderedBlocks.h"
#include "libs/mondata/model/TimestepData.h"
#include "libs/system/UsableCores.h"

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
// straight from their value arrays (a loop without a record is empty) and
// the record keys from the line itself; others go through getValue. Runs of
// adjacent value columns in the default format are written by one call.
class TimeHistoryLines::BlockFormatter {
  public:
    BlockFormatter(const mon::RowIndex& rows, const std::vector<TimeHistoryColumn>& columns,
                   const TableFormat& format, bool coeffLoops)
        : rows_(rows), columns_(columns), format_(format), coeffLoops_(coeffLoops) {
        lineBytes_ = format.maxLineBytes(columns.size());
        for (const TimeHistoryColumn& column : columns) plan(column);
    }

    size_t maxLineBytes() const { return lineBytes_; }

    void format(Cursor start, size_t lines, TextBlock& text) const {
        char* out = text.reserve(lines * lineBytes_ + numberformat::kFieldsOverrun);
        Cursor cursor = start;
        for (size_t line = 0; line < lines; ++line) {
            out = formatLine(cursor, out);
            advance(cursor);
        }
        text.setEnd(out);
    }

  private:
    // Where a column's fields come from.
    enum class Source { Values, Doubles, Step, Loop, Lookup };
    // Adjacent columns written the same way: value columns in the default
    // format as one run, any other column alone.
    struct Run {
        size_t first;
        size_t count;
        bool scientificValues;
    };
    // The line's record: the cursor's own when the step holds its loop.
    struct Line {
        int step;
        int loop;
        int64_t record;  // -1 for a loop without a record
    };

    void plan(const TimeHistoryColumn& column) {
        const bool shared = &column.data->rows() == &rows_;
        const TimestepData::Key key = column.data->key();
        const bool doubles = column.digits > 0 && column.data->holdsDoubles();
        Source source = !shared                          ? Source::Lookup
                        : key == TimestepData::Key::Step ? Source::Step
                        : key == TimestepData::Key::Loop ? Source::Loop
                        : doubles                        ? Source::Doubles
                                                         : Source::Values;
        sources_.push_back(source);
        records_.push_back(source == Source::Values ? column.data->values().data() : nullptr);
        doubleRecords_.push_back(source == Source::Doubles ? column.data->doubleValues().data()
                                                           : nullptr);
        if (doubles) lineBytes_ += format_.extraFieldBytes(column.digits);
        const bool scientific = source == Source::Values && !column.integer && format_.isDefault();
        if (scientific && !runs_.empty() && runs_.back().scientificValues)
            ++runs_.back().count;
        else
            runs_.push_back({sources_.size() - 1, 1, scientific});
    }

    Line lineAt(Cursor cursor) const {
        const int step = rows_.stepAt(cursor.position);
        if (!coeffLoops_)  // the step's last record, which is its last loop
            return {step, rows_.loopCountAt(cursor.position),
                    rows_.endRecordAt(cursor.position) - 1};
        const int loop = cursor.loop + 1;
        const bool held = cursor.record < rows_.endRecordAt(cursor.position) &&
                          rows_.loopOfRecord(cursor.record) == loop;
        return {step, loop, held ? cursor.record : -1};
    }

    void advance(Cursor& cursor) const {
        if (coeffLoops_) {
            if (lineAt(cursor).record >= 0) ++cursor.record;
            if (++cursor.loop < rows_.loopCountAt(cursor.position)) return;
        }
        cursor.loop = 0;
        ++cursor.position;
        if (cursor.position < rows_.stepCount())
            cursor.record = rows_.firstRecordAt(cursor.position);
    }

    // Every field is followed by ","; the line's last one becomes the end.
    char* formatLine(Cursor cursor, char* out) const {
        const Line line = lineAt(cursor);
        if (runs_.empty()) {
            *out++ = '\n';
            return out;
        }
        for (const Run& run : runs_) {
            if (!run.scientificValues) {
                out = writeField(run.first, line, out);
                *out++ = ',';
            } else if (line.record >= 0) {
                out = numberformat::formatScientific8Fields(&records_[run.first], run.count,
                                                            static_cast<size_t>(line.record), out);
            } else {
                out = std::fill_n(out, run.count, ',');
            }
        }
        out[-1] = '\n';
        return out;
    }

    // Record keys are written as the line's exact step and loop: as floats
    // they could not tell steps above 2^24 apart.
    char* writeField(size_t column, const Line& line, char* out) const {
        switch (sources_[column]) {
            case Source::Step:
                return format_.keyField(line.step, out);
            case Source::Loop:
                return format_.keyField(line.loop, out);
            case Source::Values:
                return format_.field(line.record < 0 ? FLT_MAX : records_[column][line.record],
                                     columns_[column].integer, out);
            case Source::Doubles:
                return format_.doubleField(
                    line.record < 0 ? FLT_MAX : doubleRecords_[column][line.record],
                    columns_[column].digits, out);
            case Source::Lookup:
                break;
        }
        const TimeHistoryColumn& lookup = columns_[column];
        const int loop = coeffLoops_ ? line.loop : -1;
        if (lookup.digits > 0 && !lookup.integer)
            return format_.doubleField(lookup.data->getDoubleValue(line.step, loop), lookup.digits,
                                       out);
        return format_.field(lookup.data->getValue(line.step, loop), lookup.integer, out);
    }

    const mon::RowIndex& rows_;
    const std::vector<TimeHistoryColumn>& columns_;
    const TableFormat& format_;
    bool coeffLoops_;
    std::vector<Source> sources_;
    std::vector<const float*> records_;
    std::vector<const double*> doubleRecords_;
    std::vector<Run> runs_;
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

int TimeHistoryLines::linesAt(int position) const {
    return coeffLoops_ ? rows_.loopCountAt(position) : 1;
}

std::vector<TimeHistoryLines::Cursor> TimeHistoryLines::blockStarts(size_t linesPerBlock) const {
    std::vector<Cursor> starts;
    size_t needed = 0;  // lines until the next block starts
    for (int position = firstPosition_; position < endPosition_; ++position) {
        const size_t lines = static_cast<size_t>(linesAt(position));
        for (size_t loop = needed; loop < lines; loop += linesPerBlock)
            starts.push_back({position, static_cast<int>(loop),
                              rows_.recordFrom(position, static_cast<int>(loop) + 1)});
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
    const unsigned cores = usableCores();
    return cores < 2 ? 0 : std::min(cores, 8u);
}

}  // namespace owl
