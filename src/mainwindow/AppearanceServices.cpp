#include "mainwindow/AppearanceServices.h"

namespace {

TAppearanceServicesStandIn NoAppearanceDialogs;

} // namespace

template <>
TAppearanceServices& TSeam<TAppearanceServices>::StandIn()
{
    return NoAppearanceDialogs;
}
