#include "planning/speed_table.h"

#include <utility>

#include "linkcalc/choice_lists.h"
#include "linkcalc/numeric_text.h"

namespace linkcalc::planning {
namespace {

struct ReachSearch {
    std::optional<Reach> reach;
    bool ceiling = false;
    bool shortestFails = false;
};

// Halves the steps between a distance that meets the margin and one that does not, so the reach
// meets it and the next step does not, whatever the margin does in between. That reach is also
// the longest: the shown margin never rises with the typed distance (the distance enters it only
// through one logarithm, whose steps at 0.01 of the unit are far wider than its rounding), and
// whether a run completes does not depend on a positive distance.
ReachSearch SearchReach(const MemorySheet& inputs, std::string_view speed, double minimumMargin) {
    const auto probe = [&](int steps) { return RunAt(inputs, speed, DistanceText(steps)); };

    int low = 1;
    LinkRun lowRun = probe(low);
    if (!MeetsMargin(lowRun, minimumMargin)) {
        return {std::nullopt, false, lowRun.result.outcome != RunOutcome::Completed};
    }

    int high = kReachCeilingSteps;
    LinkRun highRun = probe(high);
    if (MeetsMargin(highRun, minimumMargin)) {
        return {Reach{DistanceText(high), std::move(highRun)}, true, false};
    }
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        LinkRun run = probe(middle);
        if (MeetsMargin(run, minimumMargin)) {
            low = middle;
            lowRun = std::move(run);
        } else {
            high = middle;
        }
    }
    return {Reach{DistanceText(low), std::move(lowRun)}, false, false};
}

}  // namespace

std::string RunUnit(std::string_view unitText) {
    if (unitText.empty()) return {};
    return unitText == "Km" ? "Km" : "Miles";
}

std::string DistanceText(int hundredths) {
    std::string text = std::to_string(hundredths / kReachStepsPerUnit);
    const int fraction = hundredths % kReachStepsPerUnit;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
    return text;
}

LinkRun RunAt(const MemorySheet& inputs, std::string_view speed,
              std::optional<std::string_view> distance) {
    LinkRun run{{}, inputs};
    run.sheet.SetText(Field::CmbSlcSpeed, speed);
    if (distance) run.sheet.SetText(Field::TxtDM, *distance);
    // Fresh run values: a completed run depends on none that an earlier run left.
    RunValues values;
    run.result = CalcRun(run.sheet, values);
    return run;
}

bool MeetsMargin(const LinkRun& run, double minimumMargin) {
    if (run.result.outcome != RunOutcome::Completed) return false;
    const std::optional<double> margin = ParseNumericText(run.sheet.TextRef(Field::TxtFM));
    return margin && *margin >= minimumMargin;
}

SpeedTable MakeSpeedTable(const MemorySheet& inputs, double minimumMargin) {
    SpeedTable table;
    table.minimumMargin = minimumMargin;
    table.unit = RunUnit(inputs.Text(Field::Cmbmilekm));
    for (const std::string_view speed : kSpeedList) {
        LinkRun atPath = RunAt(inputs, speed);
        // Validation does not depend on which speed is chosen: a stop ends the whole table.
        if (atPath.result.outcome == RunOutcome::Stopped) {
            table.stopped = std::move(atPath);
            table.rows.clear();
            table.recommended.reset();
            return table;
        }
        if (MeetsMargin(atPath, minimumMargin)) table.recommended = table.rows.size();
        ReachSearch search = SearchReach(inputs, speed, minimumMargin);
        table.rows.push_back(SpeedRow{speed, std::move(atPath), std::move(search.reach),
                                      search.ceiling, search.shortestFails});
    }
    return table;
}

}  // namespace linkcalc::planning
