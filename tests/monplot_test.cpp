// monplot: the plots of a run as SVG, PNG and PDF with an index page; what
// they show of non-finite values, sparse lines and units; the options; -watch;
// the errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <pugixml.hpp>
#include <sstream>

#include "tests/CommandRunner.h"

namespace {

using e2e::monplot;
using Points = std::vector<std::pair<double, double>>;
namespace fs = std::filesystem;

const std::string kKnownRun = e2e::testData("monplot/known.mon");
const std::string kFirstColour = "#1f63c6", kSecondColour = "#d94a1e";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The non-empty parts of text between '|'.
std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, '|');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// The points of path data made of M, l, h and v commands.
Points pathPoints(const std::string& d) {
    Points points;
    double x = 0, y = 0;
    size_t at = 0;
    const auto number = [&] {
        size_t used = 0;
        const double value = std::stod(d.substr(at), &used);
        at += used;
        return value;
    };
    while (at < d.size()) {
        const char command = d[at++];
        if (command == 'M') x = number(), y = number();
        if (command == 'l') x += number(), y += number();
        if (command == 'h') x += number();
        if (command == 'v') y += number();
        if (contains("Mlhv", std::string(1, command))) points.emplace_back(x, y);
    }
    return points;
}

// The drawn picture of one plot, parsed.
struct Svg {
    pugi::xml_document document;
    explicit Svg(const std::string& path) { EXPECT_TRUE(document.load_file(path.c_str())) << path; }
    pugi::xml_node text(const std::string& text) const {
        return document.find_node([&](pugi::xml_node n) {
            return std::string(n.name()) == "text" && text == n.text().get();
        });
    }
    bool hasText(const std::string& text) const { return bool(this->text(text)); }
    double textAt(const std::string& text, const char* axis) const {
        return this->text(text).attribute(axis).as_double();
    }
    // The pixel column of an X value, from two labelled ticks.
    double xOf(double value, const std::string& tick1, double value1, const std::string& tick2,
               double value2) const {
        const double x1 = textAt(tick1, "x"), x2 = textAt(tick2, "x");
        return x1 + (value - value1) * (x2 - x1) / (value2 - value1);
    }
    // The points of each clipped line drawn in the stroke colour.
    std::vector<Points> lines(const std::string& colour) const {
        std::vector<Points> found;
        const std::string query = "//g[@clip-path]/path[@stroke='" + colour + "']";
        for (const auto& node : document.select_nodes(query.c_str()))
            found.push_back(pathPoints(node.node().attribute("d").value()));
        return found;
    }
    // The frames of the panels, top to bottom: {top, bottom} of each.
    Points frames() const {
        Points found;
        for (const auto& node : document.select_nodes("//rect[@stroke='#505050']")) {
            const double top = node.node().attribute("y").as_double();
            found.emplace_back(top, top + node.node().attribute("height").as_double());
        }
        return found;
    }
    // Points of lines in the colour on the top or bottom edge of a frame:
    // with room around the data, none.
    size_t pointsOnFrames(const std::string& colour) const {
        size_t count = 0;
        for (const auto& piece : lines(colour))
            for (const auto& point : piece)
                for (const auto& frame : frames())
                    count += std::fabs(point.second - frame.first) < 1.5 ||
                             std::fabs(point.second - frame.second) < 1.5;
        return count;
    }
    // The markers of a shape ("point", "above", "below", "nan") in a colour.
    Points markers(const std::string& shape, const std::string& colour) const {
        Points found;
        const std::string query = "//use[@xlink:href='#" + shape + "'][@fill='" + colour + "']";
        for (const auto& node : document.select_nodes(query.c_str()))
            found.emplace_back(node.node().attribute("x").as_double(),
                               node.node().attribute("y").as_double());
        return found;
    }
};

// Whether monplot ran with the arguments and succeeded silently.
::testing::AssertionResult drew(const std::vector<std::string>& args) {
    const e2e::Result result = monplot(args);
    if (result.status == 0 && result.out + result.err == "") return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "status " << result.status << ": " << result.out << result.err;
}

// Points compared within a pixel; a NaN Y is not compared.
void expectNear(const Points& found, const Points& expected, const std::string& what) {
    ASSERT_EQ(found.size(), expected.size()) << what;
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_NEAR(found[i].first, expected[i].first, 1.0) << what << " " << i;
        const double y = expected[i].second;
        EXPECT_NEAR(found[i].second, std::isnan(y) ? found[i].second : y, 1.0) << what << i;
    }
}

