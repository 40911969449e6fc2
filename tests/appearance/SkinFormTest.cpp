#include "appearance/SkinForm.h"

#include "mainwindow/SkinEditorServices.h"

#include "support/SkinSample.h"

#include "core/settings/SkinOptions.h"

#include "core/errors/Error.h"
#include "core/files/ProgramFolders.h"
#include "core/settings/StoredTextList.h"

#include "host/Process.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>

#include "support/SettingsText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ColorKeys()
{
    std::vector<std::string> keys;
    for (const TSkinColorField& field : SkinColorFields)
        keys.push_back(field.Key);
    return keys;
}

class SkinFiles : public testing::Test
{
protected:
    SkinFiles()
    {
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        std::filesystem::create_directories(Drive.HostPath("Options/Skins"));
        SkinOptions = TSkinOptions();
    }
    ~SkinFiles() override { SkinOptions = TSkinOptions(); }

    // Loads the text as the skin file "Test.qms".
    void LoadSkinText(const std::string& text)
    {
        Drive.WriteFile("Options/Skins/Test.qms", text);
        EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Test"));
    }

    std::string ReadSkinFile(const std::string& name) const { return Drive.ReadFile("Options/Skins/" + name); }

    TTempDrive Drive{'Q'};
    TSkinForm Form;
};

