#pragma once

#include "columns/ToolServices.h"

#include "core/forms/FormPlacement.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TMainForm;
class TStoredTextList;

// A modeless text editor for the named streams of one file at a time (its "user."
// extended attributes) and for its main data, listed as "Main". A stream is edited as
// UTF-8 text and loads only when its text, encoded again, gives its bytes exactly; its
// line breaks (all CR LF, or LF) are kept. With automatic steg on, "Main" of a ".png"
// picture is the text hidden in it. The window minimises when another window becomes
// active, but not for its own boxes and dialogs. One instance lives for the whole run and
// installs itself as the main window's way to it.
class TFileStreamsForm : public QWidget
{
public:
    static constexpr int32_t MaxStreamTextBytes = 1000000;
    static constexpr int32_t MinWidth = 650;
    static constexpr int32_t MinHeight = 400;

    explicit TFileStreamsForm(QWidget* owner = nullptr);
    ~TFileStreamsForm() override;

    // Plugs the "FileStreamsEditor" section into the window's option file.
    void PlugOptions(TMainForm& window);
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store);
    // The skin's colours and the file viewer's font and wrap. Traced; nothing is shown.
    void SetOptions();

    // Shows the editor for a file; a second file only brings it forward with a warning,
    // and a folder is refused. Traced.
    void Open(const std::string& file, TFileStreamsEditMode mode);
    // The first activation after Open: the mode's action, the panels' timer.
    void FormActivate();
    // Loads the stream selected in the list; true on success.
    bool LoadStream();
    // Saves the loaded stream; true on success or when none is loaded.
    bool SaveStream();
    // Asks to save a modified stream; false means "stay".
    bool CheckSave();
    void UpdateStreamList(const std::string& name);
    void SelectStream(const std::string& name);
    void SetLoadedStream(const std::string& name);
    // "" for "Main" in any letter case, any other name itself.
    static std::string GetInternalStreamName(const std::string& name);

    void FindText(bool fromStart);
    void FindNext(bool fromStart);
    void GoToLine();
    void InsertSeparator(char character);
    // Mode 1 for 10 characters, 2 for 20, 0 for 40.
    void InsertRandomText(int32_t mode);
    // Mode 2 for a 20-character password, 0 for 40.
    void InsertLoginTemplate(int32_t mode);
    void InsertLinesAboveCaret(const std::string& text);

    // The stream menu's and the edit menu's items.
    void AddStreamClick();
    void AddDescriptionClick();
    void DeleteStreamClick();
    void ClipStreamClick();
    void LoadStreamClick();
    void CopyClick();
    void CutClick();
    void PasteClick();
    // The edit box's keys: true when the key is taken here and the box never sees it.
    bool EditKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Refreshes the information panels.
    void InfoTimerTimer();

    // The box's text as it is saved, in the stream's line-break style.
    std::string GetBoxBytes() const;

    bool Loaded = false;
    bool StreamsSupported = false;
    std::string FilePath;
    std::string LoadedStream;
    TFileStreamsEditMode Mode = fsmEditor;
    bool IsSteggedOut = false;
    std::string StegTitle;
    // The loaded text's lines end with CR LF.
    bool CrLfLines = false;

    QPlainTextEdit* StreamContentRichEdit = nullptr;
    QWidget* Toolbar = nullptr;
    QComboBox* FileStreamsComboBox = nullptr;
    QPushButton* MenuButton = nullptr;
    QComboBox* FindTextComboBox = nullptr;
    QComboBox* GoToLineComboBox = nullptr;
    QLabel* SaveStatusPanel = nullptr;
    QLabel* LinePosPanel = nullptr;
    QLabel* LinesCountPanel = nullptr;
    QLabel* CharsCountInfoPanel = nullptr;
    QLabel* LoadedStreamNamePanel = nullptr;
    QMenu* FileStreamsPopupMenu = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* AddStreamMenu = nullptr;
    QAction* AddDescriptionMenu = nullptr;
    QAction* DeleteStreamMenu = nullptr;
    QTimer* InfoTimer = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TOwnWork;

    void BuildForm();
    void BuildToolbar();
    void BuildPanels();
    void BuildStreamMenu();
    void BuildEditMenu();
    void SetStreamsSupported(bool supported);
    void RefreshStreamList(const std::string& failureText);
    bool ListsStream(const std::string& name) const;
    void PutTextInBox(const std::string& bytes);
    void ShowStreamMenu();
    void RunMenu(QMenu& menu, const QPoint& point);

    // Boxes and dialogs of the editor's own open while this is above 0.
    int32_t OwnWorkDepth = 0;
    TKeptPlacement Placement;
};

// Made at start-up; lives for the whole run.
extern TFileStreamsForm* FileStreamsForm;
