#include "monplot/PlotWriter.h"

#include <filesystem>
#include <memory>

#include "libs/exception/Error.h"
#include "libs/mondata/model/MonDatabase.h"
#include "monplot/RunLoader.h"
#include "plot/AtomicFile.h"
#include "plot/IndexPage.h"
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

std::string runName(const std::string& source) {
    const std::filesystem::path path(source);
    return path.has_filename() ? path.filename().string() : path.parent_path().filename().string();
}
}  // namespace

PlotWriter::PlotWriter(const PlotOptions& options, std::string templateDirectory)
    : options_(options), templateDirectory_(std::move(templateDirectory)) {}

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

std::vector<size_t> PlotWriter::selectPlots(const std::vector<plot::DefaultPlot>& plots) const {
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

void PlotWriter::write(MonDatabase& database) const {
    const std::vector<plot::DefaultPlot> plots =
        plot::gatherDefaultPlots(database, QString::fromLocal8Bit(templateDirectory_.c_str()));
    const std::vector<size_t> chosen = selectPlots(plots);
    prepareFolder();
    const std::vector<std::string> stems = plot::uniqueFileStems(namesOf(plots));
    std::unique_ptr<plot::PdfBook> book;
    if (options_.pdf) book = std::make_unique<plot::PdfBook>(file("plots.pdf"));
    std::vector<plot::IndexEntry> entries;
    for (size_t i : chosen) {
        const plot::Figure figure =
            plot::figureOf(plots[i], database, {options_.firstTimestep, options_.lastTimestep});
        plot::writeSvg(file(stems[i] + ".svg"), figure);
        if (options_.png) plot::writePng(file(stems[i] + ".png"), figure);
        if (book) book->addPage(figure);
        entries.push_back({plots[i].title, stems[i] + ".svg"});
    }
    if (book) book->finish();
    plot::writeFileAtomically(file("index.html"), plot::indexPage(runName(sourcePath(options_)),
                                                                  entries, options_.watchSeconds));
}
