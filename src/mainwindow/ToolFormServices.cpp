#include "mainwindow/ToolFormServices.h"

template <>
TToolFormServices& TSeam<TToolFormServices>::StandIn()
{
    static TToolFormServicesStandIn standIn;
    return standIn;
}
