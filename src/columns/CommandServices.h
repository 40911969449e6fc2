#pragma once

#include "columns/MainWindowServices.h"

#include "core/Seam.h"

#include <cstdint>
#include <string>
#include <vector>

class TColumn;
class TContainer;

// The kinds of the new-item dialog.
enum TNewFileKind : int32_t
{
    nfkDirectory = 0,
    nfkFile = 1
};

// How the streams editor opens a file.
enum TFileStreamsEditMode : int32_t
{
    fsmEditor = 0,
    fsmMainData = 1,
    fsmDescription = 2
};

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

// What the column commands need of the main window, the file-operation, search and tool
// dialogs and the picture converter. Each implements its part and the main window installs
// one object for all; tests install fakes.
class TCommandServices
{
public:
    virtual ~TCommandServices() = default;

    // Creates the directory or the empty file in the folder on "Okay", whose full path
    // goes to `created`. True on "Okay".
    virtual bool NewFileDialog(const std::string& folder, TNewFileKind kind, std::string& created) = 0;
    // The file-operation dialog on the column's selection (or its focused item), with the
    // column's directory as source; it shows its own failures. True when it did its work.
    virtual bool FileOperationDialog(const std::string& operationName, const std::string& source,
                                     int32_t focusedIndex, TContainer* container, TColumn& column) = 0;
    // Renames the focused file, or with `item` the focused container item. True when
    // something was renamed.
    virtual bool RenameDialog(TColumn& column, bool item, TContainer* container) = 0;
    virtual void ManualRunDialog(const std::string& file) = 0;
    // Sets the remembered overwrite answer back to asking.
    virtual void ResetOverwriteChoice() = 0;
    // Decides an overwrite conflict from the remembered answer or by asking: true to go on,
    // with `overwrite` set when the destination is to be replaced.
    virtual bool OverwriteDialog(const std::string& source, const std::string& destination, bool& overwrite) = 0;

    // Gives the streams editor the skin's colours and the items font.
    virtual void SetFileStreamsEditorOptions() = 0;
    // Opens the streams editor; it refuses a second file and directories. Traced.
    virtual void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) = 0;

    // The encoder of a format ("BMP") and its first extension; false when there is none.
    virtual bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder) = 0;
    // Converts the picture into the destination with the encoder at full quality, scaled
    // into the box keeping its aspect, never enlarged. Traced: "Failed to convert picture.".
    virtual void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                                const std::string& extension, const std::string& encoder, int32_t boxWidth,
                                int32_t boxHeight) = 0;

    // Runs the search dialog; true when it closed with "Okay" and found items, described
    // in `result`.
    virtual bool SearchDialog(TColumn& column, const std::string& file, bool history, TSearchResult& result) = 0;
    // Switches to the board named "Search".
    virtual void ShowSearchBoard() = 0;
    // The first visible column that shows the container, or -1.
    virtual int32_t FindContainerColumn(int32_t containerIndex) = 0;
    virtual void FindCommonTextDialog(TColumn& column) = 0;
    virtual void LocateFileDialog(TColumn& column) = 0;
    virtual void LocateNext(TColumn& column) = 0;
    virtual void LocatePrevious(TColumn& column) = 0;
};

template <>
TCommandServices& TSeam<TCommandServices>::StandIn();
