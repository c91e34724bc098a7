// Draws every default plot of a run (hidden ones too) as monplot does and
// prints, per plot, its lines, the points read, the seconds spent gathering
// the values and writing the SVG text (wall clock and CPU), and the SVG size;
// then the totals.
//   plot_bench -res FILE TEMPLATE_DIR

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "plot/PictureFiles.h"
#include "plot/PlotData.h"
#include "plot/PlotValues.h"

namespace {
using Clock = std::chrono::steady_clock;

double cpuSince(std::clock_t start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

size_t pointsOf(const plot::Figure& figure) {
    size_t points = 0;
    for (const plot::FigureLine& line : figure.lines) points += line.x.size();
    return points;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "-res") != 0) {
        std::cerr << "usage: plot_bench -res FILE TEMPLATE_DIR\n";
        return 2;
    }
    try {
        auto start = Clock::now();
        MonDatabase database(QStringLiteral("bench"), new owl::LineMessageDisplay());
        database.updateFrom(MonDatabase::ResultsFile, QString::fromLatin1(argv[2]), true);
        database.updateData();
        std::printf("open: %.3f s\n", since(start));
        start = Clock::now();
        const auto plots = plot::gatherDefaultPlots(database, QString::fromLatin1(argv[3]));
        std::printf("gather %zu plots: %.3f s\n", plots.size(), since(start));
        double total = 0, totalCpu = 0;
        size_t largest = 0;
        for (const plot::DefaultPlot& plot : plots) {
            start = Clock::now();
            const std::clock_t cpuStart = std::clock();
            const plot::Figure figure = plot::figureOf(plot, {{&database, ""}}, {});
            const std::string svg = plot::svgDocument(figure);
            const double seconds = since(start), cpu = cpuSince(cpuStart);
            total += seconds;
            totalCpu += cpu;
            largest = std::max(largest, svg.size());
            std::printf("%-28s %4zu lines %9zu points %7.3f s %7.3f cpu s %8zu bytes\n",
                        plot.name.c_str(), figure.lines.size(), pointsOf(figure), seconds, cpu,
                        svg.size());
        }
        std::printf("all plots: %.3f s, %.3f cpu s, largest SVG %zu bytes\n", total, totalCpu,
                    largest);
    } catch (const owl::Error& error) {
        std::cerr << error.getErrorText() << "\n";
        return 1;
    }
    return 0;
}
