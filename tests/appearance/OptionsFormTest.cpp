#include "appearance/OptionsForm.h"
#include "appearance/OptionControls.h"

#include "mainwindow/BoardTestWindow.h"

#include "core/files/ProgramFolders.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/OptionChoices.h"
#include "core/settings/OptionsFile.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/StoredTextList.h"

#include "host/Process.h"

#include "support/FakeOptionsMainWindow.h"
#include "support/SettingsText.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

QComboBox& ComboBox(const TOptionsForm& form, const std::string& name)
{
    return *qobject_cast<QComboBox*>(form.Control(name));
}

QCheckBox& CheckBox(const TOptionsForm& form, const std::string& name)
{
    return *qobject_cast<QCheckBox*>(form.Control(name));
}

// Changes every control: each check box flips, each list takes its last item (or a text of
// its own when it has none), each edit a new name.
void ChangeEveryControl(const TOptionsForm& form)
{
    for (const TOptionControl& row : OptionControls()) {
        QWidget* control = form.Control(row.Name);
        if (auto* checkBox = qobject_cast<QCheckBox*>(control))
            checkBox->setChecked(!checkBox->isChecked());
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText("Other.so");
        else if (auto* comboBox = qobject_cast<QComboBox*>(control); comboBox->count() > 0)
            comboBox->setCurrentIndex(comboBox->count() - 1);
        else
            comboBox->setEditText("Other font");
    }
}

// The options text the option file would hold now.
std::string SavedOptionsText(const TTempDrive& drive)
{
    TStoredTextList store(drive.Path("Quillomber.ini"));
    store.OnSave = [](TStoredTextList& list, int32_t) { SaveProgramOptionsSTL(list); };
    drive.WriteFile("Quillomber.ini", "");
    EXPECT_TRUE(store.Load(0));
    EXPECT_TRUE(store.Save(false, 0));
    return drive.ReadFile("Quillomber.ini");
}

class OptionsDialog : public testing::Test
{
protected:
    OptionsDialog() { ProgramOptions = TProgramOptions(); }
    ~OptionsDialog() override
    {
        ProgramOptions = TProgramOptions();
        host::SetProgramHostFile(TestRootHostPath() + "/program/quillomber");
    }

    // Opens the dialog, lets `act` work on it, and closes it with the answer.
    bool Run(int answer, const std::function<void()>& act = {})
    {
        TModalScript script;
        script.Expect("Program options", answer, [&](const TModalRequest&) {
            if (act)
                act();
        });
        return Form.Dialog();
    }

    TTempDrive Drive{'Q'};
    TFakeOptionsMainWindow Window;
    TOptionsForm Form;
};

TEST_F(OptionsDialog, CancelAfterChangesOnEveryPageChangesNothing)
{
    TBoardTestWindow window;
    window.Open();
    const std::string before = SavedOptionsText(Drive);
    const bool showTree = Boards->GetActiveBoard().ShowTree;
    const TFileViewerSettings viewer = TSeam<TOptionsMainWindow>::Get().FileViewerSettings();

    EXPECT_FALSE(Run(mrCancel, [&] {
        for (int page = 0; page < Form.PageControl->count(); ++page)
            Form.PageControl->setCurrentIndex(page);
        ChangeEveryControl(Form);
    }));

    EXPECT_EQ(before, SavedOptionsText(Drive));
    EXPECT_EQ(showTree, Boards->GetActiveBoard().ShowTree);
    EXPECT_EQ(viewer, TSeam<TOptionsMainWindow>::Get().FileViewerSettings());
}

