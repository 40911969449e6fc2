#include "core/forms/Utilities.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Registry.h"

#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

namespace {

using host::RegistryRoot;

std::vector<std::string> ItemsOf(const QComboBox& comboBox)
{
    std::vector<std::string> items;
    for (int i = 0; i < comboBox.count(); ++i)
        items.push_back(comboBox.itemText(i).toStdString());
    return items;
}

TEST(Utilities, TryStrToIntReadsDecimalAndHexadecimalIntegers)
{
    struct Row
    {
        const char* Text;
        std::optional<int32_t> Value;
    };
    const Row rows[] = {
        {"0", 0},
        {"-17", -17},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", std::nullopt},
        {"$A", 10},
        {"0x0a", 10},
        {"0X7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"-$10", -16},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"1e3", std::nullopt},
        {"--5", std::nullopt},
        {"+-5", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Value, TryStrToInt(row.Text)) << "\"" << row.Text << "\"";
}

TEST(Utilities, GetIntFromTextFallsBackToTheDefault)
{
    struct Row
    {
        const char* Text;
        int32_t Value;
        TFunStatus Status;
    };
    for (const Row& row :
         {Row{"7", 7, fsPerfect}, Row{"", 4, fsPerfect}, Row{"12", 4, fsPerfect}, Row{"x", 4, fsError}}) {
        EXPECT_EQ(row.Value, GetIntFromText(row.Text, 1, 9, 4)) << row.Text;
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.Text;
    }
    GetIntFromText("x", 1, 9, 4);
    EXPECT_EQ("Unhandled exception: 'x' is not a valid integer value", FunStatContext.Description);

    int32_t value = 3;
    EXPECT_FALSE(CheckIntFromText("", 1, 9, 0, value));
    EXPECT_EQ(0, value);
    EXPECT_TRUE(CheckIntFromText("", 1, 9, 5, value));
    EXPECT_EQ(5, value);
    EXPECT_EQ(-2147483647 - 1, GetIntFromTextOrZero("-2147483648"));
    EXPECT_EQ(0, GetIntFromTextOrZero("?"));
}

TEST(Utilities, GetRealFromTextReadsAPointAndNothingElse)
{
    struct Row
    {
        const char* Text;
        double Value;
        bool Invalid;
        TFunStatus Status;
    };
    const Row rows[] = {
        {"2.5", 2.5, false, fsPerfect}, {"+2.5", 2.5, false, fsPerfect}, {"-.5", -0.5, false, fsPerfect},
        {"1e1", 10, false, fsPerfect},  {"", 1, false, fsPerfect},       {"11", 1, true, fsPerfect},
        {"2,5", 1, true, fsError},      {"2.5.", 1, true, fsError},      {"nan", 1, true, fsError},
        {"inf", 1, true, fsError},      {" 2", 1, true, fsError},        {"1e999", 1, true, fsError},
    };
    for (const Row& row : rows) {
        bool invalid = !row.Invalid;
        EXPECT_EQ(row.Value, GetRealFromText(row.Text, &invalid, -10, 10, 1)) << row.Text;
        EXPECT_EQ(row.Invalid, invalid) << row.Text;
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.Text;
    }
    bool invalid = false;
    EXPECT_EQ(20, GetRealFromText("", &invalid, -10, 10, 20));
    EXPECT_TRUE(invalid);
    EXPECT_EQ(0, GetRealFromText("1", nullptr, 2, 3, 0));
    EXPECT_EQ(-1e300, GetRealFromTextOrZero("-1e300", &invalid));
    EXPECT_FALSE(invalid);
}

TEST(Utilities, GetIntFromComboBoxWarnsAndWritesTheDefaultBack)
{
    QLineEdit edit;
    TModalScript script;
    script.Expect("Warning", IDOK);
    EXPECT_EQ(20, GetIntFromComboBox(edit, 1, 9, 20));
    EXPECT_EQ("20", edit.text().toStdString());
    EXPECT_EQ("Integer value outside limits.\nIt will be set to default.\n    * Minimum = 1\n    * Maximum = 9\n"
              "    * Default = 20",
              script.Seen().at(0).Text);

    QComboBox comboBox;
    comboBox.setEditable(true);
    comboBox.setEditText("abc");
    script.Expect("Warning", IDOK);
    EXPECT_EQ(4, GetIntFromComboBox(comboBox, 1, 9, 4));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("4", comboBox.currentText().toStdString());

    comboBox.setEditText("$8");
    EXPECT_EQ(8, GetIntFromComboBox(comboBox, 1, 9, 4));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(2u, script.Seen().size());

    int32_t value = 0;
    EXPECT_TRUE(CheckIntFromControl(comboBox, 1, 9, 4, value));
    EXPECT_EQ(8, value);
}

TEST(Utilities, GetRealFromComboBoxWritesBackADefaultItCanReadAgain)
{
    QLineEdit edit("2,5");
    TModalScript script;
    script.Expect("Warning", IDOK);
    EXPECT_EQ(0.5, GetRealFromComboBox(edit, 0, 10, 0.5));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Real value outside limits.\nIt will be set to default.\n    * Minimum = 0\n    * Maximum = 10\n"
              "    * Default = 0.5",
              script.Seen().at(0).Text);
    EXPECT_EQ("0.5", edit.text().toStdString());

    EXPECT_EQ(0.5, GetRealFromComboBox(edit, 0, 10, 0.5));
    EXPECT_EQ(1u, script.Seen().size());

    edit.setText("-1.25e2");
    EXPECT_EQ(-125, GetRealFromComboBoxOrZero(edit));
}

TEST(Utilities, InsertComboBoxHistoryItemMovesTheTextToTheTop)
{
    QComboBox comboBox;
    comboBox.setEditable(true);
    comboBox.addItems({"a", "b", "Third", "d"});
    comboBox.setEditText("typed");

    InsertComboBoxHistoryItem(comboBox, "THIRD");
    EXPECT_EQ((std::vector<std::string>{"THIRD", "a", "b", "d"}), ItemsOf(comboBox));
    EXPECT_EQ("typed", comboBox.currentText().toStdString());

    InsertComboBoxHistoryItem(comboBox, "third");
    InsertComboBoxHistoryItem(comboBox, "");
    EXPECT_EQ((std::vector<std::string>{"THIRD", "a", "b", "d"}), ItemsOf(comboBox));

    UpdateComboBoxHistory(comboBox);
    EXPECT_EQ((std::vector<std::string>{"typed", "THIRD", "a", "b", "d"}), ItemsOf(comboBox));
    EXPECT_EQ("typed", comboBox.currentText().toStdString());

    QComboBox empty;
    empty.setEditable(true);
    InsertComboBoxHistoryItem(empty, "first");
    EXPECT_EQ((std::vector<std::string>{"first"}), ItemsOf(empty));
    EXPECT_EQ("", empty.currentText().toStdString());
}

TEST(Utilities, BooleansAndColoursHaveTheirTextForms)
{
    for (const bool value : {false, true})
        EXPECT_EQ(value, TextToBool(BoolToText(value)));
    EXPECT_EQ("TRUE", BoolToText(true));
    EXPECT_FALSE(TextToBool("true"));
    EXPECT_FALSE(TextToBool("1"));

    EXPECT_EQ(0x828200, TextToColor("teal"));
    EXPECT_EQ(0x000000, TextToColor("BLACK"));
    EXPECT_EQ(0xFFFF00, TextToColor("clAqua"));
    EXPECT_EQ(static_cast<TColor>(0x80000005), TextToColor("clwindow"));
    EXPECT_EQ(-16777211, TextToColor("-16777211"));
    EXPECT_EQ(0, TextToColor(""));
    EXPECT_THROW(TextToColor("Blacks"), EError);
    EXPECT_THROW(TextToColor("#000000"), EError);
}

class UtilitiesRegistry : public testing::Test
{
protected:
    void SetUp() override { std::filesystem::remove_all(TestRootHostPath() + "/config/quillomber"); }
};

TEST_F(UtilitiesRegistry, TextsAreReadAndWrittenUnderTheirKeys)
{
    EXPECT_EQ("", GetRegistryText(RegistryRoot::CurrentUser, "Software\\Missing", "Value"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    SetProgramRegistryText("Quillomber", "", "OptionsPath", "D:\\Options\\");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("D:\\Options\\", GetRegistryText(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath"));
    EXPECT_EQ("D:\\Options\\", GetProgramRegistryText("quillomber", "", "optionspath"));
    EXPECT_EQ("", GetProgramRegistryText("Quillomber", "Sub", "OptionsPath"));

    SetRegistryText(RegistryRoot::CurrentUser, "Software\\Brastelwick", "BroadcastWallpaperChange", "1");
    EXPECT_EQ("1", GetProgramRegistryText("Brastelwick", "", "BroadcastWallpaperChange"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(UtilitiesRegistry, AValueThatIsNoTextIsAFailure)
{
    ASSERT_TRUE(host::CreateRegistryKey(RegistryRoot::CurrentUser, "Software\\Quillomber"));
    ASSERT_TRUE(host::WriteRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "Runs",
                                         host::RegistryValue::OfNumber(3)));
    EXPECT_EQ("", GetProgramRegistryText("Quillomber", "", "Runs"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Runs", FunStatContext.Parameter2);
}

TEST_F(UtilitiesRegistry, AWriteThatCannotBeMadeIsAFailure)
{
    SetRegistryText(RegistryRoot::CurrentUser, "Software\\Two\nLines", "Value", "x");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to open registry key.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_INVALID_NAME, FunStatContext.SystemErrorCode);

    SetProgramRegistryText("Quillomber", "", "OptionsPath", "old");
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    SetProgramRegistryText("Quillomber", "", "OptionsPath", "new");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(host::ERROR_DISK_FULL, FunStatContext.SystemErrorCode);
    EXPECT_EQ("old", GetProgramRegistryText("Quillomber", "", "OptionsPath"));
}

TEST_F(UtilitiesRegistry, TheUninstallerEntryIsWrittenAndDeletedWhole)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillomber";
    SetUninstallRegistry("Quillomber", "Quillomber file manager", "C:\\Q\\Install.exe /Uninstall");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("Quillomber file manager", GetRegistryText(RegistryRoot::LocalMachine, key, "DisplayName"));
    EXPECT_EQ("C:\\Q\\Install.exe /Uninstall", GetRegistryText(RegistryRoot::LocalMachine, key, "UninstallString"));
    SetRegistryText(RegistryRoot::LocalMachine, key + "\\Extra", "Inside", "x");

    DeleteUninstallerRegistry("Quillomber");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(host::RegistryKeyExists(RegistryRoot::LocalMachine, key));
    EXPECT_TRUE(
        host::RegistryKeyExists(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));

    DeleteUninstallerRegistry("Quillomber");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    SetUninstallRegistry("Quillomber", "Q", "u");
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    DeleteUninstallerRegistry("Quillomber");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_TRUE(host::RegistryKeyExists(RegistryRoot::LocalMachine, key));
}

} // namespace
