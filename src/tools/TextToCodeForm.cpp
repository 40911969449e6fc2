#include "tools/TextToCodeForm.h"

#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/text/Text.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

TTextToCodeForm* TextToCodeForm = nullptr;

namespace {

const char* const GenerateHint =
    R"(Convert text to HTML hexadecimal code, and put it in the edit-box (replace the existing text). Use this, for example, when you need to write an email address in a HTML file, which you want to keep hidden from email address harvesters; you should include the "mailto:" part in here too. Paste the resulted code in the HTML file using a plain-text editor (document editors might alter this code).)";

} // namespace

TTextToCodeForm::TTextToCodeForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setWindowTitle("Text to code");
    setFixedSize(440, 110);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    TextGroupBox = new QGroupBox("&Text", this);
    TextGroupBox->setGeometry(5, 5, 430, 55);
    TextEdit = new QLineEdit(TextGroupBox);
    TextEdit->setGeometry(10, 22, 410, 22);
    // A text's references are six or more times its length: none may be cut off.
    TextEdit->setMaxLength(std::numeric_limits<int>::max());
    TextEdit->setToolTip("Text to be converted to code");
    GenerateButton = new QPushButton("&Generate HTML", this);
    GenerateButton->setGeometry(110, 72, 120, 25);
    GenerateButton->setToolTip(GenerateHint);
    GenerateButton->setDefault(true);
    CancelButton = new QPushButton("&Cancel", this);
    CancelButton->setGeometry(240, 72, 90, 25);
    connect(GenerateButton, &QPushButton::clicked, this, [this] { Generate(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

TTextToCodeForm::~TTextToCodeForm()
{
    if (TextToCodeForm == this)
        TextToCodeForm = nullptr;
}

void TTextToCodeForm::Dialog()
{
    TTraced trace;
    trace.Run([&] {
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to convert text to code.");
}

void TTextToCodeForm::Generate()
{
    TTraced trace;
    trace.Run([&] {
        TextEdit->setText(QString::fromStdString(TextToHexEntities(TextEdit->text().toStdString())));
        FocusEdit();
    });
    trace.ShowFailure("Failed to convert text to code.");
}

void TTextToCodeForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FocusEdit();
}

void TTextToCodeForm::FocusEdit()
{
    TextEdit->setFocus();
    TextEdit->selectAll();
}
