#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>

class TColumn;
class TContainer;

// The kinds of the new-item dialog.
enum TNewFileKind : int32_t
{
    nfkDirectory = 0,
    nfkFile = 1,
    // Only the name is built; the streams editor creates the stream.
    nfkFileStream = 2
};

// What the columns need of the file-operation dialogs. The dialogs implement it and
// install it once they exist; tests install fakes.
class TFileDialogServices
{
public:
    virtual ~TFileDialogServices() = default;
    // The filtered selection dialog for the column, in select or deselect mode; it selects
    // or deselects the matching items through TColumn::SelectItem and TColumn::DeselectItem.
    // True when it ended with "Okay".
    virtual bool SelectionDialog(TColumn& column, bool select) = 0;
    // The multi-rename dialog for the column's selected items, or for the container's
    // entries when a container is given; it shows its own failures. True when it ended
    // with OK.
    virtual bool MultiRenameDialog(TColumn& column, TContainer* container, bool renameFiles) = 0;
    // Creates the directory or the empty file in the folder on "Okay", whose full path
    // goes to `created` (for a stream only the path is built). True on "Okay".
    virtual bool NewFileDialog(const std::string& folder, TNewFileKind kind, std::string& created) = 0;
    // The file-operation dialog on the column's selection (or its focused item), with the
    // column's directory as source; it shows its own failures. True when it did its work.
    virtual bool FileOperationDialog(const std::string& operationName, const std::string& source, int32_t focusedIndex,
                                     TContainer* container, TColumn& column) = 0;
    // Renames the focused file, or with `item` the focused container item. True when
    // something was renamed.
    virtual bool RenameDialog(TColumn& column, bool item, TContainer* container) = 0;
    virtual void ManualRunDialog(const std::string& file) = 0;
    // Sets the remembered overwrite answer back to asking.
    virtual void ResetOverwriteChoice() = 0;
    // Decides an overwrite conflict from the remembered answer or by asking: true to go on,
    // with `overwrite` set when the destination is to be replaced.
    virtual bool OverwriteDialog(const std::string& source, const std::string& destination, bool& overwrite) = 0;
};

// What the columns get until the dialogs exist, and the base of fakes that stand in for a
// few of them: nothing is selected, renamed, created, changed or run.
class TFileDialogsStandIn : public TFileDialogServices
{
public:
    bool SelectionDialog(TColumn&, bool) override { return false; }
    bool MultiRenameDialog(TColumn&, TContainer*, bool) override { return false; }
    bool NewFileDialog(const std::string&, TNewFileKind, std::string&) override { return false; }
    bool FileOperationDialog(const std::string&, const std::string&, int32_t, TContainer*, TColumn&) override
    {
        return false;
    }
    bool RenameDialog(TColumn&, bool, TContainer*) override { return false; }
    void ManualRunDialog(const std::string&) override {}
    void ResetOverwriteChoice() override {}
    bool OverwriteDialog(const std::string&, const std::string&, bool&) override { return false; }
};

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn();
