#pragma once

#include "columns/SearchServices.h"

#include <string>
#include <vector>

// Records every search the columns ask for and finds nothing, while it lives.
class TFakeSearchServices : public TSearchServices
{
public:
    struct TCall
    {
        TColumn* Column = nullptr;
        std::string File;
        bool History = false;
    };

    TFakeSearchServices() { TSeam<TSearchServices>::Install(this); }
    ~TFakeSearchServices() override { TSeam<TSearchServices>::Install(nullptr); }
    TFakeSearchServices(const TFakeSearchServices&) = delete;
    TFakeSearchServices& operator=(const TFakeSearchServices&) = delete;

    bool SearchDialog(TColumn& column, const std::string& file, bool history, TSearchResult&) override
    {
        Calls.push_back({&column, file, history});
        return false;
    }
    void FindCommonTextDialog(TColumn&) override {}
    void LocateFileDialog(TColumn&) override {}
    void LocateNext(TColumn&) override {}
    void LocatePrevious(TColumn&) override {}

    std::vector<TCall> Calls;
};
