#include "BoardTestWindow.h"

#include "fileops/MultiRenameItemForm.h"

#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

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

// A main window with the multi-rename dialog made as the program makes it: after the
// window, before its option files are read.
class MultiRenameCommands : public testing::Test
{
protected:
    MultiRenameCommands() { MultiRenameItemForm = &Form; }
    ~MultiRenameCommands() override
    {
        Window.Discard();
        MultiRenameItemForm = nullptr;
    }

    TColumn& OpenColumn(const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = std::nullopt});
        Window->FocusColumn(0, true);
        return column;
    }

    TTempDrive Drive{'T'};
    TMultiRenameItemForm Form;
    TBoardTestWindow Window;
};

TEST_F(MultiRenameCommands, CtrlNRenamesTheSelectedFilesThroughTheDialog)
{
    for (const char* name : {"d/a.jpg", "d/b.jpg", "d/c.jpg"})
        Drive.WriteFile(name, name);
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.jpg"));
    column.Com_SelectAll();
    {
        TModalScript script;
        script.Expect("Multi-rename files", mrCancel, [&](const TModalRequest&) {
            Form.NewNamePrefixEdit->setText("IMG_");
            Form.CounterDigitsComboBox->setCurrentText("3");
            script.Expect("Query", IDYES);
            Form.RenameButtonClick();
        });
        uint16_t key = 'N';
        column.FileListKeyDown(column.FileList, key, ShiftOf(ssCtrl));
    }
    EXPECT_EQ("d/a.jpg", Drive.ReadFile("d/IMG_001.jpg"));
    EXPECT_EQ("d/c.jpg", Drive.ReadFile("d/IMG_003.jpg"));
    EXPECT_FALSE(Drive.Exists("d/a.jpg"));
}

TEST_F(MultiRenameCommands, TheSectionTravelsWithTheOptionFile)
{
    Window.Open();
    Form.CounterDigitsComboBox->setCurrentText("6");
    Window.Close();
    EXPECT_NE(std::string::npos,
              ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini")).find("CounterDigits=6\r\n"));
    Form.CounterDigitsComboBox->setCurrentText("2");
    Window.Open();
    EXPECT_EQ("6", Form.CounterDigitsComboBox->currentText().toStdString());
}

} // namespace
