#pragma once

#include "columns/Column.h"
#include "columns/History.h"
#include "columns/MainWindowColumns.h"

#include "core/errors/Error.h"
#include "core/files/PathNames.h"

#include "ColumnTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Stands in for the main window's board while it lives: it fills the fake main window's
// twelve column slots (ten board columns, the hidden one and the inter-board source), lays
// the visible ones out side by side, and records what the arrangement, the navigation and
// the launcher ask of the main window: the active column, the focus requests and the
// layouts.
class TFakeBoard : public TMainWindowColumns
{
public:
    static constexpr int ColumnWidth = 100;
    static constexpr int ColumnHeight = 20 * TPanelWindow::LineHeight + 40;

    TFakeBoard(TFakeMainWindow& window, int32_t visibleCount) : Window(window)
    {
        TSeam<TMainWindowColumns>::Install(this);
        Window.VisibleColumnCount = visibleCount;
        for (size_t i = 0; i < Owned.size(); ++i) {
            Owned[i] = std::make_unique<TColumn>(static_cast<int32_t>(i));
            Window.Columns[i] = Owned[i].get();
        }
        for (size_t i = 0; i < Owned.size(); ++i)
            Owned[i]->Reset(static_cast<int32_t>(i) * ColumnWidth, 0, ColumnWidth, ColumnHeight);
    }
    ~TFakeBoard() override
    {
        for (size_t i = 0; i < Owned.size(); ++i) {
            Window.Columns[i] = nullptr;
            Owned[i].reset();
        }
        TSeam<TMainWindowColumns>::Install(nullptr);
    }
    TFakeBoard(const TFakeBoard&) = delete;
    TFakeBoard& operator=(const TFakeBoard&) = delete;

    TColumn& operator[](int32_t index) { return *Owned[static_cast<size_t>(index)]; }
    int32_t VisibleCount() const { return Window.VisibleColumnCount; }

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

    int32_t ActiveColumnIndex = 0;
    std::vector<std::pair<int32_t, bool>> FocusRequests;
    int Arrangements = 0;

private:
    template <class Attribute>
    bool AllVisibleAlike(Attribute attribute)
    {
        for (int32_t i = 1; i < Window.VisibleColumnCount; ++i)
            if (attribute((*this)[i]) != attribute((*this)[0]))
                return false;
        return true;
    }

    TFakeMainWindow& Window;
    std::array<std::unique_ptr<TColumn>, 12> Owned;
};

// A board of columns over drive T:, with empty histories.
class BoardTest : public ColumnTest
{
protected:
    explicit BoardTest(int32_t visibleCount = 3) : Board(Window, visibleCount) { FilesHistory.Clear(); }
    ~BoardTest() override { FilesHistory.Clear(); }

    // The folder a column lists ("" for the drives).
    static std::string Listed(const TColumn& column) { return GetParentPath(column.ActiveTitle); }

    TFakeBoard Board;
};
