#include "core/settings/StoredTextList.h"

#include "core/errors/Error.h"
#include "core/errors/ErrorForm.h"
#include "core/forms/MessageBoxes.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

namespace {

// What a dialog would keep in the settings file, with its defaults.
struct TSettings
{
    std::string Name = "default";
    int32_t Width = 100;
    bool Flag = false;
    TColor Back = 0x123456;
    std::vector<std::string> Recent;

    bool operator==(const TSettings&) const = default;
};

void ReadSettings(TStoredTextList& list, TSettings& settings)
{
    list.ReadColor("Main", "Back", settings.Back);
    list.ReadInteger("Main", "Width", 10, 1000, settings.Width);
    list.ReadBool("Main", "Flag", settings.Flag);
    list.ReadString("Main", "Name", 31, settings.Name, false);
    list.ReadStringList("Recent", settings.Recent, 0, false);
}

void WriteSettings(TStoredTextList& list, const TSettings& settings)
{
    list.WriteString("Main", "Name", settings.Name);
    list.WriteInteger("Main", "Width", settings.Width);
    list.WriteBool("Main", "Flag", settings.Flag);
    list.WriteColor("Main", "Back", settings.Back);
    list.WriteStringList("Recent", settings.Recent);
}

// The error dialog, answered by the script, so the shown failure text can be checked.
class TInstalledErrorForm
{
public:
    TInstalledErrorForm() { ErrorForm = &Form; }
    ~TInstalledErrorForm() { ErrorForm = nullptr; }
    TInstalledErrorForm(const TInstalledErrorForm&) = delete;
    TInstalledErrorForm& operator=(const TInstalledErrorForm&) = delete;

    // The next error dialog must show this message; `seen` runs when it does.
    void Expect(TModalScript& script, const std::string& message, std::function<void()> seen = {})
    {
        script.Expect("Error", TErrorForm::mrOkay, [this, message, seen](const TModalRequest&) {
            EXPECT_NE(std::string::npos, Form.MemoText().find("DESCRIPTION\r\n" + message + "\r\n")) << Form.MemoText();
            if (seen)
                seen();
        });
    }

private:
    TErrorForm Form;
};

class StoredTextList : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    std::string Path = Drive.Path("Quillomber.ini");

    // Loads the text as the settings file.
    std::unique_ptr<TStoredTextList> LoadText(const std::string& text)
    {
        Drive.WriteFile("Quillomber.ini", text);
        auto list = std::make_unique<TStoredTextList>(Path);
        EXPECT_TRUE(list->Load(0));
        return list;
    }

    size_t FilesInDrive() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(Drive.HostPath()),
                                                 std::filesystem::directory_iterator()));
    }
};