TEST_F(OptionsDialog, OkayTakesBackWhatTheListsCanHold)
{
    struct Case
    {
        const char* Name;
        std::function<void()> Set;
        std::function<void()> Check;
    };
    TFileViewerSettings& viewer = Window.Viewer;
    const std::vector<Case> cases = {
        {"boards not offered, within the file's limits", [] { ProgramOptions.VisibleBoards = 11; },
         [] { EXPECT_EQ(11, ProgramOptions.VisibleBoards); }},
        {"boards outside the file's limits", [] { ProgramOptions.VisibleBoards = 9; },
         [] { EXPECT_EQ(10, ProgramOptions.VisibleBoards); }},
        {"text size not offered", [&] { viewer.MaxTextSize = 250000; }, [&] { EXPECT_EQ(250000, viewer.MaxTextSize); }},
        {"unknown mouse-menu operation", [] { ProgramOptions.MouseMenuOperation[0] = "Foo"; },
         [] { EXPECT_EQ("", ProgramOptions.MouseMenuOperation[0]); }},
        {"viewer font size not offered", [&] { viewer.FontSize = 33; }, [&] { EXPECT_EQ(33, viewer.FontSize); }},
        {"mouse-menu width outside the file's limits", [] { ProgramOptions.MouseMenuItemWidth = 401; },
         [] { EXPECT_EQ(50, ProgramOptions.MouseMenuItemWidth); }},
        {"unknown mouse operation", [] { ProgramOptions.RMBNameOperation = "Bar"; },
         [] { EXPECT_EQ("File menu", ProgramOptions.RMBNameOperation); }},
        {"listed value", [] { ProgramOptions.FileTypeWidth = 225; },
         [] { EXPECT_EQ(225, ProgramOptions.FileTypeWidth); }},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.Name);
        ProgramOptions = TProgramOptions();
        Window.Viewer = TFileViewerSettings();
        item.Set();
        EXPECT_TRUE(Run(mrOkay));
        item.Check();
    }
}

TEST_F(OptionsDialog, OkayTakesTheChangesAndAppliesTheWindowStyle)
{
    EXPECT_TRUE(Run(mrOkay, [&] {
        CheckBox(Form, "ShowGridCheckBox").setChecked(true);
        CheckBox(Form, "StayOnTopCheckBox").setChecked(true);
        ComboBox(Form, "HintLinesComboBox").setCurrentText("5");
        ComboBox(Form, "MMBColumnHeaderComboBox").setCurrentText("Parent System menu");
        qobject_cast<QLineEdit*>(Form.Control("PictureViewerPluginName2Edit"))->setText("Mine.so");
    }));
    EXPECT_TRUE(ProgramOptions.ShowGrid);
    EXPECT_EQ(5, ProgramOptions.HintLines);
    EXPECT_EQ("Parent System menu", ProgramOptions.MMBColumnHeaderOperation);
    EXPECT_EQ("Mine.so", ProgramOptions.ViewerPluginName[1]);
    EXPECT_EQ(std::vector<bool>{true}, Window.StyleChanges);
}

