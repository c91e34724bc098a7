#include "monplot/serve/DashboardApi.h"

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "export/StatsReport.h"
#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "monplot/serve/JsonWriter.h"
#include "monplot/serve/RequestTarget.h"
#include "stats/Verdict.h"

namespace serve {

namespace {
HttpResponse jsonResponse(const std::string& json) {
    HttpResponse response;
    response.contentType = "application/json";
    response.body = json;
    return response;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// A number of the query, or the fallback when absent; false when malformed.
bool numberParameter(const RequestTarget& target, const std::string& name, double& value) {
    const std::string text = target.value(name);
    if (text.empty()) return true;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || std::isnan(parsed)) return false;
    value = parsed;
    return true;
}

const char* kindName(MonDatabase::SourceType kind) {
    switch (kind) {
        case MonDatabase::RunDirectory:
            return "dir";
        case MonDatabase::ResultsFile:
            return "res";
        default:
            return "mon";
    }
}

void writeStatus(JsonWriter& json, const RunSnapshot& snapshot, int64_t now) {
    const RunStatus& status = snapshot.status;
    const RunState state = stateOf(snapshot, now);
    json.key("read").boolean(snapshot.version > 0);
    // Before its first reading a run is in no state yet.
    json.key("state").string(snapshot.version > 0 ? stateName(state) : "reading");
    json.key("reason").string(state == RunState::Unreadable ? snapshot.error
                              : state == RunState::Failed   ? status.failure
                                                            : status.divergence);
    json.key("lastStep");
    status.lastStep ? json.integer(*status.lastStep) : json.null();
    json.key("lastTime");
    status.lastTime ? json.number(*status.lastTime) : json.null();
    json.key("age");
    snapshot.newestTime > 0 ? json.integer(now - snapshot.newestTime) : json.null();
    json.key("values").beginArray();
    for (const auto& value : status.lastValues) json.number(value.second);
    json.endArray().key("verdict");
    if (!status.judged) {
        json.null();
    } else {
        json.beginObject().key("met").boolean(status.met);
        json.key("reason").string(status.reason).endObject();
    }
}

// The names whose last values the runs show: those of the first run read.
std::vector<std::string> shownVariables(const RunListing& listing) {
    for (const CatalogRun& run : listing.runs) {
        const auto snapshot = run.follower->current();
        if (!snapshot->status.lastValues.empty()) {
            std::vector<std::string> names;
            for (const auto& value : snapshot->status.lastValues) names.push_back(value.first);
            return names;
        }
    }
    return {};
}
}  // namespace

RunState stateOf(const RunSnapshot& snapshot, int64_t now) {
    if (!snapshot.error.empty()) return RunState::Unreadable;
    if (!snapshot.status.failure.empty()) return RunState::Failed;
    if (!snapshot.status.divergence.empty()) return RunState::Diverged;
    if (snapshot.newestTime > 0 && now - snapshot.newestTime < kRunningSeconds)
        return RunState::Running;
    return RunState::Idle;
}

std::string eventStreamStart() {
    return "retry: 2000\n\n" + event("hello", "{}");
}

std::string event(const std::string& name, const std::string& json) {
    return "event: " + name + "\ndata: " + json + "\n\n";
}

DashboardApi::DashboardApi(const RunCatalog& catalog, const PlotViews& views, const WebFiles& files)
    : catalog_(catalog), views_(views), files_(files) {}

HttpResponse DashboardApi::answer(const HttpRequest& request, int64_t now) const {
    const RequestTarget target = parseTarget(request.target);
    if (const WebFile* file = files_.find(target.path)) {
        HttpResponse response;
        response.contentType = file->contentType;
        response.body = file->body;
        return response;
    }
    try {
        if (target.path == "/api/runs") return runs(now);
        if (target.path == "/api/plots") return plots(target, false);
        if (target.path == "/api/data") return plots(target, true);
        if (target.path == "/api/study") return studyStats(target);
    } catch (const owl::data::notFound& error) {
        return textResponse(404, error.getErrorText());
    } catch (const owl::Error& error) {
        return textResponse(500, error.getErrorText());
    }
    if (target.path == "/favicon.ico") {  // none, and no error in the console for it
        HttpResponse none;
        none.status = 204;
        return none;
    }
    if (target.path == "/api/events") {
        HttpResponse response;
        response.contentType = "text/event-stream";
        response.body = eventStreamStart();
        response.eventStream = true;
        return response;
    }
    return textResponse(404, "Nothing here.");
}

HttpResponse DashboardApi::runs(int64_t now) const {
    const std::shared_ptr<const RunListing> listing = catalog_.listing();
    JsonWriter json;
    json.beginObject().key("parameters").beginArray();
    for (const std::string& name : listing->parameters.names) json.string(name);
    json.endArray().key("variables").beginArray();
    for (const std::string& name : shownVariables(*listing)) json.string(name);
    json.endArray().key("runs").beginArray();
    for (size_t i = 0; i < listing->runs.size(); ++i) {
        const CatalogRun& run = listing->runs[i];
        const auto snapshot = run.follower->current();
        json.beginObject().key("id").string(run.id).key("name").string(listing->names[i]);
        json.key("path").string(run.path).key("kind").string(kindName(run.follower->kind()));
        json.key("parameters").beginArray();
        for (const std::string& value : listing->parameters.values[i]) json.string(value);
        json.endArray();
        writeStatus(json, *snapshot, now);
        json.endObject();
    }
    return jsonResponse(json.endArray().endObject().text());
}

HttpResponse DashboardApi::plots(const RequestTarget& target, bool values) const {
    const std::shared_ptr<const RunListing> listing = catalog_.listing();
    std::vector<ViewRun> runs;
    for (const std::string& id : split(target.value("runs"), ',')) {
        const size_t index = listing->indexOf(id);
        if (index == listing->runs.size()) return textResponse(404, "No run has that id.");
        const auto snapshot = listing->runs[index].follower->current();
        if (!snapshot->database) return textResponse(404, "That run has no data (yet).");
        runs.push_back({id, listing->names[index], snapshot->database});
    }
    if (runs.empty()) return textResponse(400, "Name the runs: ?runs=r1,r2.");
    PlotQuery query;
    double plot = 0, last = 0, after = 0, scale = -1;
    if (!numberParameter(target, "plot", plot) || !numberParameter(target, "last", last) ||
        !numberParameter(target, "after", after) || !numberParameter(target, "scale", scale) ||
        !numberParameter(target, "from", query.from) || !numberParameter(target, "to", query.to) ||
        !numberParameter(target, "px", query.px) ||
        !numberParameter(target, "columns", query.columns) || query.columns > 1e5 ||
        !numberParameter(target, "ema", query.smoothing) || plot < 0 || plot > 1e6 || last < 0 ||
        last > 2e9 || after < 0 || after > 2e9)
        return textResponse(400, "A number of the query is malformed or out of range.");
    query.plot = static_cast<size_t>(plot);
    query.lastSteps = static_cast<int32_t>(last);
    query.after = static_cast<int32_t>(after);
    query.scale = scale < 0 ? -1 : scale > 0 ? 1 : 0;
    query.xVariable = target.value("x");
    return jsonResponse(values ? views_.values(runs, query) : views_.describe(runs, query));
}

namespace {
void writeOptional(JsonWriter& json, const std::optional<double>& value) {
    value ? json.number(*value) : json.null();
}
}  // namespace

HttpResponse DashboardApi::studyStats(const RequestTarget& target) const {
    const std::shared_ptr<const RunListing> listing = catalog_.listing();
    const std::string name = target.value("var");
    JsonWriter json;
    json.beginObject().key("parameters").beginArray();
    for (const std::string& parameter : listing->parameters.names) json.string(parameter);
    json.endArray().key("variables").beginArray();
    for (const CatalogRun& run : listing->runs) {
        const auto snapshot = run.follower->current();
        if (!snapshot->database) continue;
        for (const MonVariable& variable : snapshot->database->getVariableList())
            if (mon::recordKeyOf(owl::MakeStdString(variable.getName())) == mon::RecordKey::None)
                json.string(owl::MakeStdString(variable.getName()));
        break;
    }
    json.endArray().key("runs").beginArray();
    for (size_t i = 0; i < listing->runs.size() && !name.empty(); ++i) {
        const auto snapshot = listing->runs[i].follower->current();
        json.beginObject().key("id").string(listing->runs[i].id);
        json.key("name").string(listing->names[i]).key("parameters").beginArray();
        for (const std::string& value : listing->parameters.values[i]) json.string(value);
        json.endArray();
        const TimestepData* data =
            snapshot->database ? snapshot->database->getVariable(QString::fromUtf8(name.c_str()))
                               : nullptr;
        if (data) {
            const stats::VariableStats row = variableStats(snapshot->database, name);
            json.key("count").integer(static_cast<int64_t>(row.count));
            json.key("mean").number(row.mean).key("stderr").number(row.stdError);
            json.key("std").number(row.stdDev).key("min").number(row.min);
            json.key("max").number(row.max).key("note").string(row.note());
            writeOptional(json.key("period"), row.period);
            writeOptional(json.key("amplitude"), row.amplitude);
            // Without criteria a run counts as converged when its window is
            // not in doubt (a periodic note is no doubt).
            json.key("converged").boolean(snapshot->status.judged
                                              ? snapshot->status.met
                                              : stats::windowDoubt(row).empty());
        }
        json.endObject();
    }
    return jsonResponse(json.endArray().endObject().text());
}

stats::VariableStats DashboardApi::variableStats(const std::shared_ptr<MonDatabase>& run,
                                                 const std::string& name) const {
    const std::string key = std::to_string(reinterpret_cast<uintptr_t>(run.get())) + "|" + name;
    return statsOf_.get(key, {run}, [&] {
        return exporter::statsReport(*run, {name}, nullptr, {}, 0, 0, mon::NameEncoding::Utf8)
            .rows.front()
            .stats;
    });
}

}  // namespace serve
