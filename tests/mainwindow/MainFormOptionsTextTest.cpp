#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/SkinEditorServices.h"

#include "columns/ContainerDialog.h"
#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/files/FileOperations.h"
#include "core/files/ProgramFolders.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/StoredTextList.h"

#include "host/FileSystem.h"
#include "host/Process.h"

#include "support/TestSupport.h"

#include "support/SettingsText.h"
#include "support/ViewerPluginFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Writes a skin section and tells when it was asked to read.
class TFakeSkinEditor : public TSkinEditorServices
{
public:
    TFakeSkinEditor() { TSeam<TSkinEditorServices>::Install(this); }
    ~TFakeSkinEditor() override { TSeam<TSkinEditorServices>::Install(nullptr); }
    TFakeSkinEditor(const TFakeSkinEditor&) = delete;
    TFakeSkinEditor& operator=(const TFakeSkinEditor&) = delete;

    void ReadSkin(TStoredTextList&) override
    {
        if (OnRead)
            OnRead();
    }
    void WriteSkin(TStoredTextList& store) override { store.WriteString("Skin_Global", "LastSkinName", "Dusk"); }
    int32_t GetBackPictureMinStretchSize() override { return -1; }
    int32_t GetStretchBackPictureMaxSkew() override { return -1; }
    bool AcceptsBackPictureAutochange() override { return false; }
    void SetOnSkinChanged(std::function<void()>) override {}
    void ShowMenu(MyTPanel&, bool) override {}

    std::function<void()> OnRead;
};

class MainFormOptionsText : public testing::Test
{
protected:
    MainFormOptionsText()
    {
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        for (const std::string& folder : {GetOptionsPath(), GetContainersPath()})
            host::CreateDirectory(folder);
        ProgramOptions = TProgramOptions();
        Store.FileName = GetOptionsPath() + "Quillomber.ini";
        Store.OnLoad = [this](TStoredTextList& store, int32_t flag) { Form->OnLoadOptionsSTL(store, flag); };
        Store.OnSave = [this](TStoredTextList& store, int32_t flag) { Form->OnSaveOptionsSTL(store, flag); };
    }
    ~MainFormOptionsText() override
    {
        for (TFileExtensionList* list : {&PictureFileExtensions, &AudioFileExtensions, &VideoFileExtensions,
                                         &TextFileExtensions, &ProgramFileExtensions, &DocumentFileExtensions})
            list->Clear();
        ProgramOptions = TProgramOptions();
        FileUnitLoader.LocalTime = true;
        FileUnitLoader.SizeUnits = true;
        std::filesystem::remove_all(TestRootHostPath() + "/config/autostart");
    }

    void Load(const std::string& text)
    {
        Drive.WriteFile("Options/Quillomber.ini", text);
        ASSERT_TRUE(Store.Load(0));
    }
    std::string Save()
    {
        EXPECT_TRUE(Store.Save(false, 0));
        return Drive.ReadFile("Options/Quillomber.ini");
    }

    // A fresh window; only one exists at a time, as it owns the boards.
    void RemakeForm()
    {
        Form.reset();
        Form = std::make_unique<TMainForm>();
    }

    TTempDrive Drive{'Q'};
    std::unique_ptr<TMainForm> Form = std::make_unique<TMainForm>();
    TStoredTextList Store{""};
};