// The dialog's lists and the option reader must agree: a value the reader takes from the
// file must show as chosen, or Okay would lose it.
TEST_F(OptionsDialog, EveryValueTheReaderTakesShowsChosen)
{
    struct Listed
    {
        const char* Section;
        const char* Key;
        const char* Control;
        const std::vector<int32_t>& Values;
    };
    const std::vector<Listed> listed = {
        {"Main", "ScrollbarSensitivity", "ScrollbarSensitivityComboBox", ScrollChoices()},
        {"FileList", "SimulateFileTypeWidth", "SimulateFileTypeWidthComboBox", TypeWidthChoices()},
        {"Main", "MaxPictureCacheSize", "MaxPictureCacheSizeComboBox", CacheChoices()},
        {"FileList", "SmartQualitySize", "SmartQualitySizeComboBox", QualityChoices()},
        {"Main", "FitSmallThumbsSize", "FitSmallThumbsSizeComboBox", QualityChoices()},
        {"Main", "CaptionFontSize", "CaptionFontSizeComboBox", FontSizeChoices()},
        {"FileList", "ItemsFontSize", "ItemsFontSizeComboBox", FontSizeChoices()},
        {"FileList", "ItemsExtraHeight", "ItemsExtraHeightComboBox", ExtraHeightChoices()},
        {"FileHover", "Delay", "FileHoverDelayComboBox", HoverDelayChoices()},
        {"FileHover", "MediaStartShift", "FileHoverMediaStartShiftComboBox", StartShiftChoices()},
        {"FileHover", "Sensitivity", "FileHoverSensitivityComboBox", HoverSensitivityChoices()},
        {"FileHover", "PictureWidth", "FileHoverPictureWidthComboBox", HoverWidthChoices()},
        {"FileHover", "PictureHeight", "FileHoverPictureHeightComboBox", HoverHeightChoices()},
        {"FileHover", "MovieWidth", "FileHoverMovieWidthComboBox", HoverWidthChoices()},
        {"FileHover", "MovieHeight", "FileHoverMovieHeightComboBox", HoverHeightChoices()},
        {"FileHover", "GenericWidth", "FileHoverGenericWidthComboBox", HoverWidthChoices()},
    };
    TStoredTextList store(Drive.Path("Quillomber.ini"));
    store.OnLoad = [](TStoredTextList& list, int32_t) { LoadProgramOptionsSTL(list); };
    for (const Listed& option : listed)
        for (const int32_t value : option.Values) {
            Drive.WriteFile("Quillomber.ini",
                            std::string("[") + option.Section + "]\r\n" + option.Key + "=" + std::to_string(value));
            ASSERT_TRUE(store.Load(0));
            Form.SetControls();
            EXPECT_EQ(std::to_string(value), ComboBox(Form, option.Control).currentText().toStdString()) << option.Key;
        }
}

std::vector<int32_t> ItemNumbers(const QComboBox& box)
{
    std::vector<int32_t> numbers;
    for (int i = 0; i < box.count(); ++i)
        numbers.push_back(box.itemText(i).toInt());
    return numbers;
}

// The numbers the reader takes within limits, more than the lists offer: each shows as it
// is, once, among the list's own items in order; the next showing lists the items alone.
TEST_F(OptionsDialog, EveryValueTheReaderTakesWithinLimitsShowsChosen)
{
    struct Ranged
    {
        const char* Section;
        const char* Key;
        const char* Control;
        TChoiceLimits Limits;
        const std::vector<int32_t>& Values;
    };
    const std::vector<Ranged> ranged = {
        {"Main", "VisibleBoards", "BoardsBarButtonsComboBox", VisibleBoardsLimits, VisibleBoardsChoices()},
        {"Main", "BoardsBarRows", "BoardsBarRowsComboBox", BoardsBarRowsLimits, BoardsBarRowsChoices()},
        {"Main", "HintLines", "HintLinesComboBox", HintLinesLimits, HintLinesChoices()},
        {"Main", "UserLogoWidth", "UserLogoWidthComboBox", UserLogoWidthLimits, UserLogoWidthChoices()},
        {"FileList", "FileTypeWidth", "FileTypeWidthComboBox", FileTypeWidthLimits, TypeWidthChoices()},
        {"FileList", "MaxThumbFileSize", "MaxThumbFileSizeComboBox", MaxThumbFileSizeLimits,
         MaxThumbFileSizeChoices()},
        {"Viewer", "MaxTextSize", "MaxTextSizeComboBox", MaxTextSizeLimits, MaxTextSizeChoices()},
        {"Viewer", "FontSize", "ViewerFontSizeComboBox", ViewerFontSizeLimits, FontSizeChoices()},
        {"MouseMenu2", "MouseMenuTranslucency", "MouseMenuTranslucencyComboBox", MouseMenuTranslucencyLimits,
         MouseMenuTranslucencyChoices()},
        {"MouseMenu2", "MouseMenuSensitivity", "MouseMenuSensitivityComboBox", MouseMenuSensitivityLimits,
         MouseMenuSensitivityChoices()},
        {"MouseMenu2", "MouseMenuItemWidth", "MouseMenuItemWidthComboBox", MouseMenuItemWidthLimits,
         MouseMenuItemWidthChoices()},
        {"MouseMenu2", "MouseMenuItemExtraHeight", "MouseMenuItemExtraHeightComboBox", MouseMenuItemExtraHeightLimits,
         MouseMenuItemExtraHeightChoices()},
    };
    TStoredTextList store(Drive.Path("Quillomber.ini"));
    store.OnLoad = [](TStoredTextList& list, int32_t) { LoadProgramOptionsSTL(list); };
    for (const Ranged& option : ranged) {
        std::set<int32_t> values = {option.Limits.Min, option.Limits.Min + 1, option.Limits.Max - 1,
                                    option.Limits.Max};
        for (const int32_t listed : option.Values)
            for (const int32_t near : {listed - 1, listed, listed + 1})
                if (option.Limits.Holds(near))
                    values.insert(near);
        const std::set<int32_t> listed(option.Values.begin(), option.Values.end());
        for (const int32_t value : values) {
            SCOPED_TRACE(std::string(option.Key) + "=" + std::to_string(value));
            Drive.WriteFile("Quillomber.ini",
                            std::string("[") + option.Section + "]\r\n" + option.Key + "=" + std::to_string(value));
            ASSERT_TRUE(store.Load(0));
            Form.SetControls();
            const QComboBox& box = ComboBox(Form, option.Control);
            EXPECT_EQ(std::to_string(value), box.currentText().toStdString());
            std::set<int32_t> expected = listed;
            expected.insert(value);
            EXPECT_EQ(std::vector<int32_t>(expected.begin(), expected.end()), ItemNumbers(box));
        }
    }
}

