#include "columns/CommandServices.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

namespace {

// Until the main window and the dialogs exist: the busy counter is lowered without a check,
// no dialog runs (so nothing is created, changed, found or converted), and a container is
// reloaded by listing it again in its column.
class TNoCommandServices : public TCommandServices
{
public:
    void EndBusyAndCheck() override { GetMainWindowServices().EndBusy(); }
    bool NewFileDialog(const std::string&, TNewFileKind, std::string&) override { return false; }
    bool FileOperationDialog(const std::string&, const std::string&, int32_t, TContainer*, TColumn&) override
    {
        return false;
    }
    bool RenameDialog(TColumn&, bool, TContainer*) override { return false; }
    void ManualRunDialog(const std::string&) override {}
    void ResetOverwriteChoice() override {}
    bool OverwriteDialog(const std::string&, const std::string&, bool&) override { return false; }
    void SetFileStreamsEditorOptions() override {}
    void OpenFileStreams(const std::string&, TFileStreamsEditMode) override {}
    bool GetPictureConverterID(const std::string&, std::string&, std::string&) override { return false; }
    void ConvertPicture(const std::string&, const std::string&, bool, const std::string&, const std::string&, int32_t,
                        int32_t) override
    {
    }
    bool SearchDialog(TColumn&, const std::string&, bool, TSearchResult&) override { return false; }
    void ShowSearchBoard() override {}
    int32_t FindContainerColumn(int32_t) override { return -1; }
    void FindCommonTextDialog(TColumn&) override {}
    void LocateFileDialog(TColumn&) override {}
    void LocateNext(TColumn&) override {}
    void LocatePrevious(TColumn&) override {}
    void ReloadContainer(TColumn& column, int32_t containerIndex) override
    {
        column.LoadDirectory(false, containerIndex < 0 ? KeepContainerIndex : containerIndex, {}, KeepType,
                             KeepTopOffset, KeepKey);
    }
    void UpdateRestOfContainers(TColumn&, int32_t) override {}
};

TNoCommandServices NoCommandServices;
TCommandServices* InstalledServices = nullptr;

} // namespace

void SetCommandServices(TCommandServices* services)
{
    InstalledServices = services;
}

TCommandServices& GetCommandServices()
{
    return InstalledServices != nullptr ? *InstalledServices : NoCommandServices;
}

TBusyBracket::TBusyBracket(bool check) : Check(check)
{
    GetMainWindowServices().BeginBusy();
}

TBusyBracket::~TBusyBracket()
{
    if (Check)
        GetCommandServices().EndBusyAndCheck();
    else
        GetMainWindowServices().EndBusy();
}
