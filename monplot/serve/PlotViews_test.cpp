#include "monplot/serve/PlotViews.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <tuple>

#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "plot/LineReduction.h"
#include "tests/CommandRunner.h"

namespace serve {
namespace {

// An SU2 history of `steps` iterations: CD a slow wave with one spike at
// iteration 600 and a nan at 500, CL = 2 CD.
std::string history(int steps) {
    std::string text = "\"Time_Iter\",\"Outer_Iter\",\"Inner_Iter\",\"CD\",\"CL\"\n";
    for (int i = 0; i < steps; ++i) {
        const double cd = i == 600 ? 9.0 : 1 + 0.5 * std::sin(i / 50.0);
        const std::string value = i == 500 ? "nan" : std::to_string(cd);
        text += "0,0," + std::to_string(i) + "," + value + "," +
                (i == 500 ? "nan" : std::to_string(2 * cd)) + "\n";
    }
    return text;
}

class PlotViewsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir.write("history.csv", history(1000));
        run.database =
            std::make_shared<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
        run.database->updateFrom(MonDatabase::MonitorFile, QString::fromStdString(path), true);
        run.database->updateData();
        run.id = "r1";
        run.name = "history.csv";
        options.varList = "CD;CL";
    }
    QJsonObject values(const PlotQuery& query) {
        const PlotViews views(options, "");
        return QJsonDocument::fromJson(QByteArray::fromStdString(views.values({run}, query)))
            .object();
    }

    e2e::TempDir dir;
    ViewRun run;
    PlotOptions options;
};

std::vector<double> numbers(const QJsonValue& array) {
    std::vector<double> out;
    for (const QJsonValue& value : array.toArray())
        out.push_back(value.isNull() ? NAN : value.toDouble());
    return out;
}

TEST_F(PlotViewsTest, ReducesToColumnsKeepingExtremesAndMarkingNan) {
    PlotQuery query;
    query.columns = 10;
    const QJsonObject answer = values(query);
    const QJsonObject cd = answer[QLatin1String("lines")].toArray()[0].toObject();
    const std::vector<double> x = numbers(cd[QLatin1String("x")]),
                              y = numbers(cd[QLatin1String("y")]);
    ASSERT_EQ(x.size(), y.size());
    // Four points per column at most, a break at the nan.
    EXPECT_LE(x.size(), 4u * 11 + 2);
    EXPECT_EQ(std::count_if(y.begin(), y.end(), [](double v) { return std::isnan(v); }), 1);
    EXPECT_DOUBLE_EQ(*std::max_element(y.begin(), y.end(),
                                       [](double a, double b) {
                                           return std::isnan(a) || (!std::isnan(b) && a < b);
                                       }),
                     9.0);
    const double firstStep = x.front();
    EXPECT_DOUBLE_EQ(x.back() - firstStep, 999);
    const QJsonArray marks = cd[QLatin1String("marks")].toArray();
    ASSERT_EQ(marks.size(), 1);
    EXPECT_DOUBLE_EQ(marks[0].toArray()[0].toDouble() - firstStep, 500);
    EXPECT_EQ(marks[0].toArray()[1].toString(), QLatin1String("nan"));
    EXPECT_EQ(answer[QLatin1String("lastSteps")].toObject()[QLatin1String("r1")].toInt(),
              static_cast<int>(firstStep) + 999);
}

// The column reduction of a line's every point (px 0), as the page would
// get it: first, lowest, highest and last of each column, a break at nulls.
std::vector<std::pair<double, double>> reducedByHand(const QJsonObject& line, double px) {
    const std::vector<double> x = numbers(line[QLatin1String("x")]),
                              y = numbers(line[QLatin1String("y")]);
    std::vector<std::pair<double, double>> out;
    plot::ColumnReducer reducer;
    const auto flush = [&] {
        for (const plot::Point& p : reducer.take()) out.emplace_back(p.x * px, p.y);
    };
    for (size_t i = 0; i < x.size(); ++i) {
        if (std::isnan(y[i]))
            flush(), out.emplace_back(x[i], NAN);
        else
            reducer.add({x[i] / px, y[i]});
    }
    flush();
    return out;
}