TEST(Monplot, DrawsTheVisibleDefaultPlotsAndAnIndex) {
    e2e::TempDir out;
    ASSERT_TRUE(drew({"-mon", kKnownRun, "-out", out.file("plots")}));
    const std::string index = e2e::readFile(out.file("plots/index.html"));
    EXPECT_TRUE(contains(index, "<h2>Pressure Probes</h2>\n<img src=\"Pressure_Probes.svg\""));
    EXPECT_TRUE(contains(index, "<title>Monitor plots: known.mon</title>"));
    EXPECT_FALSE(contains(index, "refresh"));

    const Svg svg(out.file("plots/Momentum_and_Mass.svg"));
    EXPECT_FALSE(svg.hasText("MAX P-Mass"));
    // RMS P-Mass falls a decade a step; its zero at step 5 is a marker at the
    // bottom edge, the line going on past it. RMS U-Mom breaks at step 3.
    const auto x = [&svg](double step) { return svg.xOf(step, "1", 1, "6", 6); };
    const double top = svg.textAt("10⁻¹", "y") - 4, decade = svg.textAt("10⁻²", "y") - 4 - top;
    const auto mass = svg.lines(kFirstColour);
    ASSERT_EQ(mass.size(), 1u);
    Points expected;
    for (int step : {1, 2, 3, 4, 6}) expected.emplace_back(x(step), top + (step - 1) * decade);
    expected.back().second = NAN;
    expectNear(mass[0], expected, "RMS P-Mass");
    expectNear(svg.markers("below", kFirstColour), {{x(5), svg.frames()[0].second}}, "zero");
    EXPECT_EQ(svg.lines(kSecondColour).size(), 2u);
}

// A run whose residuals go NaN and +inf, a monitor written every fifth step
// and one written once.
TEST(Monplot, ShowsNonFiniteValuesAndSparseLinesWithMarkers) {
    e2e::TempDir out;
    std::string text =
        "monitor-file 1\n"
        "var \"p\" category=RESIDUAL subcategory=RMS group=\"Momentum and Mass\"\n"
        "var \"U\" category=RESIDUAL subcategory=RMS group=\"Momentum and Mass\"\n"
        "var \"yPlus\" category=MONITOR group=Probes\nvar \"once\" category=MONITOR group=Probes\n";
    for (int step = 1; step <= 20; ++step)
        text += std::to_string(step) + " " +
                (step >= 18 ? "nan" : "1e-" + std::to_string(step / 4 + 1)) +
                (step == 20 ? " inf " : " 0.5 ") +
                (step % 5 == 0 ? std::to_string(30 + step) : "-") + (step == 12 ? " 35\n" : " -\n");
    ASSERT_TRUE(drew({"-mon", out.write("run.mon", text), "-out", out.path()}));
    const Svg residuals(out.file("Momentum_and_Mass.svg"));
    EXPECT_TRUE(residuals.hasText("p (nan from step 18)"));
    EXPECT_TRUE(residuals.hasText("U (+inf from step 20)"));
    const auto frame = residuals.frames().at(0);
    const auto x = [&residuals](double step) { return residuals.xOf(step, "5", 5, "20", 20); };
    // One nan marker for steps 18 to 20; the X axis reaches the last record.
    expectNear(residuals.markers("nan", kFirstColour), {{x(18), frame.second}}, "nan");
    expectNear(residuals.markers("above", kSecondColour), {{x(20), frame.first}}, "inf");
    EXPECT_EQ(residuals.pointsOnFrames(kFirstColour) + residuals.pointsOnFrames(kSecondColour), 0u);
    EXPECT_TRUE(contains(e2e::readFile(out.file("index.html")),
                         "p: nan from step 18; U: +inf from step 20"));

    // yPlus: four points joined over its own records; once: a lone marker.
    const Svg probes(out.file("Probes.svg"));
    const auto px = [&probes](double step) { return probes.xOf(step, "10", 10, "20", 20); };
    expectNear(probes.markers("point", kFirstColour),
               {{px(5), NAN}, {px(10), NAN}, {px(15), NAN}, {px(20), NAN}}, "yPlus");
    ASSERT_EQ(probes.lines(kFirstColour).size(), 1u);
    EXPECT_EQ(probes.lines(kFirstColour)[0].size(), 4u);
    expectNear(probes.markers("point", kSecondColour), {{px(12), NAN}}, "once");
    EXPECT_TRUE(probes.lines(kSecondColour).empty());
}

