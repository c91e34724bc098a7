// monplot: the default plots of a run drawn as SVG, PNG and PDF files with
// an index page; what the pictures show of non-finite values, sparse lines,
// units and magnitudes; the options that pick plots, variables, steps, the
// X variable, the scale and several runs; -watch following a growing run,
// and the errors.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <pugixml.hpp>
#include <thread>

#include "tests/CommandRunner.h"

extern char** environ;

namespace {

const std::string kKnownRun = e2e::testData("monplot/known.mon");

e2e::Result monplot(const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& env = {}) {
    return e2e::run(e2e::binary("monplot"), args, env);
}

std::string plotError(const std::string& reason) {
    return "Plot error:\n" + reason + "\n";
}

// The drawn picture of one plot, parsed.
struct Svg {
    pugi::xml_document document;
    explicit Svg(const std::string& path) { EXPECT_TRUE(document.load_file(path.c_str())) << path; }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const auto& node : document.select_nodes("//text"))
            all.push_back(node.node().text().get());
        return all;
    }
    bool hasText(const std::string& text) const {
        const auto all = texts();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    double textY(const std::string& text) const {
        for (const auto& node : document.select_nodes("//text"))
            if (node.node().text().get() == text) return node.node().attribute("y").as_double();
        return NAN;
    }
    // The points of each clipped line drawn in the stroke colour.
    std::vector<std::vector<std::pair<double, double>>> lines(const std::string& colour) const {
        std::vector<std::vector<std::pair<double, double>>> found;
        const std::string query = "//g[@clip-path]/path[@stroke='" + colour + "']";
        for (const auto& node : document.select_nodes(query.c_str()))
            found.push_back(pathPoints(node.node().attribute("d").value()));
        return found;
    }
    // The frames of the panels, top to bottom: {left, top, right, bottom}.
    std::vector<std::array<double, 4>> frames() const {
        std::vector<std::array<double, 4>> found;
        for (const auto& node : document.select_nodes("//rect[@stroke='#505050']")) {
            const auto r = node.node();
            const double x = r.attribute("x").as_double(), y = r.attribute("y").as_double();
            found.push_back({x, y, x + r.attribute("width").as_double(),
                             y + r.attribute("height").as_double()});
        }
        return found;
    }
    // Points of lines in the colour that lie on the top or bottom edge of a
    // frame: with room around the data, none.
    size_t pointsOnFrames(const std::string& colour) const {
        size_t count = 0;
        for (const auto& piece : lines(colour))
            for (const auto& point : piece)
                for (const auto& frame : frames())
                    count += std::fabs(point.second - frame[1]) < 1.5 ||
                             std::fabs(point.second - frame[3]) < 1.5;
        return count;
    }
    // The markers of a shape ("point", "above", "below", "nan") in a colour.
    std::vector<std::pair<double, double>> markers(const std::string& shape,
                                                   const std::string& colour) const {
        std::vector<std::pair<double, double>> found;
        for (const auto& node : document.select_nodes("//use"))
            if (node.node().attribute("xlink:href").value() == "#" + shape &&
                node.node().attribute("fill").value() == colour)
                found.emplace_back(node.node().attribute("x").as_double(),
                                   node.node().attribute("y").as_double());
        return found;
    }
    // The pixel column of an X value, from two labelled ticks.
    double xOf(double value, const std::string& tick1, double value1, const std::string& tick2,
               double value2) const {
        const double x1 = textX(tick1), x2 = textX(tick2);
        return x1 + (value - value1) * (x2 - x1) / (value2 - value1);
    }
    double textX(const std::string& text) const {
        for (const auto& node : document.select_nodes("//text"))
            if (node.node().text().get() == text) return node.node().attribute("x").as_double();
        return NAN;
    }
    // The labels of the X axis: texts on the line below the lowest frame.
    std::vector<std::string> xLabels() const {
        std::vector<std::string> labels;
        const double below = frames().back()[3] + 22;
        for (const auto& node : document.select_nodes("//text"))
            if (std::fabs(node.node().attribute("y").as_double() - below) < 0.5)
                labels.push_back(node.node().text().get());
        return labels;
    }
    // The points of path data made of M, l, h and v commands.
    static std::vector<std::pair<double, double>> pathPoints(const std::string& d) {
        std::vector<std::pair<double, double>> points;
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
            if (std::string("Mlhv").find(command) != std::string::npos) points.emplace_back(x, y);
        }
        return points;
    }
};

