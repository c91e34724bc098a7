// -plotinfo: the default monitor plots from the workspace template.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <pugixml.hpp>

#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

// One text per plot: "Name|DisplayName|Visibility|X label|log Y: X>Y X>Y", the
// accumulated time step written "Step" (its name and label are pinned by run.xml).
std::vector<std::string> summary(const std::string& xml) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str())) << xml;
    const auto text = [](pugi::xml_node node, const char* attribute) {
        const std::string value = node.attribute(attribute).value();
        return value == "ACCUMULATED TIMESTEP" || value == "Accumulated Time Step" ? "Step" : value;
    };
    std::vector<std::string> plots;
    for (const pugi::xml_node plot : document.child("Plots").children("Plot")) {
        plots.push_back(text(plot, "Name") + "|" + text(plot, "DisplayName") + "|" +
                        text(plot, "Visibility") + "|" + text(plot.child("XAxis"), "DisplayName") +
                        "|" + text(plot.child("YAxis"), "LogarithmicScale") + ":");
        for (const pugi::xml_node line : plot.children("PlotLine"))
            plots.back() +=
                " " + text(line.child("XVar"), "Name") + ">" + text(line.child("YVar"), "Name");
    }
    return plots;
}

// The plots of a run from a workspace template holding these objects.
std::vector<std::string> plotsOf(const std::string& objects,
                                 const std::string& mon = e2e::testData("plotinfo/plain.mon")) {
    e2e::TempDir dir;
    dir.write("workspace-basic.mst", "MONITOR WORKSPACE: Run\n" + objects + "END\n");
    return summary(
        e2e::monexportOutput({"-plotinfo", "-mon", mon}, {{"ORB_DATA_DIR", dir.path()}}));
}

// The template's plots, then one per other group of the run, by name.
TEST(PlotInfo, TemplatePlotsOfASmallRunAreExactlyAsExpected) {
    EXPECT_EQ(e2e::monexportOutput({"-plotinfo", "-mon", e2e::testData("plotinfo/run.mon")},
                                   {{"ORB_DATA_DIR", e2e::sourcePath("data")}}),
              e2e::readFile(e2e::testData("plotinfo/run.xml")));
}

std::string probePlot(const std::string& name, const std::string& settings) {
    return "MONITOR PLOT: " + name + "\nVariable Rule = NAME = P1\n" + settings + "END\n";
}

std::string monitorsPlot(const std::string& name, const std::string& settings) {
    return "MONITOR PLOT: " + name + "\nVariable Rule = CATEGORY = MONITOR\n" + settings + "END\n";
}

