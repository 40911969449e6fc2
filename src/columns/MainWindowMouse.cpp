#include "columns/MainWindowMouse.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

namespace {

TMainWindowMouseStandIn NoMouseWindow;

} // namespace

template <>
TMainWindowMouse& TSeam<TMainWindowMouse>::StandIn()
{
    return NoMouseWindow;
}

TColumn* FindColumnByList(const QObject* list)
{
    if (list == nullptr)
        return nullptr;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn* column = TSeam<TMainWindowServices>::Get().GetColumn(i);
        if (column != nullptr && column->FileList == list)
            return column;
    }
    return nullptr;
}