TEST_F(StoredTextList, SettingsSurviveASaveAndALoad)
{
    const TSettings saved{"Saved name", 640, true, 0x0000FF, {"C:\\a", "C:\\b"}};
    TStoredTextList out(Path);
    int32_t flagSeen = -1;
    out.OnSave = [&](TStoredTextList& list, int32_t flag) {
        flagSeen = flag;
        list.Clear();
        WriteSettings(list, saved);
    };
    ASSERT_TRUE(out.SaveToFile(Path, false, 7));
    EXPECT_EQ(7, flagSeen);
    EXPECT_FALSE(out.Modified);
    EXPECT_EQ("[Main]\r\nName=Saved name\r\nWidth=640\r\nFlag=TRUE\r\nBack=255\r\n\r\n"
              "[Recent]\r\nCount=2\r\n0=C:\\a\r\n1=C:\\b\r\n\r\n",
              Drive.ReadFile("Quillomber.ini"));

    TStoredTextList in(Path);
    TSettings loaded;
    in.OnLoad = [&](TStoredTextList& list, int32_t) {
        EXPECT_TRUE(list.Loading);
        ReadSettings(list, loaded);
    };
    ASSERT_TRUE(in.Load(0));
    EXPECT_FALSE(in.Loading);
    EXPECT_EQ(saved, loaded);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(StoredTextList, ButtonsAndFormBoundsSurviveASaveAndALoad)
{
    QCheckBox checkBox;
    QToolButton speedButton;
    speedButton.setCheckable(true);
    QWidget form;
    checkBox.setChecked(true);
    speedButton.setChecked(true);
    form.setGeometry(20, 30, 300, 200);
    TStoredTextList out(Path);
    out.OnSave = [&](TStoredTextList& list, int32_t) {
        list.WriteCheckBox("Dialog", "Check", checkBox);
        list.WriteSpeedButton("Dialog", "Speed", speedButton);
        list.WriteFormBounds("Dialog", "XPos", "YPos", "XSize", "YSize", form);
    };
    ASSERT_TRUE(out.SaveToFile(Path, false, 0));

    checkBox.setChecked(false);
    speedButton.setChecked(false);
    form.setGeometry(1, 2, 3, 4);
    TStoredTextList in(Path);
    in.OnLoad = [&](TStoredTextList& list, int32_t) {
        list.ReadCheckBox("Dialog", "Check", checkBox);
        list.ReadSpeedButton("Dialog", "Speed", speedButton);
        list.ReadFormBounds("Dialog", "XPos", "YPos", "XSize", "YSize", form);
    };
    ASSERT_TRUE(in.Load(0));
    EXPECT_TRUE(checkBox.isChecked());
    EXPECT_TRUE(speedButton.isChecked());
    EXPECT_EQ(QRect(20, 30, 300, 200), form.geometry());
}

TEST_F(StoredTextList, LinesAreReadAndWrittenInTheFileFormat)
{
    auto list = LoadText("orphan=dropped\n; comment\n[Main]\nName=first\nname=second\nno equals line\n\n"
                         "[ Spaced ]\r\nKey=v\r[main]\nLate=x\n");
    std::string text;
    list->ReadString("MAIN", "NAME", 255, text, false);
    EXPECT_EQ("first", text);
    list->ReadString(" Spaced ", "key", 255, text, false);
    EXPECT_EQ("v", text);
    list->ReadString("Spaced", "Key", 255, text = "unchanged", false);
    EXPECT_EQ("unchanged", text);
    list->ReadString("Main", "orphan", 255, text, false);
    EXPECT_EQ("unchanged", text);

    list->WriteString("Main", "NAME", "new");
    list->WriteString("Main", "Added", "a=b");
    list->WriteString("Other", "K", "v");
    EXPECT_TRUE(list->Modified);
    ASSERT_TRUE(list->Save(false, 0));
    EXPECT_EQ("[Main]\r\nNAME=new\r\nname=second\r\nno equals line\r\nLate=x\r\nAdded=a=b\r\n\r\n"
              "[ Spaced ]\r\nKey=v\r\n\r\n[Other]\r\nK=v\r\n\r\n",
              Drive.ReadFile("Quillomber.ini"));

    list->EraseSection("main");
    list->ReadString("OTHER", "k", 255, text, false);
    EXPECT_EQ("v", text);
    list->WriteString("other", "K", "w");
    ASSERT_TRUE(list->Save(false, 0));
    EXPECT_EQ("[ Spaced ]\r\nKey=v\r\n\r\n[Other]\r\nK=w\r\n\r\n", Drive.ReadFile("Quillomber.ini"));
}

// Far more sections and keys than the file held when loaded: every one is found again,
// by any letter case, and a rewrite replaces its line instead of adding one.
TEST_F(StoredTextList, EverySectionAndKeyWrittenAfterTheLoadIsFound)
{
    auto list = LoadText("[Main]\r\nK=v\r\n");
    constexpr int Sections = 3000;
    for (int i = 0; i < Sections; ++i) {
        list->WriteInteger("Section" + std::to_string(i), "Count", i);
        list->WriteInteger("section" + std::to_string(i), "COUNT", i + 1);
        list->WriteString("Main", "Key" + std::to_string(i), std::to_string(i));
    }
    for (int i = 0; i < Sections; ++i) {
        int32_t count = -1;
        list->ReadInteger("SECTION" + std::to_string(i), "count", 0, Sections + 1, count);
        EXPECT_EQ(i + 1, count) << i;
        std::string value;
        list->ReadString("main", "key" + std::to_string(i), 255, value, false);
        EXPECT_EQ(std::to_string(i), value) << i;
    }
    ASSERT_TRUE(list->Save(false, 0));
    const std::string saved = Drive.ReadFile("Quillomber.ini");
    EXPECT_EQ(std::string::npos, saved.find("Count="));
    EXPECT_NE(std::string::npos, saved.find("[Section2999]\r\nCOUNT=3000\r\n\r\n"));
}

TEST_F(StoredTextList, AByteOrderMarkBeforeTheFirstSectionIsSkipped)
{
    auto list = LoadText("\xEF\xBB\xBF[Main]\r\nXPos=5\r\n\r\n[Other]\r\nK=v\r\n");
    int32_t x = 0;
    list->ReadInteger("Main", "XPos", 0, 100, x);
    EXPECT_EQ(5, x);
    list->WriteInteger("main", "xpos", 6);
    ASSERT_TRUE(list->Save(false, 0));
    EXPECT_EQ("[Main]\r\nxpos=6\r\n\r\n[Other]\r\nK=v\r\n\r\n", Drive.ReadFile("Quillomber.ini"));
}

TEST_F(StoredTextList, ReadIntegerTakesOnlyNumbersWithinItsLimits)
{
    struct Row
    {
        const char* Stored;
        int32_t Expected;
    };
    const Row rows[] = {
        {"10", 10}, {"0", 0}, {"0x0A", 10}, {"$a", 10}, {"11", 5},  {"-1", 5},
        {"abc", 5}, {"", 5},  {"7 ", 5},    {" 7", 5},  {"7.0", 5}, {"99999999999", 5},
    };
    std::string text = "[T]\r\n";
    for (size_t i = 0; i < std::size(rows); ++i)
        text += "K" + std::to_string(i) + "=" + rows[i].Stored + "\r\n";
    auto list = LoadText(text);
    for (size_t i = 0; i < std::size(rows); ++i) {
        int32_t value = 5;
        list->ReadInteger("T", "K" + std::to_string(i), 0, 10, value);
        EXPECT_EQ(rows[i].Expected, value) << "stored \"" << rows[i].Stored << "\"";
    }
    int32_t missing = 5;
    list->ReadInteger("T", "Missing", 0, 10, missing);
    EXPECT_EQ(5, missing);
}

TEST_F(StoredTextList, ReadStringKeepsTooLongAndUnwantedEmptyTexts)
{
    auto list = LoadText("[T]\r\nLong=" + std::string(32, 'x') + "\r\nFits=" + std::string(31, 'y') + "\r\nEmpty=\r\n");
    std::string value = "default";
    list->ReadString("T", "Long", 31, value, false);
    EXPECT_EQ("default", value);
    list->ReadString("T", "Fits", 31, value, false);
    EXPECT_EQ(std::string(31, 'y'), value);
    list->ReadString("T", "Empty", 31, value = "default", false);
    EXPECT_EQ("default", value);
    list->ReadString("T", "Empty", 31, value, true);
    EXPECT_EQ("", value);
}

TEST_F(StoredTextList, LineBreaksInAValueAreWrittenAsSpacesAndAddNoLines)
{
    struct Row
    {
        std::string Value;
        std::string Written;
    };
    const Row rows[] = {
        {"Photos\r\n[Main]\r\nAutorun=TRUE", "Photos  [Main]  Autorun=TRUE"},
        {"a\nb\rc", "a b c"},
        {"\r\n", "  "},
        {"no break", "no break"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.Value));
        auto list = LoadText("[Containers]\r\n0=old\r\n1=Next\r\n\r\n[Main]\r\nAutorun=FALSE\r\n\r\n");
        list->WriteString("Containers", "0", row.Value);
        list->WriteStringList("Recent", {row.Value});
        ASSERT_TRUE(list->Save(false, 0));
        EXPECT_EQ("[Containers]\r\n0=" + row.Written +
                      "\r\n1=Next\r\n\r\n[Main]\r\nAutorun=FALSE\r\n\r\n"
                      "[Recent]\r\nCount=1\r\n0=" +
                      row.Written + "\r\n\r\n",
                  Drive.ReadFile("Quillomber.ini"));

        ASSERT_TRUE(list->Load(0));
        std::string value;
        list->ReadString("Containers", "0", 255, value, true);
        EXPECT_EQ(row.Written, value);
        bool autorun = true;
        list->ReadBool("Main", "Autorun", autorun);
        EXPECT_FALSE(autorun);
    }
}

