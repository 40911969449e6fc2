#include "tools/StegForm.h"

#include "mainwindow/MainForm.h"

#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/PasswordHelpers.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "core/text/AsciiCase.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TStegForm* StegForm = nullptr;

namespace {

constexpr char OptionsSection[] = "Steg";
constexpr char DefaultAlgorithm[] = "RVX3";
constexpr char DefaultIterations[] = "1000";

const char* const FormHint =
    "After a steg-in, an internal steg-out is performed to check if the data can be retrieved later. Due to the "
    "\"Random combinations\" field, there is an infinitesimal chance that the decryption can't be performed from the "
    "first match (the one used by the program), so, an internal decryption is the way to let you know if the "
    "decryption is possible or not; if the decryption is not possible, try to steg-in again (or decrease the value of "
    "the \"Random combinations\" field).";
const char* const AlgorithmPanelHint =
    "These options are used by the encryption algorithm. When you use the steg-out function on a picture, these "
    "options must have the same value as they had when you used the steg-in function on that picture. These options "
    "are saved. If you change the default options then someone can see you have used this dialog and be suspicious "
    "that you have hidden information in pictures. To counteract such suspicions you could simply say you have played "
    "with this dialog and the options, but that's all you did.";
const char* const AlgorithmHint = "The algorithm used for the steg process";
const char* const IterationsHint =
    "The number of iterations used to hash the \"Password\". The bigger this number is, the stronger your password is "
    "to dictionary attacks. If you increase this number, do it only in steps to see what the encryption speed would be "
    "for your computer.";
const char* const ActivateAutoStegHint =
    "If this is pressed then the automatic steg-out function is active. In this case, the viewer automatically checks "
    "pictures if they contain a stegged-in file, and if so, displays that file, not the carrier picture; the file "
    "streams editor works for both steg-in and steg-out (ONLY FOR PLAIN-TEXT FILES, with \".txt\" extension). If the "
    "stegged-in / out data is text then it is only kept in the working memory during the automatic steg-out / in "
    "process, it's not saved anywhere; pictures are saved in the \"Temporary\" directory, in a file called "
    "\"-Quillomber_AutoStegPicture.bmp\".";
const char* const NoDecryptionHint = "If this is pressed then the file which is stegged-out is not decrypted. This "
                                     "function exists just for the purpose of encryption testing.";
const char* const PasswordHint =
    "Password used to encrypt the file which will be stegged-in. The password may not be empty.";
const char* const ConfirmHint =
    "Confirm the password by typing it again. This is necessary only for the steg-in function.";

QLabel* AddLabel(QWidget* parent, const char* caption, const QRect& place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(place);
    return label;
}

// A button that stays down until it is pressed again.
QPushButton* AddToggle(QWidget* parent, const char* caption, const QRect& place, const char* hint)
{
    QPushButton* button = AddButton(parent, caption, place);
    button->setCheckable(true);
    button->setToolTip(hint);
    return button;
}

// Shows a "*" for each character typed.
QLineEdit* AddPasswordEdit(QWidget* parent, const QRect& place, const char* hint)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(place);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet("lineedit-password-character: 42");
    edit->setToolTip(hint);
    return edit;
}

QComboBox* AddDropDownList(QWidget* parent, const QRect& place, const QStringList& items, const char* hint)
{
    auto* comboBox = new QComboBox(parent);
    comboBox->setGeometry(place);
    comboBox->addItems(items);
    comboBox->setToolTip(hint);
    return comboBox;
}

} // namespace

TStegForm::TStegForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
    TSeam<TStegServices>::Install(this);
}

// The typed passwords do not stay behind in the edits' memory.
TStegForm::~TStegForm()
{
    if (&TSeam<TStegServices>::Get() == this)
        TSeam<TStegServices>::Install(nullptr);
    if (StegForm == this)
        StegForm = nullptr;
    ClearSecretText(*PasswordEdit);
    ClearSecretText(*ConfirmPasswordEdit);
}

