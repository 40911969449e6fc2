#include "mainwindow/MainForm.h"

#include "fileops/OverwriteForm.h"

#include "columns/FileDialogServices.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// The window hands the columns' overwrite question to the overwrite dialog: a reset batch
// asks, and the answer reaches the caller.
TEST(OverwriteAdapter, TheColumnsAskTheOverwriteDialogThroughTheWindow)
{
    TTempDrive drive;
    drive.WriteFile("a.txt", "source");
    drive.WriteFile("b.txt", "destination");
    TMainForm window;
    OverwriteForm = new TOverwriteForm(&window);
    TFileDialogServices& services = TSeam<TFileDialogServices>::Get();

    services.ResetOverwriteChoice();
    TModalScript script;
    script.Expect("Overwrite destination with source ?", TOverwriteForm::ModalResultOf(ocOverThis));
    bool overwrite = false;
    EXPECT_TRUE(services.OverwriteDialog(drive.Path("a.txt"), drive.Path("b.txt"), overwrite));
    EXPECT_TRUE(overwrite);
    EXPECT_EQ(ocOverThis, OverwriteForm->Choice());
}

} // namespace
