#include "monplot/PlotWriter.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "export/TimeRange.h"
#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "monplot/RunLoader.h"
#include "monplot/SelectedPlot.h"
#include "monplot/XAxis.h"
#include "plot/AtomicFile.h"
#include "plot/IndexPage.h"
#include "plot/LineNotes.h"
#include "plot/PictureFiles.h"
#include "plot/PlotFileNames.h"
#include "plot/PlotValues.h"

namespace {
[[noreturn]] void fail(const std::string& operation, const std::string& message) {
    throw owl::internal::error("PlotWriter", operation, message, owl::errorFatal);
}

std::string nameList(const std::vector<plot::DefaultPlot>& plots) {
    std::string list;
    for (const plot::DefaultPlot& plot : plots) list += (list.empty() ? "" : ", ") + plot.name;
    return list.empty() ? "(none)" : list;
}

std::vector<std::string> namesOf(const std::vector<plot::DefaultPlot>& plots) {
    std::vector<std::string> names;
    for (const plot::DefaultPlot& plot : plots) names.push_back(plot.name);
    return names;
}

bool requested(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& wanted : names)
        if (wanted == name) return true;
    return false;
}

std::string progressPhrase(const std::vector<std::unique_ptr<MonDatabase>>& runs,
                           const std::vector<std::string>& runNames) {
    if (runs.size() == 1) return "at " + plot::progressOf(*runs.front());
    std::string phrase;
    for (size_t i = 0; i < runs.size(); ++i)
        phrase +=
            (phrase.empty() ? "at " : ", ") + plot::progressOf(*runs[i]) + " of " + runNames[i];
    return phrase;
}

// The variable's label, with its units when it declares them.
std::string axisTitle(const MonDatabase& run, const QString& name) {
    std::string title = owl::MakeStdString(MonVariable(name, &run).getPreferredLabel());
    if (const mon::VariableInfo* info = run.variableInfo(name)) {
        const QString units = info->attribute(QStringLiteral("units"));
        if (!units.trimmed().isEmpty()) title += " [" + owl::MakeStdString(units) + "]";
    }
    return title;
}

std::string pageName(const std::vector<std::string>& runNames) {
    std::string name;
    for (const std::string& run : runNames) name += (name.empty() ? "" : ", ") + run;
    return name;
}
}  // namespace

PlotWriter::PlotWriter(const PlotOptions& options, std::string templateDirectory)
    : options_(options),
      templateDirectory_(std::move(templateDirectory)),
      runNames_(runNames(sourcePaths(options))) {}

std::string PlotWriter::file(const std::string& name) const {
    return options_.outFolder + "/" + name;
}

void PlotWriter::prepareFolder() const {
    std::error_code error;
    std::filesystem::create_directories(options_.outFolder, error);
    if (error || !std::filesystem::is_directory(options_.outFolder))
        fail("prepareFolder", "Cannot create the output folder '" + options_.outFolder + "': " +
                                  (error ? error.message() : "a file of that name exists") + ".");
}

std::vector<plot::DefaultPlot> PlotWriter::plotsOf(MonDatabase& run) const {
    if (options_.selectsVariables()) return {selectedPlot(run, options_)};
    return plot::gatherDefaultPlots(run, QString::fromLocal8Bit(templateDirectory_.c_str()));
}

std::vector<size_t> PlotWriter::selectPlots(const std::vector<plot::DefaultPlot>& plots) const {
    if (options_.selectsVariables()) return {0};
    const std::vector<std::string> names = namesOf(plots);
    for (const std::string& wanted : options_.plotNames)
        if (!requested(names, wanted))
            fail("selectPlots",
                 "The run has no plot '" + wanted + "'. Its plots are: " + nameList(plots) + ".");
    std::vector<size_t> chosen;
    for (size_t i = 0; i < plots.size(); ++i) {
        const bool wanted = options_.plotNames.empty()
                                ? plots[i].visible || options_.allPlots
                                : requested(options_.plotNames, plots[i].name);
        if (wanted) chosen.push_back(i);
    }
    return chosen;
}

std::string PlotWriter::xVariableFor(const std::vector<std::unique_ptr<MonDatabase>>& runs) const {
    std::vector<const MonDatabase*> databases;
    for (const std::unique_ptr<MonDatabase>& run : runs) databases.push_back(run.get());
    return xAxisOf(options_.xVariable, databases);
}

