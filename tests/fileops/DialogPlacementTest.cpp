#include "fileops/CopyAsForm.h"
#include "fileops/FileForm.h"
#include "fileops/LocateFileForm.h"
#include "fileops/NewFileForm.h"
#include "fileops/RenameForm.h"
#include "fileops/SelectionForm.h"

#include "columns/ColumnTestSupport.h"

#include "core/forms/FormPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A main window away from the screen's centre while another window is active (the column's,
// as another program's is when files are dropped), and a column listing folder "d" of
// drive T:, focused on x.txt.
class DialogPlacementTest : public ColumnTest
{
protected:
    DialogPlacementTest()
    {
        MainWindow.setGeometry(230, 130, 540, 420);
        SetDialogsMainWindow(&MainWindow);
        MakeFile("d/x.txt", 5);
        Open(Column, Drive.Path("d\\x.txt"));
    }
    ~DialogPlacementTest() override { SetDialogsMainWindow(nullptr); }

    // Where the dialog stood, centre to centre, from the main window's centre when it was
    // asked to show under its caption.
    QPoint Offset(const std::string& caption, const std::function<void()>& open)
    {
        QPoint offset(-9999, -9999);
        TModalScript script;
        script.Expect(caption, IDCANCEL, [&](const TModalRequest& request) {
            offset = request.Dialog->frameGeometry().center() - MainWindow.frameGeometry().center();
        });
        open();
        return offset;
    }

    QWidget MainWindow;
    TColumn& Column = MakeColumn();
};

TEST_F(DialogPlacementTest, EachDialogOpensCentredOnTheMainWindow)
{
    ASSERT_NE(&MainWindow, QApplication::activeWindow());
    TNewFileForm newFile;
    TSelectionForm selection;
    TLocateFileForm locate;
    TRenameForm rename;
    TCopyAsForm copyAs;
    TFileForm fileForm;
    struct TRow
    {
        const char* Caption;
        std::function<void()> Open;
    };
    const TRow rows[] = {
        {"New file", [&] { newFile.Dialog(Drive.Path("d\\"), nfkFile); }},
        {"Select", [&] { selection.Dialog(Column, true); }},
        {"Locate file", [&] { locate.Dialog(Column); }},
        {"Rename file", [&] { rename.Dialog(Column, false, nullptr); }},
        {"Copy as", [&] { copyAs.Dialog(Drive.Path("d\\x.txt"), Drive.Path("d\\"), "x.txt", false, false, false); }},
        {"Copy (from drop)",
         [&] {
             fileForm.Dialog(true, "Copy", Column, nullptr, Column.FileList->FocusIndex, Drive.Path("d\\"),
                             Drive.Path("e\\"), "", false, true);
         }},
        {"Move",
         [&] {
             fileForm.Dialog(true, "Move", Column, nullptr, Column.FileList->FocusIndex, Drive.Path("d\\"),
                             Drive.Path("e\\"), "", false, false);
         }},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Caption);
        const QPoint offset = Offset(row.Caption, row.Open);
        EXPECT_LE(std::abs(offset.x()), 1) << offset.x();
        EXPECT_LE(std::abs(offset.y()), 1) << offset.y();
    }
}

} // namespace
