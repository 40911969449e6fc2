#include "host/PictureFiles.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/PictureFixtures.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>

namespace {

class HostPictureFiles : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(HostPictureFiles, FilesThatHoldNoPictureDoNotOpen)
{
    host::PictureFile picture;
    EXPECT_FALSE(picture.Open(Drive.Path("missing.png")));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());

    Drive.WriteFile("notes.png", "plain text, not a picture");
    EXPECT_FALSE(picture.Open(Drive.Path("notes.png")));
    EXPECT_EQ(host::ERROR_NOT_SUPPORTED, host::GetLastError());
    EXPECT_TRUE(picture.Size().isEmpty());
    EXPECT_FALSE(picture.Read());

    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe.png").c_str(), 0600));
    EXPECT_FALSE(picture.Open(Drive.Path("pipe.png")));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());

    SavePicture(Drive, "red.png", SolidPicture(4, 3, Qt::red));
    host::InjectFault(host::HostCall::Read, host::ERROR_IO_DEVICE, 0, 1000);
    EXPECT_FALSE(picture.Open(Drive.Path("red.png")));
    EXPECT_EQ(host::ERROR_IO_DEVICE, host::GetLastError());
}

// The JPEG and BMP decoders make up the part of a short file they miss.
TEST_F(HostPictureFiles, AShortJpegOrBmpIsNotComplete)
{
    const QImage red = SolidPicture(40, 30, Qt::red);
    const std::string jpeg = PictureBytes(red, "jpeg");
    const std::string bmp = PictureBytes(red, "bmp");
    // A segment holding an end marker of its own, as an embedded thumbnail does.
    const std::string thumbnailSegment = std::string("\xFF\xE1\x00\x06\xFF\xD9\xFF\xD9", 8);
    std::string tallBmp = bmp;
    tallBmp.replace(22, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    struct Row
    {
        const char* Case;
        std::string Name;
        std::string Bytes;
        bool Complete;
    };
    const Row rows[] = {
        {"whole JPEG", "a.jpg", jpeg, true},
        {"JPEG with bytes after its end", "a.jpg", jpeg + "trailer", true},
        {"short JPEG", "a.jpg", jpeg.substr(0, jpeg.size() - 40), false},
        {"short JPEG with an end marker in a segment", "a.jpg",
         jpeg.substr(0, 2) + thumbnailSegment + jpeg.substr(2, jpeg.size() - 42), false},
        {"whole BMP", "a.bmp", bmp, true},
        {"short BMP", "a.bmp", bmp.substr(0, bmp.size() - 1), false},
        {"BMP claiming a huge height", "a.bmp", tallBmp, false},
        {"PNG", "a.png", PictureBytes(red, "png"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        Drive.WriteFile(row.Name, row.Bytes);
        host::PictureFile picture;
        ASSERT_TRUE(picture.Open(Drive.Path(row.Name)));
        EXPECT_EQ(row.Complete, picture.IsComplete());
    }
}

// A chunk length that runs past the end of the file would have the decoder allocate what
// it claims: 1.93 GB for a file of a few hundred bytes.
TEST_F(HostPictureFiles, APngWhoseChunksRunPastItsEndDoesNotOpen)
{
    const QImage red = SolidPicture(4, 3, Qt::red);
    SavePicture(Drive, "red.png", red);
    const std::string whole = Drive.ReadFile("red.png");
    QImage commented = red;
    commented.setText("Comment", "a text chunk of the right length");
    SavePicture(Drive, "commented.png", commented);
    struct Row
    {
        const char* Case;
        std::string Bytes;
        bool Opens;
    };
    const Row rows[] = {
        {"a text chunk claiming 1.93 GB", PngWithChunkAfterHeader(red, 0x73000000, "Comment\0x"), false},
        {"the end chunk cut short by a byte", whole.substr(0, whole.size() - 1), false},
        {"bytes after the end chunk", whole + "trailing", true},
        {"a real text chunk", Drive.ReadFile("commented.png"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        Drive.WriteFile("case.png", row.Bytes);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        host::PictureFile picture;
        const bool opened = picture.Open(Drive.Path("case.png"));
        const uint32_t error = host::GetLastError();
        const std::optional<QImage> decoded = picture.Read();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        EXPECT_EQ(row.Opens, opened);
        EXPECT_EQ(row.Opens ? host::ERROR_SUCCESS : host::ERROR_NOT_SUPPORTED, error);
        EXPECT_EQ(row.Opens, decoded.has_value());
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "peak memory grew, in KiB";
    }
}

TEST_F(HostPictureFiles, TheContentChoosesTheDecoderNotTheExtension)
{
    const QImage red = SolidPicture(4, 3, Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(Drive.HostPath("really-a-png.jpg")), "png"));
    host::PictureFile picture;
    ASSERT_TRUE(picture.Open(Drive.Path("really-a-png.jpg")));
    EXPECT_EQ(QSize(4, 3), picture.Size());
    const std::optional<QImage> decoded = picture.Read();
    ASSERT_TRUE(decoded);
    EXPECT_EQ(qRgb(255, 0, 0), decoded->pixel(3, 2));
}

TEST_F(HostPictureFiles, ALargePictureIsDecodedAtTheWantedSize)
{
    SavePicture(Drive, "large.jpg", SolidPicture(3000, 2000, Qt::blue));
    SavePicture(Drive, "large.bmp", SolidPicture(600, 400, Qt::blue));
    struct Row
    {
        const char* Name;
        QSize Wanted;
        QSize Delivered;
    };
    const Row rows[] = {
        {"large.jpg", {300, 200}, {300, 200}},
        {"large.jpg", {}, {3000, 2000}},
        // Enlarging is the drawer's work, not the decoder's.
        {"large.jpg", {3300, 2200}, {3000, 2000}},
        // A decoder that cannot reduce delivers the whole picture.
        {"large.bmp", {60, 40}, {600, 400}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name + std::string(" ") + std::to_string(row.Wanted.width()));
        host::PictureFile picture;
        ASSERT_TRUE(picture.Open(Drive.Path(row.Name)));
        const std::optional<QImage> decoded = picture.Read(row.Wanted);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(row.Delivered, decoded->size());
    }
}

TEST_F(HostPictureFiles, DecoderExtensionsAreLowerCaseWithTheirDot)
{
    const std::vector<std::string> extensions = host::GetPictureDecoderExtensions();
    EXPECT_NE(extensions.end(), std::find(extensions.begin(), extensions.end(), ".png"));
    EXPECT_NE(extensions.end(), std::find(extensions.begin(), extensions.end(), ".jpg"));
    for (const std::string& extension : extensions)
        EXPECT_EQ('.', extension.front()) << extension;
}

} // namespace
