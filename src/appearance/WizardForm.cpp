#include "appearance/WizardForm.h"

#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <memory>

TWizardForm* WizardForm = nullptr;

namespace {

struct TWizardBox
{
    const char* Name;
    const char* Caption;
};

struct TWizardPage
{
    const char* Title;
    const char* Text;
    std::vector<TWizardBox> Boxes;
};

const std::array<TWizardPage, TWizardForm::PageCount>& WizardPages()
{
    static const std::array<TWizardPage, TWizardForm::PageCount> pages = {{
        {"Start",
         "This wizard shows the main parts of the window, one page at a time. Some pages offer a check box: check it "
         "to let the program do what it says, or leave it clear to keep that option as it is. \"Okay\" accepts the "
         "checked boxes, \"Cancel\" ignores them. Skins are not chosen here: use the Skins button. Every option can "
         "also be set in \"Program options\" (Work, \"Options\", or the key O).",
         {}},
        {"Hint bar",
         "The hint bar at the bottom of the window explains the control under the mouse. F8 shows or hides it "
         "(Work, \"Layout\", \"Toggle hint bar\").",
         {{"HideHintBarCheckBox", "Hide hint bar"}}},
        {"Boards",
         "A board is a set of columns with its own folders. The Boards button lists the boards and switches between "
         "them; the boards bar shows them as buttons, and files dragged onto a board's button go to that board. "
         "Alt+F8 shows or hides the boards bar.",
         {{"ShowBoardsBarCheckBox", "Show boards bar (recommended if you want to use drag-and-drop between boards)"}}},
        {"File type",
         "The file-type field before each name tells folders, links, programs, documents and other files apart; the "
         "items are sorted by these types first.",
         {{"ShowFileTypeCheckBox", "Show file type"},
          {"ShowExtInFileTypeCheckBox", "Show file extension in type field"}}},
        {"Info bars",
         "The column information bar sums up the column (items, selection, sizes); the file information bar shows the "
         "focused file's details. Shift+F8 shows or hides the column information bar, Ctrl+F8 the file information "
         "bar.",
         {{"ShowColumnInfoCheckBox", "Show column info"}, {"ShowFileInfoCheckBox", "Show file info"}}},
        {"Definitions",
         "In the hints: LMB, RMB and MMB are the left, right and middle mouse buttons. The active file is the focused "
         "item of the active column, the column that has the keyboard. A file title is a file's name without its "
         "folder.",
         {}},
        {"Parent dir",
         "The button at the top of each column goes to the parent folder. It also shows the column's fixed attribute "
         "and opens the directory tree navigator.",
         {}},
        {"Mouse op",
         "A click on a file name and a click on its type field each run their own default operation, such as opening "
         "the file or selecting it; the program's options choose them.",
         {}},
        {"Mouse menu",
         "The mouse menu offers a set of operations at the mouse: press the right button on an item and move the "
         "mouse a few pixels, then release it on an operation. Its operations are chosen in the program's options.",
         {}},
        {"Hover",
         "When the mouse rests on an item, the hover window shows its details with a thumbnail or a short clip. "
         "Hot-tracking highlights the item under the mouse.",
         {{"DeactivateFileHoverCheckBox", "Deactivate file hover"}, {"ActivateHotTrackCheckBox", "Activate hot-track"}}},
        {"Thumbnails",
         "Each column can show thumbnails of pictures, videos and texts, with a height of its own: Ctrl+F10 turns "
         "them on or off (File, \"Attributes\", \"Thumbnails\"), and \"Thumbnail height\" sets the height.",
         {}},
        {"Pictures", "One board comes prepared as a picture browser, with thumbnails and the viewer.", {}},
        {"Subcolumns",
         "A column can show a table with subcolumns for the size, the dates and the attributes (File, "
         "\"Attributes\", \"Subcolumns\").",
         {}},
        {"Skins",
         "Skins set the colours, the background picture and the translucencies. The Skins button loads, edits and "
         "saves them; the background picture can be changed quickly from there too.",
         {}},
        {"Tree",
         "Each board can show a directory tree navigator beside its columns; F9 shows or hides it, and I opens the "
         "tree navigator dialog. With column synchronisation, the tree follows the active column.",
         {{"ShowDTNCheckBox", "Show directory tree navigator"}, {"SynchronizeColumnCheckBox", "Synchronize column"}}},
        {"3 columns",
         "The window shows several columns side by side; their number can be changed at any time (File, \"Visible "
         "columns\").",
         {{"ShowThreeColumnsCheckBox", "Show 3 columns"}}},
        {"Media player",
         "The media player plays all the media of a folder one after the other: F6 plays those of the active "
         "column's folder, F5 a single file. F7 shows or hides the play list. \"=\" and \"-\" raise and lower the "
         "volume, \"]\" and \"[\" jump 5% forward and back.",
         {}},
        {"Finish", "\"Okay\" accepts the checked boxes; \"Cancel\" ignores them.", {}},
    }};
    return pages;
}

constexpr int PageButtonWidth = 90;
constexpr int PageButtonsPerRow = 6;

} // namespace

