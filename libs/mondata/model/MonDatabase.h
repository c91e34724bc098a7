#pragma once
// A run's monitor data, read from one source: a results file, a run
// directory or a monitor file (formats in docs/formats.md). The database
// lists the record keys "ACCUMULATED TIMESTEP" and, for runs with
// coefficient loops, "COEFFICIENT LOOP" first, then the declared variables in
// order of first declaration.
//
// updateFrom with replace true reads the source whole. With replace false
// the database follows it (mon::RunFollower): the first call reads it whole,
// each later one for the same source only what was appended since, and the
// new records are in the database when it returns; what the database handed
// out before (variable data, lists) is not to be used after it.
//
// The const queries may be called from several threads at once: the values
// and attributes a source leaves for later are read under a lock, once. The
// calls that read (updateFrom, updateData, takeRun) may not overlap any other.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/model/NameIndex.h"
#include "libs/mondata/model/RunData.h"
#include "libs/mondata/model/TimestepData.h"
#include "libs/mondata/sources/ReadOptions.h"
#include "libs/mondata/sources/RunSource.h"

namespace owl {
class MessageDisplayItf;
}
namespace mon {
class RunFollower;
}

class MonDatabase : public QObject {
  public:
    enum SourceType { RunDirectory = 0, ResultsFile = 1, MonitorFile = 2 };
    // The library's kind of such a source (mon::readRun, mon::RunFollower).
    static mon::SourceKind sourceKind(SourceType type);

    // The database owns the display and deletes it with itself.
    MonDatabase(const QString& name, owl::MessageDisplayItf* display);
    ~MonDatabase() override;

    // What the next updateFrom asks of the reading (patterns of log lines).
    void setReadOptions(mon::ReadOptions options) { readOptions_ = std::move(options); }
    // Reads the source, whole or what was appended (replace false). Throws
    // owl::Error naming the path and what is wrong.
    void updateFrom(SourceType type, const QString& path, bool replace);
    // Makes the data read by updateFrom the data that queries answer from,
    // and shows the reading's warnings on the display.
    void updateData();
    // Makes run the data that queries answer from, as updateData does after
    // a whole reading (a copy of a followed run, kept while it is read on).
    void takeRun(mon::RunData run);
    // Of the last updateFrom that followed its source: the records it added
    // (new, or written again after a restart), and whether the run changed.
    size_t followedRecords() const { return followedRecords_; }
    bool followedChange() const { return followedChange_; }

    // The named variable's values, or null. Names compare exactly.
    const TimestepData* getVariable(const QString& name) const;
    std::vector<MonVariable> getVariableList() const;
    QStringList getGroupList() const;
    QStringList getAssociatedVariablesForTimeTransformedVariables(const QStringList& names) const;
    QString getAssociatedTimeTransformedVariable(const QString& name) const;

    // What a run declares about a variable; null for unknown names and keys.
    const mon::VariableInfo* variableInfo(const QString& name) const;
    bool hasCoefficientLoops() const { return run_.hasCoefficientLoops; }
    // How the run's names are spelled as bytes (see mon::NameEncoding).
    mon::NameEncoding nameEncoding() const { return nameEncoding_; }
    // Whether the reader numbered the steps (see mon::RunData).
    bool stepsNumberedByReader() const { return run_.stepsNumberedByReader; }
    // Whether the run has any record. A source with a header and no rows (a
    // run that has only just started) gives its variables and none; one with
    // no complete header at all throws owl::data::noRecordsYet on reading.
    bool hasRecords() const { return !run_.rows->empty(); }
    // Every file the data was read from.
    const std::vector<std::string>& getSourceFiles() const { return run_.sourceFiles; }
    owl::MessageDisplayItf* display() const { return display_.get(); }

  private:
    QString name_;
    std::unique_ptr<owl::MessageDisplayItf> display_;
    // Reads the attributes the source left for later, before any query that
    // hands out or looks at them.
    void requireAttributes() const;
    // A declared variable's values, in the precision the run holds them in.
    std::unique_ptr<TimestepData> loadVariable(size_t variable) const;
    // Makes the followed run's data the data that queries answer from.
    void bindFollowedRun();
    void indexVariables();

    mon::ReadOptions readOptions_;
    mon::RunData pending_;
    // Mutable for the attributes and values read on first use, under lazy_.
    mutable std::mutex lazy_;
    mutable mon::RunData run_;
    std::vector<QString> keyNames_;
    mon::NameIndex index_;  // name -> position in getVariableList order
    mon::NameEncoding nameEncoding_ = mon::NameEncoding::Latin1;  // of the names read
    // Values of eagerly read sources, moved into data_ on first use.
    mutable std::vector<mon::FloatColumn> columns_;
    mutable std::vector<mon::DoubleColumn> doubleColumns_;
    mutable std::vector<std::unique_ptr<TimestepData>> data_;
    // The source followed (updateFrom with replace false), whose values the
    // database views instead of holding them.
    std::unique_ptr<mon::RunFollower> follower_;
    const mon::RunData* followed_ = nullptr;
    bool replacePending_ = false;  // updateData ends the following
    std::vector<std::string> followedWarnings_;
    size_t followedRecords_ = 0;
    bool followedChange_ = false;
};