TEST_F(SkinFiles, ASkinFileKeepsEveryFieldInItsOrder)
{
    const TSkinOptions saved = EveryFieldChanged();
    SkinOptions = saved;
    ASSERT_TRUE(Form.SaveSkinFile(GetSkinsPath() + "Mine"));
    EXPECT_EQ("Mine", Form.LastSkinName);

    const std::string text = ReadSkinFile("Mine.qms");
    EXPECT_EQ(0u, text.find("[Skin_Main]\r\nUseBackPicture=TRUE\r\nBackPictureFileTitle=Sunset.jpg\r\n"));
    EXPECT_EQ((std::vector<std::string>{"UseBackPicture",
                                        "BackPictureFileTitle",
                                        "StretchBackPicture",
                                        "FitBeforeTileBackPicture",
                                        "FadeBackPicture",
                                        "RotateRGBackPicture",
                                        "RotateGBBackPicture",
                                        "RotateBRBackPicture",
                                        "GammaBackPicture",
                                        "ToolbarButtonsStyle",
                                        "NonOvalButtonsStyle",
                                        "HintPanelAsWindow",
                                        "ControlMarginTranslucency",
                                        "ControlBackTranslucency",
                                        "WindowMarginTranslucency",
                                        "WindowBackTranslucency",
                                        "WindowActiveFocusMarginTranslucency",
                                        "WindowActiveFocusBackTranslucency",
                                        "WindowInactiveFocusMarginTranslucency",
                                        "WindowInactiveFocusBackTranslucency",
                                        "WindowSelectionMarginTranslucency",
                                        "WindowSelectionBackTranslucency",
                                        "ScrollbarBackTranslucency",
                                        "ScrollbarThumbMarginTranslucency",
                                        "ScrollbarThumbBackTranslucency"}),
              KeysOfSection(text, "Skin_Main"));
    EXPECT_EQ(ColorKeys(), KeysOfSection(text, "Skin_Colors"));
    const std::string fillingLine = "FillingBackPictureColor=" + std::to_string(saved.FillingBackPictureColor);
    EXPECT_NE(std::string::npos, text.find("\r\n" + fillingLine + "\r\n"));
    EXPECT_EQ(std::string::npos, text.find("Skin_Global"));

    SkinOptions = TSkinOptions();
    TSkinForm reader;
    ASSERT_TRUE(reader.LoadSkinFile(GetSkinsPath() + "Mine"));
    EXPECT_EQ(saved, SkinOptions);
    EXPECT_EQ("Mine", reader.LastSkinName);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(SkinFiles, TheOptionFileAlsoKeepsTheSettingsForAllSkins)
{
    const TSkinOptions saved = EveryFieldChanged();
    SkinOptions = saved;
    Form.LastSkinName = "Dusk";
    Form.BackPictureMinStretchSizeComboBox->setCurrentText("500");
    Form.StretchBackPictureMaxSkewComboBox->setCurrentText("-1");
    Form.AcceptBackPictureAutochangeCheckBox->setChecked(false);
    TStoredTextList options(GetOptionsPath() + "Quillomber.ini");
    TSkinForm reader;
    options.OnSave = [&](TStoredTextList& store, int32_t) { Form.WriteSkin(store, false); };
    options.OnLoad = [&](TStoredTextList& store, int32_t) { reader.ReadSkin(store, false); };
    ASSERT_TRUE(options.SaveToFile(options.FileName, false, 0));
    EXPECT_EQ(0u, Drive.ReadFile("Options/Quillomber.ini")
                      .find("[Skin_Global]\r\nLastSkinName=Dusk\r\nBackPictureMinStretchSize=500\r\n"
                            "StretchBackPictureMaxSkew=-1\r\nAcceptBackPictureAutochange=FALSE\r\n\r\n"
                            "[Skin_Main]\r\n"));

    SkinOptions = TSkinOptions();
    ASSERT_TRUE(options.Load(0));
    EXPECT_EQ(saved, SkinOptions);
    EXPECT_EQ("Dusk", reader.LastSkinName);
    EXPECT_EQ("500", reader.BackPictureMinStretchSizeComboBox->currentText().toStdString());
    EXPECT_EQ("-1", reader.StretchBackPictureMaxSkewComboBox->currentText().toStdString());
    EXPECT_FALSE(reader.AcceptBackPictureAutochangeCheckBox->isChecked());

    // The settings for all skins never go into a skin file.
    ASSERT_TRUE(reader.SaveSkinFile(GetSkinsPath() + "Dusk"));
    EXPECT_EQ(std::string::npos, ReadSkinFile("Dusk.qms").find("Skin_Global"));
}

TEST_F(SkinFiles, StoredValuesOutsideTheirChoicesTakeTheFirstChoice)
{
    LoadSkinText("[Skin_Main]\r\nFadeBackPicture=72\r\nRotateRGBackPicture=7\r\nRotateGBBackPicture=-90\r\n"
                 "GammaBackPicture=0\r\nToolbarButtonsStyle=Hexagon\r\nNonOvalButtonsStyle=top EDGE\r\n"
                 "WindowMarginTranslucency=070\r\nWindowBackTranslucency=35\r\nScrollbarBackTranslucency=\r\n"
                 "UseBackPicture=true\r\nFitBeforeTileBackPicture=FALSE\r\n\r\n"
                 "[Skin_Colors]\r\nFillingColor=clRed\r\nGridColor=Teal\r\nWindowBackColor=\r\n"
                 "DirsBackColor=$00FF00\r\n");
    EXPECT_EQ(0, SkinOptions.FadeBackPicture);
    EXPECT_EQ(-180, SkinOptions.RotateRGBackPicture);
    EXPECT_EQ(-90, SkinOptions.RotateGBBackPicture);
    EXPECT_EQ(1, SkinOptions.GammaBackPicture);
    EXPECT_EQ("Round corners", SkinOptions.ToolbarButtonsStyle);
    EXPECT_EQ("Top edge", SkinOptions.NonOvalButtonsStyle);
    EXPECT_EQ(0, SkinOptions.WindowMarginTranslucency);
    EXPECT_EQ(35, SkinOptions.WindowBackTranslucency);
    EXPECT_EQ(65, SkinOptions.ScrollbarBackTranslucency) << "an empty value keeps the default";
    EXPECT_FALSE(SkinOptions.UseBackPicture);
    EXPECT_FALSE(SkinOptions.FitBeforeTileBackPicture);
    EXPECT_EQ(0x0000FF, SkinOptions.FillingColor);
    EXPECT_EQ(0x828200, SkinOptions.GridColor);
    EXPECT_EQ(0, SkinOptions.WindowBackColor);
    EXPECT_EQ(0x00FF00, SkinOptions.DirsBackColor);
}

TEST_F(SkinFiles, TheOptionFileChecksTheSettingsForAllSkins)
{
    struct Row
    {
        const char* Section;
        const char* MinStretchSize;
        const char* MaxSkew;
        bool Accept;
        const char* LastSkinName;
    };
    const std::string tooLong(261, 'n');
    const Row rows[] = {
        {"", "300", "120", true, "Before"},
        {"BackPictureMinStretchSize=123\r\nStretchBackPictureMaxSkew=wide\r\n", "-1", "-1", true, "Before"},
        {"BackPictureMinStretchSize=\r\nStretchBackPictureMaxSkew=180\r\nAcceptBackPictureAutochange=FALSE\r\n", "300",
         "180", false, "Before"},
        {"LastSkinName=", "300", "120", true, "Before"},
        {"LastSkinName=Night\r\n", "300", "120", true, "Night"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Section);
        Drive.WriteFile("Options/Quillomber.ini",
                        std::string("[Skin_Global]\r\n") + row.Section + "LastSkinName=" + tooLong + "\r\n");
        TSkinForm form;
        form.LastSkinName = "Before";
        form.BackPictureMinStretchSizeComboBox->setCurrentText("1000");
        TStoredTextList options(GetOptionsPath() + "Quillomber.ini");
        options.OnLoad = [&](TStoredTextList& store, int32_t) { form.ReadSkin(store, false); };
        ASSERT_TRUE(options.Load(0));
        EXPECT_EQ(row.MinStretchSize, form.BackPictureMinStretchSizeComboBox->currentText().toStdString());
        EXPECT_EQ(row.MaxSkew, form.StretchBackPictureMaxSkewComboBox->currentText().toStdString());
        EXPECT_EQ(row.Accept, form.AcceptBackPictureAutochangeCheckBox->isChecked());
        EXPECT_EQ(row.LastSkinName, form.LastSkinName);
    }
}

TEST_F(SkinFiles, OlderTranslucencyKeysAreReadButNeverWritten)
{
    struct Row
    {
        const char* Keys;
        int32_t WindowBack;
        int32_t WindowSelectionMargin;
    };
    const Row rows[] = {
        {"TransparentWindows=TRUE\r\n", 100, 0},
        {"TransparentWindows=TRUE\r\nWindowBackTranslucency=20\r\n", 20, 0},
        {"TransparentWindows=true\r\n", 0, 0},
        {"TransparentWindows=TRUE\r\nColumnBackTranslucency=45\r\n", 45, 0},
        {"ColumnBackTranslucency=45\r\nWindowBackTranslucency=20\r\nColumnSelectionMarginTranslucency=15\r\n", 20, 15},
        {"ColumnSelectionMarginTranslucency=17\r\nColumnActiveFocusBackTranslucency=30\r\n", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Keys);
        LoadSkinText(std::string("[Skin_Main]\r\n") + row.Keys);
        EXPECT_EQ(row.WindowBack, SkinOptions.WindowBackTranslucency);
        EXPECT_EQ(row.WindowSelectionMargin, SkinOptions.WindowSelectionMarginTranslucency);
    }
    EXPECT_EQ(30, SkinOptions.WindowActiveFocusBackTranslucency);

    ASSERT_TRUE(Form.SaveSkinFile(GetSkinsPath() + "Test"));
    const std::string text = ReadSkinFile("Test.qms");
    EXPECT_EQ(std::string::npos, text.find("Column")) << text;
    EXPECT_EQ(std::string::npos, text.find("TransparentWindows")) << text;
}

TEST_F(SkinFiles, AColoursOnlyLoadLeavesTheRestOfTheSkin)
{
    const std::string colorsOnly = "[Skin_Colors]\r\nFillingColor=255\r\n";
    TSkinOptions expected;
    expected.FillingColor = 255;

    SkinOptions = EveryFieldChanged();
    LoadSkinText(colorsOnly);
    EXPECT_EQ(expected, SkinOptions) << "a full load";

    const TSkinOptions changed = EveryFieldChanged();
    SkinOptions = changed;
    Form.FullLoad = false;
    LoadSkinText("[Skin_Main]\r\nFadeBackPicture=5\r\n\r\n" + colorsOnly);
    expected = changed;
    expected.SetDefaults(false);
    expected.FillingColor = 255;
    EXPECT_EQ(expected, SkinOptions) << "a colours-only load";
}

TEST_F(SkinFiles, PicturesInTheBackPicturesFolderAreStoredByName)
{
    const std::string folder = GetBackPicturesPath();
    struct Row
    {
        std::string InMemory;
        std::string Stored;
        std::string ReadBack;
    };
    const Row rows[] = {
        {folder + "Sunset.jpg", "Sunset.jpg", folder + "Sunset.jpg"},
        {"q:\\options\\backpictures\\Dawn.png", "Dawn.png", folder + "Dawn.png"},
        {folder + "Sub\\Sunset.jpg", folder + "Sub\\Sunset.jpg", folder + "Sub\\Sunset.jpg"},
        {"C:\\Pictures\\Sunset.jpg", "C:\\Pictures\\Sunset.jpg", "C:\\Pictures\\Sunset.jpg"},
        {folder, "", folder},
        {"", "", folder},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.InMemory);
        SkinOptions.BackPictureFileTitle = row.InMemory;
        ASSERT_TRUE(Form.SaveSkinFile(GetSkinsPath() + "Test"));
        EXPECT_EQ(row.InMemory, SkinOptions.BackPictureFileTitle);
        EXPECT_NE(std::string::npos, ReadSkinFile("Test.qms").find("\r\nBackPictureFileTitle=" + row.Stored + "\r\n"));
        EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Test"));
        EXPECT_EQ(row.ReadBack, SkinOptions.BackPictureFileTitle);
    }

    // A title longer than a path can be is not taken.
    LoadSkinText("[Skin_Main]\r\nBackPictureFileTitle=" + std::string(260, 'p') + "\r\n");
    EXPECT_EQ("", SkinOptions.BackPictureFileTitle);
}