TEST_F(StoredTextList, ReadBoolTakesOnlyTheExactWords)
{
    auto list = LoadText("[T]\r\nUpper=TRUE\r\nFalse=FALSE\r\nLower=true\r\nOne=1\r\nYes=yes\r\nEmpty=\r\n");
    for (const bool start : {false, true}) {
        SCOPED_TRACE(start ? "starting true" : "starting false");
        for (const char* key : {"Lower", "One", "Yes", "Empty", "Missing"}) {
            bool value = start;
            list->ReadBool("T", key, value);
            EXPECT_EQ(start, value) << key;
        }
        bool value = start;
        list->ReadBool("T", "Upper", value);
        EXPECT_TRUE(value);
        list->ReadBool("T", "False", value);
        EXPECT_FALSE(value);
    }
}

TEST_F(StoredTextList, ReadColorTakesNamesIdentifiersAndNumbers)
{
    struct Row
    {
        const char* Stored;
        TColor Expected;
    };
    const Row rows[] = {
        {"Teal", 0x828200},
        {"light PASTEL green", 0xC8FFC8},
        {"clRed", 0x0000FF},
        {"clBtnFace", static_cast<TColor>(0x8000000F)},
        {"255", 255},
        {"$FF0000", 0xFF0000},
        {"-2147483633", static_cast<TColor>(0x8000000F)},
        {"", 0},
        {"Tael", 0x123456},
        {"#FF0000", 0x123456},
        {"12 34", 0x123456},
    };
    std::string text = "[T]\r\n";
    for (size_t i = 0; i < std::size(rows); ++i)
        text += "C" + std::to_string(i) + "=" + rows[i].Stored + "\r\n";
    auto list = LoadText(text);
    for (size_t i = 0; i < std::size(rows); ++i) {
        TColor color = 0x123456;
        list->ReadColor("T", "C" + std::to_string(i), color);
        EXPECT_EQ(rows[i].Expected, color) << "stored \"" << rows[i].Stored << "\"";
    }
}