// Okay on a dialog the user did not touch keeps every value the option file held, also
// those the lists do not offer.
TEST_F(OptionsDialog, OkayOnAnUntouchedDialogKeepsEveryValueReadWithinLimits)
{
    struct Stored
    {
        const char* Section;
        const char* Key;
        const char* Value;
    };
    const std::vector<Stored> stored = {
        {"Main", "VisibleBoards", "11"},
        {"Main", "BoardsBarRows", "4"},
        {"Main", "UserLogoWidth", "55"},
        {"FileList", "FileTypeWidth", "155"},
        {"FileList", "MaxThumbFileSize", "150000"},
        {"Viewer", "MaxTextSize", "250000"},
        {"Viewer", "FontSize", "33"},
        {"MouseMenu2", "MouseMenuTranslucency", "100"},
        {"MouseMenu2", "MouseMenuSensitivity", "11"},
        {"MouseMenu2", "MouseMenuItemWidth", "400"},
        {"MouseMenu2", "MouseMenuItemExtraHeight", "3"},
    };
    std::string file;
    for (const Stored& option : stored)
        file += std::string("[") + option.Section + "]\r\n" + option.Key + "=" + option.Value + "\r\n";
    Drive.WriteFile("Quillomber.ini", file);
    TStoredTextList store(Drive.Path("Quillomber.ini"));
    store.OnLoad = [](TStoredTextList& list, int32_t) { LoadProgramOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    const std::string before = SavedOptionsText(Drive);
    for (const Stored& option : stored)
        ASSERT_EQ(option.Value, ValueOfKey(before, option.Section, option.Key)) << option.Key;

    EXPECT_TRUE(Run(mrOkay));

    EXPECT_EQ(before, SavedOptionsText(Drive));
}

TEST_F(OptionsDialog, FontsAreListedOnceAtEachOpeningAndEmptiedAtClose)
{
    const int families = static_cast<int>(QFontDatabase::families().size());
    ASSERT_GT(families, 0);
    for (int opening = 0; opening < 3; ++opening) {
        Run(mrCancel, [&] {
            for (const char* name : {"ItemsFontNameComboBox", "CaptionFontNameComboBox", "ViewerFontNameComboBox"})
                EXPECT_EQ(families, ComboBox(Form, name).count()) << name;
        });
        EXPECT_EQ(0, ComboBox(Form, "ItemsFontNameComboBox").count());
        EXPECT_EQ("", ComboBox(Form, "ItemsFontNameComboBox").currentText().toStdString());
    }
}

// The width a list gives its text: the edit field inside the frame and the arrow.
int TextRoom(QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box).width();
}