TWizardForm::TWizardForm(QWidget* owner) : QDialog(owner)
{
    setWindowTitle("Configuration and help wizard");
    setFixedSize(583, 433);
    BuildPages();
    BuildButtons();
    ShowPage(0);
}

TWizardForm::~TWizardForm()
{
    if (WizardForm == this)
        WizardForm = nullptr;
}

// Page buttons in rows, as a tab bar cannot wrap: the user can jump to any page.
void TWizardForm::BuildPages()
{
    auto* layout = new QVBoxLayout(this);
    auto* buttonGrid = new QGridLayout;
    Pages = new QStackedWidget(this);
    for (int i = 0; i < PageCount; ++i) {
        const TWizardPage& content = WizardPages()[static_cast<size_t>(i)];
        auto* button = new QPushButton(content.Title, this);
        button->setFixedWidth(PageButtonWidth);
        button->setCheckable(true);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { ShowPage(i); });
        buttonGrid->addWidget(button, i / PageButtonsPerRow, i % PageButtonsPerRow);
        PageButtons[static_cast<size_t>(i)] = button;

        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        auto* text = new QLabel(content.Text, page);
        text->setWordWrap(true);
        pageLayout->addWidget(text);
        for (const TWizardBox& box : content.Boxes) {
            auto* checkBox = new QCheckBox(box.Caption, page);
            checkBox->setObjectName(box.Name);
            pageLayout->addWidget(checkBox);
            CheckBoxes.push_back(checkBox);
        }
        pageLayout->addStretch();
        Pages->addWidget(page);
    }
    layout->addLayout(buttonGrid);
    layout->addWidget(Pages, 1);
}

void TWizardForm::BuildButtons()
{
    PreviousButton = new QPushButton("&Previous step", this);
    NextButton = new QPushButton("&Next step", this);
    OkayButton = new QPushButton("&Okay", this);
    CancelButton = new QPushButton("&Cancel", this);
    HelpButton = new QPushButton("&Help", this);
    auto* row = new QHBoxLayout;
    row->addWidget(PreviousButton);
    row->addWidget(NextButton);
    row->addStretch();
    row->addWidget(OkayButton);
    row->addWidget(CancelButton);
    row->addWidget(HelpButton);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    OkayButton->setDefault(true);
    connect(PreviousButton, &QPushButton::clicked, this, [this] { PreviousStep(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { NextStep(); });
    connect(OkayButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelpNotAvailable(); });
}

void TWizardForm::ShowPage(int index)
{
    Pages->setCurrentIndex(index);
    for (int i = 0; i < PageCount; ++i)
        PageButtons[static_cast<size_t>(i)]->setChecked(i == index);
}

void TWizardForm::NextStep()
{
    if (CurrentPage() < PageCount - 1)
        ShowPage(CurrentPage() + 1);
}

void TWizardForm::PreviousStep()
{
    if (CurrentPage() > 0)
        ShowPage(CurrentPage() - 1);
}

int TWizardForm::CurrentPage() const
{
    return Pages->currentIndex();
}

std::string TWizardForm::CurrentPageTitle() const
{
    return WizardPages()[static_cast<size_t>(CurrentPage())].Title;
}

std::vector<std::string> TWizardForm::CheckedBoxes() const
{
    std::vector<std::string> names;
    for (const QCheckBox* box : CheckBoxes)
        if (box->isChecked())
            names.push_back(box->objectName().toStdString());
    return names;
}

bool WizardFormDialog(int helpContext, std::vector<std::string>& checkedBoxes)
{
    checkedBoxes.clear();
    bool accepted = false;
    TTraced trace;
    trace.Run([&] {
        delete WizardForm;
        auto form = std::make_unique<TWizardForm>(QApplication::activeWindow());
        WizardForm = form.get();
        form->HelpContext = helpContext;
        CentreOnMainWindow(*form);
        accepted = RunModal(*form) == QDialog::Accepted;
        if (accepted)
            checkedBoxes = form->CheckedBoxes();
    });
    return accepted;
}