// Plot objects of a workspace and the plots they give.
TEST(PlotInfo, PlotObjectSettingsShapeThePlots) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        // residual plots show RMS residuals unless their mode is MAX; a
        // monitor that matches nothing gives no plot
        {"RESIDUAL MONITOR: Default\nVariable Rule = CATEGORY = RESIDUAL\nEND\n"
         "RESIDUAL MONITOR: Max\nResidual Mode = MAX\nEND\n"
         "RESIDUAL MONITOR: Rms\nResidual Mode = RMS\nVariable Rule = NAME = *P-Mass\nEND\n"
         "RESIDUAL MONITOR: None\nVariable Rule = CATEGORY = MONITOR\nEND\n"
         "MONITOR PLOT: Other Type\nResidual Mode = MAX\n"
         "Variable Rule = NAME = \"??? P-Mass\"\nEND\n",
         {
             "Default||false|Step|false: Step>RMS P-Mass Step>RMS H-Energy",
             "Max||false|Step|false: Step>MAX P-Mass Step>MAX H-Energy",
             "Other Type||false|Step|false: Step>RMS P-Mass Step>MAX P-Mass",
             "Rms||false|Step|false: Step>RMS P-Mass",
         }},
        // the X axis follows "Plot Data By"
        {probePlot("A Default", "") + probePlot("C Time", "Plot Data By = Simulation Time\n") +
             probePlot("G Time", "Plot Data By = Specified Variable\nX Axis Variable = TIME\n") +
             probePlot("H Loop",
                       "Plot Data By = Specified Variable\nX Axis Variable = COEFFICIENT LOOP\n") +
             probePlot("I Probe", "Plot Data By = Specified Variable\nX Axis Variable = P2\n") +
             probePlot("J Empty", "Plot Data By = Specified Variable\nX Axis Variable =\n") +
             probePlot("K Ignored", "Plot Data By = Time Step\nX Axis Variable = P2\n"),
         {
             "A Default||false|Step|false: Step>P1",
             "C Time||false|Simulation Time|false: TIME>P1",
             "G Time||false|Simulation Time|false: TIME>P1",
             "H Loop||false|Specified Variable Coefficient Loop|false: COEFFICIENT LOOP>P1",
             "I Probe||false|Specified Variable P2|false: P2>P1",
             "J Empty||false|Specified Variable |false: >P1",
             "K Ignored||false|Step|false: Step>P1",
         }},
        // time-transformed plots show the associated variables
        {monitorsPlot("A Over Time", "Time Transformed = true\nPlot Data By = Simulation Time\n") +
             monitorsPlot("C Filtered",
                          "Time Transformed = 1\nPlot Data By = Simulation Time\n"
                          "Time Transformed Variable Rule = NAME = *Average\n") +
             monitorsPlot("F Filtered Out",
                          "Time Transformed = true\n"
                          "Time Transformed Variable Rule = NAME = nothing\n"),
         {
             "A Over Time||false|Simulation Time|false: P1 Frequency>P1 Spectrum TIME>P2 Average "
             "P1 Average Time>P1 Average",
             "C Filtered||false|Simulation Time|false: TIME>P2 Average P1 Average Time>P1 Average",
         }},
        // display settings come from the plot object
        {"MONITOR PLOT: A\nVariable Rule = NAME = P2\n"
         "Window Label = \" Probes & <more> \"\nVisibility = Yes\nLogarithmic Y = ON\nEND\n"
         "MONITOR PLOT: B\nVariable Rule = NAME = P2\nVisibility = off\nLogarithmic Y = 0\nEND\n",
         {
             "A| Probes & <more> |true|Step|true: Step>P2",
             "B||false|Step|false: Step>P2",
         }},
    };
    for (const auto& [objects, plots] : cases) EXPECT_EQ(plotsOf(objects), plots) << objects;
}

// Each plot below is "TYPE|name|group|variable".
TEST(PlotInfo, PlotsComeByGroupPriorityThenNameAndTheFirstOfAKeyIsKept) {
    std::string objects =
        "MONITOR GROUP: Early\nPriority = -1\nEND\nMONITOR GROUP: Zero\nPriority = 0\nEND\n";
    for (const char* plot : {"MONITOR PLOT|zeta|Early|P1", "MONITOR PLOT|alpha|Zero|P1",
                             "IMBALANCE MONITOR|Alpha|Zero|P1", "MONITOR PLOT|beta|Unlisted|P1",
                             "MONITOR PLOT|Suffixed|Early (MAX) (Time Transformed)|P1",
                             "MONITOR PLOT|Same|Zero|P1", "IMBALANCE MONITOR|Same|Zero|P2",
                             "IMBALANCE MONITOR|Second|Zero|nothing", "MONITOR PLOT|Second|Zero|P2",
                             "IMBALANCE MONITOR|Twin|Zero|P1", "MONITOR PLOT|Twin|Early|P2"}) {
        std::string object = std::string(plot) + "\nEND\n";
        for (const char* field : {": ", "\nMonitor Group = ", "\nVariable Rule = NAME = "})
            object.replace(object.find('|'), 1, field);
        objects += object;
    }
    std::vector<std::string> keys;
    for (const std::string& p : plotsOf(objects))
        keys.push_back(p.substr(0, p.find('|')) + " " + p.substr(p.find('>') + 1));
    EXPECT_EQ(keys,
              (std::vector<std::string>{"Suffixed P1", "Twin P2", "zeta P1", "Alpha P1", "Same P2",
                                        "Second P2", "Twin P1", "alpha P1", "beta P1"}));
}

