#include "core/desktop/Clipboard.h"
#include "core/errors/Error.h"
#include "core/text/Text.h"

#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(Clipboard, CopiesAppendsAndBeepsOnRequest)
{
    EXPECT_TRUE(CopyTextToClipboard("a", "", false, false));
    EXPECT_TRUE(CopyTextToClipboard("b", "", true, true));
    EXPECT_EQ("ab", CopyTextFromClipboard());
    EXPECT_EQ(std::vector<uint32_t>{0}, BeepsHeard());

    CopyTextToClipboard("from a buffer");
    EXPECT_EQ("from a buffer", CopyTextFromClipboard());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST(Clipboard, AnEmptyTextOnlyWarns)
{
    CopyTextToClipboard("kept", "", false, false);
    TModalScript boxes;
    boxes.Expect("Warning", IDOK);
    EXPECT_FALSE(CopyTextToClipboard("", "Failed to copy name.", false, false));
    EXPECT_EQ("There is no text to copy to clipboard.", boxes.Seen().at(0).Text);
    EXPECT_EQ("kept", CopyTextFromClipboard());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST(Clipboard, APictureGivesNoTextAndLinesBecomeItems)
{
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ("", CopyTextFromClipboard());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    QGuiApplication::clipboard()->setText("C:\\a\r\nC:\\b\r\n\r\nC:\\c\r\n");
    std::vector<std::string> list = {"stale"};
    ClipboardFilesToList(list);
    EXPECT_EQ((std::vector<std::string>{"C:\\a", "C:\\b", "", "C:\\c"}), list);
}

TEST(TextLines, LineBreaksOfEveryKind)
{
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "", "d"}), SplitLines("a\rb\nc\r\n\nd"));
    EXPECT_EQ((std::vector<std::string>{"a"}), SplitLines("a\r\n"));
    EXPECT_TRUE(SplitLines("").empty());
}

} // namespace
