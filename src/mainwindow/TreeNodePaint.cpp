#include "mainwindow/DirectoryTree.h"

#include "panels/ButtonFace.h"

#include "core/errors/Traced.h"
#include "core/files/Partitions.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include <QPainter>

namespace {

struct TStateColors
{
    TColor Back;
    TColor Text;
    TColor Tint;
};

TStateColors ColorsOf(TTreeDrawState state, const TTreePaintStyle& style)
{
    switch (state) {
    case TTreeDrawState::Selected:
        return {style.InactiveBack, style.InactiveText, style.InactiveTint};
    case TTreeDrawState::SelectedFocused:
        return {style.ActiveBack, style.ActiveText, style.ActiveTint};
    case TTreeDrawState::Normal:
        break;
    }
    return {style.WindowBack, style.WindowText, style.WindowBack};
}

// Pixel-exact strokes: the corners given are both painted.
void FillSpan(QPainter& canvas, QPoint from, QPoint to, TColor color)
{
    canvas.fillRect(QRect(from, to), ToQColor(color));
}

void DrawLines(QPainter& canvas, const TTreeNodeRow& row, int32_t x0, int32_t middle, TColor grid)
{
    const QRect& r = row.Row;
    for (size_t i = 0; i < row.HasNextSibling.size(); ++i) {
        const int32_t x = x0 - static_cast<int32_t>(i) * row.Indent;
        if (row.HasNextSibling[i])
            FillSpan(canvas, {x, r.top()}, {x, r.bottom()}, grid);
        else if (i == 0)
            FillSpan(canvas, {x, r.top()}, {x, middle}, grid);
    }
    if (row.LabelLeft > x0)
        FillSpan(canvas, {x0, middle}, {row.LabelLeft - 1, middle}, grid);
}

// The +/- box: a plus when collapsed, a minus when expanded.
void DrawButton(QPainter& canvas, const TTreeNodeRow& row, int32_t x0, int32_t middle, const TStateColors& colors,
                TColor grid)
{
    const int32_t q = (row.Indent / 2) / 2;
    const QRect box(QPoint(x0 - q, row.Row.top() + q), QPoint(x0 + q, row.Row.top() + row.Row.height() - q));
    canvas.fillRect(box, ToQColor(grid));
    canvas.fillRect(box.adjusted(1, 1, -1, -1), ToQColor(colors.Back));
    FillSpan(canvas, {box.left() + 2, middle}, {box.right() - 2, middle}, colors.Text);
    if (!row.Expanded)
        FillSpan(canvas, {x0, box.top() + 2}, {x0, box.bottom() - 2}, colors.Text);
}

} // namespace

void DrawTreeNode(QPainter& canvas, const TTreeNodeRow& row, const TTreePaintStyle& style)
{
    const QRect& r = row.Row;
    if (r.isEmpty())
        return;
    canvas.fillRect(r, ToQColor(style.WindowBack));
    const TStateColors colors = ColorsOf(row.State, style);
    QFont font = row.Font;
    font.setBold(row.Emphasised);
    font.setItalic(row.Emphasised);
    canvas.setFont(font);
    if (row.State != TTreeDrawState::Normal && r.right() > row.LabelLeft)
        PaintButtonFX(canvas, row.LabelLeft, r.top(), r.right() - row.LabelLeft, r.height() - 1, colors.Back,
                      colors.Back, colors.Back, colors.Tint, 0, 0, bsRectangle, style.ButtonStyle, false, false);
    canvas.save();
    canvas.setClipRect(r);
    canvas.setPen(ToQColor(colors.Text));
    const int32_t fontHeight = canvas.fontMetrics().height();
    const QRect text(row.LabelLeft + 2, r.top() + (r.height() - fontHeight) / 2, r.right() - row.LabelLeft - 1,
                     fontHeight);
    canvas.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(row.Caption));
    canvas.restore();
    const int32_t x0 = row.LabelLeft - row.Indent / 2;
    const int32_t middle = r.top() + r.height() / 2;
    DrawLines(canvas, row, x0, middle, style.Grid);
    if (row.Marked)
        DrawButton(canvas, row, x0, middle, colors, style.Grid);
}

void DrawTreeNode(TTreeView& tree, QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state,
                  const TTreePaintStyle& style)
{
    TTraced trace;
    trace.Run([&] {
        TTreeNodeRow row;
        row.Row = tree.GetRowRect(node);
        row.LabelLeft = tree.visualItemRect(&node).left();
        row.Indent = tree.GetIndent();
        for (const QTreeWidgetItem* a = &node; a != nullptr; a = a->parent()) {
            const int32_t siblings = a->parent() != nullptr ? a->parent()->childCount() : tree.topLevelItemCount();
            row.HasNextSibling.push_back(tree.RowOf(*a) < siblings - 1);
        }
        row.Marked = IsTreeNodeMarked(tree, node);
        row.Expanded = node.isExpanded();
        row.State = state;
        row.Emphasised =
            !style.EmphasisedPath.empty() && SameTextAscii(GetTreeNodePath(tree, &node), style.EmphasisedPath);
        const std::string text = node.text(0).toStdString();
        row.Caption = text + GetPartitionSuffix(text);
        row.Font = tree.font();
        DrawTreeNode(canvas, row, style);
    });
}
