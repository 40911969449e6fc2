#pragma once

#include <cstdint>
#include <functional>
#include <string>

class QDialog;
class QMenu;
class QPoint;

// Every modal dialog and message box of the program is shown through this seam, so a
// test can answer it in advance instead of waiting for a person.

// Message-box flags and answers, with their Windows values.
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_ICONHAND = 0x10;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONASTERISK = 0x40;
inline constexpr uint32_t MB_TASKMODAL = 0x2000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// One modal request: a dialog (Dialog set), a popup menu (Menu set, captioned with its
// title) or a message box (neither).
struct TModalRequest
{
    QDialog* Dialog = nullptr;
    std::string Caption;
    std::string Text;
    uint32_t Flags = 0;
    QMenu* Menu = nullptr;
    // Where a popup menu is asked to open, on the screen.
    int32_t X = 0;
    int32_t Y = 0;
};

// Answers a request with the dialog's modal result or the box's raw answer (IDOK, ...).
using TModalAnswerer = std::function<int(const TModalRequest&)>;

// Installs the answerer that takes the place of the person; an empty one restores the
// real, visible dialogs.
void SetModalAnswerer(TModalAnswerer answerer);

// Runs the dialog modally and gives its modal result.
int RunModal(QDialog& dialog);

// Pops the menu up at the screen point until the user chooses an item or dismisses it.
// An answerer chooses by triggering an action of the request's menu; its answer is not used.
void RunPopupMenu(QMenu& menu, const QPoint& point);

// Shows a message box with the caption, text and flags; gives the raw answer, or 0 when
// no box could be shown.
int RunMessageBox(const std::string& caption, const std::string& text, uint32_t flags);

// Sounds a beep of a Windows message-beep type (0 default, 48 exclamation).
void SoundBeep(uint32_t type);

// Lets tests hear beeps; an empty listener restores the speaker.
void SetBeepListener(std::function<void(uint32_t)> listener);

// The failure report's way to the error dialog, so the error record never knows the
// dialog; core/errors/ErrorForm.cpp provides both beside the dialog's one instance.
// Shows the report in the dialog; true when the user chose "Okay" or "Okay (no errors)",
// `noMoreErrors` (optional) true only for the latter. Without a dialog, a box says so
// and the answer is false.
bool ShowErrorReport(const std::string& caption, const std::string& message, const std::string& report,
                     bool* noMoreErrors);
// How many reports arrived while the error dialog was open (0 without a dialog).
int32_t ErrorReportRecursions();