TEST(Monplot, SplitsUnitsAndMagnitudesIntoPanelsWithTitles) {
    e2e::TempDir out;
    std::string text =
        "monitor-file 1\n"
        "var \"Fx\" category=FORCE group=Forces units=N\n"
        "var \"Fy\" category=FORCE group=Forces units=N\nvar \"Cd\" category=FORCE group=Forces\n"
        "var \"Mz\" category=FORCE group=Forces units=\"N m\"\n"
        "var \"rms[Rho]\" category=RESIDUAL subcategory=RMS group=\"RMS Residuals\"\n"
        "var \"TIME\" category=TIME group=Time units=s\n";
    for (int step = 1; step <= 20; ++step)
        text += std::to_string(step) + " " + std::to_string(1000 + step) + " 500 0.3 50 -" +
                std::to_string(3 + step / 5) + " " + std::to_string(step * 0.25) + "\n";
    const std::string run = out.write("run.mon", text);
    ASSERT_TRUE(drew({"-mon", run, "-out", out.path()}));
    const Svg forces(out.file("Forces.svg"));
    EXPECT_EQ(forces.frames().size(), 3u);
    for (const char* title : {"Force [N]", "Variable Value", "Moment [N m]"})
        EXPECT_TRUE(forces.hasText(title)) << title;
    // Constant lines lie inside their panels, not on a frame.
    for (const char* colour : {"#d94a1e", "#23963b", "#863db0"})
        EXPECT_EQ(forces.pointsOnFrames(colour), 0u) << colour;
    EXPECT_TRUE(Svg(out.file("RMS_Residuals.svg")).hasText("log10 residual"));

    // Against TIME, the X labels (the texts below the lowest frame) are
    // times in seconds, not steps.
    ASSERT_TRUE(drew({"-mon", run, "-out", out.file("t"), "-x", "TIME", "-plot", "Forces"}));
    const Svg time(out.file("t/Forces.svg"));
    EXPECT_TRUE(time.hasText("Simulation Time [s]"));
    std::string labels;
    const double below = time.frames().back().second + 22;
    for (const auto& node : time.document.select_nodes("//text"))
        if (std::fabs(node.node().attribute("y").as_double() - below) < 0.5)
            labels += node.node().text().get() + std::string(" ");
    EXPECT_EQ(labels, "0 1 2 3 4 5 ");
}

// The significant digits of a tick label ("0.00025" has 2).
size_t significantDigits(const std::string& label) {
    const std::string mantissa = label.substr(0, label.find_first_of("e×"));
    const size_t first = mantissa.find_first_of("123456789");
    return first == std::string::npos
               ? 1
               : static_cast<size_t>(std::count_if(mantissa.begin() + static_cast<long>(first),
                                                   mantissa.end(), ::isdigit));
}

