// The staged sheet of a run: it cuts texts to the field limits and holds its writes until the
// run has completed.

#include <gtest/gtest.h>

#include <string>

#include "field_limit_cases.h"
#include "linkcalc/memory_sheet.h"
#include "staged_sheet.h"

namespace linkcalc {
namespace {

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
