#include "BoardTestWindow.h"

#include "columns/ContainerDialog.h"

#include "support/ShownFailures.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using testing::HasSubstr;

namespace {

void WriteHostFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadHostFile(const std::string& path)
{
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::string ContainerHostPath(int32_t index)
{
    return TBoardTestWindow::OptionsHostPath("Containers/" + TContainer(index).GetFileName());
}

std::string ContainerContent(int32_t index)
{
    return "C:\\c" + std::to_string(index) + "\r\n";
}

// The container files hold what the user gathered: a settings file that fails to load
// neither hides them nor empties them at close.
TEST(ContainerFilesAtStartup, AnIniThatFailsToLoadLeavesEveryContainerFileAsItWas)
{
    TBoardTestWindow window;
    std::filesystem::create_directories(TBoardTestWindow::OptionsHostPath("Containers"));
    for (int32_t index = 0; index < ContainerCount; ++index)
        WriteHostFile(ContainerHostPath(index), ContainerContent(index));
    const std::string ini = std::string("[Containers]\r\n4=Mine\r\n\0\r\n", 25);
    WriteHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"), ini);

    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        window.Open();
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to load file."));
    const TContainer& fifth = *window->ContainerDialog->Containers.Find(4);
    ASSERT_EQ(1, fifth.Count());
    EXPECT_EQ("C:\\c4", fifth.Items()[0].Path);

    window.Close();

    for (int32_t index = 0; index < ContainerCount; ++index)
        EXPECT_EQ(ContainerContent(index), ReadHostFile(ContainerHostPath(index))) << index;
    EXPECT_EQ(ini, ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini.bak")));
}

} // namespace
