#include "BoardTestWindow.h"

#include "fileops/FileForm.h"
#include "fileops/ManualRunForm.h"
#include "fileops/RenameForm.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/VirtualKeys.h"

#include "support/RecordingLauncher.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <fstream>
#include <sstream>

namespace {

constexpr uint16_t F12 = VK_F1 + 11;

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A main window with the file-operation dialog made as the program makes it: after the
// window, before its option files are read.
class FileOperationCommands : public testing::Test
{
protected:
    FileOperationCommands() { FileForm = &Form; }
    ~FileOperationCommands() override
    {
        Window.Discard();
        FileForm = nullptr;
    }

    TColumn& OpenColumn(const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = std::nullopt});
        Window->FocusColumn(0, true);
        return column;
    }

    static void PressKey(TColumn& column, uint16_t key) { column.FileListKeyDown(column.FileList, key, TShiftState{}); }

    TTempDrive Drive{'T'};
    TFileForm Form;
    TBoardTestWindow Window;
};

TEST_F(FileOperationCommands, F12DeletesTheFocusedFolderThroughTheDialog)
{
    Drive.WriteFile("d/sub/c.txt", "c");
    Drive.WriteFile("d/sub/deeper/e.txt", "e");
    Drive.WriteFile("d/keep.txt", "k");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\sub"));
    {
        TModalScript script;
        script.Expect("Delete", mrCancel, [&](const TModalRequest&) {
            EXPECT_EQ(Drive.Path("d\\sub"), Form.SourceLabel->text().toStdString());
            Form.OkayButtonClick();
        });
        PressKey(column, F12);
    }
    EXPECT_FALSE(Drive.Exists("d/sub"));
    EXPECT_TRUE(Drive.Exists("d/keep.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

// Ins toggles the focused item and moves on, so F12 then works on the selection alone.
TEST_F(FileOperationCommands, InsertSelectsAndF12DeletesOnlyTheSelection)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("d/b.txt", "b");
    Drive.WriteFile("d/c.txt", "c");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    const auto focusedTitle = [&] { return column.GetItem(column.FileList->FocusIndex).Title; };
    ASSERT_EQ(Drive.Path("d\\a.txt"), focusedTitle());
    PressKey(column, VK_INSERT);
    EXPECT_EQ(Drive.Path("d\\b.txt"), focusedTitle());
    column.FileList->FocusNext();
    PressKey(column, VK_INSERT);
    {
        TModalScript script;
        script.Expect("Delete", mrCancel, [&](const TModalRequest&) {
            EXPECT_EQ("Delete 2 selected files / directories?", Form.CurrentInfoLabel->text().toStdString());
            Form.OkayButtonClick();
        });
        PressKey(column, F12);
    }
    EXPECT_FALSE(Drive.Exists("d/a.txt"));
    EXPECT_TRUE(Drive.Exists("d/b.txt"));
    EXPECT_FALSE(Drive.Exists("d/c.txt"));
}

TEST_F(FileOperationCommands, TheDriveListOffersOnlyTheClipCommand)
{
    Window.Open();
    TColumn& column = OpenColumn("T:");
    ASSERT_GT(column.GetItemCount(), 0);
    TModalScript script; // any dialog or box fails the test
    PressKey(column, F12);
    EXPECT_FALSE(Window->DeleteFileMenu->isEnabled());
    EXPECT_FALSE(Window->RecycleFileMenu->isEnabled());
    EXPECT_TRUE(Window->ClipFileTitlesMenu->isEnabled());
    Window->ClickCommand("DeleteFileMenu");
    Window->ClickCommand("NoSuchMenu");
}

TEST_F(FileOperationCommands, TheMainWindowStaysWhileTheEngineWorks)
{
    Drive.WriteFile("d/x.txt", "x");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\x.txt"));
    Form.StopAfterCountCheckBox->setChecked(true);
    TModalScript script;
    script.Expect("Delete", mrCancel, [&](const TModalRequest&) { Form.OkayButtonClick(); });
    script.Expect("Query", IDNO, [&](const TModalRequest&) {
        QCloseEvent close;
        QCoreApplication::sendEvent(&*Window, &close);
        EXPECT_FALSE(close.isAccepted());
    });
    PressKey(column, F12);
    EXPECT_TRUE(Drive.Exists("d/x.txt"));
}

// The dialog's choices live in the "Main" section of the option file across runs; a
// format it cannot write selects the first one, and a quality that is not in the list
// selects none.
TEST_F(FileOperationCommands, TheDialogsChoicesSurviveARestart)
{
    Window.Open();
    Form.StopAfterCountCheckBox->setChecked(true);
    Form.ConvertPictureFormatComboBox->setCurrentText("PNG");
    Form.ConvertPictureQualityComboBox->setCurrentText("35");
    Form.NormalizePictureSizeCheckBox->setChecked(true);
    Form.ShowOptionsSpeedButton->setChecked(true);
    Form.ShowOptionsConvertSpeedButton->setChecked(false);
    Window.Close();
    const std::string ini = ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"));
    for (const char* line : {"StopAfterCount=TRUE", "PictureConverterFormat=PNG", "PictureConverterQuality=35",
                             "NormalizePictureSize=TRUE", "ShowFileOptions=TRUE", "ShowOptionsConvert=FALSE"})
        EXPECT_NE(std::string::npos, ini.find(line)) << line;

    Form.StopAfterCountCheckBox->setChecked(false);
    Form.ConvertPictureFormatComboBox->setCurrentText("JPEG");
    Form.ConvertPictureQualityComboBox->setCurrentText("80");
    Form.NormalizePictureSizeCheckBox->setChecked(false);
    Form.ShowOptionsSpeedButton->setChecked(false);
    Form.ShowOptionsConvertSpeedButton->setChecked(true);
    Window.Open();
    EXPECT_TRUE(Form.StopAfterCountCheckBox->isChecked());
    EXPECT_EQ("PNG", Form.ConvertPictureFormatComboBox->currentText().toStdString());
    EXPECT_EQ("35", Form.ConvertPictureQualityComboBox->currentText().toStdString());
    EXPECT_TRUE(Form.NormalizePictureSizeCheckBox->isChecked());
    EXPECT_TRUE(Form.ShowOptionsSpeedButton->isChecked());
    EXPECT_FALSE(Form.ShowOptionsConvertSpeedButton->isChecked());
    Window.Close();

    std::string edited = ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"));
    edited.replace(edited.find("PictureConverterQuality=35"), 26, "PictureConverterQuality=83");
    edited.replace(edited.find("PictureConverterFormat=PNG"), 26, "PictureConverterFormat=GIF");
    std::ofstream(TBoardTestWindow::OptionsHostPath("Quillomber.ini"), std::ios::binary) << edited;
    Window.Open();
    EXPECT_EQ(-1, Form.ConvertPictureQualityComboBox->currentIndex());
    EXPECT_EQ(0, Form.ConvertPictureFormatComboBox->currentIndex()) << "an unknown format selects the first";
    Window.Close();
    EXPECT_NE(std::string::npos,
              ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini")).find("PictureConverterQuality=0"))
        << "no quality reads as 0";
}

TEST_F(FileOperationCommands, AFreshStartSelectsQualityEighty)
{
    Window.Open();
    EXPECT_EQ("80", Form.ConvertPictureQualityComboBox->currentText().toStdString());
}

} // namespace

namespace {

// The rename and run dialogs made as the program makes them.
class RenameAndRunCommands : public FileOperationCommands
{
protected:
    RenameAndRunCommands()
    {
        RenameForm = &Rename;
        ManualRunForm = &Run;
    }
    ~RenameAndRunCommands() override
    {
        RenameForm = nullptr;
        ManualRunForm = nullptr;
    }

    TRenameForm Rename;
    TManualRunForm Run;
    TRecordingLauncher Launcher;
};

TEST_F(RenameAndRunCommands, NRenamesTheFocusedFileAndTheColumnShowsTheNewName)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    {
        TModalScript script;
        script.Expect("Rename file", mrCancel, [&](const TModalRequest&) {
            Rename.NameComboBox->setEditText(QStringLiteral("b.txt"));
            Rename.RenameButtonClick();
        });
        PressKey(column, 'N');
    }
    EXPECT_EQ("a", Drive.ReadFile("d/b.txt"));
    ASSERT_EQ(1, column.GetItemCount());
    EXPECT_EQ(Drive.Path("d\\b.txt"), column.GetItem(0).Title) << "the column is reloaded after the dialog";
}

// R is a window key: it reaches the dialog from any control, with any modifiers.
TEST_F(RenameAndRunCommands, RWithAnyModifiersOpensTheRunDialogOnTheFocusedFile)
{
    Drive.WriteFile("d/a.txt", "a");
    Window.Open();
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    TModalScript script;
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)}) {
        script.Expect("Run program", mrCancel, [&](const TModalRequest&) {
            Run.ProgramTitleComboBox->setEditText(QStringLiteral("%t%"));
            Run.RunButtonClick();
        });
        QKeyEvent event(QEvent::KeyPress, Qt::Key_R, modifiers);
        QCoreApplication::sendEvent(column.FileList, &event);
    }
    EXPECT_EQ(2u, script.Seen().size());
    ASSERT_EQ(2u, Launcher.Starts.size());
    for (const TRecordingLauncher::TStart& start : Launcher.Starts)
        EXPECT_EQ(std::vector<std::string>{Drive.HostPath("d/a.txt")}, start.Arguments);
}

} // namespace