TEST_F(MainFormOptionsText, OwnersReadAndWriteTheirPartsInTheFileOrder)
{
    TFakeSkinEditor skinEditor;
    const std::vector<std::pair<TMainForm::TOptionsSTLPlace, std::string>> owners = {
        {TMainForm::ospPasswordGenerator, "PasswordGenerator"},
        {TMainForm::ospViewerPlugins, ""},
        {TMainForm::ospFileDialog, "Main"},
        {TMainForm::ospSearchFile, "SearchFile"},
        {TMainForm::ospFindCommonText, "FindCommonText"},
        {TMainForm::ospLocateFile, "LocateFile"},
        {TMainForm::ospRecentPlayLists, "LastPlayedMPL_MPL"},
        {TMainForm::ospFileStreamsEditor, "FileStreamsEditor"},
        {TMainForm::ospSteg, "Steg"},
        {TMainForm::ospMultiRename, "MultiRename"},
        {TMainForm::ospTreeNavigator, "DTN"},
    };
    // What the main window has read of its own at each owner's turn: W the panel sizes,
    // O the program options, C the container names, B the active board, R the media
    // buttons, E the extension lists.
    auto progress = [this] {
        std::string read;
        read += Form->TreePanel->width() == 150 ? "W" : "";
        read += ProgramOptions.HintLines == 5 ? "O" : "";
        read += Form->ContainerDialog->Containers.Find(2)->Name == "Work" ? "C" : "";
        read += Boards->ActiveBoard == 4 ? "B" : "";
        read += Form->RepeatButton->Down ? "R" : "";
        read += ProgramFileExtensions.Entries() == std::vector<std::string>{".x"} ? "E" : "";
        return read;
    };
    std::vector<std::string> turns;
    for (const auto& [place, section] : owners) {
        const int32_t number = place;
        Form->OptionsSTLHooks[static_cast<size_t>(place)].Load = [&, number](TStoredTextList&) {
            turns.push_back(std::to_string(number) + ":" + progress());
        };
        if (!section.empty())
            Form->OptionsSTLHooks[static_cast<size_t>(place)].Save = [section](TStoredTextList& store) {
                store.WriteString(section, "Owned", "1");
            };
    }
    skinEditor.OnRead = [&] { turns.push_back("Skin:" + progress()); };

    Load("[Main]\r\nTreeNavigatorWidth=150\r\nHintLines=5\r\nActiveBoard=4\r\n\r\n[Containers]\r\n2=Work\r\n\r\n"
         "[MediaPlayList]\r\nRepeat=TRUE\r\n\r\n[ProgramExtensions]\r\nCount=1\r\n0=.x\r\n\r\n");
    EXPECT_EQ((std::vector<std::string>{"0:", "1:WO", "2:WO", "3:WO", "4:WO", "5:WO", "6:WOCB", "7:WOCBRE", "8:WOCBRE",
                                        "Skin:WOCBRE", "9:WOCBRE", "10:WOCBRE"}),
              turns);

    const std::string text = Save();
    EXPECT_EQ((std::vector<std::string>{"Main",
                                        "PasswordGenerator",
                                        "MouseOperations",
                                        "MouseMenu2",
                                        "FileHover",
                                        "Viewer",
                                        "FileList",
                                        "ViewerPlugins",
                                        "SearchFile",
                                        "FindCommonText",
                                        "LocateFile",
                                        "Containers",
                                        "LastPlayedMPL_MPL",
                                        "MediaPlayList",
                                        "ProgramExtensions",
                                        "DocumentExtensions",
                                        "Viewer_AudioExtensions",
                                        "Viewer_VideoExtensions",
                                        "Viewer_TextExtensions",
                                        "FileStreamsEditor",
                                        "Steg",
                                        "Skin_Global",
                                        "MultiRename",
                                        "DTN"}),
              SectionsOf(text));
    const std::vector<std::string> mainKeys = KeysOfSection(text, "Main");
    ASSERT_GT(mainKeys.size(), 10u);
    EXPECT_EQ((std::vector<std::string>{"XPos", "YPos", "XSize", "YSize", "TreeNavigatorWidth", "MPLWidth",
                                        "ViewerHeight", "FirstRun"}),
              std::vector<std::string>(mainKeys.begin(), mainKeys.begin() + 8));
    EXPECT_EQ((std::vector<std::string>{"Owned", "ActiveBoard"}),
              std::vector<std::string>(mainKeys.end() - 2, mainKeys.end()));
    EXPECT_NE(std::string::npos, text.find("\r\nTreeNavigatorWidth=150\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nActiveBoard=4\r\n"));
}

