// The field table of the calculation sheet, and the length limits that the in-memory sheet
// applies.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "field_limit_cases.h"
#include "linkcalc/field.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc {
namespace {

TEST(FieldTableTest, HasTwentyNineUniqueNamesThatFindTheirFields) {
    ASSERT_EQ(kFields.size(), 29U);
    std::set<std::string_view> names;
    for (const FieldInfo& info : kFields) {
        SCOPED_TRACE(info.name);
        EXPECT_TRUE(names.insert(info.name).second) << "duplicate name";
        EXPECT_EQ(NameOf(info.field), info.name);
        EXPECT_EQ(FieldNamed(info.name), info.field);
    }
    EXPECT_EQ(names.size(), 29U);
}

TEST(FieldTableTest, NamesAreTheControlNamesOfTheMainWindow) {
    const std::set<std::string_view> inputs{"TxtAntG",     "TxtAntG2", "TxtCblLss1",
                                            "TxtCblLoss2", "TxtDM",    "Txtepksz",
                                            "Cmbmilekm",   "CmbEFreq", "CmbSlcSpeed"};
    const std::set<std::string_view> labels{"Lblft1", "Lblft2", "Lblft3"};
    const std::set<std::string_view> results{
        "TxtFSL",   "TxtFR",    "TxtEC",         "TxtSAH",   "TxtReqSS", "TxtRECI",
        "TxtEIRP1", "TxtEIRP2", "TxtMTP",        "TxtMTP2",  "TxtERSSI", "TxtERSSI2",
        "TxtRNFL",  "TxtRNFL2", "TxtEBtRateUni", "TxtEBRBi", "TxtFM"};
    ASSERT_EQ(results.size(), 17U);
    for (const FieldInfo& info : kFields) {
        SCOPED_TRACE(info.name);
        switch (info.role) {
            case FieldRole::Input:
                EXPECT_TRUE(inputs.count(info.name));
                break;
            case FieldRole::UnitLabel:
                EXPECT_TRUE(labels.count(info.name));
                break;
            case FieldRole::Result:
                EXPECT_TRUE(results.count(info.name));
                break;
        }
    }
}

TEST(FieldTableTest, FieldNamedMatchesTheWholeNameExactly) {
    for (const char* name :
         {"", "txtantg", "TXTANTG", "TxtAntG ", " TxtAntG", "TxtAnt", "TxtFM2", "ZIDORER"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(FieldNamed(name).has_value());
    }
    EXPECT_EQ(FieldNamed("TxtAntG"), Field::TxtAntG);
    EXPECT_EQ(FieldNamed("TxtAntG2"), Field::TxtAntG2);
}

TEST(FieldTableTest, OnlyThePathFiguresHaveALengthLimit) {
    for (const FieldInfo& info : kFields) {
        SCOPED_TRACE(info.name);
        std::size_t expected = 0;
        if (info.field == Field::TxtFSL) expected = 6;
        if (info.field == Field::TxtFR || info.field == Field::TxtEC ||
            info.field == Field::TxtSAH) {
            expected = 5;
        }
        EXPECT_EQ(info.maxLength, expected);
    }
}

TEST(FieldLimitTest, MemorySheetKeepsOnlyTheFirstCharactersOfALimitedField) {
    for (const LimitCase& c : kLimitCases) {
        SCOPED_TRACE(std::string(NameOf(c.field)) + " " + c.text);
        MemorySheet sheet;
        sheet.SetText(c.field, c.text);
        EXPECT_EQ(sheet.Text(c.field), c.kept);
    }
}

}  // namespace
}  // namespace linkcalc
