#include "tools/RichTextHelpers.h"

#include <QMargins>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t NoTextLimit = std::numeric_limits<int32_t>::max();
constexpr int32_t LinesKeptAtEnd = 5;

// Takes back what a change added beyond the limit, from the end of the added text, as
// part of the same undo step.
class TTextLimitGuard : public QObject
{
public:
    explicit TTextLimitGuard(QPlainTextEdit& box) : QObject(&box), Box(box)
    {
        setObjectName(ObjectName);
        connect(box.document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
            ChangeStart = position;
            ChangeEnd = position + added;
        });
        connect(&box, &QPlainTextEdit::textChanged, this, [this] { Enforce(); });
    }

    static constexpr const char* ObjectName = "TextLimitGuard";
    int32_t Limit = NoTextLimit;

private:
    void Enforce()
    {
        const int32_t excess = GetRichEditTextLength(Box) - Limit;
        if (Trimming || excess <= 0)
            return;
        const int end = std::min(ChangeEnd, GetRichEditTextLength(Box));
        const int start = std::max(ChangeStart, end - excess);
        if (start >= end)
            return;
        Trimming = true;
        QTextCursor cursor(Box.document());
        cursor.joinPreviousEditBlock();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.endEditBlock();
        Trimming = false;
    }

    QPlainTextEdit& Box;
    int ChangeStart = 0;
    int ChangeEnd = 0;
    bool Trimming = false;
};

// The view's margins are the scroll area's, kept for its subclasses; their member
// pointers, named through one, reach any box.
class TViewportMarginsAccess : public QPlainTextEdit
{
public:
    static QMargins Get(const QPlainTextEdit& box)
    {
        QMargins (QAbstractScrollArea::*get)() const = &TViewportMarginsAccess::viewportMargins;
        return (box.*get)();
    }
    static void Set(QPlainTextEdit& box, const QMargins& margins)
    {
        void (QAbstractScrollArea::*set)(const QMargins&) = &TViewportMarginsAccess::setViewportMargins;
        (box.*set)(margins);
    }
};

void SetViewportMargins(QPlainTextEdit& box, int32_t left, int32_t right)
{
    QMargins margins = TViewportMarginsAccess::Get(box);
    margins.setLeft(left >= 0 ? left : margins.left());
    margins.setRight(right >= 0 ? right : margins.right());
    TViewportMarginsAccess::Set(box, margins);
}

void PlaceCaret(QPlainTextEdit& box, int32_t position)
{
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(std::clamp(position, 0, GetRichEditTextLength(box)));
    box.setTextCursor(cursor);
}

// The vertical scroll bar counts the lines as laid out, so a wrapped line of the text
// spans several of its steps.
void ScrollToLineAtTop(QPlainTextEdit& box, int32_t line)
{
    const QTextBlock block = box.document()->findBlockByNumber(std::clamp(line, 0, GetRichEditLineCount(box) - 1));
    box.verticalScrollBar()->setValue(block.firstLineNumber());
}

} // namespace

int32_t GetRichEditLineCount(const QPlainTextEdit& box)
{
    return box.document()->blockCount();
}

int32_t GetRichEditTextLength(const QPlainTextEdit& box)
{
    return box.document()->characterCount() - 1;
}

void SetRichEditTextLimit(QPlainTextEdit& box, int32_t limit)
{
    auto* guard = box.findChild<TTextLimitGuard*>(TTextLimitGuard::ObjectName, Qt::FindDirectChildrenOnly);
    if (guard == nullptr)
        guard = new TTextLimitGuard(box);
    guard->Limit = limit > 0 ? limit : NoTextLimit;
}

int32_t GetRichEditFirstVisibleLine(const QPlainTextEdit& box)
{
    const QTextBlock block = box.document()->findBlockByLineNumber(box.verticalScrollBar()->value());
    return block.isValid() ? block.blockNumber() : 0;
}

int32_t GetRichEditLineIndex(const QPlainTextEdit& box, int32_t line)
{
    const QTextBlock block = box.document()->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

int32_t GetRichEditLineOfChar(const QPlainTextEdit& box, int32_t position)
{
    const QTextBlock block = box.document()->findBlock(std::clamp(position, 0, GetRichEditTextLength(box)));
    return block.isValid() ? block.blockNumber() : 0;
}

int32_t GetRichEditCaretLine(const QPlainTextEdit& box)
{
    return GetRichEditLineOfChar(box, box.textCursor().selectionStart());
}

void SetRichEditScrollTop(QPlainTextEdit& box, int32_t y)
{
    box.horizontalScrollBar()->setValue(0);
    box.verticalScrollBar()->setValue(y / std::max(1, box.fontMetrics().lineSpacing()));
}

void ScrollRichEditLines(QPlainTextEdit& box, int32_t count)
{
    ScrollToLineAtTop(box, GetRichEditFirstVisibleLine(box) + count);
}

void ScrollRichEditToCaret(QPlainTextEdit& box)
{
    box.ensureCursorVisible();
}

void SetRichEditLeftMargin(QPlainTextEdit& box, int32_t pixels)
{
    SetViewportMargins(box, pixels, -1);
}

void SetRichEditRightMargin(QPlainTextEdit& box, int32_t pixels)
{
    SetViewportMargins(box, -1, pixels);
}

bool IsRichEditCaretVisible(const QPlainTextEdit& box)
{
    const QRect caret = box.cursorRect();
    return caret.x() < box.viewport()->width() && caret.y() < box.viewport()->height();
}

void KeepRichEditCaretVisible(QPlainTextEdit& box, int32_t offset)
{
    if (IsRichEditCaretVisible(box))
        return;
    const int32_t line = std::min(GetRichEditFirstVisibleLine(box) + offset, GetRichEditLineCount(box) - 1);
    PlaceCaret(box, GetRichEditLineIndex(box, line));
}

void ScrollRichEditToEnd(QPlainTextEdit& box)
{
    box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
    KeepRichEditCaretVisible(box, 1);
}

void GoToRichEditLine(QPlainTextEdit& box, int32_t line)
{
    const int32_t target = std::clamp(line, 0, GetRichEditLineCount(box) - 1);
    SetRichEditScrollTop(box, 0);
    ScrollRichEditLines(box, target);
    PlaceCaret(box, GetRichEditLineIndex(box, target));
}

void ShowRichEditLineOfChar(QPlainTextEdit& box, int32_t position)
{
    if (position < 0)
        return;
    const int32_t line = position == 0 ? 0 : GetRichEditLineOfChar(box, position);
    if (line > GetRichEditLineCount(box) - LinesKeptAtEnd)
        ScrollRichEditToEnd(box);
    else
        GoToRichEditLine(box, line);
}

int32_t FindRichEditText(QPlainTextEdit& box, const std::string& text, bool fromStart)
{
    const int from = fromStart ? 0 : box.textCursor().selectionEnd();
    const QTextCursor match = box.document()->find(QString::fromStdString(text), from);
    if (match.isNull())
        return -1;
    box.setTextCursor(match);
    ScrollRichEditToCaret(box);
    return match.selectionStart();
}
