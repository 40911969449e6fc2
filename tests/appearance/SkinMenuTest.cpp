#include "appearance/SkinForm.h"

#include "core/settings/SkinOptions.h"

#include "panels/MyTPanel.h"

#include "core/files/ProgramFolders.h"
#include "core/forms/ColorPanel.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

class TCountingSkinWindow : public TSkinWindow
{
public:
    void SetupBackPicture(const std::string&) override { ++PictureRebuilds; }
    void Relayout() override { ++Relayouts; }
    void FocusColumn() override {}

    int PictureRebuilds = 0;
    int Relayouts = 0;
};

// The captions of the menu's own items, a separator as "-" and a submenu as its title
// followed by its items between brackets.
std::string MenuOutline(const QMenu& menu)
{
    std::string outline;
    for (const QAction* item : menu.actions()) {
        if (!outline.empty())
            outline += ", ";
        if (item->isSeparator())
            outline += "-";
        else if (item->menu() != nullptr)
            outline += item->text().toStdString() + " [" + MenuOutline(*item->menu()) + "]";
        else
            outline += item->text().toStdString();
    }
    return outline;
}

QAction* MenuItem(const QMenu& menu, const std::string& caption)
{
    for (QAction* item : menu.actions())
        if (item->text().toStdString() == caption)
            return item;
    ADD_FAILURE() << "no menu item " << caption;
    return nullptr;
}

std::string ColorEntry(const char* key, TColor color)
{
    return std::string(key) + "=" + std::to_string(color) + "\r\n";
}

class SkinMenu : public testing::Test
{
protected:
    SkinMenu()
    {
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        std::filesystem::create_directories(Drive.HostPath("Options/Skins/Empty"));
        for (const char* name : {"A.qms", "b.qms", "c.txt", ".hidden.qms", "Dark/Night.qms"})
            Drive.WriteFile(std::string("Options/Skins/") + name, "[Skin_Main]\r\n");
        Drive.WriteFile("Options/Skins/My.Blue.qms", "[Skin_Main]\r\nFadeBackPicture=10\r\n[Skin_Colors]\r\n" +
                                                         ColorEntry("WindowBackColor", 0xFF0000));
        SkinOptions = TSkinOptions();
        Form.Window = &Window;
    }
    ~SkinMenu() override { SkinOptions = TSkinOptions(); }

    // Opens the Skins menu and lets `act` look at it and choose from it.
    void OpenMenu(bool fullLoad, const std::function<void(QMenu&)>& act)
    {
        Script.Expect(fullLoad ? "Skins (full load)" : "Skins (only colors)", 0,
                      [&](const TModalRequest& request) { act(*request.Menu); });
        Form.ShowMenu(Button, fullLoad);
    }

    TTempDrive Drive{'Q'};
    TModalScript Script;
    TCountingSkinWindow Window;
    MyTPanel Button{nullptr};
    TSkinForm Form;
};

TEST_F(SkinMenu, ListsTheSkinFilesBelowItsCommandsAndLoadsADottedTitle)
{
    OpenMenu(true, [&](QMenu& menu) {
        EXPECT_EQ("Skins (full load), Edit, Save as, Default, -, Dark [Night], A, b, My.Blue", MenuOutline(menu));
        EXPECT_EQ(menu.actions().front(), menu.defaultAction());
        MenuItem(menu, "My.Blue")->trigger();
    });
    EXPECT_EQ(0xFF0000u, SkinOptions.WindowBackColor);
    EXPECT_EQ(10, SkinOptions.FadeBackPicture);
    EXPECT_EQ("My.Blue", Form.LastSkinName);
    EXPECT_EQ(1, Window.PictureRebuilds);
}

TEST_F(SkinMenu, WithCtrlOnlyTheColoursLoadButDefaultResetsEverything)
{
    SkinOptions.FadeBackPicture = 30;
    OpenMenu(false, [&](QMenu& menu) { MenuItem(menu, "My.Blue")->trigger(); });
    EXPECT_EQ(0xFF0000u, SkinOptions.WindowBackColor);
    EXPECT_EQ(30, SkinOptions.FadeBackPicture);

    int notices = 0;
    Form.OnSkinChanged = [&] { ++notices; };
    OpenMenu(false, [&](QMenu& menu) { MenuItem(menu, "Default")->trigger(); });
    EXPECT_EQ(TSkinOptions(), SkinOptions);
    EXPECT_EQ(1, notices);
}

