#include "columns/MouseServices.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

namespace {

TMouseServicesStandIn NoMouseWindow;
TMouseServices* InstalledServices = nullptr;

} // namespace

void SetMouseServices(TMouseServices* services)
{
    InstalledServices = services;
}

TMouseServices& GetMouseServices()
{
    return InstalledServices != nullptr ? *InstalledServices : NoMouseWindow;
}

TColumn* FindColumnByList(const QObject* list)
{
    if (list == nullptr)
        return nullptr;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn* column = GetMainWindowServices().GetColumn(i);
        if (column != nullptr && column->FileList == list)
            return column;
    }
    return nullptr;
}