TEST_F(StoredTextList, ADamagedOrTruncatedFileKeepsTheDefaultsOfItsBadValues)
{
    // Malformed values come first, so the reads after them show that the load goes on;
    // the file ends in the middle of a value.
    Drive.WriteFile("Quillomber.ini", "[Main]\r\nBack=#00FF00\r\nWidth=wide\r\nName=Kept\r\n\r\n"
                                      "[Recent]\r\nCount=2\r\n0=C:\\a\r\n1=C:\\b\r\n\r\n[Main]\r\nFlag=TR");
    TStoredTextList list(Path);
    TSettings loaded;
    list.OnLoad = [&](TStoredTextList& store, int32_t) { ReadSettings(store, loaded); };
    ASSERT_TRUE(list.Load(0));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    const TSettings defaults;
    EXPECT_EQ(defaults.Back, loaded.Back);
    EXPECT_EQ(defaults.Width, loaded.Width);
    EXPECT_EQ(defaults.Flag, loaded.Flag);
    EXPECT_EQ("Kept", loaded.Name);
    EXPECT_EQ((std::vector<std::string>{"C:\\a", "C:\\b"}), loaded.Recent);
}

TEST_F(StoredTextList, AMissingFileLoadsAsEmpty)
{
    TStoredTextList list(Drive.Path("no folder\\Quillomber.ini"));
    TSettings loaded;
    list.OnLoad = [&](TStoredTextList& store, int32_t) { ReadSettings(store, loaded); };
    ASSERT_TRUE(list.Load(0));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(TSettings(), loaded);
}

TEST_F(StoredTextList, AFileThatCannotBeReadFailsTheLoadAndIsHandedOn)
{
    Drive.WriteFile("Quillomber.ini", "[Main]\r\nName=Precious\r\n\r\n");
    TInstalledErrorForm errorForm;
    TModalScript script;
    std::vector<std::string> events;
    TStoredTextList list(Path);
    list.OnLoad = [&](TStoredTextList&, int32_t) { events.push_back("load"); };
    list.OnError = [&] { events.push_back("error"); };
    errorForm.Expect(script, "Failed to load file.", [&] { events.push_back("shown"); });

    host::InjectFault(host::HostCall::Read, host::ERROR_IO_DEVICE);
    EXPECT_FALSE(list.Load(0));
    EXPECT_EQ((std::vector<std::string>{"error", "shown"}), events);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(host::ERROR_IO_DEVICE, FunStatContext.SystemErrorCode);
    EXPECT_FALSE(list.Loading);

    std::string name = "default";
    list.ReadString("Main", "Name", 255, name, false);
    EXPECT_EQ("default", name);
}

