#pragma once

#include "mainwindow/Boards.h"
#include "mainwindow/MainForm.h"

#include "columns/Column.h"
#include "columns/History.h"

#include "core/settings/ProgramOptions.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A main window started on the test program's folder with no option files yet, closed
// (which saves both option files) and opened again as the user would. The histories and
// the options are fresh for every window.
class TBoardTestWindow
{
public:
    TBoardTestWindow() { ForgetSession(); }
    ~TBoardTestWindow()
    {
        Window.reset();
        ForgetSession();
    }
    TBoardTestWindow(const TBoardTestWindow&) = delete;
    TBoardTestWindow& operator=(const TBoardTestWindow&) = delete;

    TMainForm& Open()
    {
        Window = std::make_unique<TMainForm>();
        Window->Startup();
        return *Window;
    }

    void Close()
    {
        bool canClose = false;
        Window->FormCloseQuery(canClose);
        Window.reset();
        PathsHistory.Clear();
        FilesHistory.Clear();
    }

    // Without saving: the next window starts from no option files.
    void Discard()
    {
        Window.reset();
        ForgetSession();
    }

    TMainForm& operator*() const { return *Window; }
    TMainForm* operator->() const { return Window.get(); }

    static std::string OptionsHostPath(const std::string& name)
    {
        return TestRootHostPath() + "/program/Options/" + name;
    }

private:
    static void ForgetSession()
    {
        std::error_code ignored;
        std::filesystem::remove_all(TestRootHostPath() + "/program/Options", ignored);
        PathsHistory.Clear();
        FilesHistory.Clear();
        ProgramOptions = TProgramOptions();
    }

    std::unique_ptr<TMainForm> Window;
};

inline TBoardData& BoardAt(int32_t index)
{
    return Boards->Items[static_cast<size_t>(index)];
}

inline TColumn& ColumnAt(TMainForm& window, int32_t index)
{
    return *window.Columns[static_cast<size_t>(index)];
}

// The titles a column lists, in order.
inline std::vector<std::string> ListedTitles(const TColumn& column)
{
    std::vector<std::string> titles;
    for (int32_t i = 0; i < column.GetItemCount(); ++i)
        titles.push_back(column.GetItem(i).Title);
    return titles;
}
