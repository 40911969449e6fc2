#include "viewing/ViewerPlugins.h"

#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/settings/ProgramOptions.h"

#include "host/Drives.h"
#include "host/Process.h"

#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

class ViewerPlugins : public testing::Test
{
protected:
    ViewerPlugins()
    {
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        ProgramOptions = TProgramOptions();
    }
    ~ViewerPlugins() override
    {
        UnloadViewerPlugins();
        ProgramOptions = TProgramOptions();
    }

    // The library goes into the Plugins folder under the name, and the slot names it and
    // is switched on.
    void Install(int32_t slot, const std::string& libraryHostPath, const std::string& name)
    {
        CopyViewerPlugin(Drive, libraryHostPath, name);
        Name(slot, name);
    }
    void Name(int32_t slot, const std::string& name)
    {
        ProgramOptions.ViewerPluginName[static_cast<size_t>(slot)] = name;
        ProgramOptions.ViewerPluginActive[static_cast<size_t>(slot)] = true;
    }
    bool Loaded(const std::string& name) const { return IsLibraryLoaded(Drive.HostPath("Plugins/" + name)); }

    TTempDrive Drive{'Q'};
};

TEST_F(ViewerPlugins, AnExtensionMatchesOnlyAWholeListedExtensionInAnyLetterCase)
{
    Install(0, ListingPluginHostPath, "Listing.so");
    LoadViewerPlugins();

    const std::pair<const char*, bool> rows[] = {
        {".ABC", true}, {".abc", true}, {".Def", true}, {".AB", false},
        {".BC", false}, {"", false},    {".DE", false}, {".XABC", false},
    };
    for (const auto& [extension, matches] : rows) {
        EXPECT_EQ(matches, IsViewerPluginFile(extension, 0)) << extension;
        EXPECT_EQ(matches ? 0 : -1, GetViewerPluginIndex(extension)) << extension;
    }
    EXPECT_FALSE(IsViewerPluginFile(".ABC", 1));
    EXPECT_FALSE(IsViewerPluginFile(".ABC", -1));
    EXPECT_FALSE(IsViewerPluginFile(".ABC", ViewerPluginCount));
}

TEST_F(ViewerPlugins, EachSwitchTurnsALoadedSlotOffAndKeepsAnUnloadedOneEmpty)
{
    Install(0, SamplePluginHostPath, "Sample.so");
    LoadViewerPlugins();
    ASSERT_EQ(0, GetViewerPluginIndex(".QPT"));

    ProgramOptions.ActivatePlugins = false;
    EXPECT_EQ(-1, GetViewerPluginIndex(".QPT"));
    EXPECT_TRUE(Loaded("Sample.so"));
    ProgramOptions.ActivatePlugins = true;
    ProgramOptions.ViewerPluginActive[0] = false;
    EXPECT_EQ(-1, GetViewerPluginIndex(".QPT"));
    EXPECT_TRUE(Loaded("Sample.so"));

    // Loaded while all plug-ins are off, the slot stays empty when they come on again.
    ProgramOptions.ViewerPluginActive[0] = true;
    ProgramOptions.ActivatePlugins = false;
    LoadViewerPlugins();
    EXPECT_FALSE(Loaded("Sample.so"));
    ProgramOptions.ActivatePlugins = true;
    EXPECT_EQ(-1, GetViewerPluginIndex(".QPT"));
}

TEST_F(ViewerPlugins, TheFirstSlotListingAnExtensionTakesIt)
{
    Install(0, ListingPluginHostPath, "Listing.so");
    Install(1, SamplePluginHostPath, "Sample1.so");
    Install(2, SamplePluginHostPath, "Sample2.so");
    LoadViewerPlugins();

    EXPECT_EQ(0, GetViewerPluginIndex(".abc"));
    EXPECT_EQ(1, GetViewerPluginIndex(".qpt"));
    ProgramOptions.ViewerPluginActive[1] = false;
    EXPECT_EQ(2, GetViewerPluginIndex(".qpt"));
    EXPECT_EQ(-1, GetViewerPluginIndex(".png"));
}

TEST_F(ViewerPlugins, AReloadFreesTheLibraryOfASlotSwitchedOff)
{
    Install(0, SamplePluginHostPath, "Sample0.so");
    Install(1, SamplePluginHostPath, "Sample1.so");
    LoadViewerPlugins();
    ASSERT_TRUE(Loaded("Sample0.so"));
    ASSERT_TRUE(Loaded("Sample1.so"));

    ProgramOptions.ViewerPluginActive[0] = false;
    LoadViewerPlugins();
    EXPECT_FALSE(Loaded("Sample0.so"));
    EXPECT_TRUE(Loaded("Sample1.so"));
    EXPECT_EQ(1, GetViewerPluginIndex(".QPT"));

    UnloadViewerPlugins();
    EXPECT_FALSE(Loaded("Sample1.so"));
    EXPECT_EQ(-1, GetViewerPluginIndex(".QPT"));
}

