#include "host/Registry.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using host::RegistryRoot;
using host::RegistryValue;

namespace {

std::string ReadHostFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteHostFile(const std::string& path, const std::string& content)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

class Registry : public testing::Test
{
protected:
    void SetUp() override { std::filesystem::remove_all(TestRootHostPath() + "/config/quillomber"); }

    static std::string StoreFile() { return TestRootHostPath() + "/config/quillomber/registry"; }

    static void Put(RegistryRoot root, const std::string& key, const std::string& name, const RegistryValue& value)
    {
        ASSERT_TRUE(host::CreateRegistryKey(root, key));
        ASSERT_TRUE(host::WriteRegistryValue(root, key, name, value));
    }
};

// Restores an environment variable at the end of a test.
class TSavedVariable
{
public:
    explicit TSavedVariable(const char* name) : Name(name)
    {
        if (const char* value = std::getenv(name))
            Saved = value;
    }
    ~TSavedVariable()
    {
        if (Saved)
            setenv(Name, Saved->c_str(), 1);
        else
            unsetenv(Name);
    }

private:
    const char* Name;
    std::optional<std::string> Saved;
};

} // namespace

TEST_F(Registry, ValuesKeepTheirTypeAndAreFoundIgnoringCase)
{
    Put(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath", RegistryValue::OfText("D:\\Settings\\"));
    Put(RegistryRoot::CurrentUser, "Software\\Quillomber", "Runs", RegistryValue::OfNumber(42));
    Put(RegistryRoot::LocalMachine, "Software\\Quillomber", "Runs", RegistryValue::OfText("machine"));

    EXPECT_EQ(RegistryValue::OfText("D:\\Settings\\"),
              host::ReadRegistryValue(RegistryRoot::CurrentUser, "SOFTWARE\\quillomber", "optionspath"));
    EXPECT_EQ(RegistryValue::OfNumber(42),
              host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "Runs"));
    EXPECT_EQ(RegistryValue::OfText("machine"),
              host::ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\Quillomber", "Runs"));

    // A write replaces the value whatever its type, keeping its place.
    ASSERT_TRUE(host::WriteRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "OPTIONSPATH",
                                         RegistryValue::OfNumber(0xFFFFFFFF)));
    EXPECT_EQ(RegistryValue::OfNumber(0xFFFFFFFF),
              host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath"));

    EXPECT_EQ("[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Quillomber]\n"
              "\"OPTIONSPATH\"=dword:ffffffff\n"
              "\"Runs\"=dword:0000002a\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Quillomber]\n"
              "\"Runs\"=\"machine\"\n"
              "\n",
              ReadHostFile(StoreFile()));
}

TEST_F(Registry, TextsOfAnyBytesSurviveTheStoreFile)
{
    const std::string texts[] = {"",
                                 "with \"quotes\"",
                                 "C:\\back\\slash\\",
                                 "two\r\nlines\n",
                                 "[not a key]",
                                 "\"=dword:00000001",
                                 "caf\xC3\xA9\t"};
    for (size_t i = 0; i < std::size(texts); ++i)
        Put(RegistryRoot::CurrentUser, "Texts", "name \"" + std::to_string(i) + "\"\n",
            RegistryValue::OfText(texts[i]));
    for (size_t i = 0; i < std::size(texts); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RegistryValue::OfText(texts[i]),
                  host::ReadRegistryValue(RegistryRoot::CurrentUser, "Texts", "name \"" + std::to_string(i) + "\"\n"));
    }
}

TEST_F(Registry, MissingKeysAndValuesAreErrorTwo)
{
    EXPECT_FALSE(host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\None", "Value"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(
        host::WriteRegistryValue(RegistryRoot::CurrentUser, "Software\\None", "Value", RegistryValue::OfText("x")));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));

    Put(RegistryRoot::CurrentUser, "Software\\Some", "Value", RegistryValue::OfText("x"));
    EXPECT_FALSE(host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Some", "Other"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(host::ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\Some", "Value"));
}

