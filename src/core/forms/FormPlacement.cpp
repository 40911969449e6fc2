#include "core/forms/FormPlacement.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

QPointer<QWidget> DialogsMainWindow;

// The window a dialog centres on, other than the dialog itself; none means the screen.
const QWidget* CentringWindow(const QWidget& form)
{
    const QWidget* const candidates[] = {DialogsMainWindow.data(), QApplication::activeWindow()};
    for (const QWidget* window : candidates)
        if (window != nullptr && window != &form)
            return window;
    return nullptr;
}

const QScreen* ScreenOf(const QWidget* window)
{
    const QScreen* screen = window != nullptr ? QGuiApplication::screenAt(window->frameGeometry().center()) : nullptr;
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

QRect WorkAreaOf(const QWidget* window)
{
    const QScreen* screen = ScreenOf(window);
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The form's size as it will show: a form that never chose one takes its layout's now.
QSize FrameSizeToShow(QWidget& form)
{
    if (!form.testAttribute(Qt::WA_Resized))
        form.adjustSize();
    return form.frameGeometry().size();
}

int32_t CentredStart(int32_t length, int32_t areaStart, int32_t areaLength, int32_t workStart, int32_t workLength)
{
    const int32_t centred = areaStart + (areaLength - length) / 2;
    if (workLength <= 0)
        return centred;
    return std::max(std::min(centred, workStart + workLength - length), workStart);
}

QPoint MainWindowCentredPosition(QWidget& form)
{
    const QWidget* window = CentringWindow(form);
    const QRect workArea = WorkAreaOf(window);
    const QRect area = window != nullptr ? window->frameGeometry() : workArea;
    return CentredFramePosition(FrameSizeToShow(form), area, workArea);
}

} // namespace

void SetDialogsMainWindow(QWidget* window)
{
    DialogsMainWindow = window;
}

QWidget* GetDialogsMainWindow()
{
    return DialogsMainWindow;
}

QPoint CentredFramePosition(const QSize& frame, const QRect& area, const QRect& workArea)
{
    return {CentredStart(frame.width(), area.left(), area.width(), workArea.left(), workArea.width()),
            CentredStart(frame.height(), area.top(), area.height(), workArea.top(), workArea.height())};
}

void CentreOnMainWindow(QWidget& form)
{
    form.move(MainWindowCentredPosition(form));
}

void CentreVerticallyOnMainWindow(QWidget& form)
{
    form.move(form.frameGeometry().left(), MainWindowCentredPosition(form).y());
}

void CentreOnScreen(QWidget& form)
{
    const QRect workArea = WorkAreaOf(nullptr);
    form.move(CentredFramePosition(FrameSizeToShow(form), workArea, workArea));
}

void TKeptPlacement::Loaded(bool positionStored)
{
    Known = Known || positionStored;
}

void TKeptPlacement::Place(QWidget& form)
{
    if (!Known)
        CentreOnMainWindow(form);
    Known = true;
}