// With the desktop's font every tab stands whole in the bar (no scroll arrows) and every
// list, the font names too, is as wide as its longest item.
TEST_F(OptionsDialog, EveryTabAndEveryListItemShowsWhole)
{
    Form.SetControls();
    Form.show();
    QTabBar& bar = *Form.PageControl->tabBar();
    for (int page = 0; page < Form.PageControl->count(); ++page) {
        Form.PageControl->setCurrentIndex(page);
        QApplication::processEvents();
    }
    EXPECT_EQ(7, bar.count());
    EXPECT_LE(bar.sizeHint().width(), Form.PageControl->width());
    EXPECT_LE(Form.PageControl->geometry().right(), Form.width());
    for (int tab = 0; tab < bar.count(); ++tab) {
        SCOPED_TRACE(bar.tabText(tab).toStdString());
        EXPECT_TRUE(bar.rect().contains(bar.tabRect(tab)));
        EXPECT_LE(bar.fontMetrics().horizontalAdvance(bar.tabText(tab)), bar.tabRect(tab).width());
    }

    int fontNames = 0;
    for (QComboBox* box : Form.findChildren<QComboBox*>()) {
        QString longest;
        for (int i = 0; i < box->count(); ++i)
            if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > box->fontMetrics().horizontalAdvance(longest))
                longest = box->itemText(i);
        if (box->count() == static_cast<int>(QFontDatabase::families().size()))
            ++fontNames;
        SCOPED_TRACE(box->objectName().toStdString() + ": " + longest.toStdString());
        EXPECT_LE(box->fontMetrics().horizontalAdvance(longest), TextRoom(*box));
        EXPECT_LE(box->mapTo(&Form, QPoint(box->width(), 0)).x(), Form.PageControl->geometry().right());
    }
    EXPECT_EQ(3, fontNames);
    Form.FormClose(mrCancel);
    Form.hide();
}

TEST_F(OptionsDialog, TheTreeNavigatorBoxIsTheActiveBoardsAlone)
{
    TBoardTestWindow window;
    window.Open();
    Boards->ActiveBoard = 2;
    for (int32_t board = 0; board < 4; ++board)
        BoardAt(board).ShowTree = board == 3;

    EXPECT_TRUE(Run(mrOkay, [&] {
        EXPECT_FALSE(CheckBox(Form, "ShowTreeNavigatorCheckBox").isChecked());
        CheckBox(Form, "ShowTreeNavigatorCheckBox").setChecked(true);
    }));

    EXPECT_EQ((std::vector<bool>{false, false, true, true}),
              (std::vector<bool>{BoardAt(0).ShowTree, BoardAt(1).ShowTree, BoardAt(2).ShowTree, BoardAt(3).ShowTree}));
    Boards->ActiveBoard = 0;
}

TEST_F(OptionsDialog, LeavingAThumbSizeBoxOutsideItsLimitsWarnsAndPutsTheDefault)
{
    Form.show();
    QApplication::setActiveWindow(&Form);
    QComboBox& box = ComboBox(Form, "NormalizeThumbWidthToComboBox");
    QCheckBox& next = CheckBox(Form, "NormalizeThumbHeightCheckBox");
    // The focus moves as the Tab key moves it, from the box to the next control.
    const auto leaveBox = [&] {
        box.setFocus(Qt::OtherFocusReason);
        next.setFocus(Qt::TabFocusReason);
    };
    box.setEditText("20000");
    std::string warning;
    {
        TModalScript script;
        script.Expect("Warning", IDOK, [&](const TModalRequest& request) { warning = request.Text; });
        leaveBox();
    }
    EXPECT_EQ("Integer value outside limits.\nIt will be set to default.\n    * Minimum = 50\n    * Maximum = 10000\n"
              "    * Default = 100",
              warning);
    EXPECT_EQ("100", box.currentText().toStdString());

    box.setEditText("768");
    leaveBox();
    EXPECT_EQ("768", box.currentText().toStdString());

    // Opening the box's own list or another window does not leave the box: no warning yet.
    box.setFocus(Qt::OtherFocusReason);
    box.setEditText("20000");
    TModalScript none;
    box.showPopup();
    box.hidePopup();
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QApplication::sendEvent(&box, &away);
    }
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ("20000", box.currentText().toStdString());
}

