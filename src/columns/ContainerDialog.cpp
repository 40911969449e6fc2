#include "columns/ContainerDialog.h"

#include "core/errors/Traced.h"
#include "core/forms/ModalSeam.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace {

const char* const FoundName = "Found";

// The digit of a container's shortcut: 1 to 9 for containers 0 to 8, 0 for 9, none after.
std::string ShortcutDigit(int32_t index)
{
    if (index > 9)
        return {};
    return std::to_string((index + 1) % 10);
}

// Shortcut texts are shown only: the column's key map runs the commands, once.
QString CaptionWithShortcut(const std::string& caption, const std::string& modifier, int32_t index)
{
    const std::string digit = ShortcutDigit(index);
    if (modifier.empty() && digit.empty())
        return QString::fromStdString(caption);
    return QString::fromStdString(digit.empty() ? caption : caption + "\t" + modifier + digit);
}

QAction* AddTaggedItem(QMenu& menu, const QString& caption, int32_t tag, const char* hint)
{
    QAction* item = menu.addAction(caption);
    item->setData(tag);
    if (hint != nullptr) {
        item->setStatusTip(QString::fromUtf8(hint));
        item->setToolTip(QString::fromUtf8(hint));
    }
    return item;
}

void ConnectClick(QAction* item, const TContainerDialog::TContainerClick& click, void* const& context)
{
    QObject::connect(item, &QAction::triggered, item, [&click, &context, item] {
        if (click)
            click(item->data().toInt(), context);
    });
}

} // namespace

TContainerDialog::TContainerDialog()
{
    Containers.Find(0)->Name = FoundName;
}

TContainerDialog::~TContainerDialog() = default;

int32_t TContainerDialog::GetFoundIndex()
{
    for (int32_t index = 0; index < ContainerCount; ++index)
        if (SameTextAscii(Containers.Find(index)->Name, FoundName))
            return index;
    return 0;
}

std::string TContainerDialog::GetContainerCaption(int32_t index)
{
    const TContainer& container = *Containers.Find(index);
    return container.GetDisplayName() + " (" + IntToSeparatedText(container.Count()) + " items)";
}

void TContainerDialog::SetupContainerMode(QMenu& menu, int32_t currentContainer)
{
    TTraced trace;
    trace.Run([&] {
        menu.clear();
        auto* group = new QActionGroup(&menu);
        QAction* none = AddTaggedItem(menu, "None", -1,
                                      "The column will display the content of a directory, not a container. [F1] "
                                      "for more help.");
        none->setEnabled(currentContainer >= 0);
        menu.addSeparator()->setData(-1);
        std::vector<QAction*> items = {none};
        for (int32_t index = 0; index < ContainerCount; ++index) {
            QAction* item = AddTaggedItem(menu, CaptionWithShortcut(GetContainerCaption(index), "Ctrl+", index), index,
                                          "The column will display this container, not the content of a directory. "
                                          "[F1] for more help.");
            item->setEnabled(index != currentContainer);
            items.push_back(item);
        }
        for (QAction* item : items) {
            item->setCheckable(true);
            group->addAction(item);
            ConnectClick(item, OnShowContainer, Context);
        }
        for (QAction* item : items) {
            if (item->data().toInt() == currentContainer) {
                item->setChecked(true);
                break;
            }
        }
    });
}

void TContainerDialog::SetupCopyToContainer(QMenu& menu, int32_t currentContainer, void* context)
{
    TTraced trace;
    trace.Run([&] {
        Context = context;
        menu.clear();
        const bool forTheActiveFile = context == nullptr;
        for (int32_t index = 0; index < ContainerCount; ++index) {
            const QString caption = forTheActiveFile ? CaptionWithShortcut(GetContainerCaption(index), "Shift+", index)
                                                     : QString::fromStdString(GetContainerCaption(index));
            QAction* item = AddTaggedItem(menu, caption, index,
                                          forTheActiveFile ? "Add the active file to this container. [F1] for more "
                                                             "help."
                                                           : nullptr);
            item->setEnabled(index != currentContainer);
            ConnectClick(item, OnCopyToContainer, Context);
        }
    });
}

void TContainerDialog::ShowSendToContainer(QWidget& button, bool withShortcuts, bool add)
{
    TTraced trace;
    trace.Run([&] {
        delete SendToContainerMenu;
        SendToContainerMenu = new QMenu(&button);
        QMenu& menu = *SendToContainerMenu;
        menu.setSeparatorsCollapsible(false);
        QAction* first = menu.addAction(add ? "Add items" : "Replace items");
        menu.setDefaultAction(first);
        const std::string modifier = add ? "Shift+" : "Ctrl+";
        for (int32_t index = 0; index < ContainerCount; ++index) {
            const QString caption = withShortcuts ? CaptionWithShortcut(GetContainerCaption(index), modifier, index)
                                                  : QString::fromStdString(GetContainerCaption(index));
            ConnectClick(AddTaggedItem(menu, caption, index, "Send files to this container"), OnSendToContainer,
                         Context);
        }
        const QPoint below = button.mapToGlobal(QPoint(0, button.height()));
        const int left = QCursor::pos().x() - menu.sizeHint().width() / 2;
        RunPopupMenu(menu, QPoint(left, below.y()));
    });
}