std::string PlotWriter::axisNote(const std::string& xVariable, const MonDatabase& run) const {
    if (!options_.xVariable.empty() && options_.xVariable != kStepAxis)
        return "The x axis of every plot is " + options_.xVariable + " (-x).";
    if (xVariable.empty())
        return "The x axis is each plot's own (the steps)" +
               std::string(run.getVariable(QStringLiteral("TIME"))
                               ? "; -x TIME draws the run's time."
                               : ".");
    return "The x axis is the run's time, " +
           axisTitle(run, QString::fromLatin1(xVariable.c_str())) +
           ": its steps are only the order in which the times were read. -x STEP draws the "
           "steps.";
}

std::vector<plot::NamedRun> PlotWriter::namedRuns(
    const std::vector<std::unique_ptr<MonDatabase>>& runs) const {
    std::vector<plot::NamedRun> named;
    for (size_t i = 0; i < runs.size(); ++i) {
        plot::StepRange steps;  // -firsttime, -lasttime: each run by its own times
        exporter::narrowToTimes(*runs[i], options_.times, steps.first, steps.last);
        named.push_back({runs[i].get(), runNames_[i], steps});
    }
    return named;
}

plot::Figure PlotWriter::figureOf(const plot::DefaultPlot& plot,
                                  const std::vector<plot::NamedRun>& named,
                                  const std::string& xVariable) const {
    const QString x = QString::fromLatin1(xVariable.c_str());
    const plot::LineRequest request{
        {options_.firstTimestep, options_.lastTimestep}, options_.lastSteps, x};
    plot::Figure figure = plot::figureOf(plot, named, request);
    if (options_.selectsVariables()) figure.logarithmicY = selectionIsLogarithmic(figure);
    if (options_.scale != PlotOptions::Scale::Template) {
        figure.logarithmicY = options_.scale == PlotOptions::Scale::Logarithmic;
        figure.fixedScale = true;
    }
    figure.wholeRange = options_.wholeRange;
    return figure;
}

std::string PlotWriter::write(const std::vector<std::unique_ptr<MonDatabase>>& runs) const {
    if (std::none_of(runs.begin(), runs.end(),
                     [](const std::unique_ptr<MonDatabase>& run) { return hasRecords(*run); })) {
        writeWaiting("the run has no records yet");
        return "";
    }
    const std::vector<plot::DefaultPlot> plots = plotsOf(*runs.front());
    const std::vector<size_t> chosen = selectPlots(plots);
    const std::string xVariable = xVariableFor(runs);
    if (!xVariable.empty() && !runs.front()->getVariable(QString::fromLatin1(xVariable.c_str())))
        fail("write", "The run has no variable '" + xVariable + "' to plot against (-x).");
    const std::vector<plot::NamedRun> named = namedRuns(runs);
    prepareFolder();
    const std::vector<std::string> stems = plot::uniqueFileStems(namesOf(plots));
    std::unique_ptr<plot::PdfBook> book;
    if (options_.pdf) book = std::make_unique<plot::PdfBook>(file("plots.pdf"));
    std::vector<plot::IndexEntry> entries;
    for (size_t i : chosen) {
        const plot::Figure figure = figureOf(plots[i], named, xVariable);
        plot::writeSvg(file(stems[i] + ".svg"), figure);
        if (options_.png) plot::writePng(file(stems[i] + ".png"), figure);
        if (book) book->addPage(figure);
        entries.push_back({plots[i].title, stems[i] + ".svg", plot::divergenceNote(figure)});
    }
    if (book) book->finish();
    const std::string progress = progressPhrase(runs, runNames_);
    plot::writeFileAtomically(
        file("index.html"),
        plot::indexPage(pageName(runNames_), entries, options_.watchSeconds,
                        plot::drawnStatus(progress), "The run has no plot to show.",
                        axisNote(xVariable, *runs.front())));
    return progress;
}

void PlotWriter::writeWaiting(const std::string& reason) const {
    prepareFolder();
    plot::writeFileAtomically(file("index.html"),
                              plot::indexPage(pageName(runNames_), {}, options_.watchSeconds,
                                              plot::drawnStatus("waiting for the run to start"),
                                              "Waiting for the run to start: " + reason));
}