void TStegForm::BuildControls()
{
    setWindowTitle("Steg");
    setFixedSize(331, 197);
    setToolTip(FormHint);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    PasswordPanel = new QFrame(this);
    PasswordPanel->setGeometry(5, 5, 321, 87);
    PasswordPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PasswordLabel = AddLabel(PasswordPanel, "Password", {10, 12, 70, 15});
    PasswordEdit = AddPasswordEdit(PasswordPanel, {85, 8, 225, 22}, PasswordHint);
    ConfirmLabel = AddLabel(PasswordPanel, "Confirm", {10, 38, 70, 15});
    ConfirmPasswordEdit = AddPasswordEdit(PasswordPanel, {85, 34, 225, 22}, ConfirmHint);
    ActivateAutoStegSpeedButton =
        AddToggle(PasswordPanel, "Activate auto steg", {85, 60, 110, 22}, ActivateAutoStegHint);
    NoDecryptionSpeedButton = AddToggle(PasswordPanel, "No decryption", {200, 60, 110, 22}, NoDecryptionHint);

    AlgorithmPanel = new QFrame(this);
    AlgorithmPanel->setGeometry(5, 97, 321, 60);
    AlgorithmPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    AlgorithmPanel->setToolTip(AlgorithmPanelHint);
    AlgorithmLabel = AddLabel(AlgorithmPanel, "Algorithm", {10, 6, 100, 15});
    AlgorithmComboBox = AddDropDownList(AlgorithmPanel, {10, 24, 100, 22}, {DefaultAlgorithm}, AlgorithmHint);
    UserKeyIterationsLabel = AddLabel(AlgorithmPanel, "User key iterations", {125, 6, 185, 15});
    UserKeyIterationsComboBox = AddDropDownList(AlgorithmPanel, {125, 24, 185, 22},
                                                {"100", "1000", "10000", "100000", "1000000"}, IterationsHint);
    UserKeyIterationsComboBox->setCurrentText(DefaultIterations);

    OkayButton = AddButton(this, "&Okay", {40, 165, 75, 25});
    CancelButton = AddButton(this, "&Cancel", {128, 165, 75, 25});
    HelpButton = AddButton(this, "&Help", {216, 165, 75, 25});
    OkayButton->setDefault(true);
    connect(OkayButton, &QPushButton::clicked, this, [this] { OkayButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelpNotAvailable(); });
}

void TStegForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PasswordEdit->setFocus();
}

void TStegForm::PlugOptions(TMainForm& window)
{
    window.OptionsSTLHooks[TMainForm::ospSteg] = {[this](TStoredTextList& store) { OnLoadOptionsSTL(store); },
                                                  [this](TStoredTextList& store) { OnSaveOptionsSTL(store); }};
}

void TStegForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    store.ReadComboBoxText(OptionsSection, "Algorithm", *AlgorithmComboBox, DefaultAlgorithm);
    store.ReadComboBoxText(OptionsSection, "UserKeyIterations", *UserKeyIterationsComboBox, DefaultIterations);
}

void TStegForm::OnSaveOptionsSTL(TStoredTextList& store)
{
    store.WriteComboBoxText(OptionsSection, "Algorithm", *AlgorithmComboBox);
    store.WriteComboBoxText(OptionsSection, "UserKeyIterations", *UserKeyIterationsComboBox);
}

void TStegForm::Dialog(const std::string& first, const std::string& second, bool stegIn)
{
    TTraced trace;
    trace.Run([&] {
        InPath = first;
        OutPath = second;
        IsStegIn = stegIn;
        ConfirmPasswordEdit->setEnabled(stegIn);
        NoDecryptionSpeedButton->setEnabled(!stegIn);
        setWindowTitle(stegIn ? "Steg-in" : "Steg-out");
        OkayButton->setText(stegIn ? "&Steg-in" : "&Steg-out");
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to steg.");
}

// Whatever closes it, automatic steg stays as the user leaves the toggle and the edits.
void TStegForm::Dialog(bool fromMenu)
{
    TTraced trace;
    trace.Run([&] {
        AlgorithmIndex = -1;
        InPath.clear();
        OutPath.clear();
        ConfirmPasswordEdit->setEnabled(true);
        NoDecryptionSpeedButton->setEnabled(false);
        setWindowTitle(fromMenu ? "Auto steg" : "Confirm password");
        OkayButton->setText(fromMenu ? "&Okay" : "C&onfirm");
        ActivateAutoStegSpeedButton->setChecked(true);
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to activate the auto steg-out function.");
}

void TStegForm::OkayButtonClick()
{
    if (!InPath.empty() || !OutPath.empty())
        Do();
    else
        done(mrCancel);
}

void TStegForm::Do()
{
    if (PasswordEdit->text().isEmpty()) {
        ShowWarningMessage("The password is empty.");
        return;
    }
    if (IsStegIn && ConfirmPasswordEdit->text() != PasswordEdit->text()) {
        ShowWarningMessage("The password is not confirmed.\nType again the confirmation password.");
        return;
    }
    if (IsStegIn)
        StegIn(-1, nullptr);
    else
        StegOut(!NoDecryptionSpeedButton->isChecked(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false, 0);
    done(mrOkay);
}

int TStegForm::GetAlgorithmIndex(const std::string& name)
{
    for (int index = 1; index <= CipherIndex; ++index)
        if (SameTextAscii(name, "RVX" + std::to_string(index)))
            return index;
    return -1;
}

bool TStegForm::IsPngExtension(const std::string& extension)
{
    return SameTextAscii(extension, ".png");
}

bool TStegForm::IsAutoStegActive()
{
    return ActivateAutoStegSpeedButton->isChecked() && !PasswordEdit->text().isEmpty();
}

void TStegForm::StegDialog(const std::string& first, const std::string& second, bool stegIn)
{
    Dialog(first, second, stegIn);
}

void TStegForm::AutoStegDialog(bool fromMenu)
{
    Dialog(fromMenu);
}
