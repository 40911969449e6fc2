#include "core/forms/InputQuery.h"

#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

QString FitToOneLineOfBytes(const QString& text, int32_t maxBytes)
{
    QString fitted;
    int32_t bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        // A character outside the basic plane is two UTF-16 units and stays whole.
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, units);
        i += units;
        if (character == "\r" || character == "\n")
            continue;
        const auto size = static_cast<int32_t>(character.toUtf8().size());
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        fitted += character;
    }
    return fitted;
}

TInputQueryForm::TInputQueryForm(const std::string& caption, const std::string& prompt, int32_t maxBytes,
                                 QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      MaxBytes(maxBytes)
{
    setWindowTitle(QString::fromStdString(caption));
    setFixedSize(350, 105);
    PromptLabel = new QLabel(QString::fromStdString(prompt), this);
    PromptLabel->setGeometry(10, 8, 330, 15);
    ValueEdit = new QLineEdit(this);
    ValueEdit->setGeometry(10, 28, 330, 22);
    OkayButton = AddButton(this, "&Okay", {92, 68, 75, 25});
    CancelButton = AddButton(this, "&Cancel", {183, 68, 75, 25});
    OkayButton->setDefault(true);
    connect(ValueEdit, &QLineEdit::textChanged, this, [this] { KeepWithinLimit(); });
    connect(OkayButton, &QPushButton::clicked, this, [this] { done(mrOkay); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

// Typing stops at the limit and a longer paste is cut there: the text after the cursor
// stays, what went in before it is cut where the limit falls.
void TInputQueryForm::KeepWithinLimit()
{
    const QString text = ValueEdit->text();
    const int cursor = ValueEdit->cursorPosition();
    const QString tail = FitToOneLineOfBytes(text.mid(cursor), MaxBytes);
    const QString head = FitToOneLineOfBytes(text.left(cursor), MaxBytes - static_cast<int32_t>(tail.toUtf8().size()));
    if (head + tail == text)
        return;
    const QSignalBlocker blocker(ValueEdit);
    ValueEdit->setText(head + tail);
    ValueEdit->setCursorPosition(static_cast<int>(head.size()));
}

bool InputQuery(const std::string& caption, const std::string& prompt, int32_t maxBytes, std::string& value,
                QWidget* owner)
{
    TInputQueryForm form(caption, prompt, maxBytes, owner);
    form.ValueEdit->setText(QString::fromStdString(value));
    form.ValueEdit->selectAll();
    CentreOnMainWindow(form);
    if (RunModal(form) != mrOkay)
        return false;
    value = form.ValueEdit->text().toStdString();
    return true;
}
