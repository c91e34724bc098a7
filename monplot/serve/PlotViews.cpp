#include "monplot/serve/PlotViews.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "export/TimeRange.h"
#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "monplot/SelectedPlot.h"
#include "monplot/XAxis.h"
#include "monplot/serve/JsonWriter.h"
#include "monplot/serve/LineBlocks.h"
#include "plot/LineNotes.h"
#include "plot/LinePlan.h"
#include "plot/LineReduction.h"
#include "plot/LineStyles.h"
#include "plot/Panels.h"
#include "plot/PlotValues.h"
#include "stats/ParallelFor.h"

namespace serve {

namespace {
[[noreturn]] void fail(const std::string& message) {
    throw owl::data::notFound("serve", "PlotViews", message, owl::errorFatal);
}

std::string hexColour(const plot::Colour& colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

bool requested(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& wanted : names)
        if (wanted == name) return true;
    return false;
}

// The runs as the plots name them, each with its steps of -firsttime and
// -lasttime (throws for a run without TIME), as monplot draws them.
std::vector<plot::NamedRun> namedRuns(const std::vector<ViewRun>& runs,
                                      const exporter::TimeRange& times) {
    std::vector<plot::NamedRun> named;
    for (const ViewRun& run : runs) {
        plot::StepRange steps;
        exporter::narrowToTimes(*run.database, times, steps.first, steps.last);
        named.push_back({run.database.get(), run.name, steps});
    }
    return named;
}

// The variable the query's lines are drawn against ("": each plot's own),
// chosen as monplot chooses it.
std::string xAxisFor(const std::vector<ViewRun>& runs, const PlotQuery& query,
                     const PlotOptions& options) {
    std::vector<const MonDatabase*> databases;
    for (const ViewRun& run : runs) databases.push_back(run.database.get());
    return xAxisOf(query.xVariable.empty() ? options.xVariable : query.xVariable, databases);
}

// Points of one line as the page receives them: reduced per column, NaN
// for a break (null in JSON).
class LineEmitter {
  public:
    explicit LineEmitter(double px) : px_(px) {}
    void point(double x, double y) {
        if (px_ <= 0) return push(x, y);
        reducer_.add({x / px_, y});
    }
    // A plain block (LineBlocks) within one column, as its points would be.
    void block(const plot::FigureLine& line, size_t begin, const LineBlock& block) {
        const size_t last = begin + kBlockPoints - 1;
        size_t at[4] = {begin, begin + std::min(block.lowest, block.highest),
                        begin + std::max(block.lowest, block.highest), last};
        for (size_t k = 0; k < 4; ++k)
            if (k == 0 || at[k] != at[k - 1]) point(line.xOrigin + line.x[at[k]], line.y[at[k]]);
    }
    void gap(double x) {
        flush();
        if (!y_.empty() && !std::isnan(y_.back())) push(x, NAN);
    }
    void write(JsonWriter& json, const char* xKey, const char* yKey) {
        flush();
        json.key(xKey).beginArray();
        for (double x : x_) json.number(x, 12);
        json.endArray().key(yKey).beginArray();
        for (double y : y_) json.number(y, 9);
        json.endArray();
    }

