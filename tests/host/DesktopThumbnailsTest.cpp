#include "host/DesktopThumbnails.h"
#include "host/Drives.h"

#include "support/TestSupport.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

std::string CacheEntry(const std::string& folder, const std::string& uri)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5);
    return TestRootHostPath() + "/cache/thumbnails/" + folder + "/" + digest.toHex().toStdString() + ".png";
}

TEST(DesktopThumbnails, EntriesAreNamedByTheMd5OfThePercentEncodedUri)
{
    host::MapDrive('J', "/home/jens");
    EXPECT_EQ(TestRootHostPath() + "/cache/thumbnails/normal/c6ee772d9e49320e97ec29a7eb5b1697.png",
              host::GetThumbnailCachePath("J:\\photos\\me.png", host::ThumbnailSize::Normal));
    EXPECT_EQ(TestRootHostPath() + "/cache/thumbnails/large/c6ee772d9e49320e97ec29a7eb5b1697.png",
              host::GetThumbnailCachePath("J:\\photos\\me.png", host::ThumbnailSize::Large));

    struct Row
    {
        std::string WindowsPath;
        std::string Uri;
    };
    const Row rows[] = {
        {"J:\\a b\\#1;%.png", "file:///home/jens/a%20b/%231%3B%25.png"},
        {"J:\\\xC3\xA9t\xC3\xA9.jpg", "file:///home/jens/%C3%A9t%C3%A9.jpg"},
        {"J:\\keep-_.!~'()@&=+$,.txt", "file:///home/jens/keep-_.!~'()@&=+$,.txt"},
        {"J:\\[x]{y}^`.txt", "file:///home/jens/%5Bx%5D%7By%7D%5E%60.txt"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CacheEntry("normal", row.Uri),
                  host::GetThumbnailCachePath(row.WindowsPath, host::ThumbnailSize::Normal))
            << row.Uri;
}

} // namespace
