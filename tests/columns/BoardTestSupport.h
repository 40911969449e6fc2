#pragma once

#include "columns/BoardServices.h"
#include "columns/Column.h"
#include "columns/History.h"
#include "columns/MainWindowServices.h"

#include "core/Error.h"
#include "core/PathNames.h"

#include "PanelTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Stands in for the main window while it lives: a shown window with its columns panel and
// the twelve column slots (ten board columns, the hidden one and the inter-board source),
// the first `visibleCount` of them laid out side by side. It records the active column,
// the focus requests and the layouts asked for.
class TFakeBoard : public TMainWindowServices, public TBoardServices
{
public:
    static constexpr int ColumnWidth = 100;
    static constexpr int ColumnHeight = 20 * TPanelWindow::LineHeight + 40;

    explicit TFakeBoard(int32_t visibleCount) : VisibleColumnCount(visibleCount)
    {
        SetMainWindowServices(this);
        SetBoardServices(this);
        ColumnsPanel = new QWidget(&Window.Window);
        ColumnsPanel->setGeometry(0, 0, MaxVisibleColumns * ColumnWidth, ColumnHeight);
        ColumnsPanel->show();
        for (int32_t i = 0; i < static_cast<int32_t>(Columns.size()); ++i)
            Columns[static_cast<size_t>(i)] = std::make_unique<TColumn>(i);
        LayOut();
    }
    ~TFakeBoard() override
    {
        for (std::unique_ptr<TColumn>& column : Columns)
            column.reset();
        SetBoardServices(nullptr);
        SetMainWindowServices(nullptr);
    }
    TFakeBoard(const TFakeBoard&) = delete;
    TFakeBoard& operator=(const TFakeBoard&) = delete;

    TColumn& operator[](int32_t index) { return *Columns[static_cast<size_t>(index)]; }

    // Shows the first VisibleColumnCount columns and hides the rest.
    void LayOut()
    {
        for (int32_t i = 0; i < static_cast<int32_t>(Columns.size()); ++i)
            (*this)[i].Reset(i * ColumnWidth, 0, ColumnWidth, ColumnHeight);
    }

    QWidget* GetColumnsPanel() override { return ColumnsPanel; }
    int32_t GetVisibleColumnCount() override { return VisibleColumnCount; }
    TColumn* GetColumn(int32_t index) override
    {
        return index >= 0 && index < static_cast<int32_t>(Columns.size()) ? &(*this)[index] : nullptr;
    }
    void Reset(bool) override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    TContainer* FindContainer(int32_t) override { return nullptr; }

    int32_t GetActiveColumnIndex() override { return ActiveColumnIndex; }
    void SetActiveColumnIndex(int32_t index) override { ActiveColumnIndex = index; }
    void FocusColumn(int32_t index, bool force) override { FocusRequests.emplace_back(index, force); }
    bool AreColumnWidthsEqual() override
    {
        return AllVisibleAlike([](const TColumn& column) { return column.WidthAttr; });
    }
    bool AreSubcolumnsEqual() override
    {
        return AllVisibleAlike([](const TColumn& column) { return column.Subcolumns; });
    }
    void ArrangeColumns() override { ++Arrangements; }
    TColumn* GetDragSourceColumn() override { return DragSourceColumn; }

    TPanelWindow Window{MaxVisibleColumns * ColumnWidth, ColumnHeight};
    QWidget* ColumnsPanel = nullptr;
    int32_t VisibleColumnCount;
    int32_t ActiveColumnIndex = 0;
    std::vector<std::pair<int32_t, bool>> FocusRequests;
    int Arrangements = 0;
    TColumn* DragSourceColumn = nullptr;

private:
    template <class Attribute>
    bool AllVisibleAlike(Attribute attribute)
    {
        for (int32_t i = 1; i < VisibleColumnCount; ++i)
            if (attribute((*this)[i]) != attribute((*this)[0]))
                return false;
        return true;
    }

    std::array<std::unique_ptr<TColumn>, 12> Columns;
};

// A board of columns over drive T:, with empty histories.
class BoardTest : public testing::Test
{
protected:
    explicit BoardTest(int32_t visibleCount = 3) : Board(visibleCount)
    {
        PathsHistory.Clear();
        FilesHistory.Clear();
    }
    ~BoardTest() override
    {
        PathsHistory.Clear();
        FilesHistory.Clear();
    }

    void MakeFile(const std::string& relative, const std::string& content = {}) const
    {
        std::filesystem::create_directories(std::filesystem::path(Drive.HostPath(relative)).parent_path());
        Drive.WriteFile(relative, content);
    }
    void MakeDirectory(const std::string& relative) const
    {
        std::filesystem::create_directories(Drive.HostPath(relative));
    }

    // Lists the folder of the title with the title focused, as a user's navigation does.
    static void Open(TColumn& column, const std::string& title)
    {
        column.LoadDirectory(true, -1, title, KeepType, KeepTopOffset, KeepKey);
    }
    // The folder a column lists ("" for the drives).
    static std::string Listed(const TColumn& column) { return GetParentPath(column.ActiveTitle); }

    TTempDrive Drive{'T'};
    TFakeBoard Board;
};
