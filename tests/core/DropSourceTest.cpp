#include "core/desktop/DropSource.h"

#include "host/DragAndDrop.h"
#include "host/LastError.h"

#include "support/RecordingDrags.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QList<QUrl> LocalUrls(const std::vector<std::string>& hostPaths)
{
    QList<QUrl> urls;
    for (const std::string& path : hostPaths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    return urls;
}

std::string CopiedFiles(const QMimeData& data)
{
    return data.data(host::CopiedFilesFormat).toStdString();
}

class DropSourceTest : public testing::Test
{
protected:
    DropSourceTest()
    {
        Drive.WriteFile("photos\\a.jpg", "a");
        Drive.WriteFile("music\\deep\\b c.mp3", "b");
        Files.Files = {Drive.Path("photos\\a.jpg"), Drive.Path("music\\deep\\b c.mp3")};
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    const QMimeData& Clipboard() const { return *QGuiApplication::clipboard()->mimeData(); }

    TTempDrive Drive{'T'};
    TDropFileSource Files{nullptr};
};

// Files gathered from several folders (a container column) keep their own folders.
TEST_F(DropSourceTest, EveryFileIsNamedByItsOwnFullPath)
{
    const std::unique_ptr<QMimeData> data = Files.MakeMimeData(0);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(LocalUrls({Drive.HostPath("photos/a.jpg"), Drive.HostPath("music/deep/b c.mp3")}), data->urls());
    EXPECT_EQ("copy\nfile://" + Drive.HostPath("photos/a.jpg") + "\nfile://" + Drive.HostPath("music/deep/b%20c.mp3"),
              CopiedFiles(*data));
}

TEST_F(DropSourceTest, CutAndCopyPutTheFilesOnTheClipboard)
{
    ASSERT_TRUE(Files.CutToClipboard());
    EXPECT_EQ(dtMove, Files.FeedbackEffect);
    EXPECT_EQ(LocalUrls({Drive.HostPath("photos/a.jpg"), Drive.HostPath("music/deep/b c.mp3")}), Clipboard().urls());
    EXPECT_EQ(0u, CopiedFiles(Clipboard()).find("cut\nfile://"));

    ASSERT_TRUE(Files.CopyToClipboard());
    EXPECT_EQ(dtCopy, Files.FeedbackEffect);
    EXPECT_EQ(0u, CopiedFiles(Clipboard()).find("copy\nfile://"));
}

TEST_F(DropSourceTest, NothingOrSomethingUnnamableIsNeverOffered)
{
    TDropTextSource text(nullptr);
    TDropFileSource noFiles(nullptr);
    EXPECT_FALSE(text.CopyToClipboard());
    EXPECT_FALSE(noFiles.CutToClipboard());
    EXPECT_EQ(drCancel, noFiles.Execute()) << "no drag starts without data";

    Files.Files.push_back("Q:\\unmapped\\c.txt");
    EXPECT_EQ(nullptr, Files.MakeMimeData(0)) << "a partial list would move fewer files than were dragged";
    EXPECT_FALSE(Files.CopyToClipboard());
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, host::GetLastError());
    EXPECT_EQ(QStringLiteral("before"), Clipboard().text()) << "the clipboard is left alone";
    EXPECT_EQ(0, Files.FeedbackEffect) << "a failed copy leaves the last effect";
}

// The text is on the clipboard, so the copy reports success.
TEST_F(DropSourceTest, TextIsCopiedAsPlainText)
{
    TDropTextSource text(nullptr);
    text.Text = "Grüße, \"world\"";
    ASSERT_TRUE(text.CopyToClipboard());
    EXPECT_EQ(QString::fromUtf8("Grüße, \"world\""), Clipboard().text());
    EXPECT_FALSE(Clipboard().hasUrls());
}

TEST_F(DropSourceTest, ADragOffersTheFilesWithExactlyTheAllowedTypes)
{
    TRecordingDrags drags;
    drags.Answer = Qt::MoveAction;
    std::vector<int> heard;
    Files.OnFeedback = [&heard](TDropSource*, int effect) { heard.push_back(effect); };
    drags.During = [](const host::DragRequest& request) {
        request.OnActionChanged(Qt::LinkAction);
        request.OnActionChanged(Qt::MoveAction);
    };
    Files.Dragtypes = dtMove | dtLink;

    EXPECT_EQ(drDropMove, Files.Execute());
    ASSERT_EQ(1u, drags.Drags.size());
    EXPECT_EQ(Qt::MoveAction | Qt::LinkAction, drags.Drags[0].Allowed);
    EXPECT_EQ(LocalUrls({Drive.HostPath("photos/a.jpg"), Drive.HostPath("music/deep/b c.mp3")}), drags.Drags[0].Urls);
    EXPECT_EQ(0u, drags.Drags[0].CopiedFiles.find("copy\nfile://"));
    EXPECT_EQ((std::vector<int>{dtLink, dtMove}), heard);
    EXPECT_EQ(dtMove, Files.FeedbackEffect);
}

TEST(DragResult, FollowsTheTargetsActionWithinTheAllowedTypes)
{
    struct Row
    {
        int Action;
        TDragTypes Allowed;
        TDragResult Expected;
    };
    const Row rows[] = {
        {Qt::CopyAction, dtCopy, drDropCopy},
        {Qt::MoveAction, dtCopy | dtMove, drDropMove},
        {Qt::TargetMoveAction, dtMove, drDropMove},
        {Qt::LinkAction, dtLink, drDropLink},
        {Qt::CopyAction | Qt::MoveAction, dtCopy | dtMove, drDropCopy},
        {Qt::MoveAction, dtCopy, drCancel},
        {Qt::IgnoreAction, dtCopy | dtMove | dtLink, drCancel},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Expected, TDropSource::DragResultOf(row.Action, row.Allowed)) << row.Action;
}

TEST(DragImage, ShownOnlyWithAPictureToShow)
{
    const std::vector<QPixmap> pictures(2, QPixmap(8, 8));
    TDropFileSource source(nullptr);
    source.SetShowImage(true);
    EXPECT_FALSE(source.ShowImage());

    source.SetImages(&pictures);
    EXPECT_TRUE(source.ShowImage());
    source.SetImageIndex(1);
    source.SetImageIndex(2);
    EXPECT_EQ(1, source.ImageIndex()) << "an index past the end is ignored";
    source.SetImageIndex(-1);
    EXPECT_EQ(0, source.ImageIndex());
    EXPECT_FALSE(source.ShowImage());

    source.SetImages(nullptr);
    source.SetShowImage(true);
    EXPECT_FALSE(source.ShowImage());
}

} // namespace
