#include "core/settings/ProgramOptions.h"
#include "core/files/FileOperations.h"

#include "support/FakeOptionsMainWindow.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ProgramOptionsTest : public testing::Test
{
protected:
    ProgramOptionsTest() { ProgramOptions = TProgramOptions(); }
    ~ProgramOptionsTest() override
    {
        ProgramOptions = TProgramOptions();
        FileUnitLoader.LocalTime = true;
        FileUnitLoader.SizeUnits = true;
    }
};

TEST_F(ProgramOptionsTest, FreshRecordHoldsTheDefaults)
{
    const TProgramOptions options;
    EXPECT_TRUE(options.FirstRun);
    EXPECT_FALSE(options.Autorun);
    EXPECT_TRUE(options.ClassicFileSize);
    EXPECT_EQ(10, options.ScrollbarSensitivity);
    EXPECT_EQ(3, options.HintLines);
    EXPECT_EQ(10, options.VisibleBoards);
    EXPECT_TRUE(options.ActivatePlugins);
    EXPECT_EQ((std::array<bool, 3>{false, false, false}), options.ViewerPluginActive);
    EXPECT_EQ((std::array<std::string, 3>{"QM_PVP.dll", "", ""}), options.ViewerPluginName);
    EXPECT_EQ(30000000, options.MaxPictureCacheSize);
    EXPECT_EQ("Arial", options.ItemsFontName);
    EXPECT_EQ("Inter-board file-drag menu", options.MMBTypeOperation);
    EXPECT_EQ("Directory tree navigator dialog", options.MMBColumnHeaderOperation);
    EXPECT_EQ("Toggle up selection", options.MouseMenuOperation.front());
    EXPECT_EQ("None", options.MouseMenuOperation.back());
    EXPECT_EQ(200, options.FileHoverGenericWidth);
    EXPECT_EQ(TFileViewerSettings(), TSeam<TOptionsMainWindow>::Get().FileViewerSettings());
    EXPECT_EQ(100000, TFileViewerSettings().MaxTextSize);
}

TEST_F(ProgramOptionsTest, ApplyingSetsTheTimeAndSizeDisplay)
{
    ProgramOptions.ShowUniversalFileTime = true;
    ProgramOptions.ClassicFileSize = false;
    ApplyProgramOptions();
    EXPECT_FALSE(FileUnitLoader.LocalTime);
    EXPECT_FALSE(FileUnitLoader.SizeUnits);

    ProgramOptions = TProgramOptions();
    ApplyProgramOptions();
    EXPECT_TRUE(FileUnitLoader.LocalTime);
    EXPECT_TRUE(FileUnitLoader.SizeUnits);
}

TEST_F(ProgramOptionsTest, WindowStyleChangesOnlyWhenTheOptionDiffers)
{
    TFakeOptionsMainWindow window;
    ApplyProgramOptions();
    EXPECT_TRUE(window.StyleChanges.empty());

    ProgramOptions.StayOnTop = true;
    ApplyProgramOptions();
    ApplyProgramOptions();
    EXPECT_EQ(std::vector<bool>{true}, window.StyleChanges);

    ProgramOptions.StayOnTop = false;
    ApplyProgramOptions();
    EXPECT_EQ((std::vector<bool>{true, false}), window.StyleChanges);
}

TEST_F(ProgramOptionsTest, WithoutAMainWindowApplyingStillSetsTheDisplay)
{
    ProgramOptions.StayOnTop = true;
    ProgramOptions.ShowUniversalFileTime = true;
    ApplyProgramOptions();
    EXPECT_FALSE(TSeam<TOptionsMainWindow>::Get().IsStayOnTop());
    EXPECT_FALSE(FileUnitLoader.LocalTime);
}

} // namespace