// However the load failed, the file may hold all the user's settings: the first save
// keeps it whole beside the new one, and later saves leave that copy alone.
TEST_F(StoredTextList, AFileWhoseLoadFailedIsKeptAsBackupByTheFirstSave)
{
    const std::string precious = "[Main]\r\nName=Precious\r\n\r\n";
    struct Row
    {
        const char* Damage;
        std::string Content;
        std::function<void()> Before;
        bool ReaderThrows;
    };
    const Row rows[] = {
        {"unreadable", precious, [] { host::InjectFault(host::HostCall::Read, host::ERROR_IO_DEVICE); }, false},
        {"zero bytes", std::string("[Main]\r\nName=Pre\0cious\r\n", 24), {}, false},
        {"UTF-16", std::string("[\0M\0a\0i\0n\0]\0", 12), {}, false},
        {"reader breaks", precious, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Damage);
        Drive.WriteFile("Quillomber.ini", row.Content);
        std::filesystem::remove(Drive.HostPath("Quillomber.ini.bak"));
        TInstalledErrorForm errorForm;
        TModalScript script;
        errorForm.Expect(script, "Failed to load file.");
        TStoredTextList list(Path);
        list.OnLoad = [&](TStoredTextList&, int32_t) {
            if (row.ReaderThrows)
                throw std::runtime_error("reader broke");
        };
        if (row.Before)
            row.Before();
        EXPECT_FALSE(list.Load(0));
        EXPECT_EQ(row.Content, Drive.ReadFile("Quillomber.ini"));

        list.OnSave = [](TStoredTextList& store, int32_t) { store.WriteString("Main", "Name", "Default"); };
        EXPECT_TRUE(list.Save(false, 0));
        EXPECT_EQ(row.Content, Drive.ReadFile("Quillomber.ini.bak"));
        EXPECT_NE(std::string::npos, Drive.ReadFile("Quillomber.ini").find("Name=Default\r\n"));

        list.OnSave = [](TStoredTextList& store, int32_t) { store.WriteString("Main", "Name", "Later"); };
        EXPECT_TRUE(list.Save(false, 0));
        EXPECT_EQ(row.Content, Drive.ReadFile("Quillomber.ini.bak"));
        EXPECT_NE(std::string::npos, Drive.ReadFile("Quillomber.ini").find("Name=Later\r\n"));
    }
}

TEST_F(StoredTextList, OnlyTheFileWhoseLoadFailedIsKept)
{
    TModalScript script;
    TInstalledErrorForm errorForm;
    errorForm.Expect(script, "Failed to load file.");
    Drive.WriteFile("Quillomber.ini", std::string("\0", 1));
    TStoredTextList list(Path);
    EXPECT_FALSE(list.Load(0));

    // Saved under another name, the damaged file stays where it is.
    Drive.WriteFile("Other.ini", "[Other]\r\n");
    EXPECT_TRUE(list.SaveToFile(Drive.Path("Other.ini"), false, 0));
    EXPECT_FALSE(Drive.Exists("Other.ini.bak"));
    EXPECT_EQ(std::string("\0", 1), Drive.ReadFile("Quillomber.ini"));

    // A later good load of the file forgets the failure.
    Drive.WriteFile("Quillomber.ini", "[Main]\r\n");
    EXPECT_TRUE(list.LoadFromFile(Path, 0));
    EXPECT_TRUE(list.Save(false, 0));
    EXPECT_FALSE(Drive.Exists("Quillomber.ini.bak"));

    // A store that saves before it ever loaded reads the file first, and keeps it when
    // that file cannot be read as settings.
    Drive.WriteFile("Third.ini", std::string("x\0", 2));
    TStoredTextList fresh("");
    EXPECT_TRUE(fresh.SaveToFile(Drive.Path("Third.ini"), false, 0));
    EXPECT_EQ(std::string("x\0", 2), Drive.ReadFile("Third.ini.bak"));
}

