#include "mainwindow/Boards.h"

#include "mainwindow/MainForm.h"

#include "columns/MyTPanel.h"

TBoards* Boards = nullptr;

TBoards::TBoards(MyTPanel* barPanel) : BarPanel(barPanel)
{
    for (int32_t i = 0; i < BoardCount; ++i)
        Boards[static_cast<size_t>(i)].Index = i;
}

TBoards::~TBoards() = default;

void TBoards::ArrangeBar(int32_t, int32_t, int32_t left, int32_t top, int32_t width)
{
    BarPanel->SetBounds(left, top, width, 0);
    BarPanel->hide();
}

int32_t TBoards::FindBoardByShortcut(char) const
{
    return -1;
}

void TBoards::SetActiveBoard(int32_t index)
{
    ActiveBoard = index;
    MainForm->UpdateCaption();
}

void TBoards::ShowBoard(int32_t)
{
}

void TBoards::ShowMenu(MyTPanel&, TShiftState)
{
}

void TBoards::StartColumnDrag()
{
}

void TBoards::EndColumnDrag()
{
}

std::string TBoards::GetBoardCaption(const TBoardData& board) const
{
    return board.Name.empty() ? std::to_string(board.Index + 1) : board.Name;
}
