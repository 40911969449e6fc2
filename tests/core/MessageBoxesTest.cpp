#include "core/forms/MessageBoxes.h"
#include "core/forms/InputState.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxes, EachBoxHasItsCaptionFlagsAndFoldedAnswer)
{
    TModalScript boxes;
    boxes.Expect("Message", IDOK).Expect("Warning", IDOK).Expect("Error", IDOK);
    boxes.Expect("Query", IDYES)
        .Expect("Query", IDNO)
        .Expect("Query", IDYES)
        .Expect("Query", IDNO)
        .Expect("Query", IDCANCEL);
    ShowInfoMessage("info");
    ShowWarningMessage("warning");
    ShowErrorMessage("error");
    EXPECT_TRUE(AskQuery("yes?"));
    EXPECT_FALSE(AskQuery("no?"));
    EXPECT_EQ(mrOkay, AskQueryCancel("yes?"));
    EXPECT_EQ(mrNo, AskQueryCancel("no?"));
    EXPECT_EQ(mrCancel, AskQueryCancel("cancel?"));

    const uint32_t expectedFlags[] = {0x40, 0x30, 0x10, 0x24, 0x24, 0x23, 0x23, 0x23};
    ASSERT_EQ(8u, boxes.Seen().size());
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(expectedFlags[i] | MB_TASKMODAL, boxes.Seen()[i].Flags) << i;
    EXPECT_EQ("info", boxes.Seen()[0].Text);
    EXPECT_TRUE(BeepsHeard().empty());
}

TEST(MessageBoxes, ABoxThatCannotBeShownBeepsAndCountsAsCancel)
{
    TModalScript boxes;
    boxes.Expect("Query", 0).Expect("Query", 0).Expect("Caption", 3);
    EXPECT_FALSE(AskQuery("shown?"));
    EXPECT_EQ(mrCancel, AskQueryCancel("shown?"));
    EXPECT_EQ(mrCancel, ShowMessageBox("Caption", "abort answer", MB_OK));
    EXPECT_EQ((std::vector<uint32_t>{48, 48}), BeepsHeard());
}

TEST(InputState, KeyboardPartIgnoresMouseButtons)
{
    const TShiftState ctrl = ShiftOf(ssCtrl);
    const TShiftState left = ShiftOf(ssLeft);
    const TShiftState shift = ShiftOf(ssShift);
    const TShiftState dbl = ShiftOf(ssDouble);

    EXPECT_EQ(ctrl | dbl, GetKeyShift(ctrl | dbl | left | ShiftOf(ssMiddle)));
    EXPECT_TRUE(IsKeyShiftOnly(ctrl | left, ssCtrl));
    EXPECT_FALSE(IsKeyShiftOnly(ctrl | dbl, ssCtrl));
    EXPECT_FALSE(IsKeyShiftOnly(ctrl | shift, ssCtrl));
    EXPECT_TRUE(IsKeyShiftPairOnly(ctrl | shift | ShiftOf(ssRight), ssShift, ssCtrl));
    EXPECT_TRUE(IsKeyShiftPairOnly(ctrl, ssCtrl, ssCtrl));
    EXPECT_FALSE(IsKeyShiftPairOnly(ctrl, ssCtrl, ssAlt));
    EXPECT_FALSE(IsKeyShiftIn(left, ssLeft));
    EXPECT_FALSE(IsKeyShiftIn(0x7F, 7));
    EXPECT_FALSE(IsKeyShiftIn(0x7F, -1));
    EXPECT_TRUE(IsKeyShiftIn(ShiftOf(ssAlt), ssAlt));
    EXPECT_FALSE(IsKeyShiftEmpty(dbl));
    EXPECT_TRUE(IsKeyShiftEmpty(left | ShiftOf(ssRight)));
}

} // namespace