TEST_F(StoredTextList, ASaveThatCannotKeepTheDamagedFileLeavesItForTheNextSave)
{
    TModalScript script;
    TInstalledErrorForm errorForm;
    errorForm.Expect(script, "Failed to load file.");
    Drive.WriteFile("Quillomber.ini", std::string("\0", 1));
    TStoredTextList list(Path);
    EXPECT_FALSE(list.Load(0));

    errorForm.Expect(script, "Failed to save file.");
    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(list.Save(false, 0));
    EXPECT_EQ(std::string("\0", 1), Drive.ReadFile("Quillomber.ini"));
    EXPECT_FALSE(Drive.Exists("Quillomber.ini.bak"));

    EXPECT_TRUE(list.Save(false, 0));
    EXPECT_EQ(std::string("\0", 1), Drive.ReadFile("Quillomber.ini.bak"));
}

TEST_F(StoredTextList, AnExceptionInTheLoadEventFailsTheLoadAndIsHandedOn)
{
    Drive.WriteFile("Quillomber.ini", "[Main]\r\n");
    TInstalledErrorForm errorForm;
    TModalScript script;
    errorForm.Expect(script, "Failed to load file.");
    TStoredTextList list(Path);
    list.OnLoad = [](TStoredTextList&, int32_t) { throw std::runtime_error("reader broke"); };
    EXPECT_FALSE(list.Load(0));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Unhandled exception: reader broke", FunStatContext.Description);
}

TEST_F(StoredTextList, AFailedSaveLeavesTheOldFileWhole)
{
    const std::string original = "[Main]\r\nName=Old\r\n\r\n";
    auto list = LoadText(original);
    list->WriteString("Main", "Name", std::string(200000, 'n'));
    TInstalledErrorForm errorForm;
    TModalScript script;
    errorForm.Expect(script, "Failed to save file.");

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    EXPECT_FALSE(list->Save(false, 0));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(list->Modified);
    EXPECT_EQ(original, Drive.ReadFile("Quillomber.ini"));
    EXPECT_EQ(1u, FilesInDrive());

    EXPECT_TRUE(list->Save(false, 0));
    EXPECT_FALSE(list->Modified);
    EXPECT_EQ("[Main]\r\nName=" + std::string(200000, 'n') + "\r\n\r\n", Drive.ReadFile("Quillomber.ini"));
}

TEST_F(StoredTextList, SaveAsksBeforeOverwritingAnExistingFile)
{
    const std::string original = "[Main]\r\nName=Old\r\n\r\n";
    auto list = LoadText(original);
    bool saving = false;
    list->OnSave = [&](TStoredTextList& store, int32_t) {
        saving = true;
        store.WriteString("Main", "Name", "New");
    };
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        EXPECT_FALSE(list->Save(true, 0));
        ASSERT_EQ(1u, script.Seen().size());
        EXPECT_EQ("File \"T:\\Quillomber.ini\"already exists.\nOverwrite it?", script.Seen()[0].Text);
    }
    EXPECT_FALSE(saving);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(original, Drive.ReadFile("Quillomber.ini"));

    TModalScript script;
    script.Expect("Query", IDYES);
    EXPECT_TRUE(list->Save(true, 0));
    EXPECT_EQ("[Main]\r\nName=New\r\n\r\n", Drive.ReadFile("Quillomber.ini"));
}