// A skin file gone since the menu was built loads as any missing skin file: the skin
// falls back to its defaults, and the window hears of it.
TEST_F(SkinMenu, ASkinFileGoneSinceTheMenuWasBuiltLoadsAsAMissingOne)
{
    SkinOptions.FadeBackPicture = 30;
    SkinOptions.WindowBackColor = 0x00FF00;
    int notices = 0;
    Form.OnSkinChanged = [&] { ++notices; };
    OpenMenu(true, [&](QMenu& menu) {
        std::filesystem::remove(Drive.HostPath("Options/Skins/My.Blue.qms"));
        MenuItem(menu, "My.Blue")->trigger();
    });
    EXPECT_EQ(TSkinOptions(), SkinOptions);
    EXPECT_EQ(1, notices);
    EXPECT_FALSE(Drive.Exists("Options/Skins/My.Blue.qms"));
}

TEST_F(SkinMenu, SaveAsProposesTheWindowColoursNameAndReplacesWithoutAQuestion)
{
    Drive.WriteFile("Options/Skins/Old.qms", "[Other]\r\nKept=1\r\n");
    SkinOptions.FadeBackPicture = 40;
    OpenMenu(true, [&](QMenu& menu) {
        Script.Expect("Save as", QDialog::Accepted, [&](const TModalRequest& request) {
            auto* dialog = static_cast<QFileDialog*>(request.Dialog);
            ASSERT_EQ(1, dialog->selectedFiles().size());
            EXPECT_EQ(QString::fromStdString(Drive.HostPath("Options/Skins/White")), dialog->selectedFiles().front());
            dialog->selectFile(QString::fromStdString(Drive.HostPath("Options/Skins/Old")));
        });
        MenuItem(menu, "Save as")->trigger();
    });
    const std::string saved = Drive.ReadFile("Options/Skins/Old.qms");
    EXPECT_NE(std::string::npos, saved.find("FadeBackPicture=40"));
    EXPECT_EQ("Old", Form.LastSkinName);
}

TEST_F(SkinMenu, ASkinThatCannotBeWrittenShowsTheSaveFailure)
{
    TShownFailures failures;
    Script.Expect("Save as", QDialog::Accepted);
    failures.Expect(Script, "Error");
    host::InjectFault(host::HostCall::Write, host::ERROR_ACCESS_DENIED, 0, 100);
    Form.SaveAs();
    host::ClearFaults();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to save file."));
    EXPECT_FALSE(Drive.Exists("Options/Skins/White.qms"));
}

// "Edit" shows the current skin in the controls, with the focus on "&Okay".
TEST_F(SkinMenu, EditShowsTheSkinInItsControls)
{
    SkinOptions.FadeBackPicture = 40;
    SkinOptions.GridColor = 0x00FF00;
    OpenMenu(true, [&](QMenu& menu) {
        Script.Expect("Skin options", QDialog::Accepted, [&](const TModalRequest& request) {
            EXPECT_EQ(&Form, request.Dialog);
            EXPECT_EQ("40", Form.findChild<QComboBox*>("FadeBackPictureComboBox")->currentText().toStdString());
            EXPECT_EQ(0x00FF00u, Form.findChild<TColorPanel*>("GridColorPanel")->Color);
            EXPECT_EQ(Form.OkayButton, Form.focusWidget());
        });
        MenuItem(menu, "Edit")->trigger();
    });
    EXPECT_EQ(40, SkinOptions.FadeBackPicture);
}

TEST_F(SkinMenu, AnUnreadableSkinsFolderShowsTheMenuFailure)
{
    std::filesystem::remove_all(Drive.HostPath("Options/Skins"));
    Drive.WriteFile("Options/Skins", "not a folder");
    TShownFailures failures;
    failures.Expect(Script, "Error");
    Form.ShowMenu(Button, true);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to setup the \"Skins\" menu."));
}

class SkinEditorControls : public SkinMenu
{
protected:
    TColorPanel& Swatch(const char* name) { return *Form.findChild<TColorPanel*>(name); }

    // Sends a drop of `source` onto `target`; true when the target took it.
    static bool Drop(TSkinForm& form, TColorPanel& source, TColorPanel& target)
    {
        std::unique_ptr<QMimeData> data(form.ColorPanelDragData(source));
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return drop.isAccepted();
    }
};