TEST_F(SkinFiles, APictureTitleWithLineBreaksStaysOneTitle)
{
    SkinOptions.UseBackPicture = true;
    SkinOptions.BackPictureFileTitle = "C:\\Pictures\\Sun\r\n[Skin_Main]\r\nUseBackPicture=FALSE\r\n.jpg";
    ASSERT_TRUE(Form.SaveSkinFile(GetSkinsPath() + "Test"));
    EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Test"));
    EXPECT_EQ("C:\\Pictures\\Sun  [Skin_Main]  UseBackPicture=FALSE  .jpg", SkinOptions.BackPictureFileTitle);
    EXPECT_TRUE(SkinOptions.UseBackPicture);
}

TEST_F(SkinFiles, SkinNamesWithoutAnExtensionGetTheSkinExtension)
{
    Drive.WriteFile("Options/Skins/Dark.qms", "[Skin_Main]\r\nFadeBackPicture=10\r\n");
    Drive.WriteFile("Options/Skins/My.skin.qms", "[Skin_Main]\r\nFadeBackPicture=20\r\n");
    struct Row
    {
        const char* Name;
        const char* Title;
        int32_t Fade;
    };
    const Row rows[] = {
        {"Dark", "Dark", 10},
        {"Dark.qms", "Dark", 10},
        {"My.skin", "My", 70},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + row.Name)) << row.Name;
        EXPECT_EQ(row.Title, Form.LastSkinName) << row.Name;
        EXPECT_EQ(row.Fade, SkinOptions.FadeBackPicture) << row.Name;
    }
}

