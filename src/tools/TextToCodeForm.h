#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

// Turns a text (an e-mail link, say) into HTML hexadecimal character references, so it
// can be written into a page where address harvesters do not read it as plain text.
class TTextToCodeForm : public QDialog
{
public:
    static constexpr int mrCancel = 2;

    explicit TTextToCodeForm(QWidget* parent = nullptr);
    ~TTextToCodeForm() override;

    void Dialog();
    // "&Generate HTML": the edit box's text becomes its references.
    void Generate();

    QGroupBox* TextGroupBox = nullptr;
    QLineEdit* TextEdit = nullptr;
    QPushButton* GenerateButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FocusEdit();
};

extern TTextToCodeForm* TextToCodeForm;
