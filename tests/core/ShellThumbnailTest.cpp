#include "core/desktop/ShellThumbnail.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"
#include "support/VideoFixtures.h"

#include "host/DesktopThumbnails.h"
#include "host/LastError.h"

#include <QCryptographicHash>
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t NotFoundResult = 0x80070002;

// Thumbnails are written into the test's own cache as a desktop program would write them.
class ShellThumbnails : public testing::Test
{
protected:
    ShellThumbnails()
    {
        Drive.WriteFile("holiday photo #1.raw", "raw picture");
        struct stat info = {};
        stat(Drive.HostPath("holiday photo #1.raw").c_str(), &info);
        Modified = info.st_mtim.tv_sec;
    }
    ~ShellThumbnails() override { fs::remove_all(TestRootHostPath() + "/cache/thumbnails"); }

    std::string Uri() const { return "file://" + Drive.HostPath() + "/holiday%20photo%20%231.raw"; }

    std::string EntryPath(const std::string& folder) const
    {
        const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(Uri()), QCryptographicHash::Md5);
        return TestRootHostPath() + "/cache/thumbnails/" + folder + "/" + digest.toHex().toStdString() + ".png";
    }

    void WriteEntry(const std::string& folder, int width, int height, QRgb colour, const std::string& uri,
                    int64_t modified) const
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(colour);
        picture.setText("Thumb::URI", QString::fromStdString(uri));
        picture.setText("Thumb::MTime", QString::number(modified));
        fs::create_directories(fs::path(EntryPath(folder)).parent_path());
        ASSERT_TRUE(picture.save(QString::fromStdString(EntryPath(folder)), "PNG"));
    }

    void WriteEntry(const std::string& folder, int width, int height, QRgb colour) const
    {
        WriteEntry(folder, width, height, colour, Uri(), Modified);
    }

    std::string File() const { return Drive.Path("holiday photo #1.raw"); }

    TTempDrive Drive{'T'};
    int64_t Modified = 0;
};

TEST_F(ShellThumbnails, GivesTheCachedPictureFittedToTheBox)
{
    WriteEntry("normal", 128, 64, qRgb(255, 0, 0));
    const std::unique_ptr<QImage> fitted = GetSysThumbnailFromFile(File(), 100, 100);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_NE(nullptr, fitted);
    EXPECT_EQ(QSize(100, 50), fitted->size()) << "the proportions are kept";
    EXPECT_EQ(QImage::Format_ARGB32, fitted->format());
    EXPECT_EQ(qRgb(255, 0, 0), fitted->pixel(50, 25));

    // The file is no video, so no frame can be made in its stead.
    const std::unique_ptr<QImage> small = GetSysThumbnailFromFile(File(), 300, 300);
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(QSize(300, 150), small->size()) << "a small entry is enlarged to touch the box";
}

TEST_F(ShellThumbnails, TakesTheSizeMeantForTheBox)
{
    WriteEntry("normal", 128, 128, qRgb(0, 0, 255));
    WriteEntry("large", 256, 256, qRgb(0, 255, 0));
    struct Row
    {
        int Box;
        QRgb Colour;
    };
    for (const Row& row : {Row{128, qRgb(0, 0, 255)}, Row{129, qRgb(0, 255, 0)}, Row{200, qRgb(0, 255, 0)}}) {
        const std::unique_ptr<QImage> picture = GetSysThumbnailFromFile(File(), row.Box, row.Box);
        ASSERT_NE(nullptr, picture) << row.Box;
        EXPECT_EQ(QSize(row.Box, row.Box), picture->size());
        EXPECT_EQ(row.Colour, picture->pixel(row.Box / 2, row.Box / 2)) << row.Box;
    }

    fs::remove(EntryPath("normal"));
    const std::unique_ptr<QImage> fallback = GetSysThumbnailFromFile(File(), 64, 64);
    ASSERT_NE(nullptr, fallback) << "the other size stands in";
    EXPECT_EQ(qRgb(0, 255, 0), fallback->pixel(32, 32));
}

TEST_F(ShellThumbnails, OutdatedOrForeignEntriesGiveNone)
{
    struct Row
    {
        const char* Case;
        std::string Uri;
        int64_t Modified;
    };
    for (const Row& row : {Row{"older file", Uri(), Modified - 1},
                           Row{"other file", "file://" + Drive.HostPath() + "/other.raw", Modified}}) {
        WriteEntry("normal", 128, 128, qRgb(1, 2, 3), row.Uri, row.Modified);
        EXPECT_EQ(nullptr, GetSysThumbnailFromFile(File(), 100, 100)) << row.Case;
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Failed to extract thumbnail.", FunStatContext.Description);
        EXPECT_EQ("", FunStatContext.Parameter1);
        EXPECT_EQ(NotFoundResult, FunStatContext.SystemErrorCode);
    }

    std::ofstream(EntryPath("normal"), std::ios::trunc) << "not a picture";
    EXPECT_EQ(nullptr, GetSysThumbnailFromFile(File(), 100, 100));
    EXPECT_EQ("Failed to extract thumbnail.", FunStatContext.Description);
}

