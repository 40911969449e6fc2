#include "columns/FileDialogServices.h"

namespace {

// Until the dialogs exist, a filtered selection changes nothing and nothing is renamed.
class TNoFileDialogs : public TFileDialogServices
{
public:
    bool SelectionDialog(TColumn&, bool) override { return false; }
    bool MultiRenameDialog(TColumn&, TContainer*, bool) override { return false; }
};

TNoFileDialogs NoFileDialogs;

} // namespace

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn()
{
    return NoFileDialogs;
}
