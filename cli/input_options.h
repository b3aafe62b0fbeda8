#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "linkcalc/field.h"

namespace linkcalc::cli {

// The inputs a command line or a CSV column can set: option name (also the CSV column) and field.
struct InputOption {
    std::string_view name;
    Field field;
};

inline constexpr std::array<InputOption, 9> kInputOptions{{
    {"gain1", Field::TxtAntG},
    {"gain2", Field::TxtAntG2},
    {"loss1", Field::TxtCblLss1},
    {"loss2", Field::TxtCblLoss2},
    {"distance", Field::TxtDM},
    {"unit", Field::Cmbmilekm},
    {"band", Field::CmbEFreq},
    {"speed", Field::CmbSlcSpeed},
    {"packet", Field::Txtepksz},
}};

std::optional<InputOption> InputOptionNamed(std::string_view name);

// The field text for a value given for an input. The band and the speed take only what the
// window's lists offer (the speed also as its bare number, "6" for " 6 Mbps"), or the empty text
// for nothing chosen; every other input takes any text. Nothing when the value is not allowed.
std::optional<std::string> FieldTextOf(Field field, std::string_view value);

// For the band and the speed: the list item a value picks (the empty text for nothing chosen),
// or nothing when it picks none.
std::optional<std::string_view> ListedTextOf(Field field, std::string_view value);

// Why FieldTextOf refused a value, for an error message.
std::string RefusalOf(const InputOption& option, std::string_view value);

}  // namespace linkcalc::cli
