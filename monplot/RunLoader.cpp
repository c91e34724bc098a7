#include "monplot/RunLoader.h"

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"

std::string sourcePath(const PlotOptions& options) {
    if (!options.resFile.empty()) return options.resFile;
    if (!options.runDir.empty()) return options.runDir;
    return options.monFile;
}

std::unique_ptr<MonDatabase> loadRun(const PlotOptions& options) {
    auto database =
        std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    const QString path = QString::fromLatin1(sourcePath(options).c_str());
    if (!options.resFile.empty())
        database->updateFrom(MonDatabase::ResultsFile, path, true);
    else if (!options.runDir.empty())
        database->updateFrom(MonDatabase::RunDirectory, path, true);
    else if (!options.monFile.empty())
        database->updateFrom(MonDatabase::MonitorFile, path, true);
    else
        throw owl::internal::error("monplot", "loadRun", "No valid data source has been specified.",
                                   owl::errorFatal);
    database->updateData();
    return database;
}