TEST_F(MainFormOptionsText, TheViewerPluginsLoadOnceTheOptionsAreReadAndGoWithTheWindow)
{
    CopyViewerPlugin(Drive, SamplePluginHostPath, "Sample.so");
    Load("[ViewerPlugins]\r\nActivate1=TRUE\r\nName1=Sample.so\r\n\r\n");
    EXPECT_TRUE(Form->IsViewerPluginFile(".qpt", 1));
    EXPECT_EQ(1, Form->GetViewerPluginIndex(".QPT"));
    ASSERT_TRUE(IsLibraryLoaded(Drive.HostPath("Plugins/Sample.so")));

    Form.reset();
    EXPECT_FALSE(IsLibraryLoaded(Drive.HostPath("Plugins/Sample.so")));
}

TEST_F(MainFormOptionsText, UnknownKeysAndSectionsAreGoneAfterASave)
{
    Load("[Main]\r\nXPos=20\r\nHandEdited=1\r\n\r\n[Mine]\r\nA=1\r\n\r\n[MediaPlayList]\r\nVolume=7\r\n\r\n");
    const std::string text = Save();
    EXPECT_EQ(std::string::npos, text.find("HandEdited")) << text;
    EXPECT_EQ(std::string::npos, text.find("[Mine]")) << text;
    EXPECT_EQ((std::vector<std::string>{"Repeat", "FitMovie"}), KeysOfSection(text, "MediaPlayList"));
    EXPECT_EQ(0u, text.find("[Main]\r\nXPos=20\r\n"));
}

TEST_F(MainFormOptionsText, TheActiveBoardIsTakenOnlyWhenItIsABoard)
{
    struct Row
    {
        const char* Stored;
        int32_t Board;
    };
    const Row rows[] = {{"30", 0}, {"-1", 0}, {"29", 29}, {"7", 7}, {"seven", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Stored);
        Boards->ActiveBoard = 12;
        Load(std::string("[Main]\r\nActiveBoard=") + row.Stored + "\r\n");
        EXPECT_EQ(row.Board, Boards->ActiveBoard);
    }
}

// The tree may take 45% of the window's client width, the play list 35%, the viewer the
// client height, all measured after the window's own bounds were read.
TEST_F(MainFormOptionsText, PanelSizesAreTakenOnlyWithinTheWindow)
{
    struct Row
    {
        const char* Keys;
        int32_t Tree;
        int32_t PlayList;
        int32_t Viewer;
    };
    const Row rows[] = {
        {"", 300, 240, 250},
        {"TreeNavigatorWidth=318\r\nMPLWidth=247\r\nViewerHeight=534\r\n", 318, 247, 534},
        {"TreeNavigatorWidth=319\r\nMPLWidth=248\r\nViewerHeight=535\r\n", 300, 240, 250},
        {"TreeNavigatorWidth=100\r\nMPLWidth=100\r\nViewerHeight=50\r\n", 100, 100, 50},
        {"TreeNavigatorWidth=99\r\nMPLWidth=99\r\nViewerHeight=49\r\n", 300, 240, 250},
        {"XSize=600\r\nYSize=400\r\nTreeNavigatorWidth=280\r\nMPLWidth=210\r\nViewerHeight=401\r\n", 300, 210, 250},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Keys);
        RemakeForm();
        Load(std::string("[Main]\r\n") + row.Keys);
        EXPECT_EQ(row.Tree, Form->TreePanel->width());
        EXPECT_EQ(row.PlayList, Form->PlayListPanel->width());
        EXPECT_EQ(row.Viewer, Form->ViewerPanel->height());
    }
}

TEST_F(MainFormOptionsText, EmptyExtensionListsTakeTheirDefaultsAndKeepThem)
{
    Load("[ProgramExtensions]\r\nCount=0\r\n\r\n[DocumentExtensions]\r\nCount=2\r\n0=\r\n1=\r\n\r\n"
         "[Viewer_TextExtensions]\r\nCount=3\r\n0=.TXT\r\n1=.log\r\n2=.txt\r\n\r\n");
    const std::vector<std::string> programDefaults = {".bat", ".com", ".cpl", ".exe", ".js", ".msc",
                                                      ".msi", ".scf", ".vbs", ".wsf", ".wsh"};
    EXPECT_EQ(programDefaults, ProgramFileExtensions.Entries());
    EXPECT_EQ(103u, DocumentFileExtensions.Entries().size());
    EXPECT_EQ((std::vector<std::string>{".mid", ".midi", ".mp3", ".rmi", ".vqf", ".wav", ".wma"}),
              AudioFileExtensions.Entries());
    EXPECT_EQ((std::vector<std::string>{".log", ".TXT"}), TextFileExtensions.Entries());
    EXPECT_TRUE(IsPictureFile("a.png")) << "the picture list comes from the decoders";

    const std::string text = Save();
    EXPECT_NE(std::string::npos, text.find("[ProgramExtensions]\r\nCount=11\r\n0=.bat\r\n1=.com\r\n"));
    EXPECT_NE(std::string::npos, text.find("[Viewer_TextExtensions]\r\nCount=2\r\n0=.log\r\n1=.TXT\r\n\r\n"));
    for (const std::string& section : SectionsOf(text))
        EXPECT_EQ(std::string::npos, section.find("Picture")) << "the picture list is never stored";
}

