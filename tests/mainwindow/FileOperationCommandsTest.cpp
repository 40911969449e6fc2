#include "BoardTestWindow.h"

#include "fileops/FileForm.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/VirtualKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
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