TEST_F(StoredTextList, AReadOnlyFileIsLoadedAndSaved)
{
    Drive.WriteFile("Quillomber.ini", "[Main]\r\nName=Old\r\n\r\n");
    std::filesystem::permissions(Drive.HostPath("Quillomber.ini"), std::filesystem::perms::owner_read);
    TStoredTextList list(Path);
    std::string name;
    list.OnLoad = [&](TStoredTextList& store, int32_t) { store.ReadString("Main", "Name", 255, name, false); };
    ASSERT_TRUE(list.Load(0));
    EXPECT_EQ("Old", name);
    list.WriteString("Main", "Name", "New");

    // A save that fails leaves the file as it was, read-only too.
    {
        TInstalledErrorForm errorForm;
        TModalScript script;
        errorForm.Expect(script, "Failed to save file.");
        host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
        EXPECT_FALSE(list.Save(false, 0));
        host::ClearFaults();
    }
    EXPECT_EQ(std::filesystem::perms::owner_read,
              std::filesystem::status(Drive.HostPath("Quillomber.ini")).permissions() & std::filesystem::perms::all);
    EXPECT_EQ("[Main]\r\nName=Old\r\n\r\n", Drive.ReadFile("Quillomber.ini"));

    EXPECT_TRUE(list.Save(false, 0));
    EXPECT_EQ("[Main]\r\nName=New\r\n\r\n", Drive.ReadFile("Quillomber.ini"));
}

TEST_F(StoredTextList, ReadStringListTakesTheItemsUpToTheCount)
{
    struct Row
    {
        const char* Section;
        bool LowerCase;
        std::vector<std::string> Expected;
    };
    const Row rows[] = {
        {"Count=3\r\n0=a\r\n2=c\r\n", false, {"a", "c"}},
        {"2=c\r\n0=a\r\n1=b\r\nCount=3\r\n", false, {"a", "b", "c"}},
        {"Count=2\r\n0=a\r\n1=\r\n2=c\r\n", false, {"a"}},
        {"Count=-1\r\n0=a\r\n", false, {}},
        {"Count=many\r\n0=a\r\n", false, {}},
        {"0=a\r\n", false, {}},
        {"Count=3\r\n00=a\r\n+1=b\r\n2=c\r\n", false, {"c"}},
        {"Count=2\r\n0=first\r\n0=second\r\n", false, {"first"}},
        {"Count=2147483647\r\n5=b\r\n0=a\r\n", false, {"a", "b"}},
        {"Count=2\r\n0=.JPG\r\n1=.Png\r\n", true, {".jpg", ".png"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Section);
        auto list = LoadText(std::string("[L]\r\n") + row.Section);
        std::vector<std::string> items = {"old"};
        list->ReadStringList("L", items, 0, row.LowerCase);
        EXPECT_EQ(row.Expected, items);
    }
}

TEST_F(StoredTextList, ReadStringListWarnsOfMoreItemsThanItsMaximum)
{
    auto list = LoadText("[L]\r\nCount=5\r\n0=a\r\n1=b\r\n2=c\r\n3=d\r\n4=e\r\n");
    TModalScript script;
    script.Expect("Warning", IDOK);
    std::vector<std::string> items;
    list->ReadStringList("L", items, 2, false);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), items);
    EXPECT_EQ("Too many items in the list (5)", script.Seen().at(0).Text);
}

TEST_F(StoredTextList, WriteStringListOfAnEmptyListWritesNothing)
{
    auto list = LoadText("[L]\r\nCount=2\r\n0=a\r\n1=b\r\n");
    list->WriteStringList("L", {});
    EXPECT_FALSE(list->Modified);
    std::vector<std::string> items;
    list->ReadStringList("L", items, 0, false);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), items);

    list->WriteStringList("L", {"x"});
    list->ReadStringList("L", items, 0, false);
    EXPECT_EQ((std::vector<std::string>{"x"}), items);
}