  private:
    void push(double x, double y) { x_.push_back(x), y_.push_back(y); }
    void flush() {
        if (px_ > 0)
            for (const plot::Point& p : reducer_.take()) push(p.x * px_, p.y);
    }
    double px_;
    plot::ColumnReducer reducer_;
    std::vector<double> x_, y_;
};

enum class Kind { Missing, Value, Nan, PlusInf, MinusInf, NonPositive };

Kind kindOf(float y, bool logarithmic) {
    if (y == plot::kMissing) return Kind::Missing;
    if (std::isnan(y)) return Kind::Nan;
    if (std::isinf(y)) return y > 0 ? Kind::PlusInf : Kind::MinusInf;
    if (logarithmic && y <= 0) return Kind::NonPositive;
    return Kind::Value;
}

const char* markName(Kind kind) {
    switch (kind) {
        case Kind::Nan:
            return "nan";
        case Kind::PlusInf:
            return "+inf";
        case Kind::MinusInf:
            return "-inf";
        default:
            return "<=0";
    }
}

// The exponential moving average of the line's values at each point (NaN
// where the line has no drawable value), of log10 y on a log axis.
std::vector<double> smoothed(const plot::FigureLine& line, double weight, bool logarithmic) {
    std::vector<double> out(line.y.size(), NAN);
    bool started = false;
    double state = 0;
    for (size_t i = 0; i < line.y.size(); ++i) {
        if (kindOf(line.y[i], logarithmic) != Kind::Value) continue;
        const double value = logarithmic ? std::log10(double{line.y[i]}) : line.y[i];
        state = started ? weight * state + (1 - weight) * value : value;
        started = true;
        out[i] = logarithmic ? std::pow(10.0, state) : state;
    }
    return out;
}

// A figure's tail (the new part alone) has no blocks.
const std::vector<LineBlock> kNoBlocks;

// Whether the block starting at point i is plain and lies within one
// column of the query's range.
bool blockFits(const plot::FigureLine& line, const std::vector<LineBlock>& blocks, size_t i,
               const PlotQuery& query) {
    if (i % kBlockPoints != 0 || i / kBlockPoints >= blocks.size() || query.px <= 0 ||
        !blocks[i / kBlockPoints].plain)
        return false;
    const double first = line.xOrigin + line.x[i];
    const double last = line.xOrigin + line.x[i + kBlockPoints - 1];
    return first >= query.from && last <= query.to &&
           std::floor(first / query.px) == std::floor(last / query.px);
}

// Writes one line's points from index `first` on, within the query's range;
// blocks (of the line as a whole figure's, or empty) stand for their points
// where they fit a column.
void writeLine(JsonWriter& json, const plot::FigureLine& line, size_t first, bool logarithmic,
               bool sparse, const PlotQuery& query, const std::vector<double>& smooth,
               const std::vector<LineBlock>& blocks) {
    LineEmitter raw(query.px), soft(query.px);
    json.beginObject().key("marks").beginArray();
    size_t marks = 0;
    Kind previous = Kind::Value;
    bool before = false;  // the last point before `from` is waiting
    size_t beforeIndex = 0;
    for (size_t i = first; i < line.y.size(); ++i) {
        if (!before && smooth.empty() && blockFits(line, blocks, i, query)) {
            raw.block(line, i, blocks[i / kBlockPoints]);
            previous = Kind::Value;
            i += kBlockPoints - 1;
            continue;
        }
        if (line.x[i] == plot::kMissing) continue;
        const double x = line.xOrigin + line.x[i];
        const Kind kind = kindOf(line.y[i], logarithmic);
        if (kind == Kind::Missing && sparse) continue;
        if (x < query.from) {
            before = true, beforeIndex = i, previous = kind;
            continue;
        }
        if (before) {
            before = false;
            if (kindOf(line.y[beforeIndex], logarithmic) == Kind::Value)
                raw.point(line.xOrigin + line.x[beforeIndex], line.y[beforeIndex]);
        }
        if (kind == Kind::Value) {
            raw.point(x, line.y[i]);
        } else {
            raw.gap(x);
            if (kind != Kind::Missing && kind != previous && marks++ < 1000 && x <= query.to)
                json.beginArray().number(x, 12).string(markName(kind)).endArray();
        }
        if (!smooth.empty() && !std::isnan(smooth[i])) soft.point(x, smooth[i]);
        previous = kind;
        if (x > query.to) break;
    }
    json.endArray();
    raw.write(json, "x", "y");
    if (!smooth.empty()) soft.write(json, "sx", "sy");
    json.endObject();
}

void writeLineStyle(JsonWriter& json, const plot::FigureLine& line, bool logarithmic) {
    const plot::Stroke stroke = plot::lineStroke(line.style);
    json.key("name").string(line.name);
    json.key("note").string(plot::lineNote(line.events, logarithmic));
    json.key("units").string(line.units);
    json.key("colour").string(hexColour(stroke.colour));
    json.key("dash").beginArray();
    for (double dash : stroke.dashes) json.number(dash);
    json.endArray();
}
}  // namespace

PlotViews::PlotViews(const PlotOptions& options, std::string templateDirectory)
    : options_(options), templateDirectory_(std::move(templateDirectory)) {}

std::vector<plot::DefaultPlot> PlotViews::plotsOf(MonDatabase& first) const {
    if (options_.selectsVariables()) return {selectedPlot(first, options_)};
    std::vector<plot::DefaultPlot> chosen;
    for (plot::DefaultPlot& plot :
         plot::gatherDefaultPlots(first, QString::fromLocal8Bit(templateDirectory_.c_str())))
        if (options_.plotNames.empty() ? plot.visible || options_.allPlots
                                       : requested(options_.plotNames, plot.name))
            chosen.push_back(std::move(plot));
    return chosen;
}

namespace {
struct FigureSettings {
    const PlotOptions& options;
    const PlotQuery& query;
};

plot::Figure figureFor(const plot::DefaultPlot& plot, const std::vector<ViewRun>& runs,
                       const FigureSettings& settings, bool onlyAfter,
                       plot::SharedXValues* sharedX = nullptr) {
    const PlotOptions& options = settings.options;
    const PlotQuery& query = settings.query;
    const std::string x = xAxisFor(runs, query, options);
    if (!x.empty() && !runs.front().database->getVariable(QString::fromUtf8(x.c_str())))
        fail("The run has no variable '" + x + "' to plot against.");
    plot::LineRequest request{{options.firstTimestep, options.lastTimestep},
                              query.lastSteps > 0 ? query.lastSteps : options.lastSteps,
                              QString::fromUtf8(x.c_str()),
                              sharedX};
    if (onlyAfter && query.after > 0 && query.after >= request.steps.first)
        request.steps.first = query.after + 1;
    plot::Figure figure = plot::figureOf(plot, namedRuns(runs, options.times), request);
    if (options.selectsVariables()) figure.logarithmicY = selectionIsLogarithmic(figure);
    if (options.scale != PlotOptions::Scale::Template)
        figure.logarithmicY = options.scale == PlotOptions::Scale::Logarithmic;
    if (query.scale >= 0) figure.logarithmicY = query.scale == 1;
    figure.wholeRange = options.wholeRange;
    return figure;
}

// The X span of the lines within the query's range, over its columns.
double columnWidth(const plot::Figure& figure, const PlotQuery& query) {
    plot::Range span;
    for (size_t i = 0; i < figure.lines.size(); ++i) {
        const plot::FigureLine& line = figure.lines[i];
        const auto sameX = [&line](const plot::FigureLine& other) {
            return other.x.begin() == line.x.begin() && other.x.size() == line.x.size() &&
                   other.xOrigin == line.xOrigin;
        };
        // Lines that share their X (most of a figure's) are looked at once.
        if (std::any_of(figure.lines.begin(), figure.lines.begin() + static_cast<long>(i), sameX))
            continue;
        for (float x : line.x) {
            const double value = line.xOrigin + x;
            if (x != plot::kMissing && value >= query.from && value <= query.to) span.add(value);
        }
    }
    return span.empty() ? 0 : span.span() / query.columns;
}

void writeLastSteps(JsonWriter& json, const std::vector<ViewRun>& runs) {
    json.key("lastSteps").beginObject();
    for (const ViewRun& run : runs) {
        const TimestepData* steps =
            run.database->getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
        const int count = steps ? steps->rows().stepCount() : 0;
        json.key(run.id).integer(count > 0 ? steps->rows().stepAt(count - 1) : 0);
    }
    json.endObject();
}
}  // namespace

namespace {
std::string addressOf(const void* object) {
    return std::to_string(reinterpret_cast<uintptr_t>(object));
}
}  // namespace

std::shared_ptr<const std::vector<plot::DefaultPlot>> PlotViews::cachedPlots(
    const std::vector<ViewRun>& runs) const {
    if (runs.empty()) return std::make_shared<std::vector<plot::DefaultPlot>>();
    MonDatabase& first = *runs.front().database;
    return plots_.get(addressOf(&first), {runs.front().database}, [&] {
        return std::make_shared<const std::vector<plot::DefaultPlot>>(plotsOf(first));
    });
}

std::shared_ptr<const PlotViews::Drawn> PlotViews::drawn(const std::vector<ViewRun>& runs,
                                                         const PlotQuery& query,
                                                         const plot::DefaultPlot& plot) const {
    SharedResults<std::shared_ptr<const Drawn>>::Holders readings;
    std::string key;
    for (const ViewRun& run : runs) {
        readings.push_back(run.database);
        key += addressOf(run.database.get()) + ",";
    }
    // The figures of these readings share their X values (the steps, mostly).
    const auto sharedX =
        xValues_.get(key, readings, [] { return std::make_shared<plot::SharedXValues>(); });
    key += plot.name + "|" + query.xVariable + "|" + std::to_string(query.lastSteps) + "|" +
           std::to_string(query.scale);
    return drawn_.get(key, readings, [&] {
        auto entry = std::make_shared<Drawn>();
        entry->key = key;
        PlotQuery whole = query;
        whole.after = 0;
        entry->figure = figureFor(plot, runs, {options_, whole}, false, sharedX.get());
        entry->plans = plot::linePlans(entry->figure);
        for (const plot::FigureLine& line : entry->figure.lines)
            entry->blocks.push_back(lineBlocks(line, entry->figure.logarithmicY));
        return std::shared_ptr<const Drawn>(std::move(entry));
    });
}

std::string PlotViews::describe(const std::vector<ViewRun>& runs, const PlotQuery& query) const {
    JsonWriter json;
    json.beginObject().key("plots").beginArray();
    const auto plots = cachedPlots(runs);
    // The figures first, side by side: a long history's take a while each.
    std::vector<std::shared_ptr<const Drawn>> figures(plots->size());
    stats::parallelFor(figures.size(), stats::statsWorkers(),
                       [&](size_t i) { figures[i] = drawn(runs, query, (*plots)[i]); });
    for (size_t p = 0; p < plots->size(); ++p) {
        const plot::DefaultPlot& plot = (*plots)[p];
        const std::shared_ptr<const Drawn>& whole = figures[p];
        const plot::Figure& figure = whole->figure;
        std::vector<plot::LinePlan> plans = whole->plans;
        json.beginObject().key("name").string(plot.name).key("title").string(figure.title);
        json.key("xTitle").string(figure.xTitle).key("log").boolean(figure.logarithmicY);
        json.key("panels").beginArray();
        for (const plot::Panel& panel : plot::panelsOf(figure, plans)) {
            json.beginObject().key("title").string(panel.yTitle);
            json.key("low").number(panel.values.low).key("high").number(panel.values.high);
            json.key("lines").beginArray();
            for (size_t line : panel.lines) json.integer(static_cast<int64_t>(line));
            json.endArray().endObject();
        }
        json.endArray().key("lines").beginArray();
        const size_t linesPerRun = runs.empty() ? 0 : figure.lines.size() / runs.size();
        for (size_t i = 0; i < figure.lines.size(); ++i) {
            json.beginObject();
            writeLineStyle(json, figure.lines[i], figure.logarithmicY);
            json.key("run").string(runs[linesPerRun ? i / linesPerRun : 0].id);
            json.key("sparse").boolean(plans[i].stats.sparse()).endObject();
        }
        json.endArray().endObject();
    }
    json.endArray();
    if (!runs.empty()) writeLastSteps(json, runs);
    return json.endObject().text();
}

std::string PlotViews::values(const std::vector<ViewRun>& runs, const PlotQuery& query) const {
    if (runs.empty()) fail("No run was named.");
    const auto plots = cachedPlots(runs);
    if (query.plot >= plots->size())
        fail("The run has " + std::to_string(plots->size()) + " plots, not " +
             std::to_string(query.plot + 1) + ".");
    const plot::DefaultPlot& plot = (*plots)[query.plot];
    const bool smoothing = query.smoothing > 0 && query.smoothing < 1;
    const std::shared_ptr<const Drawn> whole = drawn(runs, query, plot);
    // The new part alone, unless smoothing, which runs over the whole
    // history: then the whole figure's tail is written.
    std::unique_ptr<plot::Figure> tail;
    if (query.after > 0)
        tail = std::make_unique<plot::Figure>(figureFor(plot, runs, {options_, query}, true));
    const plot::Figure& figure = tail && !smoothing ? *tail : whole->figure;
    std::vector<size_t> firsts(figure.lines.size(), 0);
    if (tail && smoothing)
        for (size_t i = 0; i < figure.lines.size(); ++i)
            firsts[i] = figure.lines[i].y.size() - tail->lines[i].y.size();
    PlotQuery reduced = query;
    if (reduced.px <= 0 && reduced.columns > 0) reduced.px = columnWidth(figure, query);
    JsonWriter json;
    json.beginObject().key("log").boolean(figure.logarithmicY).key("px").number(reduced.px);
    json.key("lines").beginArray();
    for (size_t i = 0; i < figure.lines.size(); ++i) {
        const plot::FigureLine& line = figure.lines[i];
        writeLine(json, line, firsts[i], figure.logarithmicY, whole->plans[i].stats.sparse(),
                  reduced,
                  smoothing ? smoothed(line, query.smoothing, figure.logarithmicY)
                            : std::vector<double>{},
                  tail ? kNoBlocks : whole->blocks[i]);
    }
    json.endArray();
    writeCompanion(json, runs, reduced, plot);
    writeLastSteps(json, runs);
    return json.endObject().text();
}

void PlotViews::writeCompanion(JsonWriter& json, const std::vector<ViewRun>& runs,
                               const PlotQuery& query, const plot::DefaultPlot& plot) const {
    const std::string step = mon::kAccumulatedTimestep;
    std::string x = xAxisFor(runs, query, options_);
    if (x.empty() && !plot.lines.empty()) x = owl::MakeStdString(plot.lines.front().xVariable);
    const std::string other = x == step ? "TIME" : step;
    const MonDatabase& first = *runs.front().database;
    if (x.empty() || !first.getVariable(QString::fromUtf8(other.c_str()))) return;
    plot::DefaultPlot companion;
    companion.name = "\ncompanion " + other + " against " + x;  // names its figure
    companion.lines.push_back(
        {QString::fromUtf8(x.c_str()), QString::fromUtf8(other.c_str()), other});
    PlotQuery linear = query;
    linear.scale = 0;
    linear.smoothing = 0;
    const std::vector<ViewRun> one{runs.front()};
    const std::shared_ptr<const Drawn> whole = drawn(one, linear, companion);
    char range[128];
    std::snprintf(range, sizeof range, "|%.17g|%.17g|%.17g|%d", linear.px, linear.from, linear.to,
                  linear.after);
    json.key("companion").beginObject().key("name").string(other).key("line");
    const std::string line = companions_.get(whole->key + range, {runs.front().database}, [&] {
        std::unique_ptr<plot::Figure> tail;
        if (query.after > 0)
            tail =
                std::make_unique<plot::Figure>(figureFor(companion, one, {options_, linear}, true));
        JsonWriter written;
        writeLine(written, (tail ? *tail : whole->figure).lines.front(), 0, false, false, linear,
                  {}, tail ? kNoBlocks : whole->blocks.front());
        return written.text();
    });
    json.value(line).endObject();
}

}  // namespace serve
