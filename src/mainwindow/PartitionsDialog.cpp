#include "mainwindow/PartitionsDialog.h"

#include "core/errors/Traced.h"
#include "core/files/Partitions.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include <QAction>

#include <vector>

namespace {

constexpr const char* NavigatorHint = "Choose the destination directory, using the directory tree navigator dialog";

QAction* AddTaggedItem(QMenu& menu, const std::string& caption, int32_t tag)
{
    QAction* item = menu.addAction(QString::fromStdString(caption));
    item->setData(tag);
    return item;
}

} // namespace

TPartitionsDialog::TClick TPartitionsDialog::GetModeClick(const std::string& mode)
{
    if (SameTextAscii(mode, "Show"))
        return &TPartitionsDialog::ShowClick;
    if (SameTextAscii(mode, "Copy"))
        return &TPartitionsDialog::CopyClick;
    if (SameTextAscii(mode, "Convert picture"))
        return &TPartitionsDialog::ConvertPictureClick;
    if (SameTextAscii(mode, "Move"))
        return &TPartitionsDialog::MoveClick;
    return nullptr;
}

void TPartitionsDialog::SetupMenu(QMenu& menu, const std::string& mode)
{
    TTraced trace;
    try {
        menu.clear();
        std::vector<QAction*> items;
        QAction* navigator = AddTaggedItem(menu, "Tree navigator", 0);
        navigator->setStatusTip(NavigatorHint);
        navigator->setToolTip(NavigatorHint);
        items.push_back(navigator);
        menu.addSeparator()->setData(-1);
        std::vector<std::string> drives;
        int count = 0;
        GetLogicalDrivesList(drives, count);
        // A drive's label is the user's text: its "&" shows as written.
        for (const std::string& drive : drives)
            items.push_back(
                AddTaggedItem(menu, EscapeMenuCaption(drive + GetPartitionSuffix(drive)), GetDriveNumber(drive)));
        const TClick click = GetModeClick(mode);
        if (click == nullptr)
            return;
        for (QAction* item : items)
            QObject::connect(item, &QAction::triggered, item,
                             [this, click, item] { (this->*click)(item->data().toInt()); });
    }
    TRACED_CATCH(trace)
}

std::string TPartitionsDialog::GetTagPath(int32_t tag)
{
    if (tag <= 0)
        return {};
    return std::string(1, static_cast<char>('A' + tag - 1)) + ":\\";
}

void TPartitionsDialog::ShowClick(int32_t tag) const
{
    if (OnShowPath)
        OnShowPath(GetTagPath(tag));
}

void TPartitionsDialog::Operate(int32_t tag, const std::string& operation) const
{
    if (OnOperation)
        OnOperation(GetTagPath(tag), operation);
}

void TPartitionsDialog::CopyClick(int32_t tag) const
{
    Operate(tag, "Copy");
}

void TPartitionsDialog::ConvertPictureClick(int32_t tag) const
{
    Operate(tag, "Convert picture");
}

void TPartitionsDialog::MoveClick(int32_t tag) const
{
    Operate(tag, "Move");
}