const std::string kFirstColour = "#1f63c6";
const std::string kSecondColour = "#d94a1e";

TEST(Monplot, DrawsTheVisibleDefaultPlotsAndAnIndex) {
    e2e::TempDir out;
    const e2e::Result result = monplot({"-mon", kKnownRun, "-out", out.file("plots")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(
        e2e::filesIn(out.file("plots")),
        (std::vector<std::string>{"Momentum_and_Mass.svg", "Pressure_Probes.svg", "index.html"}));
    const std::string index = e2e::readFile(out.file("plots/index.html"));
    const size_t residuals =
        index.find("<h2>Momentum and Mass</h2>\n<img src=\"Momentum_and_Mass.svg\"");
    const size_t probes = index.find("<h2>Pressure Probes</h2>\n<img src=\"Pressure_Probes.svg\"");
    EXPECT_LT(residuals, probes) << index;
    EXPECT_NE(probes, std::string::npos) << index;
    EXPECT_EQ(index.find("refresh"), std::string::npos);
    EXPECT_NE(index.find("<title>Monitor plots: known.mon</title>"), std::string::npos);

    const Svg svg(out.file("plots/Momentum_and_Mass.svg"));
    for (const char* text : {"Momentum and Mass", "Accumulated Time Step", "Variable Value",
                             "RMS P-Mass (≤ 0 from step 5)", "RMS U-Mom", "10⁻⁵", "10⁻¹", "6"})
        EXPECT_TRUE(svg.hasText(text)) << text;
    EXPECT_FALSE(svg.hasText("MAX P-Mass"));
    // RMS P-Mass falls a decade a step; its zero at step 5 is a marker at the
    // bottom edge, the line going on past it. RMS U-Mom breaks at step 3.
    const auto mass = svg.lines(kFirstColour);
    ASSERT_EQ(mass.size(), 1u);
    ASSERT_EQ(mass[0].size(), 5u);
    const double step = svg.xOf(2, "1", 1, "6", 6) - svg.xOf(1, "1", 1, "6", 6);
    const double decade = svg.textY("10⁻²") - svg.textY("10⁻¹");
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(mass[0][i].first, svg.xOf(i + 1, "1", 1, "6", 6), 1.0) << i;
        EXPECT_NEAR(mass[0][i].second, svg.textY("10⁻¹") - 4 + i * decade, 1.0) << i;
    }
    EXPECT_NEAR(mass[0][4].first - mass[0][3].first, 2 * step, 1.0);
    const auto zero = svg.markers("below", kFirstColour);
    ASSERT_EQ(zero.size(), 1u);
    EXPECT_NEAR(zero[0].first, svg.xOf(5, "1", 1, "6", 6), 1.0);
    EXPECT_NEAR(zero[0].second, svg.frames()[0][3], 0.5);
    EXPECT_EQ(svg.lines(kSecondColour).size(), 2u);
}

// A run whose residuals go NaN and +inf, a monitor written every fifth step
// and one written once.
const char* const kBrokenRun =
    "monitor-file 1\n"
    "var \"p\" category=RESIDUAL subcategory=RMS group=\"Momentum and Mass\"\n"
    "var \"U\" category=RESIDUAL subcategory=RMS group=\"Momentum and Mass\"\n"
    "var \"yPlus\" category=MONITOR group=Probes\n"
    "var \"once\" category=MONITOR group=Probes\n";

std::string brokenRun() {
    std::string text = kBrokenRun;
    for (int step = 1; step <= 20; ++step) {
        const std::string p = step >= 18 ? "nan" : "1e-" + std::to_string(step / 4 + 1);
        const std::string u = step == 20 ? "inf" : "0.5";
        const std::string yPlus = step % 5 == 0 ? std::to_string(30 + step) : "-";
        text += std::to_string(step) + " " + p + " " + u + " " + yPlus + " " +
                (step == 12 ? "35" : "-") + "\n";
    }
    return text;
}

TEST(Monplot, ShowsNonFiniteValuesAndSparseLinesWithMarkers) {
    e2e::TempDir out;
    e2e::writeFile(out.file("run.mon"), brokenRun());
    ASSERT_EQ(monplot({"-mon", out.file("run.mon"), "-out", out.path()}).status, 0);
    const Svg residuals(out.file("Momentum_and_Mass.svg"));
    EXPECT_TRUE(residuals.hasText("p (nan from step 18)"));
    EXPECT_TRUE(residuals.hasText("U (+inf from step 20)"));
    const auto frame = residuals.frames().at(0);
    const auto x = [&residuals](double step) { return residuals.xOf(step, "5", 5, "20", 20); };
    const auto nan = residuals.markers("nan", kFirstColour);  // one for steps 18 to 20
    ASSERT_EQ(nan.size(), 1u);
    EXPECT_NEAR(nan[0].first, x(18), 1.0);
    EXPECT_NEAR(nan[0].second, frame[3], 0.5);
    const auto inf = residuals.markers("above", kSecondColour);
    ASSERT_EQ(inf.size(), 1u);
    EXPECT_NEAR(inf[0].first, x(20), 1.0);  // the X axis reaches the last record
    EXPECT_NEAR(inf[0].second, frame[1], 0.5);
    EXPECT_EQ(residuals.pointsOnFrames(kFirstColour) + residuals.pointsOnFrames(kSecondColour), 0u);
    EXPECT_NE(
        e2e::readFile(out.file("index.html")).find("p: nan from step 18; U: +inf from step 20"),
        std::string::npos);

    // yPlus: four points joined over its own records; once: a lone marker.
    const Svg probes(out.file("Probes.svg"));
    const auto px = [&probes](double step) { return probes.xOf(step, "10", 10, "20", 20); };
    const auto yPlus = probes.markers("point", kFirstColour);
    ASSERT_EQ(yPlus.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(yPlus[i].first, px(5 * (i + 1)), 1.0);
    ASSERT_EQ(probes.lines(kFirstColour).size(), 1u);
    EXPECT_EQ(probes.lines(kFirstColour)[0].size(), 4u);
    const auto once = probes.markers("point", kSecondColour);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_NEAR(once[0].first, px(12), 1.0);
    EXPECT_TRUE(probes.lines(kSecondColour).empty());
}

TEST(Monplot, SplitsUnitsAndMagnitudesIntoPanelsWithTitles) {
    e2e::TempDir out;
    std::string text =
        "monitor-file 1\n"
        "var \"Fx\" category=FORCE group=Forces units=N\n"
        "var \"Fy\" category=FORCE group=Forces units=N\n"
        "var \"Cd\" category=FORCE group=Forces\n"
        "var \"Mz\" category=FORCE group=Forces units=\"N m\"\n"
        "var \"rms[Rho]\" category=RESIDUAL subcategory=RMS group=\"RMS Residuals\"\n"
        "var \"TIME\" category=TIME group=Time units=s\n";
    for (int step = 1; step <= 20; ++step)
        text += std::to_string(step) + " " + std::to_string(1000 + step) + " 500 0.3" + " 50 -" +
                std::to_string(3 + step / 5) + " " + std::to_string(step * 0.25) + "\n";
    e2e::writeFile(out.file("run.mon"), text);
    ASSERT_EQ(monplot({"-mon", out.file("run.mon"), "-out", out.path()}).status, 0);
    const Svg forces(out.file("Forces.svg"));
    EXPECT_EQ(forces.frames().size(), 3u);
    for (const char* title : {"Variable Value [N]", "Variable Value", "Variable Value [N m]"})
        EXPECT_TRUE(forces.hasText(title)) << title;
    // Constant lines lie inside their panels, not on a frame.
    for (const char* colour : {"#d94a1e", "#23963b", "#863db0"})
        EXPECT_EQ(forces.pointsOnFrames(colour), 0u) << colour;
    EXPECT_TRUE(Svg(out.file("RMS_Residuals.svg")).hasText("log10 residual"));

    // Against TIME, the X labels are times (0 to 5 s), not steps.
    ASSERT_EQ(monplot({"-mon", out.file("run.mon"), "-out", out.file("time"), "-x", "TIME", "-plot",
                       "Forces"})
                  .status,
              0);
    const Svg time(out.file("time/Forces.svg"));
    EXPECT_TRUE(time.hasText("Simulation Time"));
    const std::vector<std::string> labels = time.xLabels();
    ASSERT_GE(labels.size(), 3u);
    for (const std::string& label : labels) {
        EXPECT_GE(std::stod(label), 0) << label;
        EXPECT_LE(std::stod(label), 5) << label;
    }
}

// Times a microsecond apart at t = 20 s, which floats cannot tell apart: each
// record keeps its own place along the X axis.
TEST(Monplot, PlotsAgainstTimesInTheirFullPrecision) {
    e2e::TempDir out;
    std::filesystem::create_directories(out.file("case/postProcessing/probes/0"));
    std::string text = "# Probe 0 (0 0 0)\n#       Probe             0\n#        Time\n";
    for (int step = 1; step <= 40; ++step)
        text += "20.0000" + std::string(step < 10 ? "0" : "") + std::to_string(step) + "  " +
                std::to_string(step % 7) + "\n";
    e2e::writeFile(out.file("case/postProcessing/probes/0/p"), text);
    ASSERT_EQ(monplot({"-dir", out.file("case"), "-out", out.path(), "-x", "TIME"}).status, 0);
    const Svg svg(out.file("probes.svg"));
    EXPECT_TRUE(svg.hasText("20.000020"));
    const auto lines = svg.lines(kFirstColour);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 40u);
    for (size_t i = 1; i < 40; ++i) EXPECT_NEAR(lines[0][i].first - lines[0][i - 1].first, 24, 1);
}

// The plots asked for: each case names the files drawn (the first is
// looked at), texts it shows and the points of its first line.
TEST(Monplot, DrawsChosenPlotsVariablesStepsScalesAndSeveralRuns) {
    e2e::TempDir out;
    std::filesystem::create_directories(out.file("a"));
    std::filesystem::create_directories(out.file("b"));
    e2e::writeFile(out.file("a/run.mon"), e2e::readFile(kKnownRun));
    e2e::writeFile(out.file("b/run.mon"), e2e::readFile(kKnownRun));
    struct Case {
        std::vector<std::string> options, files, texts;
        size_t firstColourPoints;
    };
    const std::vector<Case> cases = {
        {{"-all"},
         {"Momentum_and_Mass_MAX.svg", "Momentum_and_Mass.svg", "Pressure_Probes.svg"},
         {"Momentum and Mass (MAX)"},
         6},
        {{"-plot", "Momentum and Mass MAX", "-plot", "Momentum and Mass", "-firsttimestep", "2",
          "-lasttimestep", "4"},
         {"Momentum_and_Mass.svg", "Momentum_and_Mass_MAX.svg"},
         {"10⁻⁴"},
         3},
        {{"-varlist", "P1 Pressure;RMS U-Mom"},
         {"Selected_Variables.svg"},
         {"Selected Variables", "P1 Pressure", "RMS U-Mom"},
         6},
        {{"-varrule", "CATEGORY = MONITOR", "-last", "3"}, {"Selected_Variables.svg"}, {}, 3},
        {{"-plot", "Pressure Probes", "-log"}, {"Pressure_Probes.svg"}, {"10²"}, 6},
        {{"-plot", "Momentum and Mass", "-linear"}, {"Momentum_and_Mass.svg"}, {"0.10"}, 6},
        {{"-plot", "Pressure Probes", "-mon", out.file("b/run.mon")},
         {"Pressure_Probes.svg"},
         {"P1 Pressure (a/run.mon)", "P1 Pressure (b/run.mon)"},
         12},  // the same line of both runs in one colour
    };
    for (const Case& c : cases) {
        e2e::TempDir plots;
        std::vector<std::string> args{"-mon", out.file("a/run.mon"), "-out", plots.path()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const e2e::Result result = monplot(args);
        ASSERT_EQ(result.status, 0) << c.options[0] << result.err;
        std::vector<std::string> files = c.files;
        files.push_back("index.html");
        std::sort(files.begin(), files.end());
        EXPECT_EQ(e2e::filesIn(plots.path()), files);
        // Plots keep the plot order, whatever the order they were asked in.
        const std::string index = e2e::readFile(plots.file("index.html"));
        for (size_t i = 1; i + 1 < files.size(); ++i)
            EXPECT_LT(index.find(files[i - 1]), index.find(files[i])) << index;
        const Svg svg(plots.file(c.files[0]));
        for (const std::string& text : c.texts) EXPECT_TRUE(svg.hasText(text)) << text;
        size_t points = 0;
        for (const auto& piece : svg.lines(kFirstColour)) points += piece.size();
        EXPECT_EQ(points, c.firstColourPoints) << c.options[0];
    }
}

TEST(Monplot, PlotWithoutValuesSaysSo) {
    e2e::TempDir out;
    const e2e::Result result =
        monplot({"-mon", e2e::testData("monplot/nodata.mon"), "-out", out.path(), "-png"});
    ASSERT_EQ(result.status, 0) << result.err;
    const Svg svg(out.file("Pressure_Probes.svg"));
    EXPECT_TRUE(svg.hasText("No data to plot"));
    EXPECT_TRUE(svg.hasText("P2 Pressure"));
    EXPECT_TRUE(svg.lines(kFirstColour).empty());
    EXPECT_TRUE(e2e::fileExists(out.file("Pressure_Probes.png")));
}

uint32_t bigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(Monplot, WritesPngImagesAndOnePdfPagePerPlot) {
    e2e::TempDir out;
    const e2e::Result result =
        monplot({"-dir", e2e::example("transient.dir"), "-out", out.path(), "-png", "-pdf"});
    ASSERT_EQ(result.status, 0) << result.err;
    size_t svgs = 0;
    for (const std::string& name : e2e::filesIn(out.path())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".svg") continue;
        ++svgs;
        const std::string png = e2e::readFile(out.file(name.substr(0, name.size() - 4) + ".png"));
        ASSERT_GT(png.size(), 24u) << name;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(png.substr(12, 4), "IHDR");
        EXPECT_EQ(bigEndian(png, 16), 1200u);
        EXPECT_EQ(bigEndian(png, 20), 800u);
    }
    EXPECT_GE(svgs, 5u);
    const std::string pdf = e2e::readFile(out.file("plots.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    EXPECT_EQ(count(pdf, "/Type /Page\n") + count(pdf, "/Type /Page ") + count(pdf, "/Type /Page>"),
              svgs);
}

// Eleven probes in one group: the eleventh takes the first colour again,
// dashed. Over a few records the dashes show; over thousands of records per
// pixel column they would be noise, so that line is drawn solid.
TEST(Monplot, LinesMuchDenserThanThePixelsAreDrawnSolid) {
    for (const int records : {20, 6000}) {
        e2e::TempDir out;
        std::string text = "monitor-file 1\n";
        for (int probe = 1; probe <= 11; ++probe)
            text += "var \"P" + std::to_string(probe) +
                    "\" category=MONITOR subcategory=POINT group=\"Probes\"\n";
        for (int step = 1; step <= records; ++step) {
            text += std::to_string(step);
            for (int probe = 1; probe <= 11; ++probe)
                text += " " + std::to_string(probe * 10 + (step * 7919 + probe) % 13);
            text += "\n";
        }
        e2e::writeFile(out.file("run.mon"), text);
        ASSERT_EQ(monplot({"-mon", out.file("run.mon"), "-out", out.file("plots")}).status, 0);
        const Svg svg(out.file("plots/Probes.svg"));
        const std::string query =
            "//g[@clip-path]/path[@stroke='" + kFirstColour + "'][@stroke-dasharray]";
        EXPECT_EQ(svg.document.select_nodes(query.c_str()).size(), records == 20 ? 1u : 0u)
            << records << " records";
        EXPECT_EQ(svg.lines(kFirstColour).size(), 2u);
    }
}

// A monplot -watch running in the background until it is sent SIGTERM.
class Watcher {
  public:
    explicit Watcher(const std::vector<std::string>& args) {
        std::vector<std::string> argv{e2e::binary("monplot")};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (auto& arg : argv) pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        posix_spawn(&pid_, pointers[0], nullptr, nullptr, pointers.data(), environ);
    }
    // The exit status after SIGTERM, or -1 when it did not end.
    int stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = 0;
};

bool waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// A run just started (its file still empty, then a header alone) is waited
// for; the plots follow it as it grows; a source that vanishes for a moment
// (a restart segment being created) is tried again; SIGTERM ends it cleanly.
TEST(Monplot, WatchFollowsARunFromItsStartAndStopsCleanly) {
    e2e::TempDir folder;
    const std::string run = folder.file("run.mon"), out = folder.file("plots");
    const std::string index = out + "/index.html", svg = out + "/Momentum_and_Mass.svg";
    e2e::writeFile(run, "");
    Watcher watcher({"-mon", run, "-out", out, "-watch", "0.2", "-last", "10"});
    ASSERT_TRUE(waitFor([&] { return e2e::fileExists(index); }));
    EXPECT_NE(e2e::readFile(index).find("The run has no records yet."), std::string::npos);
    EXPECT_NE(e2e::readFile(index).find("<meta http-equiv=\"refresh\" content=\"1\">"),
              std::string::npos);
    e2e::writeFile(run, "monitor-file 1\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_NE(e2e::readFile(index).find("The run has no records yet."), std::string::npos);

    e2e::writeFile(run, e2e::readFile(kKnownRun));
    ASSERT_TRUE(waitFor([&] { return e2e::fileExists(svg) && Svg(svg).hasText("10⁻¹"); }));
    EXPECT_FALSE(Svg(svg).hasText("10⁻⁷"));
    std::filesystem::remove(run);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    e2e::writeFile(run, e2e::readFile(kKnownRun) + "7 1e-7 1e-6 0.005 150\n");
    EXPECT_TRUE(waitFor([&] { return Svg(svg).hasText("10⁻⁷"); }));
    EXPECT_EQ(Svg(svg).lines(kFirstColour)[0].size(), 6u);
    EXPECT_EQ(watcher.stop(), 0);
    EXPECT_EQ(e2e::filesIn(out), (std::vector<std::string>{"Momentum_and_Mass.svg",
                                                           "Pressure_Probes.svg", "index.html"}));
}

TEST(Monplot, FindsTheInstalledTemplateBesideTheExecutable) {
    e2e::TempDir prefix;
    std::filesystem::create_directories(prefix.file("bin"));
    std::filesystem::create_directories(prefix.file("share/monexport"));
    std::filesystem::copy_file(e2e::binary("monplot"), prefix.file("bin/monplot"));
    std::string mst = e2e::readFile(e2e::sourcePath("data/workspace-basic.mst"));
    const std::string label = "Window Label = Momentum and Mass\n";
    mst.replace(mst.find(label), label.size(), "Window Label = Installed Residuals\n");
    e2e::writeFile(prefix.file("share/monexport/workspace-basic.mst"), mst);
    const e2e::Result result =
        e2e::run(prefix.file("bin/monplot"), {"-mon", kKnownRun, "-out", prefix.file("out")},
                 {{"ORB_DATA_DIR", ""}});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Svg(prefix.file("out/Momentum_and_Mass.svg")).hasText("Installed Residuals"));

    const e2e::Result fromBuild =
        monplot({"-mon", kKnownRun, "-out", prefix.file("build")}, {{"ORB_DATA_DIR", ""}});
    ASSERT_EQ(fromBuild.status, 0) << fromBuild.err;
    EXPECT_TRUE(Svg(prefix.file("build/Momentum_and_Mass.svg")).hasText("Momentum and Mass"));
}

TEST(Monplot, ReportsErrorsInTwoLines) {
    e2e::TempDir folder;
    e2e::writeFile(folder.file("file"), "x");
    const std::string out = folder.file("out");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-out", out}, "No valid data source has been specified."},
        {{"-mon", kKnownRun}, "No output folder has been specified: use -out FOLDER."},
        {{"-mon", kKnownRun, "-out"}, "Missing value for option -out."},
        {{"-mon", kKnownRun, "-out", out, "-colour"},
         "Unknown option '-colour'. Usage: monplot (-res FILE | -dir FOLDER | -mon FILE) -out "
         "FOLDER [options]."},
        {{"-mon", kKnownRun, "-out", out, "-watch", "soon"},
         "Option -watch needs a number of seconds above 0, not 'soon'."},
        {{"-mon", kKnownRun, "-out", out, "-watch", "0"},
         "Option -watch needs a number of seconds above 0, not '0'."},
        {{"-mon", kKnownRun, "-out", out, "-last", "-3"},
         "Option -last needs a number of steps above 0, not '-3'."},
        {{"-mon", kKnownRun, "-out", out, "-x", "TIME"},
         "The run has no variable 'TIME' to plot against (-x)."},
        {{"-mon", kKnownRun, "-out", out, "-varlist", "P1 Pressure;Lift"},
         "Requested variable(s) not found: \n    Lift"},
        {{"-mon", kKnownRun, "-out", folder.file("file/plots")},
         "Cannot create the output folder '" + folder.file("file/plots") + "': Not a directory."},
        {{"-mon", kKnownRun, "-out", out, "-plot", "Momentum and Mass", "-plot", "Residuals"},
         "The run has no plot 'Residuals'. Its plots are: Momentum and Mass, Momentum and Mass "
         "MAX, Pressure Probes."},
    };
    for (const auto& [args, message] : cases) {
        const e2e::Result result = monplot(args);
        EXPECT_EQ(result.status, 255) << message;
        EXPECT_EQ(result.err, plotError(message));
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(e2e::fileExists(out));
}

TEST(Monplot, ReportsMissingSourcesAndBadTemplates) {
    e2e::TempDir folder;
    const std::string missing = folder.file("missing.mon");
    const e2e::Result noSource = monplot({"-mon", missing, "-out", folder.file("out")});
    EXPECT_EQ(noSource.status, 255);
    EXPECT_EQ(noSource.err.substr(0, 12), "Plot error:\n");
    EXPECT_NE(noSource.err.find(missing), std::string::npos) << noSource.err;

    e2e::writeFile(folder.file("workspace-basic.mst"), "LIBRARY:\n  MONITOR GROUP: Broken\n");
    const e2e::Result badTemplate =
        monplot({"-mon", kKnownRun, "-out", folder.file("out")}, {{"ORB_DATA_DIR", folder.path()}});
    EXPECT_EQ(badTemplate.status, 255);
    EXPECT_NE(badTemplate.err.find(folder.file("workspace-basic.mst")), std::string::npos)
        << badTemplate.err;
    EXPECT_EQ(std::count(badTemplate.err.begin(), badTemplate.err.end(), '\n'), 2);
    EXPECT_FALSE(e2e::fileExists(folder.file("out/index.html")));
}

}  // namespace
