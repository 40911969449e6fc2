#include "core/forms/ModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace {

TModalAnswerer ModalAnswerer;
std::function<void(uint32_t)> BeepListener;

QMessageBox::Icon IconOfFlags(uint32_t flags)
{
    switch (flags & 0xF0) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct BoxButton
{
    QMessageBox::StandardButton Button;
    int Answer;
};

std::vector<BoxButton> ButtonsOfFlags(uint32_t flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

int ShowRealMessageBox(const std::string& caption, const std::string& text, uint32_t flags)
{
    if (QApplication::instance() == nullptr)
        return 0;
    QMessageBox box(IconOfFlags(flags), QString::fromStdString(caption), QString::fromStdString(text));
    if (flags & MB_TASKMODAL)
        box.setWindowModality(Qt::ApplicationModal);
    const std::vector<BoxButton> buttons = ButtonsOfFlags(flags);
    for (const BoxButton& button : buttons)
        box.addButton(button.Button);
    box.setDefaultButton(buttons.front().Button);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const BoxButton& button : buttons)
        if (button.Button == clicked)
            return button.Answer;
    return IDCANCEL;
}

} // namespace

void SetModalAnswerer(TModalAnswerer answerer)
{
    ModalAnswerer = std::move(answerer);
}

int RunModal(QDialog& dialog)
{
    if (ModalAnswerer)
        return ModalAnswerer(TModalRequest{&dialog, dialog.windowTitle().toStdString(), {}, 0});
    return dialog.exec();
}

void RunPopupMenu(QMenu& menu, const QPoint& point)
{
    if (ModalAnswerer)
        ModalAnswerer(TModalRequest{nullptr, menu.title().toStdString(), {}, 0, &menu, point.x(), point.y()});
    else
        menu.exec(point);
}

int RunMessageBox(const std::string& caption, const std::string& text, uint32_t flags)
{
    if (ModalAnswerer)
        return ModalAnswerer(TModalRequest{nullptr, caption, text, flags});
    return ShowRealMessageBox(caption, text, flags);
}

void SoundBeep(uint32_t type)
{
    if (BeepListener)
        BeepListener(type);
    else if (QApplication::instance() != nullptr)
        QApplication::beep();
}

void SetBeepListener(std::function<void(uint32_t)> listener)
{
    BeepListener = std::move(listener);
}
