#pragma once

#include "columns/Column.h"
#include "columns/Containers.h"
#include "columns/History.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowServices.h"

#include "core/files/FileExtensions.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"

#include "panels/PanelTestSupport.h"
#include "support/TestSupport.h"

#include <QAction>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Stands in for the main window while it lives: a shown columns panel, the count of shown
// columns, column slots, the layouts asked for, a busy counter with its directory checks
// and twenty containers, one of which a test may name as shown in a column; showing and
// filling containers from the keys does nothing.
class TFakeMainWindow : public TMainWindowServices, public TMainWindowContainers
{
public:
    TFakeMainWindow()
    {
        TSeam<TMainWindowServices>::Install(this);
        TSeam<TMainWindowContainers>::Install(this);
    }
    ~TFakeMainWindow() override
    {
        TSeam<TMainWindowContainers>::Install(nullptr);
        TSeam<TMainWindowServices>::Install(nullptr);
    }
    TFakeMainWindow(const TFakeMainWindow&) = delete;
    TFakeMainWindow& operator=(const TFakeMainWindow&) = delete;

    QWidget* GetColumnsPanel() override { return &Panels.Window; }
    int32_t GetVisibleColumnCount() override { return VisibleColumnCount; }
    TColumn* GetColumn(int32_t index) override
    {
        const bool inside = index >= 0 && index < static_cast<int32_t>(Columns.size());
        return inside ? Columns[static_cast<size_t>(index)] : nullptr;
    }
    void Reset(bool) override { ++Layouts; }
    void BeginBusy() override { ++Busy; }
    void EndBusy() override { Busy = std::max(Busy - 1, 0); }
    void EndBusyAndCheck() override
    {
        ++Checks;
        EndBusy();
    }
    TContainer* FindContainer(int32_t index) override { return Containers.Find(index); }
    int32_t FindContainerColumn(int32_t) override { return ContainerColumn; }
    void ShowContainer(int32_t) override {}
    void CopyToContainerMenuClick(int32_t, TColumn*) override {}

    TPanelWindow Panels{400, 600};
    int32_t VisibleColumnCount = 10;
    std::array<TColumn*, 12> Columns{};
    int Layouts = 0;
    int Busy = 0;
    // The directory checks asked for with the busy counter's release.
    int Checks = 0;
    TContainers Containers;
    int32_t ContainerColumn = -1;
};

// The file-type lists, the grouping options and the paths history as a test wants them,
// and a folder on drive T:. Everything is put back afterwards.
class ColumnTest : public testing::Test
{
protected:
    ColumnTest() : SavedOptions(ProgramOptions)
    {
        SavedPrograms = ProgramFileExtensions.Entries();
        SavedDocuments = DocumentFileExtensions.Entries();
        // ".txt" is both: a document wins.
        ProgramFileExtensions.Assign({".exe", ".txt"});
        DocumentFileExtensions.Assign({".txt"});
        PathsHistory.Clear();
    }
    ~ColumnTest() override
    {
        ProgramOptions = SavedOptions;
        ProgramFileExtensions.Assign(SavedPrograms);
        DocumentFileExtensions.Assign(SavedDocuments);
        PathsHistory.Clear();
    }

    // A file of `size` bytes, modified `age` minutes before the test began: files of one
    // age have equal times.
    void MakeFile(const std::string& relative, size_t size = 0, int age = 0) const
    {
        Drive.WriteFile(relative, std::string(size, 'x'));
        std::filesystem::last_write_time(Drive.HostPath(relative), Start - std::chrono::minutes(age));
    }
    void MakeDirectory(const std::string& relative) const
    {
        std::filesystem::create_directories(Drive.HostPath(relative));
    }
    void Remove(const std::string& relative) const { std::filesystem::remove_all(Drive.HostPath(relative)); }

    // A shown column in slot 0, laid out with room for 20 rows.
    TColumn& MakeColumn(int32_t index = 0)
    {
        Owned.push_back(std::make_unique<TColumn>(index));
        TColumn& column = *Owned.back();
        Window.Columns[static_cast<size_t>(index)] = &column;
        column.Reset(0, 0, 300, 20 * TPanelWindow::LineHeight + 40);
        return column;
    }

    // Lists the folder of the title and focuses the title, as a user's navigation does.
    static void Open(TColumn& column, const std::string& title, std::optional<int32_t> type = std::nullopt)
    {
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = type});
    }
    static void Reload(TColumn& column) { column.LoadDirectory({}); }

    static std::vector<std::string> NamesOf(const TColumn& column)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i < column.GetItemCount(); ++i)
            names.push_back(GetPathName(column.GetItem(i).Title));
        return names;
    }
    static std::string FocusedName(const TColumn& column)
    {
        return GetPathName(column.GetItem(column.FileList->FocusIndex).Title);
    }

    const std::filesystem::file_time_type Start = std::filesystem::file_time_type::clock::now();
    TFakeMainWindow Window;
    TTempDrive Drive{'T'};
    std::vector<std::unique_ptr<TColumn>> Owned;

private:
    TProgramOptions SavedOptions;
    std::vector<std::string> SavedPrograms;
    std::vector<std::string> SavedDocuments;
};

// An Attributes menu item as the main window passes it.
inline std::unique_ptr<QAction> MenuItem(const std::string& caption)
{
    return std::make_unique<QAction>(QString::fromStdString(caption));
}
