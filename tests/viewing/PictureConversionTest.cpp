#include "viewing/PictureConversion.h"

#include "core/errors/Error.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/PictureFixtures.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace {

constexpr TColor PluginBackground = 0x00FF00; // green in the Windows layout
constexpr TColor PluginText = 0x0000FF;       // red

// What the test plug-in reports and what it was asked.
struct TPluginScript
{
    int32_t Width = -1;
    int32_t Height = -1;
    bool Draws = true;
    // Rewrites the record's size and buffer instead of drawing.
    bool Tampers = false;
    std::string File;
    std::string Extension;
    QSize Asked;
    int32_t Version = 0;
    TColor Background = 0;
    TColor Text = 0;
    int Loads = 0;
};

TPluginScript Plugin;

void ScriptedGetPictureSize(const char*, const char*, int32_t, int32_t, int32_t* width, int32_t* height)
{
    if (Plugin.Width != -1)
        *width = Plugin.Width;
    if (Plugin.Height != -1)
        *height = Plugin.Height;
}

// Draws the picture in the text colour, as a plug-in for a text format does.
void ScriptedLoadFileToBitmap(const char* fileName, const char* extension, QuillomberPluginBitmap* info)
{
    ++Plugin.Loads;
    Plugin.File = fileName;
    Plugin.Extension = extension;
    Plugin.Asked = {info->Width, info->Height};
    Plugin.Version = info->Version;
    Plugin.Background = info->BackgroundColor;
    Plugin.Text = info->TextColor;
    if (Plugin.Tampers) {
        info->Width = info->Height = 100000;
        info->Pixels = nullptr;
    }
    if (!Plugin.Draws)
        return;
    const int64_t pixels = int64_t{info->Width} * info->Height;
    for (int64_t index = 0; index < pixels; ++index) {
        uint8_t* pixel = info->Pixels + index * 4;
        pixel[0] = 0;
        pixel[1] = 0;
        pixel[2] = 255;
        pixel[3] = 255;
    }
}

struct TConversion
{
    std::string Source;
    std::string Destination;
    bool Overwrite = true;
    std::string Extension = ".png";
    std::string Encoder = "png";
    double Quality = 1;
    int32_t BoxWidth = -1;
    int32_t BoxHeight = -1;
    bool NormalizeWidth = false;
    bool NormalizeHeight = false;
    bool NormalizeActive = false;
    bool Enlarge = false;
    int32_t EnlargeMinimumSize = 0;
    bool UsePlugin = false;
    QuillomberGetPictureSize GetPictureSize = nullptr;
    QuillomberLoadFileToBitmap LoadFileToBitmap = nullptr;
};

void Convert(const TConversion& conversion)
{
    ConvertPicture(conversion.Source, conversion.Destination, conversion.Overwrite, conversion.Extension,
                   conversion.Encoder, conversion.Quality, conversion.BoxWidth, conversion.BoxHeight,
                   conversion.NormalizeWidth, conversion.NormalizeHeight, conversion.NormalizeActive,
                   conversion.Enlarge, conversion.EnlargeMinimumSize, conversion.UsePlugin, conversion.GetPictureSize,
                   conversion.LoadFileToBitmap, PluginBackground, PluginText);
}

TConversion WithPlugin(TConversion conversion)
{
    conversion.UsePlugin = true;
    conversion.GetPictureSize = ScriptedGetPictureSize;
    conversion.LoadFileToBitmap = ScriptedLoadFileToBitmap;
    return conversion;
}

class PictureConversion : public testing::Test
{
protected:
    void SetUp() override { Plugin = {}; }
    void TearDown() override { host::ClearFaults(); }

    QImage ReadBack(const std::string& relative) const
    {
        return QImage(QString::fromStdString(Drive.HostPath(relative)));
    }

