#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The text cut to whole characters that fit the bytes in UTF-8, line breaks left out: what
// a one-line box of that byte limit keeps of typed or pasted text.
QString FitToOneLineOfBytes(const QString& text, int32_t maxBytes);

// A small dialog that asks for one line of text under a prompt, with "Okay" and "Cancel".
// The box never holds more than its byte limit, so that every text entered can be stored.
class TInputQueryForm : public QDialog
{
public:
    TInputQueryForm(const std::string& caption, const std::string& prompt, int32_t maxBytes, QWidget* owner = nullptr);

    QLabel* PromptLabel = nullptr;
    QLineEdit* ValueEdit = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    int32_t MaxBytes;
    void KeepWithinLimit();
};

// Shows the dialog over its owner with the value; on "Okay" the value becomes the edited
// text and the answer is true. Cancel leaves the value as it was.
bool InputQuery(const std::string& caption, const std::string& prompt, int32_t maxBytes, std::string& value,
                QWidget* owner = nullptr);
