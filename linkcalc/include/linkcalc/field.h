#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace linkcalc {

// The named fields of the calculation sheet: the control names of the main window. They are
// the calculator's own names, kept as they are, odd spellings and all.
enum class Field : std::uint8_t {
    // Inputs
    TxtAntG,
    TxtAntG2,
    TxtCblLss1,
    TxtCblLoss2,
    TxtDM,
    Txtepksz,
    Cmbmilekm,
    CmbEFreq,
    CmbSlcSpeed,
    // Unit labels
    Lblft1,
    Lblft2,
    Lblft3,
    // Results
    TxtFSL,
    TxtFR,
    TxtEC,
    TxtSAH,
    TxtReqSS,
    TxtRECI,
    TxtEIRP1,
    TxtEIRP2,
    TxtMTP,
    TxtMTP2,
    TxtERSSI,
    TxtERSSI2,
    TxtRNFL,
    TxtRNFL2,
    TxtEBtRateUni,
    TxtEBRBi,
    TxtFM,
};

enum class FieldRole : std::uint8_t { Input, UnitLabel, Result };

struct FieldInfo {
    Field field;
    std::string_view name;
    FieldRole role;
    std::size_t maxLength;  // 0: no limit
};

inline constexpr std::size_t kFieldCount = 29;

inline constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {Field::TxtAntG, "TxtAntG", FieldRole::Input, 0},
    {Field::TxtAntG2, "TxtAntG2", FieldRole::Input, 0},
    {Field::TxtCblLss1, "TxtCblLss1", FieldRole::Input, 0},
    {Field::TxtCblLoss2, "TxtCblLoss2", FieldRole::Input, 0},
    {Field::TxtDM, "TxtDM", FieldRole::Input, 0},
    {Field::Txtepksz, "Txtepksz", FieldRole::Input, 0},
    {Field::Cmbmilekm, "Cmbmilekm", FieldRole::Input, 0},
    {Field::CmbEFreq, "CmbEFreq", FieldRole::Input, 0},
    {Field::CmbSlcSpeed, "CmbSlcSpeed", FieldRole::Input, 0},
    {Field::Lblft1, "Lblft1", FieldRole::UnitLabel, 0},
    {Field::Lblft2, "Lblft2", FieldRole::UnitLabel, 0},
    {Field::Lblft3, "Lblft3", FieldRole::UnitLabel, 0},
    {Field::TxtFSL, "TxtFSL", FieldRole::Result, 6},
    {Field::TxtFR, "TxtFR", FieldRole::Result, 5},
    {Field::TxtEC, "TxtEC", FieldRole::Result, 5},
    {Field::TxtSAH, "TxtSAH", FieldRole::Result, 5},
    {Field::TxtReqSS, "TxtReqSS", FieldRole::Result, 0},
    {Field::TxtRECI, "TxtRECI", FieldRole::Result, 0},
    {Field::TxtEIRP1, "TxtEIRP1", FieldRole::Result, 0},
    {Field::TxtEIRP2, "TxtEIRP2", FieldRole::Result, 0},
    {Field::TxtMTP, "TxtMTP", FieldRole::Result, 0},
    {Field::TxtMTP2, "TxtMTP2", FieldRole::Result, 0},
    {Field::TxtERSSI, "TxtERSSI", FieldRole::Result, 0},
    {Field::TxtERSSI2, "TxtERSSI2", FieldRole::Result, 0},
    {Field::TxtRNFL, "TxtRNFL", FieldRole::Result, 0},
    {Field::TxtRNFL2, "TxtRNFL2", FieldRole::Result, 0},
    {Field::TxtEBtRateUni, "TxtEBtRateUni", FieldRole::Result, 0},
    {Field::TxtEBRBi, "TxtEBRBi", FieldRole::Result, 0},
    {Field::TxtFM, "TxtFM", FieldRole::Result, 0},
}};

constexpr bool FieldTableInOrder() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (static_cast<std::size_t>(kFields[i].field) != i) return false;
    }
    return true;
}
static_assert(FieldTableInOrder(), "kFields must list the fields in enum order");

constexpr const FieldInfo& InfoOf(Field field) {
    return kFields[static_cast<std::size_t>(field)];
}
constexpr std::string_view NameOf(Field field) {
    return InfoOf(field).name;
}
std::optional<Field> FieldNamed(std::string_view name);

// The first `limit` characters (UTF-8 sequences) of a text.
std::string_view FirstCharacters(std::string_view text, std::size_t limit);

// Cuts a text to the field's length limit, counting characters (UTF-8 sequences).
inline std::string_view LimitToField(Field field, std::string_view text) {
    const std::size_t limit = InfoOf(field).maxLength;
    // A text of no more bytes than the limit has no more characters either.
    if (limit == 0 || text.size() <= limit) return text;
    return FirstCharacters(text, limit);
}

}  // namespace linkcalc