// The rules that keep a picture faithful, each on a small run (tests/data/
// monplot/, "%" in the options, or an OpenFOAM case with a log and a
// residuals function object, "@/case", and the same without its log,
// "@/nolog"): the plot drawn has the texts and markers ("shape colour
// count"), never the absent texts, the number of panels, and no value-axis
// label of more than six significant digits.
TEST(Monplot, PicturesShowWhatTheRunHolds) {
    e2e::TempDir run;
    const std::string residuals =
        e2e::readFile(e2e::testData("openfoam/org/postProcessing/residuals/0/residuals.dat"));
    run.write("case/log.simpleFoam", e2e::readFile(e2e::testData("foamlog/simpleFoam.log")));
    run.write("case/postProcessing/residuals/0/residuals.dat", residuals);
    run.write("nolog/postProcessing/residuals/0/residuals.dat", residuals);
    const struct {
        std::string options, svg;
        std::vector<std::string> texts, absent;
        std::string markers;
        size_t panels;
    } cases[] = {
        // a start-up left out of the range is clipped, not infinite; -fullrange keeps it
        {"-mon|%startup.mon",
         "Forces.svg",
         {"Cd (clipped: start-up)"},
         {"Cd"},
         "clipped-above #1f63c6 1|above #1f63c6 0",
         1},
        {"-mon|%startup.mon|-fullrange",
         "Forces.svg",
         {"Cd", "1000"},
         {},
         "clipped-above #1f63c6 0",
         1},
        // the log's residuals, not a function object's too, unless the case has no log
        {"-dir|@/case",
         "Momentum_and_Mass.svg",
         {"Ux initial residual", "p initial residual"},
         {"residuals Ux", "residuals p"},
         "",
         1},
        {"-dir|@/nolog", "Momentum_and_Mass.svg", {"residuals Ux", "residuals p"}, {}, "", 1},
        // two runs of a sweep split into the panels one run gets: one per coefficient
        {"-mon|%sweep-a.mon|-mon|%sweep-b.mon",
         "C.svg",
         {"X (sweep-a.mon)", "Z (sweep-b.mon)"},
         {},
         "",
         3},
        // round-off is drawn as zero, beside the signal (checked below)
        {"-mon|%roundoff.mon",
         "Probe.svg",
         {"U_z (≈ 0: largest |value| 2.7e-28)", "U_x"},
         {},
         "",
         1},
        // final residuals on a logarithmic axis, iteration counts on a linear one
        {"-mon|%solverinfo.mon",
         "solverInfo.svg",
         {"Residual", "10⁻⁶", "10⁻³", "Iterations", "5"},
         {},
         "",
         2},
        {"-mon|%shortlog.mon", "Momentum_and_Mass.svg", {"2×10⁻¹", "5×10⁻¹", "10⁰"}, {}, "", 1},
        // a line flat to round-off is a constant with short labels
        {"-mon|%flat.mon",
         "Flow.svg",
         {"0.00025", "flow (clipped: start-up)", "Volume Flow [m^3/s]"},
         {},
         "clipped-below #1f63c6 1",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        e2e::TempDir out;
        std::vector<std::string> args{"-out", out.path()};
        for (std::string option : split(c.options))
            args.push_back(option[0] == '@'   ? run.path() + option.substr(1)
                           : option[0] == '%' ? e2e::testData("monplot/" + option.substr(1))
                                              : option);
        ASSERT_TRUE(drew(args));
        const Svg svg(out.file(c.svg));
        for (const std::string& text : c.texts) EXPECT_TRUE(svg.hasText(text)) << text;
        for (const std::string& text : c.absent) EXPECT_FALSE(svg.hasText(text)) << text;
        for (const std::string& marker : split(c.markers)) {
            std::istringstream words(marker);
            std::string shape, colour;
            size_t count = 0;
            words >> shape >> colour >> count;
            EXPECT_EQ(svg.markers(shape, colour).size(), count) << marker;
        }
        EXPECT_EQ(svg.frames().size(), c.panels);
        for (const auto& node : svg.document.select_nodes("//text[@text-anchor='end']"))
            EXPECT_LE(significantDigits(node.node().text().get()), 6u) << node.node().text().get();
        if (c.svg != "Probe.svg") continue;
        const double zero = svg.document.select_node("//text[@text-anchor='end'][text()='0']")
                                .node()
                                .attribute("y")
                                .as_double();
        const std::vector<Points> roundOff = svg.lines("#23963b");
        for (const auto& point : roundOff.at(0)) EXPECT_NEAR(point.second, zero - 4, 1);
    }
}

// The plots asked for: each case names the files drawn (the first is
// looked at), texts it shows and the points of its first line.
TEST(Monplot, DrawsChosenPlotsVariablesStepsScalesAndSeveralRuns) {
    e2e::TempDir out;
    const std::string a = out.write("a/run.mon", e2e::readFile(kKnownRun));
    const std::string b = out.write("b/run.mon", e2e::readFile(kKnownRun));
    // Options, files and texts are separated by '|'; B stands for run b.
    const struct {
        std::string options, files, texts;
        size_t firstColourPoints;
    } cases[] = {
        {"", "Momentum_and_Mass.svg|Pressure_Probes.svg",
         "Momentum and Mass|Accumulated Time Step|Residual|RMS P-Mass (≤ 0 from step "
         "5)|RMS U-Mom|10⁻⁵|10⁻¹|6",
         5},
        {"-all", "Momentum_and_Mass_MAX.svg|Momentum_and_Mass.svg|Pressure_Probes.svg",
         "Momentum and Mass (MAX)", 6},
        {"-plot|Momentum and Mass MAX|-plot|Momentum and Mass|-firsttimestep|2|-lasttimestep|4",
         "Momentum_and_Mass.svg|Momentum_and_Mass_MAX.svg", "10⁻⁴", 3},
        {"-varlist|P1 Pressure;RMS U-Mom", "Selected_Variables.svg",
         "Selected Variables|P1 Pressure|RMS U-Mom", 6},
        {"-varrule|CATEGORY = MONITOR|-last|3", "Selected_Variables.svg", "", 3},
        {"-plot|Pressure Probes|-log", "Pressure_Probes.svg", "10²", 6},
        {"-plot|Momentum and Mass|-linear", "Momentum_and_Mass.svg", "0.10", 6},
        // the same line of both runs in one colour
        {"-plot|Pressure Probes|-mon|B", "Pressure_Probes.svg",
         "P1 Pressure (a/run.mon)|P1 Pressure (b/run.mon)", 12},
    };
    for (const auto& c : cases) {
        e2e::TempDir plots;
        std::vector<std::string> args{"-mon", a, "-out", plots.path()};
        for (const std::string& option : split(c.options))
            args.push_back(option == "B" ? b : option);
        ASSERT_TRUE(drew(args)) << c.options;
        std::vector<std::string> files = split(c.files + "|index.html");
        std::sort(files.begin(), files.end());
        EXPECT_EQ(e2e::filesIn(plots.path()), files);
        // Plots keep the plot order, whatever the order they were asked in.
        const std::string index = e2e::readFile(plots.file("index.html"));
        for (size_t i = 1; i + 1 < files.size(); ++i)
            EXPECT_LT(index.find(files[i - 1]), index.find(files[i])) << index;
        const Svg svg(plots.file(split(c.files)[0]));
        for (const std::string& text : split(c.texts)) EXPECT_TRUE(svg.hasText(text)) << text;
        size_t points = 0;
        for (const auto& piece : svg.lines(kFirstColour)) points += piece.size();
        EXPECT_EQ(points, c.firstColourPoints) << c.options;
    }
}

// A plot with nothing to draw says so; PNG files and one PDF page per plot.
TEST(Monplot, PlotWithoutValuesSaysSoInEveryFormat) {
    e2e::TempDir out;
    ASSERT_TRUE(
        drew({"-mon", e2e::testData("monplot/nodata.mon"), "-out", out.path(), "-png", "-pdf"}));
    const Svg svg(out.file("Pressure_Probes.svg"));
    EXPECT_TRUE(svg.hasText("No data to plot") && svg.hasText("P2 Pressure"));
    EXPECT_TRUE(svg.lines(kFirstColour).empty());
    // A PNG header with its width and height (big-endian) at bytes 16 and 20.
    EXPECT_EQ(e2e::readFile(out.file("Pressure_Probes.png")).substr(0, 24),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x04\xb0\0\0\x03\x20", 24));
    const std::string pdf = e2e::readFile(out.file("plots.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    size_t pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        pages += pdf[at + 11] != 's';
    EXPECT_EQ(pages, e2e::filesIn(out.path()).size() / 2 - 1);  // svg and png per plot
}

// A run not started yet (its file missing, then empty) is waited for; the
// plots follow it as it grows, each drawing reported on standard error and
// dated on the index page, through a moment when it is gone (a warning, its
// records kept); SIGTERM ends it cleanly. The script reports the
// index it first wrote, the last one and the exit status.
TEST(Monplot, WatchFollowsARunFromItsStartAndStopsCleanly) {
    e2e::TempDir dir;
    const std::string known = e2e::readFile(kKnownRun);
    dir.write("known.mon", known);
    dir.write("longer.mon", known + "7 1e-7 1e-6 0.005 150\n");
    const std::string script =
        "cd " + dir.path() +
        " && (\"$0\" -mon run.mon -out plots -watch 0.2 -last 10 2>err & p=$!\n"
        "wait_for() { until grep -qs \"$1\" \"$2\"; do sleep 0.05; done; }\n"
        "wait_for 'Waiting for the run' plots/index.html; cat plots/index.html; : >run.mon\n"
        "wait_for 'no records yet' err; cp known.mon run.mon\n"
        "wait_for '10⁻¹' plots/Momentum_and_Mass.svg; rm run.mon\n"
        "wait_for 'cannot be seen' err; cp longer.mon run.mon\n"
        "wait_for '10⁻⁷' plots/Momentum_and_Mass.svg; kill $p; wait $p; echo status $?\n"
        "cat plots/index.html; cat err >&2)";
    const e2e::Result r =
        e2e::run("/usr/bin/timeout", {"20", "/bin/sh", "-c", script, e2e::binary("monplot")});
    EXPECT_TRUE(contains(r.out, "Waiting for the run to start: Cannot read 'run.mon'")) << r.out;
    EXPECT_TRUE(contains(r.out, "<meta http-equiv=\"refresh\" content=\"1\">"));
    EXPECT_TRUE(contains(r.out, "status 0\n")) << r.status;
    EXPECT_TRUE(contains(r.out, ", at step 7.</p>")) << r.out;
    for (const char* line :
         {"waiting for the run to start: Cannot read 'run.mon': No such file or directory.\n",
          "waiting for the run to start: run.mon: the run has no records yet",
          "redrawn at step 6\n",
          "Warning: 'run.mon' cannot be seen (No such file or directory): its records are kept, "
          "and it is followed again when it is back.\n",
          "redrawn at step 7\n"})
        EXPECT_TRUE(contains(r.err, line)) << line << "\n" << r.err;
    EXPECT_EQ(Svg(dir.file("plots/Momentum_and_Mass.svg")).lines(kFirstColour)[0].size(), 6u);
    EXPECT_EQ(e2e::filesIn(dir.file("plots")).size(), 3u);
}

TEST(Monplot, FindsTheInstalledTemplateBesideTheExecutable) {
    e2e::TempDir prefix;
    fs::create_directories(prefix.file("bin"));
    fs::copy_file(e2e::binary("monplot"), prefix.file("bin/monplot"));
    std::string mst = e2e::readFile(e2e::sourcePath("data/workspace-basic.mst"));
    const std::string label = "Window Label = Momentum and Mass\n";
    mst.replace(mst.find(label), label.size(), "Window Label = Installed Residuals\n");
    prefix.write("share/monexport/workspace-basic.mst", mst);
    const e2e::Result installed =
        e2e::run(prefix.file("bin/monplot"), {"-mon", kKnownRun, "-out", prefix.file("out")},
                 {{"ORB_DATA_DIR", ""}});
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_TRUE(Svg(prefix.file("out/Momentum_and_Mass.svg")).hasText("Installed Residuals"));
}

TEST(Monplot, ReportsErrorsInTwoLines) {
    e2e::TempDir folder;
    const std::string out = folder.file("out");
    const std::string file = folder.write("file", "x");
    // Arguments separated by '|'; RUN stands for the known run, OUT for the output folder.
    const std::pair<std::string, std::string> cases[] = {
        {"-out|OUT", "No valid data source has been specified."},
        {"-mon|RUN", "No output folder has been specified: use -out FOLDER."},
        {"-mon|RUN|-out", "Missing value for option -out."},
        {"-mon|RUN|-out|OUT|-colour",
         "Unknown option '-colour'. Usage: monplot (-res FILE | -dir FOLDER | -mon FILE) -out "
         "FOLDER [options]."},
        {"-mon|RUN|-out|OUT|-watch|soon",
         "Option -watch needs a number of seconds above 0, not 'soon'."},
        {"-mon|RUN|-out|OUT|-watch|0", "Option -watch needs a number of seconds above 0, not '0'."},
        {"-mon|RUN|-out|OUT|-last|-3", "Option -last needs a number of steps above 0, not '-3'."},
        {"-mon|RUN|-out|OUT|-x|TIME", "The run has no variable 'TIME' to plot against (-x)."},
        {"-mon|RUN|-out|OUT|-varlist|P1 Pressure;Lift",
         "Requested variable(s) not found: \n    Lift"},
        {"-mon|RUN|-out|" + file + "/plots",
         "Cannot create the output folder '" + file + "/plots': Not a directory."},
        {"-mon|RUN|-out|OUT|-plot|Momentum and Mass|-plot|Residuals",
         "The run has no plot 'Residuals'. Its plots are: Momentum and Mass, Momentum and Mass "
         "MAX, Pressure Probes."},
    };
    for (const auto& [line, message] : cases) {
        std::vector<std::string> args = split(line);
        for (std::string& arg : args) arg = arg == "RUN" ? kKnownRun : arg == "OUT" ? out : arg;
        EXPECT_TRUE(e2e::failsWith(monplot(args), message, "Plot"));
    }
    EXPECT_FALSE(e2e::fileExists(out));
}

}  // namespace