TEST_F(MainFormOptionsText, TheMediaButtonsKeepTheirStateInTheFile)
{
    struct Row
    {
        const char* Section;
        bool Repeat;
        bool Fit;
    };
    const Row rows[] = {
        {"", false, true},
        {"[MediaPlayList]\r\nRepeat=TRUE\r\nFitMovie=FALSE\r\n", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Section);
        RemakeForm();
        Load(row.Section);
        EXPECT_EQ(row.Repeat, Form->RepeatButton->Down);
        EXPECT_EQ(row.Fit, Form->FitButton->Down);
        const std::string expected = std::string("[MediaPlayList]\r\nRepeat=") + (row.Repeat ? "TRUE" : "FALSE") +
                                     "\r\nFitMovie=" + (row.Fit ? "TRUE" : "FALSE") + "\r\n\r\n";
        EXPECT_NE(std::string::npos, Save().find(expected));
    }
}

TEST_F(MainFormOptionsText, EachContainerFollowsItsName)
{
    Drive.WriteFile("Options/Containers/04.txt", "C:\\Work\\a.txt\r\nC:\\Work\\b.txt\r\n");
    Load("[Containers]\r\n0=\r\n3=Work\r\n5=" + std::string(256, 'n') + "\r\n");
    TContainers& containers = Form->ContainerDialog->Containers;
    EXPECT_EQ(0, containers.Find(3)->Count()) << "the entries are read at start-up, whatever became of the file";
    containers.LoadAll();
    EXPECT_EQ("Found", containers.Find(0)->Name) << "an empty name is not taken";
    EXPECT_EQ("Work", containers.Find(3)->Name);
    EXPECT_EQ("", containers.Find(5)->Name) << "a name over 255 bytes is not taken";
    ASSERT_EQ(2, containers.Find(3)->Count());
    EXPECT_EQ("C:\\Work\\b.txt", containers.Find(3)->Items()[1].Path);

    containers.Find(3)->DeleteItem(0);
    containers.Find(7)->Name = "Later";
    containers.Find(7)->AddItem("C:\\Later", 0);
    const std::string text = Save();
    EXPECT_NE(std::string::npos, text.find("[Containers]\r\n0=Found\r\n1=\r\n2=\r\n3=Work\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\n7=Later\r\n"));
    EXPECT_EQ("C:\\Work\\b.txt\r\n", Drive.ReadFile("Options/Containers/04.txt"));
    EXPECT_EQ("C:\\Later\r\n", Drive.ReadFile("Options/Containers/08.txt"));
    EXPECT_EQ("", Drive.ReadFile("Options/Containers/20.txt"));
}

TEST_F(MainFormOptionsText, AContainerNameWithLineBreaksStaysOneName)
{
    Load("");
    Form->ContainerDialog->Containers.Find(3)->Name = "Photos\r\n[Main]\r\nAutorun=TRUE";
    Form->ContainerDialog->Containers.Find(4)->Name = "Next";
    Save();
    RemakeForm();

    ASSERT_TRUE(Store.Load(0));
    EXPECT_EQ("Photos  [Main]  Autorun=TRUE", Form->ContainerDialog->Containers.Find(3)->Name);
    EXPECT_EQ("Next", Form->ContainerDialog->Containers.Find(4)->Name);
    EXPECT_FALSE(ProgramOptions.Autorun);
}

} // namespace
