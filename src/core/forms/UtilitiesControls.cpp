#include "core/forms/Utilities.h"

#include "host/Cursor.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

void RestoreAndFocusForm(QWidget& form)
{
    form.setWindowState(Qt::WindowNoState);
    form.show();
    form.activateWindow();
    form.setFocus(Qt::ActiveWindowFocusReason);
}

bool IsMouseOverControl(const QWidget& control)
{
    const host::CursorPosition cursor = host::GetCursorPosition();
    return IsControlAtPoint(QPoint(cursor.X, cursor.Y), control);
}

bool IsControlAtPoint(const QPoint& screenPoint, const QWidget& control)
{
    return QApplication::widgetAt(screenPoint) == &control;
}

void ReselectListBoxItem(QListWidget& listBox)
{
    const int selected = listBox.currentRow();
    listBox.setCurrentRow(-1);
    listBox.setCurrentRow(selected);
}

int SelectListBoxItemAtPos(QListWidget& listBox, int x, int y)
{
    const QListWidgetItem* item = listBox.itemAt(x, y);
    if (item == nullptr) {
        ReselectListBoxItem(listBox);
        return -1;
    }
    const int index = listBox.row(item);
    listBox.setCurrentRow(index);
    return index;
}

void SelectComboBoxText(QComboBox& comboBox, const std::string& text, const std::string& defaultText)
{
    const std::string wanted = text.empty() ? defaultText : text;
    int index = 0;
    if (!wanted.empty()) {
        index = FindComboBoxItemExact(comboBox, wanted);
        if (index < 0)
            index = defaultText.empty() ? 0 : FindComboBoxItemExact(comboBox, defaultText);
        if (index < 0 || index >= comboBox.count())
            index = 0;
    }
    comboBox.setCurrentIndex(index);
}

QPushButton* AddButton(QWidget* parent, const char* caption, const QRect& place, const char* hint, bool autoDefault)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setGeometry(place);
    button->setAutoDefault(autoDefault);
    if (hint != nullptr)
        button->setToolTip(QString::fromUtf8(hint));
    return button;
}
