#include "appearance/AboutForm.h"

#include "core/desktop/ShellExecution.h"
#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TAboutForm* AboutForm = nullptr;

namespace {

constexpr int FormWidth = 440;
constexpr int FormHeight = 280;
constexpr int NamePointSize = 20;

const char* const AboutText =
    "Quillomber is a file manager that shows folders in columns side by side, on boards you switch "
    "between, with thumbnails, a file viewer and a media player.";

void OpenLink(const std::string& address)
{
    OpenSite(address, "Failed to open site.");
}

} // namespace

TAboutForm::TAboutForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TAboutForm::~TAboutForm()
{
    if (AboutForm == this)
        AboutForm = nullptr;
}

void TAboutForm::BuildForm()
{
    setWindowTitle("About");
    setFixedSize(FormWidth, FormHeight);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, FormWidth - 16, FormHeight - 56);

    ProgramNameLabel = new QLabel(panel);
    ProgramNameLabel->setGeometry(8, 12, panel->width() - 16, 40);
    ProgramNameLabel->setAlignment(Qt::AlignCenter);
    QFont nameFont = ProgramNameLabel->font();
    nameFont.setPointSize(NamePointSize);
    nameFont.setBold(true);
    ProgramNameLabel->setFont(nameFont);
    ProgramVersionLabel = new QLabel(panel);
    ProgramVersionLabel->setGeometry(8, 56, panel->width() - 16, 20);
    ProgramVersionLabel->setAlignment(Qt::AlignCenter);
    AboutLabel = new QLabel(QString::fromUtf8(AboutText), panel);
    AboutLabel->setGeometry(16, 88, panel->width() - 32, 80);
    AboutLabel->setWordWrap(true);
    AboutLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    const int linkTop = panel->height() - 40;
    VisitMySiteButton = AddButton(panel, "Visit my site", {panel->width() / 2 - 150, linkTop, 140, 25});
    ContactMeButton = AddButton(panel, "Contact me", {panel->width() / 2 + 10, linkTop, 140, 25});
    connect(VisitMySiteButton, &QPushButton::clicked, this, [this] { VisitMySiteButtonClick(); });
    connect(ContactMeButton, &QPushButton::clicked, this, [this] { ContactMeButtonClick(); });

    OkayButton = AddButton(this, "&Okay", {(FormWidth - 78) / 2, FormHeight - 38, 78, 25});
    OkayButton->setDefault(true);
    connect(OkayButton, &QPushButton::clicked, this, [this] { done(mrOkay); });
}

void TAboutForm::Dialog()
{
    TTraced trace;
    trace.Run([&] {
        VisitMySiteButton->setEnabled(!SiteAddress.empty());
        ContactMeButton->setEnabled(!ContactAddress.empty());
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to show the \"About\" dialog.");
}

void TAboutForm::SetLabels(const std::string& programName, const std::string& versionText)
{
    ProgramNameLabel->setText(QString::fromStdString(programName));
    ProgramVersionLabel->setText(QString::fromStdString(versionText));
}

void TAboutForm::VisitMySiteButtonClick()
{
    OpenLink(SiteAddress);
}

void TAboutForm::ContactMeButtonClick()
{
    OpenLink(ContactAddress);
}

void TAboutForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    OkayButton->setFocus();
}
