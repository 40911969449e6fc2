#pragma once

#include <cstdint>
#include <string>

class QPlainTextEdit;

// Line, caret and scrolling arithmetic, margins, a text limit and text search over a plain
// text box. Lines and positions are zero-based; a line is one line of the text (a block),
// however the box wraps it. The helpers keep no state of their own apart from the text
// limit, which lives with the box. User-interface thread only.

int32_t GetRichEditLineCount(const QPlainTextEdit& box);
// In characters, each line break counting one.
int32_t GetRichEditTextLength(const QPlainTextEdit& box);
// Typing and pasting never make the text longer than the limit: what would pass it is
// not taken. A limit of 0 or less means 2,147,483,647.
void SetRichEditTextLimit(QPlainTextEdit& box, int32_t limit);
int32_t GetRichEditFirstVisibleLine(const QPlainTextEdit& box);
// The position of the line's first character; -1 for a line the text does not have.
int32_t GetRichEditLineIndex(const QPlainTextEdit& box, int32_t line);
int32_t GetRichEditLineOfChar(const QPlainTextEdit& box, int32_t position);
int32_t GetRichEditCaretLine(const QPlainTextEdit& box);
// Scrolls to the pixel row `y` of the text, at its left edge.
void SetRichEditScrollTop(QPlainTextEdit& box, int32_t y);
// Scrolls by whole lines of the text, so that the line `count` lines further stands at
// the top of the view where the text is long enough.
void ScrollRichEditLines(QPlainTextEdit& box, int32_t count);
void ScrollRichEditToCaret(QPlainTextEdit& box);
// Margins of the box's view, in pixels.
void SetRichEditLeftMargin(QPlainTextEdit& box, int32_t pixels);
void SetRichEditRightMargin(QPlainTextEdit& box, int32_t pixels);
// The caret lies left of the view's right edge and above its bottom edge.
bool IsRichEditCaretVisible(const QPlainTextEdit& box);
// A caret out of view goes to the start of the line `offset` lines below the first
// visible one, with nothing selected.
void KeepRichEditCaretVisible(QPlainTextEdit& box, int32_t offset);
void ScrollRichEditToEnd(QPlainTextEdit& box);
// The line at the top of the view and the caret at its start; a negative line is line 0.
void GoToRichEditLine(QPlainTextEdit& box, int32_t line);
// Shows the line holding the position: at the top of the view, or the end of the text
// when the line is among the last five. A negative position does nothing.
void ShowRichEditLineOfChar(QPlainTextEdit& box, int32_t position);
// Searches forward, ignoring case (accents count), from the start of the text or from the
// end of the selection. A match becomes the selection, scrolled into view, and its
// position is the result; otherwise the selection stays and the result is -1.
int32_t FindRichEditText(QPlainTextEdit& box, const std::string& text, bool fromStart);
