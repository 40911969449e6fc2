#include "columns/FileDialogServices.h"

namespace {

// Until the selection dialog exists, a filtered selection changes nothing.
class TNoFileDialogs : public TFileDialogServices
{
public:
    bool SelectionDialog(TColumn&, bool) override { return false; }
};

TNoFileDialogs NoFileDialogs;

} // namespace

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn()
{
    return NoFileDialogs;
}
