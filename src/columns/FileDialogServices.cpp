#include "columns/FileDialogServices.h"

namespace {

// A filtered selection changes nothing.
class TNoFileDialogs : public TFileDialogServices
{
public:
    bool SelectionDialog(TColumn&, bool) override { return false; }
};

TNoFileDialogs NoFileDialogs;
TFileDialogServices* InstalledServices = nullptr;

} // namespace

void SetFileDialogServices(TFileDialogServices* services)
{
    InstalledServices = services;
}

TFileDialogServices& GetFileDialogServices()
{
    return InstalledServices != nullptr ? *InstalledServices : NoFileDialogs;
}
