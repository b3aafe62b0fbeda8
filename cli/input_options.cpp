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

std::optional<std::string> FieldTextOf(Field field, std::string_view value) {
    if (value.empty()) return std::string();
    if (field == Field::CmbEFreq) {
        for (const std::string_view band : kBandList) {
            if (value == band) return std::string(band);
        }
        return std::nullopt;
    }
    if (field == Field::CmbSlcSpeed) {
        for (const std::string_view speed : kSpeedList) {
            const std::string_view number = speed.substr(0, speed.find(" Mbps"));
            const std::string_view bare = number.substr(number.find_first_not_of(' '));
            if (value == speed || value == bare) return std::string(speed);
        }
        return std::nullopt;
    }
    return std::string(value);
}

std::string RefusalOf(const InputOption& option, std::string_view value) {
    std::string out = option.name == "band" ? "band" : "speed";
    out += " \"";
    out += value;
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
