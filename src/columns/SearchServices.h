#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>
#include <vector>

class TColumn;

// What the search dialog asks the column to do with what it found.
enum TSearchResultAction : int32_t
{
    sraNothing = 0,
    sraEnterDirectory = 1,
    sraShowFile = 2,
    sraFillContainer = 3,
    sraSelectItems = 4
};

// What a search that found items hands back.
struct TSearchResult
{
    struct TFoundItem
    {
        std::string Text;
        int32_t Rank = 0;
    };

    int32_t Action = sraNothing;
    std::string ChosenPath;
    int32_t ContainerIndex = -1;
    bool KeepItems = false;
    std::vector<TFoundItem> FoundItems;
    bool ShowSearchBoard = false;
    bool ReuseContainer = false;
    // The combo box's index: 0 chooses no column, n the column n - 1.
    int32_t UseColumnForContainer = 0;
};

// What the columns need of the search dialogs: the search with where its result is shown,
// the common-text search and the locate dialog with its steps. The search form implements
// it and installs it once it exists; tests install fakes.
class TSearchServices
{
public:
    virtual ~TSearchServices() = default;
    // Runs the search dialog; true when it closed with "Okay" and found items, described
    // in `result`.
    virtual bool SearchDialog(TColumn& column, const std::string& file, bool history, TSearchResult& result) = 0;
    virtual void FindCommonTextDialog(TColumn& column) = 0;
    virtual void LocateFileDialog(TColumn& column) = 0;
    virtual void LocateNext(TColumn& column) = 0;
    virtual void LocatePrevious(TColumn& column) = 0;
};

template <>
TSearchServices& TSeam<TSearchServices>::StandIn();
