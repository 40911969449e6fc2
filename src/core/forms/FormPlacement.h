#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows open. Each dialog is placed here before it shows, so its place
// never rests on a window manager's choice, or on Qt's, which needs one.

// The main window, over which the dialogs open; it names itself while it exists.
void SetDialogsMainWindow(QWidget* window);
// The named main window, or none.
QWidget* GetDialogsMainWindow();

// The top-left corner of a frame of the size centred on the area, then moved into the work
// area as far as it fits, its top-left corner last, so the title bar stays reachable.
QPoint CentredFramePosition(const QSize& frame, const QRect& area, const QRect& workArea);

// Centres the form on the main window; without one on the active window, else on the screen.
void CentreOnMainWindow(QWidget& form);
// Keeps the form's left and centres it vertically on the main window (as CentreOnMainWindow).
void CentreVerticallyOnMainWindow(QWidget& form);
// Centres the form on the screen's work area.
void CentreOnScreen(QWidget& form);

// A form whose bounds the options keep opens where it was left. Until it has a place (none
// was stored and it has not been shown yet) it opens centred on the main window.
class TKeptPlacement
{
public:
    // After the options were read: whether they held the form's position.
    void Loaded(bool positionStored);
    // Before each showing.
    void Place(QWidget& form);

private:
    bool Known = false;
};