// A skin file that cannot be read leaves the skin as it was, and saving over it keeps
// the damaged file beside the new one.
TEST_F(SkinFiles, ADamagedSkinFileKeepsTheSkinAndIsKeptAsBackup)
{
    const std::string damaged = "[Skin_Main]\r\nFadeBackPicture=10\r\n" + std::string(4, '\0');
    Drive.WriteFile("Options/Skins/Broken.qms", damaged);
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    EXPECT_FALSE(Form.LoadSkinFile(GetSkinsPath() + "Broken"));
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to load file."));
    EXPECT_EQ(TSkinOptions(), SkinOptions);
    EXPECT_EQ(damaged, ReadSkinFile("Broken.qms"));

    SkinOptions.FadeBackPicture = 30;
    ASSERT_TRUE(Form.SaveSkinFile(GetSkinsPath() + "Broken"));
    EXPECT_EQ(damaged, ReadSkinFile("Broken.qms.bak"));
    SkinOptions = TSkinOptions();
    ASSERT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Broken"));
    EXPECT_EQ(30, SkinOptions.FadeBackPicture);
}

TEST_F(SkinFiles, TheMainWindowHearsOfEachLoadedSkinOnceItIsRead)
{
    Drive.WriteFile("Options/Skins/Dark.qms", "[Skin_Main]\r\nFadeBackPicture=10\r\n");
    std::vector<int32_t> fadesSeen;
    TSeam<TSkinEditorServices>::Get().SetOnSkinChanged([&] { fadesSeen.push_back(SkinOptions.FadeBackPicture); });
    EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Dark"));
    EXPECT_TRUE(Form.LoadSkinFile(GetSkinsPath() + "Missing"));
    EXPECT_EQ((std::vector<int32_t>{10, 70}), fadesSeen);
}