TEST_F(StoredTextList, FormBoundsAreKeptInsideTheWorkArea)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_GT(area.width(), 100);
    const int nineTenthsX = area.width() * 9 / 10;
    ASSERT_EQ(0, area.width() % 10) << "the rows below need a whole nine tenths";
    const int nineTenthsY = area.height() * 9 / 10;
    struct Row
    {
        int32_t StoredX, StoredY, StoredWidth, StoredHeight;
        int32_t X, Y, Width, Height;
    };
    const Row rows[] = {
        {nineTenthsX, nineTenthsY, 0, 0, nineTenthsX, nineTenthsY, 0, 0},
        {nineTenthsX + 1, nineTenthsY + 1, 5000, 5000, area.left(), area.top(), area.width(), area.height()},
        {area.left() - 5, area.top() - 5, -1, -1, area.left(), area.top(), area.width(), area.height()},
        {area.left() + 3, area.top() + 4, area.width(), area.height(), area.left() + 3, area.top() + 4, area.width(),
         area.height()},
    };
    for (const Row& row : rows) {
        auto list =
            LoadText("[F]\r\nX=" + std::to_string(row.StoredX) + "\r\nY=" + std::to_string(row.StoredY) +
                     "\r\nW=" + std::to_string(row.StoredWidth) + "\r\nH=" + std::to_string(row.StoredHeight) + "\r\n");
        QWidget form;
        form.setGeometry(1, 1, 10, 10);
        list->ReadFormBounds("F", "X", "Y", "W", "H", form);
        EXPECT_EQ(QRect(row.X, row.Y, row.Width, row.Height), form.geometry()) << row.StoredX << ", " << row.StoredY;
    }

    auto list = LoadText("[F]\r\n");
    int32_t x = 7, y = 8, width = 9, height = 10;
    list->ReadFormPosition("F", "X", "Y", x, y);
    list->ReadFormSize("F", "W", "H", width, height);
    EXPECT_EQ((std::vector<int32_t>{7, 8, 9, 10}), (std::vector<int32_t>{x, y, width, height}));
}

class StoredTextListCombos : public StoredTextList
{
protected:
    void SetUp() override
    {
        List = LoadText("[C]\r\nCased=medium\r\nStranger=none\r\nEmpty=\r\nNumber=12\r\nOdd=11\r\n");
        DropDownList.addItems({"Low", "Medium", "High"});
        Editable.setEditable(true);
        Editable.addItems({"Low", "Medium", "High"});
        Numbers.addItems({"8", "10", "12"});
    }

    std::unique_ptr<TStoredTextList> List;
    QComboBox DropDownList;
    QComboBox Editable;
    QComboBox Numbers;
};

TEST_F(StoredTextListCombos, ReadComboBoxTextSelectsOrShowsTheStoredText)
{
    struct Row
    {
        const char* Key;
        int Index;
    };
    for (const Row& row : {Row{"Cased", 1}, Row{"Stranger", 0}, Row{"Empty", 2}, Row{"Missing", 2}}) {
        DropDownList.setCurrentIndex(1);
        List->ReadComboBoxText("C", row.Key, DropDownList, "high");
        EXPECT_EQ(row.Index, DropDownList.currentIndex()) << row.Key;
    }
    List->ReadComboBoxText("C", "Stranger", Editable, "high");
    EXPECT_EQ("none", Editable.currentText().toStdString());
    List->ReadComboBoxText("C", "Missing", Editable, "high");
    EXPECT_EQ("high", Editable.currentText().toStdString());

    List->WriteComboBoxText("C", "Written", DropDownList);
    std::string written;
    List->ReadString("C", "Written", 255, written, false);
    EXPECT_EQ("High", written);
}

TEST_F(StoredTextListCombos, ReadComboBoxItemAndNumberTakeAnItemOfTheList)
{
    struct ItemRow
    {
        const char* Key;
        const char* Start;
        const char* Expected;
    };
    for (const ItemRow& row : {ItemRow{"Cased", "", "Medium"}, ItemRow{"Stranger", "High", "Low"},
                               ItemRow{"Empty", "high", "High"}, ItemRow{"Missing", "medium", "Medium"}}) {
        std::string value = row.Start;
        List->ReadComboBoxItem("C", row.Key, DropDownList, value);
        EXPECT_EQ(row.Expected, value) << row.Key;
    }

    struct NumberRow
    {
        const char* Key;
        int32_t Start;
        int32_t Expected;
    };
    for (const NumberRow& row : {NumberRow{"Number", 8, 12}, NumberRow{"Odd", 12, 8}, NumberRow{"Empty", 10, 8},
                                 NumberRow{"Missing", 10, 10}, NumberRow{"Missing", 9, 8}}) {
        int32_t value = row.Start;
        List->ReadComboBoxNumber("C", row.Key, Numbers, value);
        EXPECT_EQ(row.Expected, value) << row.Key << " from " << row.Start;
    }
    QComboBox words;
    words.addItems({"none", "some"});
    int32_t value = 5;
    List->ReadComboBoxNumber("C", "Stranger", words, value);
    EXPECT_EQ(0, value);
}

} // namespace