TEST(PlotInfo, EveryMonitorGroupOfTheRunGetsAPlotOfItsVariables) {
    std::vector<std::string> plots = plotsOf(
        "MONITOR GROUP: Probes\nPriority = 5\nEND\n"
        "MONITOR PLOT: Existing\nMonitor Group = Probes (MAX)\nVariable Rule = NAME = P1\nEND\n"
        "GROUPING RULE: Averages\nVariable Rule = CATEGORY = AVERAGE\n"
        "Variable Rule 2 = NAME = P1\nEND\n"
        "GROUPING RULE: Forces\nVariable Rule = CATEGORY = FORCE\nEND\n",
        e2e::testData("plotinfo/run.mon"));
    std::vector<std::string> names;
    for (const std::string& p : plots) names.push_back(p.substr(0, p.find('|')));
    EXPECT_EQ(names,
              (std::vector<std::string>{"Existing", "Averages", "Blade", "Forces", "Heat Transfer",
                                        "Imbalances", "Momentum and Mass", "Probes \"A B\" *",
                                        "Probes \"A B\" *x", "Time", "Wall Probes"}));
    EXPECT_EQ(plots[1], "Averages|Averages|true|Step|false: Step>P1");
    EXPECT_EQ(plots[6],
              "Momentum and Mass|Momentum and Mass|true|Step|false: Step>RMS P-Mass "
              "Step>MAX P-Mass");
}

TEST(PlotInfo, WorkspaceWithoutPlotsGivesTheRootAlone) {
    e2e::TempDir dir;
    for (const char* workspace : {"MONITOR WORKSPACE: Run\nEND\n", "# nothing at all\n"}) {
        e2e::writeFile(dir.file("workspace-basic.mst"), workspace);
        EXPECT_EQ(e2e::monexportOutput({"-plotinfo", "-mon", e2e::testData("plotinfo/plain.mon")},
                                       {{"ORB_DATA_DIR", dir.path() + "/"}}),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Plots />\n");
    }
}

// Without ORB_DATA_DIR (unset or empty) the template is found where monplot
// finds it: here the source tree's data/ (plotinfo/TemplateLocation_test.cpp
// sees the rest).
TEST(PlotInfo, FindsTheTemplateWithoutOrbDataDir) {
    const std::string mon = e2e::testData("plotinfo/run.mon");
    const std::string expected = e2e::readFile(e2e::testData("plotinfo/run.xml"));
    EXPECT_EQ(e2e::monexportOutput({"-plotinfo", "-mon", mon}, {{"ORB_DATA_DIR", ""}}), expected);
    const e2e::Result empty = e2e::run(
        "/usr/bin/env", {"ORB_DATA_DIR=", e2e::binary("monexport"), "-plotinfo", "-mon", mon});
    EXPECT_EQ(empty.out, expected);
}

// A missing, malformed or unreadable template: the report names it and the
// output file is left empty.
TEST(PlotInfoErrors, UnusableTemplateIsReportedWithItsPath) {
    e2e::TempDir dir;
    const std::string mon = e2e::testData("plotinfo/run.mon"), out = dir.file("plots.xml");
    const std::string file = dir.file("workspace-basic.mst");
    const auto outputIsEmpty = [&] { return e2e::fileExists(out) && e2e::readFile(out).empty(); };
    const auto plotinfo = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-plotinfo", "-mon", mon});
        return monexport(args, {{"ORB_DATA_DIR", dir.path()}});
    };
    EXPECT_TRUE(e2e::failsWith(
        plotinfo({"-out", out}),
        "Cannot open the command-language file '" + file + "': No such file or directory."));
    EXPECT_TRUE(outputIsEmpty());
    e2e::writeFile(file, "MONITOR WORKSPACE: Run\n  MONITOR PLOT: P\n  Priority 10\nEND\nEND\n");
    EXPECT_TRUE(e2e::failsWith(plotinfo({}),
                               file + ":3: expected 'TYPE: Name', 'Parameter = Value' or 'END', "
                                      "found 'Priority 10'"));
    std::remove(file.c_str());
    ASSERT_EQ(mkdir(file.c_str(), 0700), 0);
    EXPECT_TRUE(e2e::failsWith(
        plotinfo({}), "Cannot read the command-language file '" + file + "': Is a directory."));
}

}  // namespace
