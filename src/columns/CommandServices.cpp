#include "columns/CommandServices.h"

namespace {

// Until the main window and the dialogs exist no dialog runs: nothing is created, changed,
// found or converted.
class TNoCommandServices : public TCommandServices
{
public:
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
};

TNoCommandServices NoCommandServices;

} // namespace

template <>
TCommandServices& TSeam<TCommandServices>::StandIn()
{
    return NoCommandServices;
}