TEST_F(SkinEditorControls, ChoosingAPictureMakesAnOpaqueWindowBackgroundClear)
{
    Drive.WriteFile("Options/BackPictures/Sea.png", "");
    SkinOptions.WindowBackTranslucency = 0;
    Form.SetControls();
    Script.Expect("Open", QDialog::Accepted, [&](const TModalRequest& request) {
        static_cast<QFileDialog*>(request.Dialog)
            ->selectFile(QString::fromStdString(Drive.HostPath("Options/BackPictures/Sea.png")));
    });
    Form.LoadPicture(false);
    EXPECT_EQ(GetBackPicturesPath() + "Sea.png", SkinOptions.BackPictureFileTitle);
    EXPECT_TRUE(SkinOptions.UseBackPicture);
    EXPECT_EQ(100, SkinOptions.WindowBackTranslucency);
    EXPECT_EQ("100", Form.findChild<QComboBox*>("WindowBackTranslucencyComboBox")->currentText().toStdString());
    EXPECT_EQ(1, Window.PictureRebuilds);
}

// Without a picture in use its settings are kept but nothing is rebuilt; the looks of the
// panels are applied without touching the picture.
TEST_F(SkinEditorControls, PictureSettingsRebuildThePictureOnlyWhileItIsUsed)
{
    Form.SetControls();
    auto* fade = Form.findChild<QComboBox*>("FadeBackPictureComboBox");
    fade->setCurrentText("20");
    emit fade->activated(fade->currentIndex());
    EXPECT_EQ(20, SkinOptions.FadeBackPicture);
    EXPECT_EQ(0, Window.PictureRebuilds);
    EXPECT_EQ(0, Window.Relayouts);

    Form.UseBackPictureSpeedButton->click();
    EXPECT_EQ(1, Window.PictureRebuilds);
    fade->setCurrentText("30");
    emit fade->activated(fade->currentIndex());
    EXPECT_EQ(2, Window.PictureRebuilds);

    auto* translucency = Form.findChild<QComboBox*>("ScrollbarBackTranslucencyComboBox");
    translucency->setCurrentText("10");
    emit translucency->activated(translucency->currentIndex());
    EXPECT_EQ(10, SkinOptions.ScrollbarBackTranslucency);
    EXPECT_EQ(2, Window.PictureRebuilds);
    EXPECT_EQ(3, Window.Relayouts);
}

TEST_F(SkinEditorControls, SwatchesDropOntoEachOtherButNotOntoTheFilling)
{
    Form.SetControls();
    SetColorPanel(Swatch("WindowBackColorPanel"), 0x123456);
    EXPECT_TRUE(Drop(Form, Swatch("WindowBackColorPanel"), Swatch("GridColorPanel")));
    EXPECT_EQ(0x123456u, SkinOptions.GridColor);
    EXPECT_EQ(0, Window.PictureRebuilds);

    EXPECT_FALSE(Drop(Form, Swatch("WindowBackColorPanel"), Swatch("FillingBackPictureColorPanel")));
    EXPECT_FALSE(Drop(Form, Swatch("GridColorPanel"), Swatch("GridColorPanel")));
    EXPECT_EQ(TSkinOptions().FillingBackPictureColor, Swatch("FillingBackPictureColorPanel").Color);

    // The filling swatch itself may be dragged, and its change rebuilds the picture.
    EXPECT_TRUE(Drop(Form, Swatch("FillingBackPictureColorPanel"), Swatch("GenericBackColorPanel")));
    EXPECT_EQ(SkinOptions.FillingBackPictureColor, SkinOptions.FilesBackColor);

    TSkinForm other;
    EXPECT_FALSE(Drop(other, *other.ColorPanels[1], Swatch("GridColorPanel")));
}

// The proposal is only shown: the rotations stay as they are.
TEST_F(SkinEditorControls, RecommendReportsAPictureItCannotRead)
{
    SkinOptions.BackPictureFileTitle = Drive.Path("Missing.png");
    SkinOptions.RotateRGBackPicture = 15;
    Form.SetControls();
    TShownFailures failures;
    failures.Expect(Script, "Error");
    Form.RecommendColorRotateButton->click();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to recommend values."));
    EXPECT_EQ(15, SkinOptions.RotateRGBackPicture);
    EXPECT_EQ("15", Form.findChild<QComboBox*>("RotateRGBackPictureComboBox")->currentText().toStdString());
}

TEST_F(SkinEditorControls, AMiddleClickRestoresTheDefaultColour)
{
    SkinOptions.SelectionTextColor = 0x00FF00;
    Form.SetControls();
    TColorPanel& swatch = Swatch("SelectionTextColorPanel");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&swatch, &press);
    EXPECT_EQ(210u, SkinOptions.SelectionTextColor);
    EXPECT_EQ(&swatch, Form.ActiveColorPanel);
}

} // namespace
