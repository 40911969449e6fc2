#include "mainwindow/BoardPropertiesForm.h"

#include "core/forms/FormPlacement.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

TBoardPropertiesForm* BoardPropertiesForm = nullptr;

namespace {

const char* const NameHint = "The name of the board";
const char* const ShortcutHint =
    "The shortcut key which can be used to display the board. The list contains only the available shortcuts; if "
    "you want to use a shortcut which is not available, you must first deactivate it from the board which uses it "
    "(set that board's shortcut to \"None\").";

constexpr int DropDownRows = 20;

// The name's limit counts the bytes it is stored with, so that every name typed is kept.
class TByteLengthValidator : public QValidator
{
public:
    TByteLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), MaxBytes(maxBytes) {}
    State validate(QString& input, int&) const override
    {
        return input.toUtf8().size() <= MaxBytes ? Acceptable : Invalid;
    }

private:
    int MaxBytes;
};

QLabel* AddLabel(QWidget* parent, const char* caption, const QRect& place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(place);
    return label;
}

} // namespace

TBoardPropertiesForm::TBoardPropertiesForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
    NameComboBox->lineEdit()->setMaxLength(MaxNameLength);
    NameComboBox->setValidator(new TByteLengthValidator(MaxNameLength, NameComboBox));
    ShortcutComboBox->setToolTip(ShortcutHint);
}

// The window that owns the form may go first; the next command then makes a new one.
TBoardPropertiesForm::~TBoardPropertiesForm()
{
    if (BoardPropertiesForm == this)
        BoardPropertiesForm = nullptr;
}

void TBoardPropertiesForm::BuildControls()
{
    setWindowTitle("Board properties");
    setFixedSize(253, 123);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    MainPanel = new QFrame(this);
    MainPanel->setGeometry(5, 5, 243, 78);
    MainPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    NameLabel = AddLabel(MainPanel, "Name", {10, 12, 50, 15});
    NameComboBox = new QComboBox(MainPanel);
    NameComboBox->setGeometry(70, 8, 160, 22);
    NameComboBox->setEditable(true);
    NameComboBox->setInsertPolicy(QComboBox::NoInsert);
    NameComboBox->setMaxVisibleItems(DropDownRows);
    NameComboBox->setToolTip(NameHint);
    ShortcutLabel = AddLabel(MainPanel, "Shortcut", {10, 48, 55, 15});
    ShortcutComboBox = new QComboBox(MainPanel);
    ShortcutComboBox->setGeometry(70, 44, 60, 22);
    ShortcutComboBox->setMaxVisibleItems(DropDownRows);
    OkayButton = AddButton(this, "&Okay", {45, 91, 75, 25});
    CancelButton = AddButton(this, "&Cancel", {133, 91, 75, 25});
    OkayButton->setDefault(true);

    for (QObject* box : {static_cast<QObject*>(NameComboBox), static_cast<QObject*>(NameComboBox->lineEdit()),
                         static_cast<QObject*>(ShortcutComboBox)})
        box->installEventFilter(this);
    connect(OkayButton, &QPushButton::clicked, this, [this] { done(mrOkay); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

bool TBoardPropertiesForm::Dialog(const std::string& name, const std::string& shortcut)
{
    NameComboBox->setEditText(QString::fromStdString(name));
    SelectComboBoxText(*ShortcutComboBox, shortcut, "");
    CentreOnMainWindow(*this);
    return RunModal(*this) == mrOkay;
}

void TBoardPropertiesForm::FormActivate()
{
    NameComboBox->setFocus();
    NameComboBox->lineEdit()->selectAll();
}

void TBoardPropertiesForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

bool TBoardPropertiesForm::NameComboBoxKeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OkayButton->click();
        return true;
    }
    if (key == Qt::Key_Escape) {
        done(mrCancel);
        return true;
    }
    return false;
}

bool TBoardPropertiesForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && NameComboBoxKeyPress(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}