// Whole blocks of points stand for their points where they fit a column:
// the answer is the points' own reduction, on either scale, over the whole
// history and within a range.
TEST_F(PlotViewsTest, ReducedLinesAreTheReductionOfEveryPoint) {
    for (const auto& [px, from, scale] :
         {std::tuple{100.0, -1.0, 0}, std::tuple{64.0, -1.0, 1}, std::tuple{33.3, 150.0, 0},
          std::tuple{250.0, 70.0, 1}, std::tuple{7.5, -1.0, 0}}) {
        PlotQuery every;
        every.scale = scale;
        const double firstStep =
            numbers(
                values(every)[QLatin1String("lines")].toArray()[0].toObject()[QLatin1String("x")])
                .front();
        every.from = from < 0 ? every.from : firstStep + from;
        every.to = from < 0 ? every.to : firstStep + from + 600;
        PlotQuery reduced = every;
        reduced.px = px;
        const QJsonArray lines = values(reduced)[QLatin1String("lines")].toArray();
        const QJsonArray points = values(every)[QLatin1String("lines")].toArray();
        for (int l = 0; l < lines.size(); ++l) {
            const std::vector<std::pair<double, double>> expected =
                reducedByHand(points[l].toObject(), px);
            const std::vector<double> x = numbers(lines[l].toObject()[QLatin1String("x")]),
                                      y = numbers(lines[l].toObject()[QLatin1String("y")]);
            ASSERT_EQ(x.size(), expected.size()) << px << " " << l;
            for (size_t i = 0; i < x.size(); ++i) {
                EXPECT_NEAR(x[i], expected[i].first, 1e-6) << px << " " << l << " " << i;
                if (std::isnan(expected[i].second))
                    EXPECT_TRUE(std::isnan(y[i]));
                else
                    EXPECT_DOUBLE_EQ(y[i], expected[i].second) << px << " " << l << " " << i;
            }
        }
    }
}

TEST_F(PlotViewsTest, GivesEveryPointOfARangeAndOnlyTheNewPartWhenAsked) {
    PlotQuery whole;
    const double firstStep =
        numbers(values(whole)[QLatin1String("lines")].toArray()[0].toObject()[QLatin1String("x")])
            .front();
    PlotQuery range;
    range.from = firstStep + 100, range.to = firstStep + 109;
    // Every point of the range, and one beyond each end.
    EXPECT_EQ(
        numbers(values(range)[QLatin1String("lines")].toArray()[1].toObject()[QLatin1String("x")])
            .size(),
        12u);
    PlotQuery after;
    after.after = static_cast<int32_t>(firstStep) + 994;
    const std::vector<double> tail =
        numbers(values(after)[QLatin1String("lines")].toArray()[0].toObject()[QLatin1String("x")]);
    ASSERT_EQ(tail.size(), 5u);
    EXPECT_DOUBLE_EQ(tail.front() - firstStep, 995);
}

TEST_F(PlotViewsTest, SmoothsTheWholeHistoryExponentially) {
    PlotQuery query;
    query.smoothing = 0.5;
    query.scale = 0;
    const QJsonObject cd = values(query)[QLatin1String("lines")].toArray()[0].toObject();
    const std::vector<double> y = numbers(cd[QLatin1String("y")]),
                              s = numbers(cd[QLatin1String("sy")]);
    ASSERT_GE(s.size(), 3u);
    EXPECT_NEAR(s[0], y[0], 1e-6);
    EXPECT_NEAR(s[1], 0.5 * y[0] + 0.5 * y[1], 1e-6);
    EXPECT_NEAR(s[2], 0.5 * s[1] + 0.5 * y[2], 1e-6);
    // The tail continues the same average.
    PlotQuery after = query;
    after.after = static_cast<int32_t>(numbers(cd[QLatin1String("x")]).back()) - 1;
    const std::vector<double> tail =
        numbers(values(after)[QLatin1String("lines")].toArray()[0].toObject()[QLatin1String("sy")]);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_NEAR(tail[0], s.back(), 1e-6);
}

// An OpenFOAM force history at times 0.25, 0.5, ..., 5 (steps the reader
// numbers 1..20) is drawn against its TIME unless STEP is asked for, as
// monplot draws it, and -firsttime, -lasttime keep the steps of their times.
TEST_F(PlotViewsTest, RunsWhoseStepsTheReaderNumberedAreDrawnAgainstTime) {
    std::string text = "# Force coefficients\n# Time\tCd\n";
    for (int i = 1; i <= 20; ++i) text += std::to_string(i * 0.25) + "\t1.5\n";
    run.database =
        std::make_shared<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    run.database->updateFrom(MonDatabase::MonitorFile,
                             QString::fromStdString(dir.write("coefficient.dat", text)), true);
    run.database->updateData();
    options.varList = "coefficient Cd";
    auto xs = [&](const std::string& x) {
        PlotQuery query;
        query.xVariable = x;
        return numbers(
            values(query)[QLatin1String("lines")].toArray()[0].toObject()[QLatin1String("x")]);
    };
    for (const auto& [x, first, last] :
         {std::tuple{"", 0.25, 5.0}, {"TIME", 0.25, 5.0}, {"STEP", 1.0, 20.0}}) {
        const std::vector<double> points = xs(x);
        ASSERT_EQ(points.size(), 20u) << x;
        EXPECT_DOUBLE_EQ(points.front(), first) << x;
        EXPECT_DOUBLE_EQ(points.back(), last) << x;
    }
    options.times = {1.0, 2.0};
    const std::vector<double> range = xs("");
    ASSERT_EQ(range.size(), 5u);
    EXPECT_DOUBLE_EQ(range.front(), 1.0);
}

}  // namespace
}  // namespace serve