// The main window reaches the form only through its skin editor services, and only while
// the form lives.
TEST(SkinEditor, TheFormServesTheMainWindowWhileItLives)
{
    TTempDrive drive('Q');
    host::SetProgramHostFile(drive.HostPath("quillomber"));
    auto form = std::make_unique<TSkinForm>();
    TSkinEditorServices& services = TSeam<TSkinEditorServices>::Get();
    ASSERT_EQ(static_cast<TSkinEditorServices*>(form.get()), &services);

    form->BackPictureMinStretchSizeComboBox->setCurrentText("-1");
    form->StretchBackPictureMaxSkewComboBox->setCurrentText("150");
    form->AcceptBackPictureAutochangeCheckBox->setChecked(false);
    EXPECT_EQ(-1, services.GetBackPictureMinStretchSize());
    EXPECT_EQ(150, services.GetStretchBackPictureMaxSkew());
    EXPECT_FALSE(services.AcceptsBackPictureAutochange());

    // Both directions work on the program's own option file, with the settings for all skins.
    TStoredTextList options(drive.Path("Quillomber.ini"));
    options.OnSave = [&](TStoredTextList& store, int32_t) { services.WriteSkin(store); };
    ASSERT_TRUE(options.SaveToFile(options.FileName, false, 0));
    EXPECT_EQ(0u, drive.ReadFile("Quillomber.ini")
                      .find("[Skin_Global]\r\nLastSkinName=\r\n"
                            "BackPictureMinStretchSize=-1\r\n"));
    drive.WriteFile("Quillomber.ini", "[Skin_Global]\r\nBackPictureMinStretchSize=600\r\n");
    options.OnLoad = [&](TStoredTextList& store, int32_t) { services.ReadSkin(store); };
    ASSERT_TRUE(options.Load(0));
    EXPECT_EQ(600, services.GetBackPictureMinStretchSize());
    SkinOptions = TSkinOptions();

    form.reset();
    EXPECT_NE(static_cast<void*>(&services), static_cast<void*>(&TSeam<TSkinEditorServices>::Get()));
    EXPECT_EQ(nullptr, SkinForm);
}

} // namespace
