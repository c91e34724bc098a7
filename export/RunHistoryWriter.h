#pragma once
// The exporter: holds every export setting, opens the run's monitor database
// on the chosen source, lends out the single output stream (a named file or
// standard output) and runs exactly one output mode.

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "export/ExportMode.h"
#include "export/StatsSettings.h"
#include "export/TimeRange.h"

class MonDatabase;
class MonVariableRule;
class TimestepData;
namespace owl {
class OWLStream;
}

// Each selected name and its values; ordered by name, first insertion wins.
using PreparedData = std::map<std::string, const TimestepData*>;

class RunHistoryWriter {
  public:
    RunHistoryWriter();
    virtual ~RunHistoryWriter();
    RunHistoryWriter(const RunHistoryWriter&) = delete;
    RunHistoryWriter& operator=(const RunHistoryWriter&) = delete;

    RunHistoryWriter& setResFile(const std::string& path);
    RunHistoryWriter& setRunDir(const std::string& path);
    RunHistoryWriter& setOutFile(const std::string& path);
    RunHistoryWriter& setMonFile(const std::string& path);
    RunHistoryWriter& setMode(ExportMode mode);
    RunHistoryWriter& setVarList(const std::string& listText);
    RunHistoryWriter& setVarRule(const std::string& ruleText);
    RunHistoryWriter& setCoeffLoops(bool coeffLoops);
    RunHistoryWriter& setHeader(bool header);
    RunHistoryWriter& setFirstTimestep(int32_t step);
    RunHistoryWriter& setLastTimestep(int32_t step);
    // -firsttime, -lasttime: narrow the steps of the tables and -stats; with
    // -stats a first time fixes the window's start.
    RunHistoryWriter& setTimeRange(const exporter::TimeRange& range);
    // Patterns of solver-log lines, given one by one and in a file (one a
    // line); a malformed one throws before anything is read.
    RunHistoryWriter& setLogPatterns(const std::vector<std::string>& patterns,
                                     const std::string& patternsFile);
    RunHistoryWriter& setStatsSettings(exporter::StatsSettings settings);

    // Opens the data source and runs the mode. Returns 0, or with a verdict
    // (-converged, -reference) 1 when a variable fails it; failures throw.
    int process();

    // The stream the current mode writes to: the -out file or standard output.
    std::ostream& borrowOStream();

    // The parsed -varlist names, for inspection.
    const std::vector<std::string>& getVarList() const { return varList; }

    static bool isKeyField(const std::string& name);
    static void writeHeader(std::ostream& out, const std::vector<std::string>& columns);

  private:
    void returnOStream();
    void refuseToOverwriteSource() const;

    void writeVarNames();
    void writePlotInfo();
    void writeVarInfo();
    void outputLastVarValues();
    void outputData();
    int writeStats();

    void prepareData(PreparedData& data, std::vector<std::string>& columns,
                     const std::vector<std::string>& keyFields) const;
    // The header and the lines of the time-history table from prepared data.
    void writeTimeHistory(std::ostream& out, const PreparedData& data,
                          const std::vector<std::string>& columns, bool loops) const;

    // Unit tests drive writeTimeHistory with prepared data that no source
    // can produce (a run without "ACCUMULATED TIMESTEP").
    friend class RunHistoryWriterTestAccess;

    std::string resFile;
    std::string runDir;
    std::string monFile;
    std::string outFile;
    std::vector<std::string> varList;
    std::unique_ptr<MonVariableRule> varRule;
    std::string varRuleText;
    std::vector<std::string> logPatterns;
    bool coeffLoops = true;
    bool header = true;
    int32_t precision = 8;
    int32_t firstTimestep = 0;
    int32_t lastTimestep = 0;
    exporter::TimeRange timeRange;
    ExportMode mode = TimeHistory;
    exporter::StatsSettings statsSettings;
    std::unique_ptr<MonDatabase> database;
    std::unique_ptr<owl::OWLStream> fileStream;
};