// A slot that loads nothing stays empty and silent (an unanswered box would fail the test),
// and the slots after it still load.
TEST_F(ViewerPlugins, AMissingFileOrOneThatIsNoLibraryLeavesItsSlotEmpty)
{
    Name(0, "Missing.dll");
    Drive.WriteFile("Plugins/Text.dll", ".qpt\n");
    Name(1, "Text.dll");
    Install(2, SamplePluginHostPath, "Sample.so");
    LoadViewerPlugins();

    for (int32_t slot : {0, 1}) {
        EXPECT_FALSE(IsViewerPluginFile(".QPT", slot)) << slot;
        EXPECT_EQ(nullptr, GetViewerPluginDrawing(slot).GetPictureSize) << slot;
        EXPECT_EQ(nullptr, GetViewerPluginDrawing(slot).LoadFileToBitmap) << slot;
        EXPECT_FALSE(ViewerPluginRecachesOnTextFormatChange(slot, ".qpt")) << slot;
    }
    EXPECT_EQ(2, GetViewerPluginIndex(".QPT"));
}

TEST_F(ViewerPlugins, AMissingEntryPointIsNullAndTheOthersAreFound)
{
    Install(0, ListingPluginHostPath, "Listing.so");
    Install(1, SamplePluginHostPath, "Sample.so");
    LoadViewerPlugins();

    EXPECT_EQ(nullptr, GetViewerPluginDrawing(0).GetPictureSize);
    EXPECT_EQ(nullptr, GetViewerPluginDrawing(0).LoadFileToBitmap);
    EXPECT_FALSE(ViewerPluginRecachesOnTextFormatChange(0, ".abc"));
    EXPECT_NE(nullptr, GetViewerPluginDrawing(1).GetPictureSize);
    EXPECT_NE(nullptr, GetViewerPluginDrawing(1).LoadFileToBitmap);
    EXPECT_TRUE(ViewerPluginRecachesOnTextFormatChange(1, ".qpt"));
}

// The sample's files as the picture tests use them: its size as written, however large;
// its colour framed by the text colour; nothing drawn for "none" or for a file of another
// form.
TEST_F(ViewerPlugins, TheSampleReportsAndDrawsItsFilesThroughTheSlot)
{
    Install(0, SamplePluginHostPath, "Sample.so");
    LoadViewerPlugins();
    const TViewerPluginDrawing drawing = GetViewerPluginDrawing(0);
    ASSERT_NE(nullptr, drawing.GetPictureSize);
    ASSERT_NE(nullptr, drawing.LoadFileToBitmap);

    struct Row
    {
        const char* Content;
        int32_t Width;
        int32_t Height;
        bool Drawn;
    };
    const Row rows[] = {
        {"QPT 5 4 102030\n", 5, 4, true},    {"QPT 100000 100000 102030\n", 100000, 100000, true},
        {"QPT 5 4 none\n", 5, 4, false},     {"PNG 5 4 102030\n", -1, -1, false},
        {"QPT 0 4 102030\n", -1, -1, false},
    };
    constexpr uint8_t Untouched = 0xAB;
    for (const Row& row : rows) {
        Drive.WriteFile("picture.qpt", row.Content);
        const std::string file = *host::WindowsToHost(Drive.Path("picture.qpt"));
        int32_t width = -1;
        int32_t height = -1;
        drawing.GetPictureSize(file.c_str(), ".QPT", -1, -1, &width, &height);
        EXPECT_EQ(row.Width, width) << row.Content;
        EXPECT_EQ(row.Height, height) << row.Content;

        TViewerPluginBitmapInfo info;
        info.Width = 3;
        info.Height = 3;
        info.TextColor = 0x0000FF;
        info.AllocatePixels();
        std::memset(info.Pixels, Untouched, 3 * 3 * 4);
        drawing.LoadFileToBitmap(file.c_str(), ".QPT", reinterpret_cast<QuillomberPluginBitmap*>(&info));
        const uint8_t* corner = info.Pixels;
        const uint8_t* centre = info.Pixels + (1 * 3 + 1) * 4;
        if (row.Drawn) {
            EXPECT_EQ((std::vector<uint8_t>{0, 0, 255, 255}), std::vector<uint8_t>(corner, corner + 4)) << row.Content;
            EXPECT_EQ((std::vector<uint8_t>{0x30, 0x20, 0x10, 255}), std::vector<uint8_t>(centre, centre + 4))
                << row.Content;
        } else {
            for (size_t byte = 0; byte < 3 * 3 * 4; ++byte)
                ASSERT_EQ(Untouched, info.Pixels[byte]) << row.Content << " byte " << byte;
        }
    }
}

} // namespace
