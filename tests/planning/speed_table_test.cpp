// The speed table: each row is the run a window would make, each reach meets the margin while
// 0.01 further does not, the reach is the longest, and the recommended speed is the fastest that
// meets the margin at the path.
#include "planning/speed_table.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "linkcalc/choice_lists.h"
#include "linkcalc/numeric_text.h"

namespace linkcalc::planning {
namespace {

struct Link {
    std::string band, unit, distance, gain1, loss1, gain2, loss2;
    double margin = kDefaultMinimumMargin;
    std::string packet = {};  // empty: left as the window opens it
};

std::string Describe(const Link& link) {
    return link.band + " MHz, " + link.distance + " " + link.unit + ", gains " + link.gain1 + "/" +
           link.gain2 + ", losses " + link.loss1 + "/" + link.loss2 + ", margin " +
           TextOfNumber(link.margin) + (link.packet.empty() ? "" : ", packet " + link.packet);
}

MemorySheet InputsOf(const Link& link) {
    MemorySheet sheet;
    sheet.SetText(Field::CmbEFreq, link.band);
    sheet.SetText(Field::Cmbmilekm, link.unit);
    sheet.SetText(Field::TxtDM, link.distance);
    sheet.SetText(Field::TxtAntG, link.gain1);
    sheet.SetText(Field::TxtCblLss1, link.loss1);
    sheet.SetText(Field::TxtAntG2, link.gain2);
    sheet.SetText(Field::TxtCblLoss2, link.loss2);
    if (!link.packet.empty()) sheet.SetText(Field::Txtepksz, link.packet);
    return sheet;
}

// A run as the window makes it: the inputs typed, the speed picked, Calc pressed once.
struct WindowRun {
    RunOutcome outcome;
    MemorySheet sheet;
};

WindowRun RunInWindow(const Link& link, std::string_view speed, const std::string& distance) {
    Link typed = link;
    typed.distance = distance;
    MemorySheet sheet = InputsOf(typed);
    sheet.SetText(Field::CmbSlcSpeed, speed);
    RunValues values;
    const RunOutcome outcome = CalcRun(sheet, values).outcome;
    return {outcome, std::move(sheet)};
}

bool Meets(const WindowRun& run, double margin) {
    return run.outcome == RunOutcome::Completed &&
           NumberOfText(run.sheet.TextRef(Field::TxtFM)) >= margin;
}

void ExpectSameSheet(const MemorySheet& actual, const MemorySheet& expected) {
    for (const FieldInfo& info : kFields) {
        EXPECT_EQ(actual.TextRef(info.field), expected.TextRef(info.field)) << info.name;
    }
}

// Hundredths of the unit in a distance text of the search.
int StepsOf(const std::string& distance) {
    return static_cast<int>(RoundToPlaces(NumberOfText(distance) * kReachStepsPerUnit, 0));
}

// Each band, both units, short and long paths, a link no speed carries, reaches at the ceiling
// and below 0.01, margins other than the default, and runs that fail at the path.
const std::vector<Link>& Links() {
    static const std::vector<Link> links{
        {"5800", "Miles", "10", "23", "0", "23", "0"},
        {"5800", "Km", "16.0934", "23", "-1.5", "27", "0.5"},
        {"5800", "Km", "0.2", "19", "0", "19", "0"},
        {"5800", "Miles", "700", "40", "1", "40", "1"},
        {"4900", "Miles", "1", "19", "0", "19", "0"},
        {"4900", "Km", "120", "30", "2", "30", "2"},
        {"4900", "Miles", "0.05", "23", "0", "23", "0", 60},
        {"5300", "Miles", "5", "23", "0", "19", "1"},
        {"5300", "Km", "0.5", "10", "1", "10", "1"},
        {"5300", "Km", "250", "10", "1", "10", "1"},     // no speed carries it
        {"5300", "Miles", "200", "12", "3", "12", "3"},  // nor this
        {"5400", "Miles", "3", "22.5", "0.5", "22.5", "0.5"},
        {"5400", "Km", "40", "24", "1", "24", "1", 7.5},
        {"5400", "Km", "8", "18", "0.25", "19", "0.75", -5},
        {"5400", "Miles", "12", "28", "2", "28", "2", 30},
        {"5800", "km", "12", "23", "0", "23", "0"},                // not "Km": taken as miles
        {"5800", "Miles", "0", "23", "0", "23", "0"},              // fails at the path
        {"5800", "Miles", "-8", "23", "0", "23", "0"},             // repaired to 8
        {"4900", "Miles", "10", "23", "0", "23", "0", 10, "abc"},  // every run fails
        {"5800", "Miles", "10", "23", "0", "23", "0", 10, "64"},
    };
    return links;
}

TEST(DistanceText, HundredthsAsTheyAreTyped) {
    const std::map<int, std::string> cases{
        {1, "0.01"},    {10, "0.1"},     {99, "0.99"}, {100, "1"},        {101, "1.01"},
        {1230, "12.3"}, {1234, "12.34"}, {5000, "50"}, {99999, "999.99"}, {100000, "1000"}};
    for (const auto& [hundredths, text] : cases) EXPECT_EQ(DistanceText(hundredths), text);
}

TEST(RunUnit, EveryTextButKmIsMiles) {
    const std::map<std::string, std::string> cases{{"Km", "Km"},        {"Miles", "Miles"},
                                                   {"km", "Miles"},     {"KM", "Miles"},
                                                   {" Km", "Miles"},    {"Km ", "Miles"},
                                                   {"mi", "Miles"},     {"Kilometres", "Miles"},
                                                   {"Km\x01", "Miles"}, {"", ""}};
    for (const auto& [text, unit] : cases) EXPECT_EQ(RunUnit(text), unit) << text;
}

TEST(SpeedTable, EveryRowIsTheWindowsRunAtThePath) {
    for (const Link& link : Links()) {
        SCOPED_TRACE(Describe(link));
        const SpeedTable table = MakeSpeedTable(InputsOf(link), link.margin);
        ASSERT_FALSE(table.stopped);
        // The unit the runs took their distance in, which the table labels its figures with.
        EXPECT_EQ(table.unit, link.unit == "Km" ? "Km" : "Miles");
        EXPECT_EQ(table.minimumMargin, link.margin);
        ASSERT_EQ(table.rows.size(), kSpeedList.size());
        for (std::size_t i = 0; i < kSpeedList.size(); ++i) {
            const SpeedRow& row = table.rows[i];
            SCOPED_TRACE(std::string(row.speed));
            EXPECT_EQ(row.speed, kSpeedList[i]);
            const WindowRun window = RunInWindow(link, row.speed, link.distance);
            EXPECT_EQ(row.atPath.result.outcome, window.outcome);
            ExpectSameSheet(row.atPath.sheet, window.sheet);
        }
    }
}

TEST(SpeedTable, EachReachMeetsTheMarginAndOneStepFurtherDoesNot) {
    int reaches = 0, none = 0, ceilings = 0;
    for (const Link& link : Links()) {
        SCOPED_TRACE(Describe(link));
        const SpeedTable table = MakeSpeedTable(InputsOf(link), link.margin);
        for (const SpeedRow& row : table.rows) {
            SCOPED_TRACE(std::string(row.speed));
            if (!row.reach) {
                ++none;
                EXPECT_FALSE(row.ceiling);
                const WindowRun shortest = RunInWindow(link, row.speed, "0.01");
                EXPECT_FALSE(Meets(shortest, link.margin));
                EXPECT_EQ(row.shortestFails, shortest.outcome != RunOutcome::Completed);
                continue;
            }
            ++reaches;
            EXPECT_FALSE(row.shortestFails);
            const std::string& distance = row.reach->distance;
            const int steps = StepsOf(distance);
            EXPECT_EQ(distance, DistanceText(steps)) << "a distance of the search";
            ASSERT_GE(steps, 1);
            ASSERT_LE(steps, kReachCeilingSteps);

            const WindowRun atReach = RunInWindow(link, row.speed, distance);
            EXPECT_TRUE(Meets(atReach, link.margin)) << distance;
            EXPECT_EQ(row.reach->run.result.outcome, RunOutcome::Completed);
            ExpectSameSheet(row.reach->run.sheet, atReach.sheet);

            EXPECT_EQ(row.ceiling, steps == kReachCeilingSteps) << distance;
            if (row.ceiling) {
                ++ceilings;
                EXPECT_EQ(distance, "1000");
            } else {
                const std::string beyond = DistanceText(steps + 1);
                EXPECT_FALSE(Meets(RunInWindow(link, row.speed, beyond), link.margin)) << beyond;
            }
        }
    }
    // The table of links shows every kind of row.
    EXPECT_GT(reaches, 0);
    EXPECT_GT(none, 0);
    EXPECT_GT(ceilings, 0);
}

TEST(SpeedTable, RecommendsTheFastestSpeedThatMeetsTheMarginAtThePath) {
    int withNone = 0;
    for (const Link& link : Links()) {
        SCOPED_TRACE(Describe(link));
        const SpeedTable table = MakeSpeedTable(InputsOf(link), link.margin);
        std::optional<std::string_view> fastest;
        for (const std::string_view speed : kSpeedList) {
            if (Meets(RunInWindow(link, speed, link.distance), link.margin)) fastest = speed;
        }
        if (!fastest) {
            ++withNone;
            EXPECT_FALSE(table.recommended);
            continue;
        }
        ASSERT_TRUE(table.recommended);
        ASSERT_LT(*table.recommended, table.rows.size());
        EXPECT_EQ(table.rows[*table.recommended].speed, *fastest);
    }
    EXPECT_GE(withNone, 2);
}

// Figures worked out by hand from the band and speed tables, for the first links.
TEST(SpeedTable, KnownLinks) {
    struct Known {
        Link link;
        std::string recommended;  // empty: none
        std::map<std::string, std::string> marginAtPath;
    };
    const std::vector<Known> cases{
        // Power + 46 dBi - sensitivity - 131.7997 dB: 17 + 46 + 73 at 54 Mbps, 17 + 46 + 75 at 48,
        // 18 + 46 + 80 at 36, 21 + 46 + 92 at 6.
        {{"5800", "Miles", "10", "23", "0", "23", "0"},
         "36 Mbps",
         {{"54 Mbps", "4.2"}, {"48 Mbps", "6.2"}, {"36 Mbps", "12.2"}, {" 6 Mbps", "27.2"}}},
        {{"5800", "Miles", "10", "23", "0", "23", "0", 6}, "48 Mbps", {}},
        {{"5800", "Miles", "10", "23", "0", "23", "0", 4.2}, "54 Mbps", {}},
        {{"5800", "Miles", "10", "23", "0", "23", "0", 4.21}, "48 Mbps", {}},
        {{"5300", "Km", "250", "10", "1", "10", "1"}, "", {}},
    };
    for (const Known& known : cases) {
        SCOPED_TRACE(Describe(known.link));
        const SpeedTable table = MakeSpeedTable(InputsOf(known.link), known.link.margin);
        if (known.recommended.empty()) {
            EXPECT_FALSE(table.recommended);
        } else {
            ASSERT_TRUE(table.recommended);
            EXPECT_EQ(table.rows[*table.recommended].speed, known.recommended);
        }
        for (const SpeedRow& row : table.rows) {
            const auto margin = known.marginAtPath.find(std::string(row.speed));
            if (margin == known.marginAtPath.end()) continue;
            EXPECT_EQ(row.atPath.sheet.TextRef(Field::TxtFM), margin->second) << row.speed;
        }
    }
}

// The binary search finds the longest reach only if the shown margin never rises with the
// distance: checked on every distance of the search, in each band and unit.
TEST(SpeedTable, TheShownMarginNeverRisesWithTheDistance) {
    for (const std::string_view band : kBandList) {
        for (const std::string_view unit : {"Miles", "Km"}) {
            const std::string_view speed = band == "4900" ? "54 Mbps" : " 6 Mbps";
            SCOPED_TRACE(std::string(band) + " " + std::string(unit) + " " + std::string(speed));
            Link link{std::string(band), std::string(unit), "", "23", "1.5", "19", "0.5"};
            MemorySheet inputs = InputsOf(link);
            inputs.SetText(Field::CmbSlcSpeed, speed);
            double previous = 0;
            int falls = 0;
            for (int steps = 1; steps <= kReachCeilingSteps; ++steps) {
                MemorySheet sheet = inputs;
                sheet.SetText(Field::TxtDM, DistanceText(steps));
                RunValues values;
                ASSERT_EQ(CalcRun(sheet, values).outcome, RunOutcome::Completed) << steps;
                const double margin = NumberOfText(sheet.TextRef(Field::TxtFM));
                if (steps > 1) {
                    ASSERT_LE(margin, previous) << "at " << DistanceText(steps);
                    if (margin < previous) ++falls;
                }
                previous = margin;
            }
            EXPECT_GT(falls, 1000);  // the margin does move over the range
        }
    }
}

TEST(SpeedTable, AStoppedValidationEndsTheTable) {
    Link link{"5800", "Miles", "10", "", "0", "23", "0"};  // no antenna 1
    const SpeedTable table = MakeSpeedTable(InputsOf(link));
    ASSERT_TRUE(table.stopped);
    EXPECT_EQ(table.stopped->result.outcome, RunOutcome::Stopped);
    ASSERT_TRUE(table.stopped->result.notice);
    EXPECT_EQ(table.stopped->result.notice->focus, Field::TxtAntG);
    EXPECT_TRUE(table.rows.empty());
    EXPECT_FALSE(table.recommended);

    link = {"5800", "Miles", "", "23", "0", "23", "0"};  // no distance
    const SpeedTable noDistance = MakeSpeedTable(InputsOf(link));
    ASSERT_TRUE(noDistance.stopped);
    EXPECT_EQ(noDistance.stopped->result.notice->focus, Field::TxtDM);
}

TEST(SpeedTable, AFailedRunAtThePathStillHasItsReach) {
    const Link link{"5800", "Miles", "0", "23", "0", "23", "0"};
    const SpeedTable table = MakeSpeedTable(InputsOf(link));
    ASSERT_EQ(table.rows.size(), kSpeedList.size());
    for (const SpeedRow& row : table.rows) {
        EXPECT_EQ(row.atPath.result.outcome, RunOutcome::Failed) << row.speed;
        EXPECT_TRUE(row.reach) << row.speed;
    }
    EXPECT_FALSE(table.recommended);
}

}  // namespace
}  // namespace linkcalc::planning
