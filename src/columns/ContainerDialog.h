#pragma once

#include "columns/Containers.h"

#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <functional>

class QWidget;

// Owns the twenty containers and builds the menus through which the user picks one. A
// click is handed to the owner's closure with the container's number and the context;
// the dialog does not act on a choice itself.
class TContainerDialog
{
public:
    // Told the clicked container's number (-1 for "None") and the context.
    using TContainerClick = std::function<void(int32_t tag, void* context)>;

    TContainerDialog();
    ~TContainerDialog();
    TContainerDialog(const TContainerDialog&) = delete;
    TContainerDialog& operator=(const TContainerDialog&) = delete;

    void* Context = nullptr;
    // The last send-to-container pop-up; its button owns it.
    QPointer<QMenu> SendToContainerMenu;
    TContainers Containers;
    TContainerClick OnShowContainer;
    TContainerClick OnCopyToContainer;
    TContainerClick OnSendToContainer;

    // The lowest container named "Found" (ASCII case ignored), else 0.
    int32_t GetFoundIndex();
    // "Name (1,024 items)".
    std::string GetContainerCaption(int32_t index);

    // Refill a submenu: which container the column shows, or where its files go. Traced.
    void SetupContainerMode(QMenu& menu, int32_t currentContainer);
    void SetupCopyToContainer(QMenu& menu, int32_t currentContainer, void* context);
    // Pops up the send-to-container menu under the button. Traced.
    void ShowSendToContainer(QWidget& button, bool withShortcuts, bool add);
};
