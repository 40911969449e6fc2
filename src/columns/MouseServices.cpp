#include "columns/MouseServices.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

namespace {

TMouseServicesStandIn NoMouseWindow;

} // namespace

template <>
TMouseServices& TSeam<TMouseServices>::StandIn()
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