TEST_F(Registry, KeysAreMadeWithTheirParentsAndDeletedWithAllTheyHold)
{
    Put(RegistryRoot::LocalMachine, "\\Software\\Vendor\\Uninstall\\Quillomber\\", "DisplayName",
        RegistryValue::OfText("Q"));
    Put(RegistryRoot::LocalMachine, "Software\\Vendor\\Other", "Kept", RegistryValue::OfNumber(1));

    for (const char* path :
         {"Software", "software\\vendor", "Software\\Vendor\\Uninstall\\", "Software\\\\Vendor\\Uninstall\\Quillomber"})
        EXPECT_TRUE(host::RegistryKeyExists(RegistryRoot::LocalMachine, path)) << path;
    EXPECT_FALSE(host::RegistryKeyExists(RegistryRoot::CurrentUser, "Software"));

    ASSERT_TRUE(host::DeleteRegistryKey(RegistryRoot::LocalMachine, "software\\VENDOR\\uninstall"));
    EXPECT_FALSE(host::RegistryKeyExists(RegistryRoot::LocalMachine, "Software\\Vendor\\Uninstall"));
    EXPECT_FALSE(host::RegistryKeyExists(RegistryRoot::LocalMachine, "Software\\Vendor\\Uninstall\\Quillomber"));
    EXPECT_EQ(RegistryValue::OfNumber(1),
              host::ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\Vendor\\Other", "Kept"));

    EXPECT_FALSE(host::DeleteRegistryKey(RegistryRoot::LocalMachine, "Software\\Vendor\\Uninstall"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(host::DeleteRegistryKey(RegistryRoot::LocalMachine, "\\"));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
}

TEST_F(Registry, AValueIsDeletedAloneAndAMissingOneIsErrorTwo)
{
    Put(RegistryRoot::CurrentUser, "Software\\Q\\Drives", "M", RegistryValue::OfText("/srv/m"));
    Put(RegistryRoot::CurrentUser, "Software\\Q\\Drives", "N", RegistryValue::OfText("/srv/n"));

    ASSERT_TRUE(host::DeleteRegistryValue(RegistryRoot::CurrentUser, "software\\q\\drives", "m"));
    EXPECT_FALSE(host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Q\\Drives", "M"));
    EXPECT_EQ(RegistryValue::OfText("/srv/n"),
              host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Q\\Drives", "N"));
    EXPECT_TRUE(host::RegistryKeyExists(RegistryRoot::CurrentUser, "Software\\Q\\Drives"));

    EXPECT_FALSE(host::DeleteRegistryValue(RegistryRoot::CurrentUser, "Software\\Q\\Drives", "M"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(host::DeleteRegistryValue(RegistryRoot::CurrentUser, "Software\\None", "N"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
}

TEST_F(Registry, AKeyNameWithALineBreakCannotBeCreated)
{
    EXPECT_FALSE(host::CreateRegistryKey(RegistryRoot::CurrentUser, "Software\\Two\nLines"));
    EXPECT_EQ(host::ERROR_INVALID_NAME, host::GetLastError());
    EXPECT_FALSE(std::filesystem::exists(StoreFile()));
}

TEST_F(Registry, AFailedWriteLeavesTheOldStoreWhole)
{
    Put(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath", RegistryValue::OfText("old"));
    const std::string before = ReadHostFile(StoreFile());

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    EXPECT_FALSE(host::WriteRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath",
                                          RegistryValue::OfText(std::string(100000, 'n'))));
    EXPECT_EQ(host::ERROR_DISK_FULL, host::GetLastError());

    EXPECT_EQ(before, ReadHostFile(StoreFile()));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(TestRootHostPath() + "/config/quillomber"),
                               std::filesystem::directory_iterator()));
    EXPECT_EQ(RegistryValue::OfText("old"),
              host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\Quillomber", "OptionsPath"));
}

TEST_F(Registry, AStoreThatCannotBeUnderstoodIsReportedAndNeverOverwritten)
{
    const std::string damaged[] = {
        "\"Orphan\"=\"value before any key\"\n",
        "[HKEY_SOMEWHERE\\Software]\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Open\"=\"quote\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Bad\"=\"escape \\q\"\n",
        "[HKEY_CURRENT_USER\\Software]\n\"Short\"=dword:2a\n",
        "[HKEY_CURRENT_USER\\Software]\nplain line\n",
    };
    for (const std::string& content : damaged) {
        SCOPED_TRACE(content);
        WriteHostFile(StoreFile(), content);
        EXPECT_FALSE(host::ReadRegistryValue(RegistryRoot::CurrentUser, "Software", "Open"));
        EXPECT_EQ(host::ERROR_BADDB, host::GetLastError());
        EXPECT_FALSE(host::CreateRegistryKey(RegistryRoot::CurrentUser, "Software\\New"));
        EXPECT_EQ(host::ERROR_BADDB, host::GetLastError());
        EXPECT_EQ(content, ReadHostFile(StoreFile()));
    }
}

TEST_F(Registry, TheStoreLivesInTheUsersConfigurationFolder)
{
    TSavedVariable savedConfigHome("XDG_CONFIG_HOME");
    EXPECT_EQ(TestRootHostPath() + "/config/quillomber/registry", host::GetRegistryHostFile());

    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TestRootHostPath() + "/home/.config/quillomber/registry", host::GetRegistryHostFile());
    Put(RegistryRoot::CurrentUser, "Software", "Where", RegistryValue::OfText("home"));
    EXPECT_TRUE(std::filesystem::exists(TestRootHostPath() + "/home/.config/quillomber/registry"));

    // A folder that cannot be made (a file stands in its way) makes every change fail.
    WriteHostFile(TestRootHostPath() + "/blocked", "a file");
    setenv("XDG_CONFIG_HOME", (TestRootHostPath() + "/blocked").c_str(), 1);
    EXPECT_FALSE(host::CreateRegistryKey(RegistryRoot::CurrentUser, "Software"));
    EXPECT_NE(host::ERROR_SUCCESS, host::GetLastError());
}
