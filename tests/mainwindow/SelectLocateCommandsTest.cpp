#include "BoardTestWindow.h"

#include "fileops/LocateFileForm.h"
#include "fileops/SelectionForm.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/VirtualKeys.h"

#include <QCheckBox>
#include <QComboBox>

#include <fstream>
#include <sstream>

namespace {

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A main window with the selection and locate dialogs made as the program makes them:
// after the window, before its option files are read.
class SelectLocateCommands : public testing::Test
{
protected:
    SelectLocateCommands()
    {
        SelectionForm = &Selection;
        LocateFileForm = Locate.get();
    }
    ~SelectLocateCommands() override
    {
        Window.Discard();
        SelectionForm = nullptr;
        LocateFileForm = nullptr;
    }

    TColumn& OpenColumn(const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = std::nullopt});
        Window->FocusColumn(0, true);
        return column;
    }

    static void PressKey(TColumn& column, uint16_t key, TShiftState shift = {})
    {
        column.FileListKeyDown(column.FileList, key, shift);
    }

    TTempDrive Drive{'T'};
    TSelectionForm Selection;
    std::unique_ptr<TLocateFileForm> Locate = std::make_unique<TLocateFileForm>();
    TBoardTestWindow Window;
};

TEST_F(SelectLocateCommands, NumPlusSelectsAndNumMinusDeselectsThroughTheDialog)
{
    for (const char* name : {"d/a.txt", "d/b.txt", "d/c.log"})
        Drive.WriteFile(name, "x");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    {
        TModalScript script;
        script.Expect("Select", mrOkay, [&](const TModalRequest&) {
            Selection.FileNameFilterComboBox->setEditText("*.txt");
            Selection.OkayButtonClick();
        });
        PressKey(column, VK_ADD);
    }
    EXPECT_EQ(2, column.SelectedCount);
    {
        TModalScript script;
        script.Expect("Deselect", mrOkay, [&](const TModalRequest&) {
            Selection.FileNameFilterComboBox->setEditText("b*");
            Selection.OkayButtonClick();
        });
        PressKey(column, VK_SUBTRACT);
    }
    EXPECT_EQ(1, column.SelectedCount);
    EXPECT_TRUE(column.GetItem(0).Selected);
}

TEST_F(SelectLocateCommands, TOpensLocateAndCtrlTAndShiftTRepeatTheSearch)
{
    for (const char* name : {"d/a.txt", "d/re1.txt", "d/re2.txt", "d/z.txt"})
        Drive.WriteFile(name, "x");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    {
        TModalScript script;
        script.Expect("Locate file", mrOkay, [&](const TModalRequest&) {
            Locate->FileNameFilterComboBox->setEditText("re");
            Locate->LocateNextByNameButtonClick();
        });
        PressKey(column, 'T');
    }
    EXPECT_EQ(1, column.FileList->FocusIndex);
    PressKey(column, 'T', ShiftOf(ssCtrl));
    EXPECT_EQ(2, column.FileList->FocusIndex);
    PressKey(column, 'T', ShiftOf(ssShift));
    EXPECT_EQ(1, column.FileList->FocusIndex);
}

TEST_F(SelectLocateCommands, TheLocateSectionTravelsWithTheOptionFile)
{
    Window.Open();
    Locate->LocateSimilarCheckBox->setChecked(true);
    Window.Close();
    EXPECT_NE(std::string::npos, ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"))
                                     .find("[LocateFile]\r\nLocateSimilar=TRUE\r\n"));

    Locate = std::make_unique<TLocateFileForm>();
    LocateFileForm = Locate.get();
    Window.Open();
    EXPECT_TRUE(Locate->LocateSimilarCheckBox->isChecked());
}

} // namespace
