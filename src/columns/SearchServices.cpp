#include "columns/SearchServices.h"

namespace {

// Until the search dialogs exist nothing is found or located.
class TNoSearch : public TSearchServices
{
public:
    bool SearchDialog(TColumn&, const std::string&, bool, TSearchResult&) override { return false; }
    void FindCommonTextDialog(TColumn&) override {}
    void LocateFileDialog(TColumn&) override {}
    void LocateNext(TColumn&) override {}
    void LocatePrevious(TColumn&) override {}
};

TNoSearch NoSearch;

} // namespace

template <>
TSearchServices& TSeam<TSearchServices>::StandIn()
{
    return NoSearch;
}