    // Every name in the drive's root, so a left-over temporary file shows.
    std::vector<std::string> RootNames() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(Drive.HostPath()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void ExpectFailure(const std::string& description, const std::string& target, const std::string& source) const
    {
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(description, FunStatContext.Description);
        EXPECT_EQ(target, FunStatContext.Parameter1);
        EXPECT_EQ(source, FunStatContext.Parameter2);
    }

    TTempDrive Drive{'T'};
};

TEST_F(PictureConversion, TheFourWritersAreOfferedInOrderAndFoundByTheirExactDescription)
{
    std::vector<std::string> formats = {"left over"};
    LoadPictureConvertFilters(formats);
    EXPECT_EQ((std::vector<std::string>{"BMP", "JPEG", "TIFF", "PNG"}), formats);

    struct Row
    {
        std::string Format;
        bool Found;
        std::string Extension;
        std::string Encoder;
    };
    const Row rows[] = {
        {"BMP", true, ".bmp", "bmp"}, {"JPEG", true, ".jpg", "jpeg"}, {"TIFF", true, ".tif", "tiff"},
        {"PNG", true, ".png", "png"}, {"png", false, "", ""},         {"GIF", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Format);
        std::string extension = "untouched";
        std::string encoder = "untouched";
        EXPECT_EQ(row.Found, GetPictureConverterID(row.Format, extension, encoder));
        EXPECT_EQ(row.Found ? row.Extension : "untouched", extension);
        EXPECT_EQ(row.Found ? row.Encoder : "untouched", encoder);
    }
}

TEST_F(PictureConversion, EachOfferedFormatWritesAPictureOfItsKind)
{
    const std::string source = SavePicture(Drive, "photo.png", SolidPicture(30, 20, Qt::blue));
    std::vector<std::string> formats;
    LoadPictureConvertFilters(formats);
    for (const std::string& format : formats) {
        SCOPED_TRACE(format);
        std::string extension;
        std::string encoder;
        ASSERT_TRUE(GetPictureConverterID(format, extension, encoder));
        Convert({.Source = source, .Destination = Drive.Path("out"), .Extension = extension, .Encoder = encoder});
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        QImageReader written(QString::fromStdString(Drive.HostPath("out" + extension)));
        EXPECT_EQ(QByteArray::fromStdString(encoder), written.format());
        EXPECT_TRUE(IsNearColor(written.read().pixel(15, 10), Qt::blue, 8));
    }
}

TEST_F(PictureConversion, TheTargetSizeFollowsTheBoxAndTheNormalisation)
{
    const std::string large = SavePicture(Drive, "large.png", SolidPicture(300, 200, Qt::red));
    const std::string small = SavePicture(Drive, "small.png", SolidPicture(40, 30, Qt::red));
    struct Row
    {
        std::string Name;
        std::string Source;
        int32_t BoxWidth;
        int32_t BoxHeight;
        bool NormalizeWidth;
        bool NormalizeHeight;
        bool NormalizeActive;
        QSize Expected;
    };
    const Row rows[] = {
        {"fitted", large, 80, 80, false, false, false, {80, 53}},
        {"kept", large, -1, -1, false, false, false, {300, 200}},
        {"never enlarged", small, 80, 80, false, false, false, {40, 30}},
        {"width normalised", large, 10, 80, true, false, true, {10, 6}},
        // Only the normalised side counts, and the picture may grow.
        {"width normalised past the box", small, 80, 10, true, false, true, {80, 60}},
        {"normalisation not active", small, 80, 10, true, false, false, {13, 10}},
        {"height normalised", large, 300, 50, false, true, true, {75, 50}},
        {"both normalised, enlarged", small, 80, 80, true, true, true, {80, 60}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TConversion conversion{.Source = row.Source, .Destination = Drive.Path("out.bmp")};
        conversion.BoxWidth = row.BoxWidth;
        conversion.BoxHeight = row.BoxHeight;
        conversion.NormalizeWidth = row.NormalizeWidth;
        conversion.NormalizeHeight = row.NormalizeHeight;
        conversion.NormalizeActive = row.NormalizeActive;
        conversion.Enlarge = true;
        Convert(conversion);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
        const QImage converted = ReadBack("out.png");
        EXPECT_EQ(row.Expected, converted.size());
        EXPECT_TRUE(IsNearColor(converted.pixel(converted.width() / 2, converted.height() / 2), Qt::red));
    }
}

TEST_F(PictureConversion, AResizedPictureLosesItsTransparencyToBlack)
{
    QImage picture = SolidPicture(40, 30, Qt::transparent);
    const std::string source = SavePicture(Drive, "clear.png", picture);
    Convert({.Source = source, .Destination = Drive.Path("out.png"), .BoxWidth = 40, .BoxHeight = 30});
    const QImage converted = ReadBack("out.png");
    EXPECT_FALSE(converted.hasAlphaChannel());
    EXPECT_EQ(qRgb(0, 0, 0), converted.pixel(20, 15));
}

TEST_F(PictureConversion, TheDestinationTakesTheNewExtension)
{
    const std::string source = SavePicture(Drive, "photo.jpeg", SolidPicture(20, 10, Qt::blue));
    Convert({.Source = source, .Destination = Drive.Path("photo.jpeg")});
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(QSize(20, 10), ReadBack("photo.png").size());
    EXPECT_EQ(QByteArray("png"), QImageReader(QString::fromStdString(Drive.HostPath("photo.png"))).format());
    EXPECT_TRUE(Drive.Exists("photo.jpeg"));
}

TEST_F(PictureConversion, AnExistingTargetIsKeptWhenOverwritingIsNotAllowed)
{
    const std::string source = SavePicture(Drive, "a.bmp", SolidPicture(20, 10, Qt::blue));
    Drive.WriteFile("a.png", "old");
    Convert({.Source = source, .Destination = Drive.Path("a.bmp"), .Overwrite = false});
    ExpectFailure("Contradictory overwrite choices.", Drive.Path("a.png"), source);
    EXPECT_EQ("old", Drive.ReadFile("a.png"));
}

TEST_F(PictureConversion, QualityReachesTheJpegWriterOnly)
{
    QImage picture(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    const std::string source = SavePicture(Drive, "source.png", picture);
    const auto convertAt = [&](const std::string& encoder, const std::string& extension, double quality) {
        Convert({.Source = source,
                 .Destination = Drive.Path("out"),
                 .Extension = extension,
                 .Encoder = encoder,
                 .Quality = quality});
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        return Drive.ReadFile("out" + extension);
    };
    EXPECT_NE(convertAt("jpeg", ".jpg", 0.85), convertAt("jpeg", ".jpg", 0.2));
    EXPECT_EQ(convertAt("png", ".png", 0.85), convertAt("png", ".png", 0.2));
}

TEST_F(PictureConversion, AFailedWriteOntoTheSourceLeavesItAsItWas)
{
    const std::string source = SavePicture(Drive, "photo.png", SolidPicture(40, 30, Qt::red));
    const std::string original = Drive.ReadFile("photo.png");
    for (const host::HostCall call : {host::HostCall::Write, host::HostCall::Rename}) {
        SCOPED_TRACE(static_cast<int>(call));
        host::InjectFault(call, host::ERROR_DISK_FULL);
        Convert({.Source = source, .Destination = source, .BoxWidth = 20, .BoxHeight = 20});
        ExpectFailure("Failed to convert picture.", source, source);
        EXPECT_EQ(host::ERROR_DISK_FULL, FunStatContext.SystemErrorCode);
        EXPECT_EQ(original, Drive.ReadFile("photo.png"));
        EXPECT_EQ(std::vector<std::string>{"photo.png"}, RootNames());
        host::ClearFaults();
    }
    Convert({.Source = source, .Destination = source, .BoxWidth = 20, .BoxHeight = 20});
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(QSize(20, 15), ReadBack("photo.png").size());
    EXPECT_EQ(std::vector<std::string>{"photo.png"}, RootNames());
}

TEST_F(PictureConversion, ASourceThatIsNoWholePictureGivesNoTarget)
{
    const std::string png = PictureBytes(SolidPicture(200, 200, Qt::red), "png");
    const std::string jpeg = PictureBytes(SolidPicture(200, 200, Qt::red), "jpeg");
    const std::string bmp = PictureBytes(SolidPicture(200, 200, Qt::red), "bmp");
    struct Row
    {
        std::string Name;
        std::string Content;
    };
    const Row rows[] = {
        {"text.png", "not a picture"},
        {"empty.png", ""},
        {"short.png", png.substr(0, png.size() / 2)},
        {"short.jpg", jpeg.substr(0, jpeg.size() / 2)},
        {"short.bmp", bmp.substr(0, bmp.size() / 2)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Drive.WriteFile(row.Name, row.Content);
        Convert({.Source = Drive.Path(row.Name), .Destination = Drive.Path("out.bmp")});
        ExpectFailure("Failed to convert picture.", Drive.Path("out.png"), Drive.Path(row.Name));
        EXPECT_FALSE(Drive.Exists("out.png"));
        fs::remove(Drive.HostPath(row.Name));
    }
    EXPECT_TRUE(RootNames().empty());
}

TEST_F(PictureConversion, APluginDecodesIntoABufferOfTheTargetSize)
{
    Drive.WriteFile("card.qpt", "300 200");
    Plugin.Width = 300;
    Plugin.Height = 200;
    Convert(WithPlugin(
        {.Source = Drive.Path("card.qpt"), .Destination = Drive.Path("card"), .BoxWidth = 80, .BoxHeight = 80}));
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    EXPECT_EQ(Drive.HostPath("card.qpt"), Plugin.File);
    EXPECT_EQ(".QPT", Plugin.Extension);
    EXPECT_EQ(QSize(80, 53), Plugin.Asked);
    EXPECT_EQ(1, Plugin.Version);
    EXPECT_EQ(PluginBackground, Plugin.Background);
    EXPECT_EQ(PluginText, Plugin.Text);
    const QImage converted = ReadBack("card.png");
    EXPECT_EQ(QSize(80, 53), converted.size());
    EXPECT_EQ(qRgb(255, 0, 0), converted.pixel(40, 26));
}

TEST_F(PictureConversion, APluginSizeNotGivenCountsAsAHundredAndQualityIsIgnored)
{
    Drive.WriteFile("card.qpt", "");
    const auto convertAt = [&](double quality) {
        Convert(WithPlugin({.Source = Drive.Path("card.qpt"),
                            .Destination = Drive.Path("card"),
                            .Extension = ".jpg",
                            .Encoder = "jpeg",
                            .Quality = quality}));
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        return Drive.ReadFile("card.jpg");
    };
    EXPECT_EQ(convertAt(0.2), convertAt(0.85));
    EXPECT_EQ(QSize(100, 100), ReadBack("card.jpg").size());
}

TEST_F(PictureConversion, APluginThatDrawsNothingLeavesTheBackgroundColour)
{
    Drive.WriteFile("blank.qpt", "");
    Plugin.Width = 30;
    Plugin.Height = 20;
    Plugin.Draws = false;
    Convert(WithPlugin({.Source = Drive.Path("blank.qpt"), .Destination = Drive.Path("blank")}));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    const QImage converted = ReadBack("blank.png");
    ASSERT_EQ(QSize(30, 20), converted.size());
    for (const QPoint corner : {QPoint(0, 0), QPoint(29, 0), QPoint(0, 19), QPoint(29, 19)})
        EXPECT_EQ(qRgb(0, 255, 0), converted.pixel(corner));
}

TEST_F(PictureConversion, APluginCannotResizeOrReplaceTheBuffer)
{
    Drive.WriteFile("card.qpt", "");
    Plugin.Width = 30;
    Plugin.Height = 20;
    Plugin.Draws = false;
    Plugin.Tampers = true;
    Convert(WithPlugin({.Source = Drive.Path("card.qpt"), .Destination = Drive.Path("card")}));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    const QImage converted = ReadBack("card.png");
    EXPECT_EQ(QSize(30, 20), converted.size());
    EXPECT_EQ(qRgb(0, 255, 0), converted.pixel(29, 19));
}

TEST_F(PictureConversion, AnAbsurdPluginSizeIsRefusedBeforeAnythingIsAllocated)
{
    Drive.WriteFile("huge.qpt", "");
    const QSize sizes[] = {{32769, 10}, {10, 40000}, {20000, 20000}, {std::numeric_limits<int32_t>::max(), 2}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        Plugin.Width = size.width();
        Plugin.Height = size.height();
        Convert(WithPlugin({.Source = Drive.Path("huge.qpt"), .Destination = Drive.Path("huge")}));
        ExpectFailure("Failed to convert picture.", Drive.Path("huge.png"), Drive.Path("huge.qpt"));
        EXPECT_EQ(0, Plugin.Loads);
        EXPECT_FALSE(Drive.Exists("huge.png"));
    }
}

TEST_F(PictureConversion, APluginWithoutBothEntryPointsIsRefused)
{
    Drive.WriteFile("card.qpt", "");
    TConversion missingSize = WithPlugin({.Source = Drive.Path("card.qpt"), .Destination = Drive.Path("card")});
    missingSize.GetPictureSize = nullptr;
    TConversion missingLoad = WithPlugin({.Source = Drive.Path("card.qpt"), .Destination = Drive.Path("card")});
    missingLoad.LoadFileToBitmap = nullptr;
    for (const TConversion& conversion : {missingSize, missingLoad}) {
        Convert(conversion);
        ExpectFailure("Invalid plugin function.", Drive.Path("card"), Drive.Path("card.qpt"));
        EXPECT_FALSE(Drive.Exists("card.png"));
    }
}

} // namespace