TEST_F(ShellThumbnails, FilesThatCannotBeFoundOrHaveNoThumbnail)
{
    WriteEntry("normal", 128, 128, qRgb(1, 2, 3));
    Drive.WriteFile("plain.txt", "");
    struct Row
    {
        std::string Name;
        std::string Description;
        uint32_t Code;
    };
    const Row rows[] = {
        {Drive.Path("missing\\a.raw"), "Failed to parse path display name.", NotFoundResult},
        {Drive.Path("plain.txt\\a.raw"), "Failed to bind to object.", 0x8007010B},
        {Drive.Path("missing.raw"), "Failed to parse file display name.", NotFoundResult},
        {Drive.Path("plain.txt"), "Failed to allocate memory.", NotFoundResult},
    };
    for (const Row& row : rows) {
        std::unique_ptr<TExtractImage> extractor = std::make_unique<TExtractImage>("left over");
        EXPECT_FALSE(ExtractImage_GetIPtr(row.Name, extractor)) << row.Name;
        EXPECT_EQ(nullptr, extractor);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(row.Description, FunStatContext.Description);
        EXPECT_EQ(row.Name, FunStatContext.Parameter1);
        EXPECT_EQ(row.Code, FunStatContext.SystemErrorCode);
        EXPECT_EQ(nullptr, GetSysThumbnailFromFile(row.Name, 100, 100));
        EXPECT_EQ(row.Description, FunStatContext.Description);
    }
}

TEST_F(ShellThumbnails, AnUnusableLocationGivesNoBitmap)
{
    WriteEntry("normal", 128, 128, qRgb(1, 2, 3));
    std::unique_ptr<TExtractImage> extractor;
    ASSERT_TRUE(ExtractImage_GetIPtr(File(), extractor));
    std::unique_ptr<QImage> bitmap = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    struct Row
    {
        int Width;
        int Height;
        int Depth;
    };
    for (const Row& row : {Row{0, 100, 32}, Row{100, -1, 32}, Row{100, 100, 7}}) {
        EXPECT_FALSE(
            ExtractImage_GetFileThumbnail(*extractor, row.Width, row.Height, row.Depth, IEIFLAG_ASPECT, bitmap));
        EXPECT_EQ(nullptr, bitmap);
        EXPECT_EQ("Failed to get location.", FunStatContext.Description);
        EXPECT_EQ(0x80070057u, FunStatContext.SystemErrorCode);
    }
    EXPECT_TRUE(ExtractImage_GetFileThumbnail(*extractor, 64, 32, 24, 0, bitmap));
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(QSize(64, 32), bitmap->size()) << "without IEIFLAG_ASPECT the box is filled";
    EXPECT_EQ(QImage::Format_RGB888, bitmap->format());
}

// A video's thumbnail always touches the box, as the thumbnail cache's match of videos needs.
TEST_F(ShellThumbnails, AVideoGivesAFrameTouchingTheBox)
{
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    struct Row
    {
        QSize Box;
        QSize Thumbnail;
    };
    for (const Row& row : {Row{{200, 200}, {200, 113}}, Row{{100, 300}, {100, 56}}, Row{{300, 60}, {106, 60}}}) {
        const std::unique_ptr<QImage> frame = GetSysThumbnailFromFile(clip, row.Box.width(), row.Box.height());
        ASSERT_NE(nullptr, frame) << row.Box.width();
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Thumbnail, frame->size());
        EXPECT_GT(ColourCount(*frame), 8u);
    }
    EXPECT_EQ(0, LeftFrames());
}

TEST_F(ShellThumbnails, TheCacheEntryAndTheThumbnailerShareTheWork)
{
    using namespace std::chrono_literals;
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    struct stat info = {};
    stat(Drive.HostPath("clip.mp4").c_str(), &info);
    const std::string clipUri = "file://" + Drive.HostPath() + "/clip.mp4";
    const std::string missing = Drive.HostPath("no thumbnailer");
    const std::string hanging = WriteStandInThumbnailer(Drive, "hangs", "echo partial > \"$OUT\"; exec sleep 60");
    struct Row
    {
        const char* Case;
        int EntrySide; // 0: no entry
        std::string Program;
        QSize Thumbnail;
        bool FromEntry;
    };
    const Row rows[] = {
        {"an entry filling the box, no thumbnailer needed", 256, missing, {160, 160}, true},
        {"a small entry, a frame instead", 128, "ffmpegthumbnailer", {160, 90}, false},
        {"a small entry, no thumbnailer", 128, missing, {160, 160}, true},
        {"a small entry, a hanging thumbnailer", 128, hanging, {160, 160}, true},
        {"no entry, no thumbnailer", 0, missing, {}, false},
        {"no entry, a hanging thumbnailer", 0, hanging, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        fs::remove_all(TestRootHostPath() + "/cache/thumbnails");
        if (row.EntrySide > 0) {
            QImage entry(row.EntrySide, row.EntrySide, QImage::Format_RGB32);
            entry.fill(qRgb(9, 8, 7));
            entry.setText("Thumb::URI", QString::fromStdString(clipUri));
            entry.setText("Thumb::MTime", QString::number(info.st_mtim.tv_sec));
            const std::string path =
                *host::GetThumbnailCachePath(clip, row.EntrySide > 128 ? host::ThumbnailSize::Large
                                                                       : host::ThumbnailSize::Normal);
            fs::create_directories(fs::path(path).parent_path());
            ASSERT_TRUE(entry.save(QString::fromStdString(path), "PNG"));
        }
        UseThumbnailer(row.Program, row.Program == hanging ? 300ms : 10000ms);
        const std::unique_ptr<QImage> thumbnail = GetSysThumbnailFromFile(clip, 160, 160);
        EXPECT_EQ(0, LeftFrames());
        if (row.Thumbnail.isEmpty()) {
            EXPECT_EQ(nullptr, thumbnail);
            EXPECT_EQ(fsError, FunStatContext.Status);
            continue;
        }
        ASSERT_NE(nullptr, thumbnail);
        EXPECT_EQ(row.Thumbnail, thumbnail->size());
        EXPECT_EQ(row.FromEntry, thumbnail->pixel(80, 40) == qRgb(9, 8, 7));
    }
}

} // namespace
