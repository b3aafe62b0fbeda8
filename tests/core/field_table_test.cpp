// The field table of the calculation sheet, and the length limits that the in-memory sheet and
// the staged sheet of a run apply.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "linkcalc/field.h"
#include "linkcalc/memory_sheet.h"
#include "linkcalc/staged_sheet.h"

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

struct LimitCase {
    Field field;
    const char* text;
    const char* kept;
};

const LimitCase kLimitCases[] = {
    {Field::TxtFSL, "1234567", "123456"},
    {Field::TxtFSL, "123456", "123456"},
    {Field::TxtFSL, "12345", "12345"},
    {Field::TxtFR, "123456", "12345"},
    {Field::TxtEC, "125000", "12500"},
    {Field::TxtSAH, "125473", "12547"},
    {Field::TxtSAH, "12345", "12345"},
    {Field::TxtEC, "", ""},
    {Field::TxtFM, "1234567890123", "1234567890123"},
    {Field::TxtDM, "12345678901234567890", "12345678901234567890"},
    {Field::TxtERSSI, "-1.23456789012346E+17", "-1.23456789012346E+17"},
};

TEST(FieldLimitTest, MemorySheetKeepsOnlyTheFirstCharactersOfALimitedField) {
    for (const LimitCase& c : kLimitCases) {
        SCOPED_TRACE(std::string(NameOf(c.field)) + " " + c.text);
        MemorySheet sheet;
        sheet.SetText(c.field, c.text);
        EXPECT_EQ(sheet.Text(c.field), c.kept);
    }
}

TEST(FieldLimitTest, StagedSheetCutsAndHoldsItsWritesUntilCommitted) {
    for (const LimitCase& c : kLimitCases) {
        SCOPED_TRACE(std::string(NameOf(c.field)) + " " + c.text);
        MemorySheet base;
        base.SetText(c.field, "old");
        StagedSheet staged(base);
        staged.SetText(c.field, c.text);
        EXPECT_EQ(staged.Text(c.field), c.kept);
        EXPECT_EQ(base.Text(c.field), "old");
        staged.Commit();
        EXPECT_EQ(base.Text(c.field), c.kept);
    }
}

TEST(StagedSheetTest, ReadsThroughToTheSheetWhereNothingIsHeld) {
    MemorySheet base;
    base.SetText(Field::TxtDM, "10");
    StagedSheet staged(base);
    staged.SetText(Field::TxtFM, "4.2");
    EXPECT_EQ(staged.Text(Field::TxtDM), "10");
    EXPECT_EQ(staged.Text(Field::TxtCblLss1), "0");
    EXPECT_EQ(staged.Text(Field::Lblft2), "ft");

    base.SetText(Field::TxtDM, "12");
    EXPECT_EQ(staged.Text(Field::TxtDM), "12");
    staged.SetCaption(Field::Lblft2, "m");
    EXPECT_EQ(staged.Text(Field::Lblft2), "m");
    EXPECT_EQ(base.Text(Field::Lblft2), "ft");

    staged.Commit();
    EXPECT_EQ(base.Text(Field::TxtFM), "4.2");
    EXPECT_EQ(base.Text(Field::Lblft2), "m");
    EXPECT_EQ(base.Text(Field::Lblft1), "ft");
    EXPECT_EQ(base.Text(Field::TxtDM), "12");
}

TEST(StagedSheetTest, DroppedWithoutCommitLeavesTheSheetAsItWas) {
    MemorySheet base;
    base.SetText(Field::TxtFSL, "132");
    {
        StagedSheet staged(base);
        staged.SetText(Field::TxtFSL, "125");
        staged.SetText(Field::TxtEIRP1, "30");
    }
    EXPECT_EQ(base.Text(Field::TxtFSL), "132");
    EXPECT_EQ(base.Text(Field::TxtEIRP1), "");
}

TEST(StagedSheetTest, PassesNoticesFocusAndSelectionStraightThrough) {
    MemorySheet base;
    StagedSheet staged(base);
    staged.ShowNotice(Notice{"Select a speed.", "Invalid Input!", Field::CmbSlcSpeed});
    staged.Select(Field::TxtDM, 0, 3);
    staged.SetFocus(Field::TxtDM);
    ASSERT_EQ(base.Notices().size(), 1U);
    EXPECT_EQ(base.Notices().front().message, "Select a speed.");
    EXPECT_EQ(base.Focus(), Field::TxtDM);
    ASSERT_TRUE(base.LastSelection().has_value());
    EXPECT_EQ(base.LastSelection()->length, 3);
}

}  // namespace
}  // namespace linkcalc
