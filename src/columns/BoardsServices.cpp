#include "columns/BoardsServices.h"

namespace {

// Until the boards exist there is no board to switch to and no boards bar to drag onto.
class TNoBoards : public TBoardsServices
{
public:
    int32_t FindBoardByShortcut(char) override { return -1; }
    void ShowBoard(int32_t) override {}
    void ShowSearchBoard() override {}
    void StartColumnDrag() override {}
    void EndColumnDrag() override {}
};

TNoBoards NoBoards;

} // namespace

template <>
TBoardsServices& TSeam<TBoardsServices>::StandIn()
{
    return NoBoards;
}
