#include "core/settings/SkinOptions.h"

#include "support/SkinSample.h"

#include "host/Process.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

TColor Rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}

class SkinOptionsRecord : public testing::Test
{
protected:
    SkinOptionsRecord() { host::SetProgramHostFile(Drive.HostPath("quillomber")); }

    TTempDrive Drive{'Q'};
};

TEST_F(SkinOptionsRecord, ANewRecordHoldsTheDefaultSkin)
{
    const TSkinOptions skin;
    EXPECT_FALSE(skin.UseBackPicture);
    EXPECT_EQ("", skin.BackPictureFileTitle);
    EXPECT_TRUE(skin.StretchBackPicture);
    EXPECT_TRUE(skin.FitBeforeTileBackPicture);
    EXPECT_EQ(70, skin.FadeBackPicture);
    EXPECT_EQ(0, skin.RotateRGBackPicture);
    EXPECT_EQ(100, skin.GammaBackPicture);
    EXPECT_EQ(0, skin.WindowBackTranslucency);
    EXPECT_EQ(65, skin.ScrollbarBackTranslucency);
    EXPECT_EQ("Double oval", skin.ToolbarButtonsStyle);
    EXPECT_EQ("No edge", skin.NonOvalButtonsStyle);
    EXPECT_FALSE(skin.HintPanelAsWindow);
    EXPECT_EQ(Rgb(255, 255, 255), skin.FillingBackPictureColor);
    EXPECT_EQ(Rgb(245, 245, 225), skin.FillingColor);
    EXPECT_EQ(Rgb(255, 255, 215), skin.ButtonHotTrackTintColor);
    EXPECT_EQ(Rgb(185, 170, 135), skin.MouseMenuBackColor);
    EXPECT_EQ(Rgb(255, 205, 155), skin.ActiveFocusBackColor);
    EXPECT_EQ(Rgb(210, 0, 0), skin.SelectionTextColor);
    EXPECT_EQ(Rgb(130, 130, 65), skin.ThumbTextColor);
    EXPECT_EQ(Rgb(0, 150, 0), skin.LinksBackColor);
    EXPECT_EQ(Rgb(0, 0, 130), skin.DocsBackColor);
    EXPECT_EQ(Rgb(190, 190, 190), skin.FilesBackColor);
    for (const TSkinColorField& field : SkinColorFields)
        EXPECT_EQ(field.Default, skin.*field.Field) << field.Key;
}

TEST_F(SkinOptionsRecord, ResettingOnlyTheColoursKeepsTheRest)
{
    const TSkinOptions changed = EveryFieldChanged();
    const TSkinOptions defaults;
    TSkinOptions skin = changed;
    skin.SetDefaults(false);
    for (const TSkinColorField& field : SkinColorFields) {
        EXPECT_NE(field.Default, changed.*field.Field) << field.Key;
        EXPECT_EQ(field.Default, skin.*field.Field) << field.Key;
    }
    const auto expectNumbersKept = [&](const auto& fields) {
        for (const TSkinNumberField& field : fields) {
            EXPECT_NE(field.Default, changed.*field.Field) << field.Key;
            EXPECT_EQ(changed.*field.Field, skin.*field.Field) << field.Key;
        }
    };
    expectNumbersKept(SkinPictureNumberFields);
    expectNumbersKept(SkinTranslucencyFields);
    EXPECT_EQ(changed.BackPictureFileTitle, skin.BackPictureFileTitle);
    EXPECT_EQ(changed.ToolbarButtonsStyle, skin.ToolbarButtonsStyle);
    EXPECT_TRUE(skin.UseBackPicture);

    skin.SetDefaults(true);
    EXPECT_EQ(defaults, skin);
}

TEST_F(SkinOptionsRecord, ChoicesAreTheEditorsLists)
{
    struct Row
    {
        const char* List;
        const std::vector<int32_t>& Choices;
        size_t Count;
        std::vector<int32_t> Some;
    };
    const Row rows[] = {
        {"percent", PercentChoices(), 21, {0, 5, 95, 100}},
        {"rotation", ColorRotationChoices(), 73, {-180, -175, 0, 175, 180}},
        {"gamma", GammaChoices(), 35, {1, 5, 10, 30, 40, 200, 250, 500, 600, 1000}},
        {"minimum stretch size", BackPictureMinStretchSizeChoices(), 15, {-1, 100, 150, 500, 600, 1000}},
        {"maximum skew", StretchBackPictureMaxSkewChoices(), 14, {-1, 105, 150, 160, 180}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Count, row.Choices.size()) << row.List;
        EXPECT_EQ(row.Some.front(), row.Choices.front()) << row.List;
        EXPECT_EQ(row.Some.back(), row.Choices.back()) << row.List;
        for (const int32_t value : row.Some)
            EXPECT_NE(row.Choices.end(), std::find(row.Choices.begin(), row.Choices.end(), value))
                << row.List << " " << value;
    }
    EXPECT_EQ((std::vector<std::string>{"Round corners", "Single oval", "Double oval"}), ToolbarButtonsStyles());
    EXPECT_EQ((std::vector<std::string>{"No edge", "Top edge", "Bottom edge"}), NonOvalButtonsStyles());
}

TEST_F(SkinOptionsRecord, BarePictureNamesLieInTheBackPicturesFolder)
{
    const std::pair<std::string, std::string> rows[] = {
        {"Sunset.jpg", "Q:\\Options\\BackPictures\\Sunset.jpg"},
        {"", "Q:\\Options\\BackPictures\\"},
        {"Sub\\Sunset.jpg", "Sub\\Sunset.jpg"},
        {"C:\\Pictures\\Sunset.jpg", "C:\\Pictures\\Sunset.jpg"},
        {"Q:\\Options\\BackPictures\\Sunset.jpg", "Q:\\Options\\BackPictures\\Sunset.jpg"},
    };
    for (const auto& [stored, expected] : rows)
        EXPECT_EQ(expected, CompleteBackPictureFileName(stored)) << stored;
}

} // namespace
