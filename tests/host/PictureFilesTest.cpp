#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/PictureFiles.h"

#include "support/PictureFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

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
