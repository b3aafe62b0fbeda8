#pragma once

// Shared helpers of the core tests: filling a sheet with the inputs of one link, and reading the
// sheet back for comparisons.

#include <array>
#include <string>
#include <vector>

#include "linkcalc/calc_run.h"
#include "linkcalc/field.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::helpers {

// The nine inputs of the main window, as the user would type or pick them. The defaults make a
// link that passes every check and completes: 5800 MHz, 54 Mbps, 10 miles.
struct LinkInputs {
    std::string gain1 = "23";
    std::string cableLoss1 = "1";
    std::string gain2 = "27";
    std::string cableLoss2 = "0.5";
    std::string distance = "10";
    std::string packetSize = "1518";
    std::string unit = "Miles";
    std::string band = "5800";
    std::string speed = "54 Mbps";
};

inline void Fill(MemorySheet& sheet, const LinkInputs& in) {
    sheet.SetText(Field::TxtAntG, in.gain1);
    sheet.SetText(Field::TxtCblLss1, in.cableLoss1);
    sheet.SetText(Field::TxtAntG2, in.gain2);
    sheet.SetText(Field::TxtCblLoss2, in.cableLoss2);
    sheet.SetText(Field::TxtDM, in.distance);
    sheet.SetText(Field::Txtepksz, in.packetSize);
    sheet.SetText(Field::Cmbmilekm, in.unit);
    sheet.SetText(Field::CmbEFreq, in.band);
    sheet.SetText(Field::CmbSlcSpeed, in.speed);
}

inline constexpr std::array<Field, 17> kResultFields{
    Field::TxtFSL,   Field::TxtFR,     Field::TxtEC,    Field::TxtSAH,   Field::TxtReqSS,
    Field::TxtRECI,  Field::TxtEIRP1,  Field::TxtEIRP2, Field::TxtMTP,   Field::TxtMTP2,
    Field::TxtERSSI, Field::TxtERSSI2, Field::TxtRNFL,  Field::TxtRNFL2, Field::TxtEBtRateUni,
    Field::TxtEBRBi, Field::TxtFM};

// "Name=text" of the given fields, so that a failed comparison names the field.
template <class Fields>
std::vector<std::string> TextsOf(const CalcSheet& sheet, const Fields& fields) {
    std::vector<std::string> texts;
    for (const Field field : fields) {
        texts.push_back(std::string(NameOf(field)) + "=" + sheet.Text(field));
    }
    return texts;
}

inline std::vector<std::string> ResultTexts(const CalcSheet& sheet) {
    return TextsOf(sheet, kResultFields);
}

inline std::vector<std::string> AllTexts(const CalcSheet& sheet) {
    std::vector<Field> fields;
    for (const FieldInfo& info : kFields) fields.push_back(info.field);
    return TextsOf(sheet, fields);
}

// True when some field holds a text that no numeric rule writes: an infinity or not-a-number.
inline bool HoldsNonFinite(const CalcSheet& sheet) {
    for (const FieldInfo& info : kFields) {
        std::string text = sheet.Text(info.field);
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace linkcalc::helpers
