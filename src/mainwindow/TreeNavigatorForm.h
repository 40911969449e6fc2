#pragma once

#include "mainwindow/DirectoryTree.h"

#include "core/forms/FormPlacement.h"

#include <QDialog>

#include <string>

class MyTPanel;
class QLabel;
class QPushButton;
class QSplitter;
class QWidget;
class TStoredTextList;

// "Directory tree navigator": the file-system tree on the left and the locations of the
// named boards on the right; the user picks a directory for the active column.
class TTreeNavigatorForm : public QDialog
{
public:
    static constexpr int mrOkay = 1;
    static constexpr int mrCancel = 2;
    static constexpr int MinLocationsWidth = 200;

    explicit TTreeNavigatorForm(QWidget* owner = nullptr);
    ~TTreeNavigatorForm() override;

    // Runs the dialog from the start directory; the chosen directory, or "" when it was
    // cancelled. A failure is shown and never handed on.
    std::string Dialog(const std::string& startPath);

    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store);

    // The start directory, then the chosen one.
    std::string ChosenDirectory;
    // The width of the locations pane, which the splitter keeps at least 200.
    int32_t LocationsWidth = 250;
    // The colours both trees paint with; the emphasised path is the chosen directory.
    TTreePaintStyle PaintStyle;

    TTreeView* FileSystemTreeView = nullptr;
    TTreeView* LocationsTreeView = nullptr;
    MyTPanel* FileSystemTreePanel = nullptr;
    MyTPanel* LocationTreePanel = nullptr;
    QSplitter* LocationsSplitter = nullptr;
    QLabel* CurrentFileTitleLabel = nullptr;
    QWidget* ButtonsLeftFillPanel = nullptr;
    QWidget* ButtonsCenterFillPanel = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FileListTreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void LocationsTreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void OkayButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool IsFormKey(int key);
    void BuildControls();
    void BindTrees();
    void FormResize();
    void ApplyLocationsWidth();
    void ClipSelectedPath(Qt::KeyboardModifiers modifiers);

    TTreeDrag LocationsDrag;
    TKeptPlacement Placement;
};

extern TTreeNavigatorForm* TreeNavigatorForm;
