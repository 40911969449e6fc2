#include "tools/RichTextHelpers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace {

// A shown box a few lines high, so that scrolling has somewhere to go.
class RichTextHelpers : public testing::Test
{
protected:
    void SetUp() override
    {
        Box.resize(300, 120);
        Box.show();
    }

    void SetLines(int count)
    {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines.append(QString("line %1").arg(i));
        Box.setPlainText(lines.join('\n'));
        QApplication::processEvents();
    }

    void Paste(const QString& text)
    {
        QApplication::clipboard()->setText(text);
        Box.paste();
    }

    QPlainTextEdit Box;
};

TEST_F(RichTextHelpers, LinesAreTheTextsLinesHoweverTheyWrap)
{
    Box.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Box.setPlainText(QString("short\n") + QString("word ").repeated(200) + "\nlast");
    QApplication::processEvents();
    EXPECT_EQ(GetRichEditLineCount(Box), 3);
    EXPECT_EQ(GetRichEditLineIndex(Box, 2), 6 + 1000 + 1);
    EXPECT_EQ(GetRichEditLineIndex(Box, 3), -1);
    EXPECT_EQ(GetRichEditLineOfChar(Box, 500), 1);
    EXPECT_EQ(GetRichEditTextLength(Box), 6 + 1000 + 1 + 4);
    // The wrapped line spans many rows of the view, yet line 2 comes right after it.
    GoToRichEditLine(Box, 2);
    EXPECT_EQ(GetRichEditCaretLine(Box), 2);
    EXPECT_EQ(Box.textCursor().position(), GetRichEditLineIndex(Box, 2));
}

TEST_F(RichTextHelpers, GoingToALineShowsItAtTheTopWithTheCaretAtItsStart)
{
    SetLines(100);
    GoToRichEditLine(Box, 40);
    EXPECT_EQ(GetRichEditFirstVisibleLine(Box), 40);
    EXPECT_EQ(GetRichEditCaretLine(Box), 40);
    EXPECT_FALSE(Box.textCursor().hasSelection());

    GoToRichEditLine(Box, -3);
    EXPECT_EQ(GetRichEditFirstVisibleLine(Box), 0);
    EXPECT_EQ(Box.textCursor().position(), 0);
}

TEST_F(RichTextHelpers, AShortTextIsShownScrolledToItsEnd)
{
    SetLines(3);
    ShowRichEditLineOfChar(Box, 0);
    EXPECT_EQ(Box.verticalScrollBar()->value(), Box.verticalScrollBar()->maximum());
    EXPECT_TRUE(IsRichEditCaretVisible(Box));

    // A line well inside a long text comes to the top; one of the last five shows the end.
    SetLines(100);
    ShowRichEditLineOfChar(Box, GetRichEditLineIndex(Box, 30) + 2);
    EXPECT_EQ(GetRichEditFirstVisibleLine(Box), 30);
    ShowRichEditLineOfChar(Box, GetRichEditLineIndex(Box, 97));
    EXPECT_EQ(Box.verticalScrollBar()->value(), Box.verticalScrollBar()->maximum());
    EXPECT_TRUE(IsRichEditCaretVisible(Box));
}

TEST_F(RichTextHelpers, ACaretBelowTheViewIsNotVisibleAndIsBroughtIntoIt)
{
    Box.resize(2000, 60);
    SetLines(100);
    GoToRichEditLine(Box, 0);
    QTextCursor cursor = Box.textCursor();
    cursor.setPosition(GetRichEditLineIndex(Box, 80));
    Box.setTextCursor(cursor);
    Box.verticalScrollBar()->setValue(0);
    EXPECT_FALSE(IsRichEditCaretVisible(Box));

    KeepRichEditCaretVisible(Box, 1);
    EXPECT_EQ(GetRichEditCaretLine(Box), 1);
    EXPECT_TRUE(IsRichEditCaretVisible(Box));
}

TEST_F(RichTextHelpers, TheLimitCutsWhatWouldPassItAndZeroMeansNone)
{
    SetRichEditTextLimit(Box, 10);
    Paste(QString(25, 'x'));
    EXPECT_EQ(Box.toPlainText(), QString(10, 'x'));
    // One undo takes back the whole paste.
    Box.undo();
    EXPECT_EQ(Box.toPlainText(), "");
    // Typing at the limit takes nothing.
    Box.setPlainText(QString(10, 'x'));
    Box.moveCursor(QTextCursor::End);
    Box.insertPlainText("y");
    EXPECT_EQ(Box.toPlainText(), QString(10, 'x'));

    // A paste in the middle keeps the text after it.
    Box.setPlainText("abcdef");
    QTextCursor cursor = Box.textCursor();
    cursor.setPosition(3);
    Box.setTextCursor(cursor);
    Paste("123456789");
    EXPECT_EQ(Box.toPlainText(), "abc1234def");

    Box.clear();
    SetRichEditTextLimit(Box, 0);
    Box.setLineWrapMode(QPlainTextEdit::NoWrap);
    Paste((QString(99, 'z') + '\n').repeated(15000));
    EXPECT_EQ(GetRichEditTextLength(Box), 1500000);
    SetRichEditTextLimit(Box, -5);
    Box.insertPlainText("more");
    EXPECT_EQ(GetRichEditTextLength(Box), 1500004);
}

TEST_F(RichTextHelpers, FindingIgnoresCaseGoesOnFromTheSelectionAndKeepsTheLastMatch)
{
    Box.setPlainText("ABC x abc");
    EXPECT_EQ(FindRichEditText(Box, "abc", false), 0);
    EXPECT_EQ(Box.textCursor().selectedText(), "ABC");
    EXPECT_EQ(FindRichEditText(Box, "abc", false), 6);
    EXPECT_EQ(FindRichEditText(Box, "abc", false), -1);
    EXPECT_EQ(Box.textCursor().selectionStart(), 6);
    EXPECT_EQ(Box.textCursor().selectionEnd(), 9);
    EXPECT_EQ(FindRichEditText(Box, "abc", true), 0);

    // Accents count.
    Box.setPlainText("cafe café CAFÉ");
    EXPECT_EQ(FindRichEditText(Box, "café", true), 5);
    EXPECT_EQ(FindRichEditText(Box, "café", false), 10);
    EXPECT_EQ(FindRichEditText(Box, "café", false), -1);
}

TEST_F(RichTextHelpers, MarginsNarrowTheView)
{
    const int width = Box.viewport()->width();
    SetRichEditLeftMargin(Box, 5);
    SetRichEditRightMargin(Box, 7);
    QApplication::processEvents();
    EXPECT_EQ(Box.viewport()->width(), width - 12);
    SetRichEditLeftMargin(Box, 0);
    QApplication::processEvents();
    EXPECT_EQ(Box.viewport()->width(), width - 7);
}

} // namespace