TEST_F(OptionsDialog, TheFocusStartsOnCancel)
{
    Form.show();
    QApplication::processEvents();
    EXPECT_EQ(static_cast<QWidget*>(Form.CancelButton), Form.focusWidget());
    Form.hide();
}

class PluginPanels : public OptionsDialog
{
protected:
    PluginPanels() { host::SetProgramHostFile(Drive.HostPath("quillomber")); }

    QLineEdit& NameEdit(int32_t panel) const
    {
        return *qobject_cast<QLineEdit*>(Form.Control("PictureViewerPluginName" + std::to_string(panel + 1) + "Edit"));
    }

    // What "Info" of the first panel shows for the name, as caption and text.
    std::pair<std::string, std::string> InfoFor(const std::string& name)
    {
        NameEdit(0).setText(QString::fromStdString(name));
        std::pair<std::string, std::string> shown;
        TModalScript script;
        script.Expect(name == "Sample.so" ? "Message" : "Warning", IDOK, [&](const TModalRequest& request) {
            shown = {request.Caption, request.Text};
        });
        Form.PictureViewerPluginInfoButtonClick(0);
        return shown;
    }
};

TEST_F(PluginPanels, InfoTellsWhatThePluginSaysOrWhyNot)
{
    CopyViewerPlugin(Drive, SamplePluginHostPath, "Sample.so");
    CopyViewerPlugin(Drive, ListingPluginHostPath, "Listing.so");
    Drive.WriteFile("Plugins/Text.dll", "not a library");

    EXPECT_EQ("Plugin information:\n\nSample plug-in: QPT pictures, a colour in a frame of the text colour.\n\n"
              "Processed file extensions: \".qpt\"",
              InfoFor("Sample.so").second);
    EXPECT_FALSE(IsLibraryLoaded(Drive.HostPath("Plugins/Sample.so"))) << "freed after reading";
    EXPECT_EQ("This plugin contains no information.", InfoFor("Listing.so").second);
    EXPECT_EQ("Invalid plugin file.", InfoFor("Text.dll").second);
    EXPECT_EQ("Invalid plugin file.", InfoFor("Missing.dll").second);
}

TEST_F(PluginPanels, LoadKeepsOnlyALibraryOfThePluginsFolder)
{
    CopyViewerPlugin(Drive, SamplePluginHostPath, "Sample.so");
    Drive.WriteFile("Elsewhere/Other.so", "");
    struct Case
    {
        const char* Chosen;
        const char* Name;
    };
    for (const Case& item : {Case{"Plugins/Sample.so", "Sample.so"}, Case{"Elsewhere/Other.so", ""}}) {
        NameEdit(1).setText("Old.so");
        TModalScript script;
        script.Expect("Open", QDialog::Accepted, [&](const TModalRequest& request) {
            auto* dialog = qobject_cast<QFileDialog*>(request.Dialog);
            ASSERT_NE(nullptr, dialog);
            EXPECT_EQ(Drive.HostPath("Plugins"), dialog->directory().absolutePath().toStdString());
            dialog->selectFile(QString::fromStdString(Drive.HostPath(item.Chosen)));
        });
        Form.PictureViewerPluginNameButtonClick(1);
        EXPECT_EQ(item.Name, NameEdit(1).text().toStdString()) << item.Chosen;
    }
}

} // namespace
