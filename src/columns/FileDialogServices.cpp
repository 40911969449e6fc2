#include "columns/FileDialogServices.h"

namespace {

TFileDialogsStandIn NoFileDialogs;

} // namespace

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn()
{
    return NoFileDialogs;
}
