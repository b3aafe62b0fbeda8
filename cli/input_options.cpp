#include "cli/input_options.h"

#include "linkcalc/choice_lists.h"

namespace linkcalc::cli {
namespace {

template <std::size_t N>
std::string Listing(const std::array<std::string_view, N>& items) {
    std::string out;
    for (const std::string_view item : items) {
        if (!out.empty()) out += ", ";
        out += '"';
        out += item;
        out += '"';
    }
    return out;
}

}  // namespace

std::optional<InputOption> InputOptionNamed(std::string_view name) {
    for (const InputOption& option : kInputOptions) {
        if (option.name == name) return option;
    }
    return std::nullopt;
}

namespace {

// Each speed of the list with its bare number: " 6 Mbps" and "6".
struct SpeedItem {
    std::string_view item;
    std::string_view bare;
};

constexpr auto kSpeedItems = [] {
    std::array<SpeedItem, kSpeedList.size()> items{};
    for (std::size_t i = 0; i < kSpeedList.size(); ++i) {
        const std::string_view number = kSpeedList[i].substr(0, kSpeedList[i].find(" Mbps"));
        items[i] = {kSpeedList[i], number.substr(number.find_first_not_of(' '))};
    }
    return items;
}();

}  // namespace

std::optional<std::string_view> ListedTextOf(Field field, std::string_view value) {
    if (value.empty()) return std::string_view();
    if (field == Field::CmbEFreq) {
        for (const std::string_view band : kBandList) {
            if (value == band) return band;
        }
        return std::nullopt;
    }
    for (const SpeedItem& speed : kSpeedItems) {
        if (value == speed.item || value == speed.bare) return speed.item;
    }
    return std::nullopt;
}

std::optional<std::string> FieldTextOf(Field field, std::string_view value) {
    if (field == Field::CmbEFreq || field == Field::CmbSlcSpeed) {
        if (const auto listed = ListedTextOf(field, value)) return std::string(*listed);
        return std::nullopt;
    }
    return std::string(value);
}

std::string RefusalOf(const InputOption& option, std::string_view value) {
    // A long value is shown by its start: the message stays one short line.
    constexpr std::size_t kShown = 40;
    const std::string_view shown = FirstCharacters(value, kShown);
    std::string out = option.field == Field::CmbEFreq ? "band" : "speed";
    out += " \"";
    out += shown;
    if (shown.size() < value.size()) out += "...";
    out += "\" is not in the list: ";
    if (option.field == Field::CmbEFreq) {
        out += Listing(kBandList);
    } else {
        out += Listing(kSpeedList);
        out += " (or the bare number)";
    }
    return out;
}

}  // namespace linkcalc::cli
