#include "fileops/MultiRenameItemForm.h"

#include "fileops/NameInput.h"
#include "fileops/OverwriteForm.h"
#include "fileops/RenameBatch.h"

#include "columns/Column.h"
#include "columns/Containers.h"
#include "columns/FileListData.h"

#include "core/errors/Traced.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"
#include "core/text/StringList.h"
#include "core/text/Text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

TMultiRenameItemForm* MultiRenameItemForm = nullptr;

namespace {

const char* const Section = "MultiRename";
constexpr int ItemHeight = 15;
constexpr int ReplaceTextLength = 31;
// A replace must not move a renamed file into another folder or onto another drive.
constexpr std::string_view PathSeparators = ":\\/";

const char* const FormHint =
    "The multi-rename operation renames each file from the left list-box, using the same pattern for all";
const char* const FileOptionsHint =
    "Pattern parameters. The new file name is created from \"Prefix\" + \"Counter\" + \"Suffix\" + \"Original "
    "name\" + \".\" + \"Extension\". If \"Prefix\", \"Suffix\" and \"Extension\" are empty, the name is not changed.";
const char* const PrefixHint = "New name prefix. Must be a valid part of a file name.";
const char* const SuffixHint =
    "New name suffix. Must be a valid part of a file name. If you don't want to use a prefix, but you want to use "
    "the counter and append to orignal name, use \"_\" as suffix; this will later allow to change an old counter to "
    "a new one, while still keeping the original name.";
const char* const AppendHint = "If this is checked then the original name (without the extension) is appended to "
                               "the (end of the) new name (before the extension)";
const char* const CutPrefixHint =
    "If \"Append original name\" is checked, if this is checked then the file name prefix is deleted from the "
    "original name before it is appended to the new name. The file name prefix is like in the \"Copy\" function.";
const char* const ExtensionHint =
    "Extension of the new names (it is the same for all new names); don't include the dot (it is added "
    "automatically). If this is empty, the old extensions are not modified. Must be a valid part of a file name.";
const char* const DigitsHint = "The number of digits of the new name counter. For example, if the counter has 4 "
                               "digits and the current counter is 57, the counter is formatted as \"0057\".";
const char* const StartHint = "The start value of the new name counter. The counter is incremented for each file, "
                              "from the start value, with the step value.";
const char* const StepHint = "The step value of the new name counter. The counter is incremented for each file, "
                             "from the start value, with the step value.";
const char* const ReplaceHint =
    "Replace parameters. These parameters are applied before the pattern parameters. If files are renamed, these "
    "parameters are applied only on the file name. If container items are renamed, these parameters are applied on "
    "the entire file title. The file name / title of each item is searched for the text \"Original text\" (only the "
    "first occurrence), and this text is replaced with the \"New text\" text. If you want to change the partition "
    "of all items from a container, from \"X\" to \"Y\", use \"X:\" in \"Original text\", and \"Y:\" in \"New "
    "text\".";
const char* const OriginalTextHint =
    "Text to be replaced. Must be a valid part of a file title. If this is empty, replace is not performed.";
const char* const NewTextHint = "Text to replace \"Original text\" with. Must be a valid part of a file title. If "
                                "this is empty, \"Original text\" is deleted from the original name.";
const char* const PreviewHint =
    "Preview the rename operation; the new file titles (= the ones which the items will have after the rename is "
    "completed) are displayed in the right list-box. The container items are NOT renamed (use the \"Rename\" "
    "button to perform the actual rename).";
const char* const RenameHint =
    "Rename the items and close the dialog. Before the actual multi-rename operation starts, you are NOT notified "
    "if there are duplicate files / container items (so you can't abort the operation in such a case). However, "
    "you are notified when an individual file is about to be renamed to an existing name.";

std::string Text(const QLineEdit& edit)
{
    return edit.text().toStdString();
}

std::string Text(const QComboBox& comboBox)
{
    return comboBox.currentText().toStdString();
}

TStringList ContainerPaths(const TContainer& container)
{
    TStringList paths;
    for (const TContainerItem& item : container.Items())
        paths.Add(item.Path);
    return paths;
}

// The counter may pass the 32-bit range: a million steps of a million.
std::string CounterText(int64_t counter, int32_t digits)
{
    std::string text = std::to_string(counter);
    if (static_cast<int32_t>(text.size()) < digits)
        text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return text;
}

// The pattern of one preview, as checked from the inputs.
struct TPattern
{
    std::string Prefix;
    std::string Suffix;
    // With its dot, or empty to keep each item's own extension.
    std::string Extension;
    std::string OriginalText;
    std::string NewText;
    bool Replace = false;
    bool AppendOriginal = false;
    bool CutOriginalPrefix = false;
    bool RenameFiles = true;
    int32_t Digits = 4;
    int64_t Counter = 1;
    int64_t Step = 1;
};

// The first occurrence, found ignoring the case of ASCII letters.
void ReplaceFirstNoCase(std::string& text, const std::string& original, const std::string& replacement)
{
    const size_t at = UpperAscii(text).find(UpperAscii(original));
    if (at != std::string::npos)
        text.replace(at, original.size(), replacement);
}

bool IsValidReplacedName(const std::string& name, bool renameFiles)
{
    const std::string itemName = GetPathName(name);
    if (HoldsAnyOf(name, ReplaceForbidden) || ExcludeExtension(itemName).empty() || IsDotsAndBlanksOnly(itemName))
        return false;
    return !renameFiles || !HoldsAnyOf(name, PathSeparators);
}

std::string PatternName(const std::string& name, bool directory, TPattern& pattern)
{
    const std::string extension = pattern.Extension.empty() ? GetExtension(name) : pattern.Extension;
    std::string result = pattern.Prefix + CounterText(pattern.Counter, pattern.Digits) + pattern.Suffix;
    if (pattern.AppendOriginal) {
        const std::string original = pattern.CutOriginalPrefix && !directory ? RemoveFileNamePrefix(name) : name;
        result += ExcludeExtension(original);
    }
    pattern.Counter += pattern.Step;
    return result + extension;
}

// False when the replace leaves an invalid name.
bool MakeNewTitle(const std::string& title, bool directory, TPattern& pattern, std::string& newTitle)
{
    std::string folder = GetParentPath(title);
    std::string name = pattern.RenameFiles ? GetPathName(title) : title;
    if (pattern.Replace) {
        ReplaceFirstNoCase(name, pattern.OriginalText, pattern.NewText);
        if (!IsValidReplacedName(name, pattern.RenameFiles))
            return false;
    }
    if (!pattern.RenameFiles) {
        folder = GetParentPath(name);
        name = GetPathName(name);
    }
    if (!pattern.Prefix.empty() || !pattern.Suffix.empty() || pattern.AppendOriginal)
        name = PatternName(name, directory, pattern);
    else if (!pattern.Extension.empty())
        name = ExcludeExtension(name) + pattern.Extension;
    newTitle = IncludeEndBackslash(folder) + name;
    return true;
}

// Both lists draw their titles themselves: the name alone when files are renamed, the
// whole title when container items are.
class TTitleDelegate : public QStyledItemDelegate
{
public:
    TTitleDelegate(const bool& renameFiles, QObject* parent) : QStyledItemDelegate(parent), RenameFiles(renameFiles) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const std::string title = index.data().toString().toStdString();
        const std::string shown = RenameFiles ? GetPathName(title) : title;
        painter->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          QString::fromStdString(shown));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), ItemHeight};
    }

private:
    const bool& RenameFiles;
};

// A list whose hint names the title under the mouse and which ignores typed characters.
class TTitleListBox : public QListWidget
{
public:
    TTitleListBox(const char* hintStart, const bool& renameFiles, QWidget* parent)
        : QListWidget(parent), HintStart(hintStart)
    {
        setItemDelegate(new TTitleDelegate(renameFiles, this));
        setUniformItemSizes(true);
        setMouseTracking(true);
        viewport()->setMouseTracking(true);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

    void keyboardSearch(const QString&) override {}

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QListWidgetItem* item = itemAt(event->position().toPoint());
        const QString title = item != nullptr ? item->text() : QString();
        setToolTip(QString::fromUtf8(HintStart) + "\"" + title + "\".");
        QListWidget::mouseMoveEvent(event);
    }

private:
    const char* HintStart;
};

QLineEdit* AddEdit(QGridLayout& grid, int row, const char* caption, const char* hint)
{
    auto* edit = new QLineEdit;
    edit->setToolTip(QString::fromUtf8(hint));
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(edit);
    grid.addWidget(label, row, 0);
    grid.addWidget(edit, row, 1);
    return edit;
}

QComboBox* AddCounterBox(QGridLayout& grid, int column, const char* caption, const QStringList& items, bool editable,
                         const char* hint)
{
    auto* box = new QComboBox;
    box->setEditable(editable);
    box->addItems(items);
    box->setToolTip(QString::fromUtf8(hint));
    // The editable boxes start empty; the first showing fills in the default.
    if (editable)
        box->setCurrentIndex(-1);
    grid.addWidget(new QLabel(QString::fromUtf8(caption)), 0, column);
    grid.addWidget(box, 1, column);
    return box;
}

QLabel* AddTitle(const char* caption)
{
    auto* title = new QLabel(QString::fromUtf8(caption));
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

} // namespace

TMultiRenameItemForm::TMultiRenameItemForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    QFont font("Arial");
    font.setPointSize(9);
    setFont(font);
    setToolTip(QString::fromUtf8(FormHint));
    BuildControls();
    setMinimumSize(MinWidth, MinHeight);
    resize(MinWidth, MinHeight);
}

TMultiRenameItemForm::~TMultiRenameItemForm()
{
    if (MultiRenameItemForm == this)
        MultiRenameItemForm = nullptr;
}

void TMultiRenameItemForm::BuildControls()
{
    FileOptionsPanel = new QWidget(this);
    FileOptionsPanel->setToolTip(QString::fromUtf8(FileOptionsHint));
    auto* fileGrid = new QGridLayout(FileOptionsPanel);
    fileGrid->addWidget(AddTitle("New item name"), 0, 0, 1, 2);
    NewNamePrefixEdit = AddEdit(*fileGrid, 1, "&Prefix", PrefixHint);
    NewNameSuffixEdit = AddEdit(*fileGrid, 2, "&Suffix", SuffixHint);
    NewNameExtensionEdit = AddEdit(*fileGrid, 3, "&Extension", ExtensionHint);
    auto* counter = new QGridLayout;
    counter->addWidget(AddTitle("Counter"), 0, 0);
    CounterDigitsComboBox =
        AddCounterBox(*counter, 1, "Digits", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, false, DigitsHint);
    CounterDigitsComboBox->setCurrentText("4");
    CounterStartValueComboBox =
        AddCounterBox(*counter, 2, "Start", {"0", "1", "10", "100", "1000", "10000", "100000", "1000000"}, true,
                      StartHint);
    CounterStepValueComboBox =
        AddCounterBox(*counter, 3, "Step", {"1", "10", "100", "1000", "10000", "100000", "1000000"}, true, StepHint);
    fileGrid->addLayout(counter, 4, 0, 1, 2);
    NewNameAppendOriginalNameCheckBox = new QCheckBox("Append original name");
    NewNameAppendOriginalNameCheckBox->setToolTip(QString::fromUtf8(AppendHint));
    NewNameCutOriginalPrefixCheckBox = new QCheckBox("Cut original name prefix");
    NewNameCutOriginalPrefixCheckBox->setToolTip(QString::fromUtf8(CutPrefixHint));
    fileGrid->addWidget(NewNameAppendOriginalNameCheckBox, 5, 0, 1, 2);
    fileGrid->addWidget(NewNameCutOriginalPrefixCheckBox, 6, 0, 1, 2);

    ContainerItemsOptionsPanel = new QWidget(this);
    ContainerItemsOptionsPanel->setToolTip(QString::fromUtf8(ReplaceHint));
    auto* replaceGrid = new QGridLayout(ContainerItemsOptionsPanel);
    replaceGrid->addWidget(AddTitle("Replace text (item path and name)"), 0, 0, 1, 2);
    OriginalTextEdit = AddEdit(*replaceGrid, 1, "&Original text", OriginalTextHint);
    NewTextEdit = AddEdit(*replaceGrid, 2, "&New text", NewTextHint);
    OriginalTextEdit->setMaxLength(ReplaceTextLength);
    NewTextEdit->setMaxLength(ReplaceTextLength);
    replaceGrid->setRowStretch(3, 1);

    OriginalListBox = new TTitleListBox("Original file titles. File title ", RenameFiles, this);
    NewListBox = new TTitleListBox("File titles after rename. File title ", RenameFiles, this);

    PreviewButton = new QPushButton("Pre&view", this);
    PreviewButton->setToolTip(QString::fromUtf8(PreviewHint));
    RenameButton = new QPushButton("&Rename", this);
    RenameButton->setToolTip(QString::fromUtf8(RenameHint));
    CancelButton = new QPushButton("&Cancel", this);
    connect(PreviewButton, &QPushButton::clicked, this, [this] { PreviewButtonClick(); });
    connect(RenameButton, &QPushButton::clicked, this, [this] { RenameButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });

    auto* options = new QHBoxLayout;
    options->addWidget(FileOptionsPanel, 1);
    options->addWidget(ContainerItemsOptionsPanel, 1);
    // Equal stretches keep each list at half the width.
    auto* lists = new QHBoxLayout;
    lists->addWidget(OriginalListBox, 1);
    lists->addWidget(NewListBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(PreviewButton);
    buttons->addWidget(RenameButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);
    auto* form = new QVBoxLayout(this);
    form->addLayout(options);
    form->addLayout(lists, 1);
    form->addLayout(buttons);
}

bool TMultiRenameItemForm::Dialog(TColumn& column, TContainer* container, bool renameFiles)
{
    if (column.GetItemCount() <= 0)
        return false;
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        if (!renameFiles && container == nullptr) {
            trace.Raise("If you don't rename the files then you must replace some text in the names of the "
                        "container items.");
            return;
        }
        RenameFiles = renameFiles;
        setWindowTitle(renameFiles ? "Multi-rename files" : "Multi-rename container items");
        Column = &column;
        Container = container;
        if (container != nullptr && !column.IsSynchronizedWith(ContainerPaths(*container))) {
            trace.Panic("Column and container items are not synchronized. You must reload the column.");
            return;
        }
        ListItems(column);
        SelectComboBoxText(*CounterDigitsComboBox, Text(*CounterDigitsComboBox), "4");
        if (CounterStartValueComboBox->currentText().isEmpty())
            CounterStartValueComboBox->setEditText("1");
        if (CounterStepValueComboBox->currentText().isEmpty())
            CounterStepValueComboBox->setEditText("1");
        EnableInputs(true);
        Placement.Place(*this);
        result = RunModal(*this);
    });
    OriginalListBox->clear();
    NewListBox->clear();
    Listed.clear();
    trace.ShowFailure("Failed to multi-rename items.");
    return result == mrOkay;
}

// The selected items in column order, or the active item alone.
void TMultiRenameItemForm::ListItems(TColumn& column)
{
    TStringList titles;
    column.GetSelectedTitles(titles, false);
    Listed.clear();
    OriginalListBox->clear();
    NewListBox->clear();
    for (int32_t i = 0; i < column.GetItemCount(); ++i) {
        const TFileListData& item = column.GetItem(i);
        const bool listed = column.SelectedCount > 0 ? item.Selected : item.Title == column.ActiveTitle;
        if (listed)
            Listed.push_back({i, item.Type == ftDirectory});
    }
    for (int32_t i = 0; i < titles.Count(); ++i)
        OriginalListBox->addItem(QString::fromStdString(titles[i]));
    if (OriginalListBox->count() > 0)
        OriginalListBox->setCurrentRow(0);
}

void TMultiRenameItemForm::EnableInputs(bool enabled)
{
    FileOptionsPanel->setEnabled(enabled);
    ContainerItemsOptionsPanel->setEnabled(enabled);
    PreviewButton->setEnabled(enabled);
    RenameButton->setEnabled(enabled);
}

bool TMultiRenameItemForm::Preview()
{
    TTraced trace;
    bool complete = false;
    trace.Run([&] {
        int32_t digits = 4;
        int32_t start = 1;
        int32_t step = 1;
        const bool counterValid = CheckIntFromText(Text(*CounterDigitsComboBox), 1, 9, 4, digits) &&
                                  CheckIntFromText(Text(*CounterStartValueComboBox), 0, 1000000, 1, start) &&
                                  CheckIntFromText(Text(*CounterStepValueComboBox), 1, 1000000, 1, step);
        if (!counterValid) {
            ShowWarningMessage("Invalid counter values.");
            return;
        }
        TPattern pattern;
        pattern.Prefix = Text(*NewNamePrefixEdit);
        pattern.Suffix = Text(*NewNameSuffixEdit);
        pattern.Extension = Text(*NewNameExtensionEdit);
        if (!pattern.Extension.empty())
            pattern.Extension.insert(0, ".");
        pattern.OriginalText = Text(*OriginalTextEdit);
        pattern.NewText = Text(*NewTextEdit);
        const bool invalidCharacters =
            HoldsAnyOf(pattern.Prefix, NameForbidden) || HoldsAnyOf(pattern.Suffix, NameForbidden) ||
            HoldsAnyOf(pattern.Extension, NameForbidden) || HoldsAnyOf(pattern.OriginalText, ReplaceForbidden) ||
            HoldsAnyOf(pattern.NewText, ReplaceForbidden);
        const bool newTextAlone = Container != nullptr && pattern.OriginalText.empty() && !pattern.NewText.empty();
        const bool nothingToDo = pattern.Prefix.empty() && pattern.Suffix.empty() && pattern.Extension.empty() &&
                                 pattern.OriginalText.empty();
        if (invalidCharacters || newTextAlone || nothingToDo) {
            ShowWarningMessage("Invalid filters.");
            return;
        }
        // An empty original text is no replace, whatever the new text.
        ReplaceText = !pattern.OriginalText.empty() && pattern.OriginalText != pattern.NewText;
        ContainerMode = Container != nullptr;
        pattern.Replace = ReplaceText;
        pattern.AppendOriginal = NewNameAppendOriginalNameCheckBox->isChecked();
        pattern.CutOriginalPrefix = NewNameCutOriginalPrefixCheckBox->isChecked();
        pattern.RenameFiles = RenameFiles;
        pattern.Digits = digits;
        pattern.Counter = start;
        pattern.Step = step;
        NewListBox->hide();
        NewListBox->clear();
        for (int i = 0; i < OriginalListBox->count(); ++i) {
            const std::string title = OriginalListBox->item(i)->text().toStdString();
            const bool directory = static_cast<size_t>(i) < Listed.size() && Listed[static_cast<size_t>(i)].Directory;
            std::string newTitle;
            if (!MakeNewTitle(title, directory, pattern, newTitle)) {
                trace.Raise("Invalid filters: some names would be invalid.", title);
                return;
            }
            NewListBox->addItem(QString::fromStdString(newTitle));
        }
        if (NewListBox->count() != OriginalListBox->count()) {
            trace.Raise("The numbers of original and new names are not equal.");
            return;
        }
        complete = true;
    });
    NewListBox->show();
    trace.ShowFailure("Failed to preview multi-rename items.");
    return complete;
}

void TMultiRenameItemForm::PreviewButtonClick()
{
    EnableInputs(false);
    Preview();
    EnableInputs(true);
}

void TMultiRenameItemForm::RenameButtonClick()
{
    EnableInputs(false);
    const std::string items = RenameFiles ? " files?" : " container items?";
    if (Preview() && AskQuery("Do you want to rename " + IntToSeparatedText(OriginalListBox->count()) + items)) {
        Rename();
        done(mrOkay);
        return;
    }
    EnableInputs(true);
}

void TMultiRenameItemForm::CancelButtonClick()
{
    if (!Renaming)
        done(mrCancel);
}

void TMultiRenameItemForm::reject()
{
    if (!Renaming)
        QDialog::reject();
}

void TMultiRenameItemForm::closeEvent(QCloseEvent* event)
{
    if (Renaming) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TMultiRenameItemForm::Rename()
{
    TTraced trace;
    Renaming = true;
    trace.Run([&] {
        if (RenameFiles) {
            RenameListedFiles();
        } else if (ContainerMode) {
            RenameContainerEntries();
        }
        trace.TakeOver();
    });
    Renaming = false;
    trace.ShowFailure("Failed to multi-rename items.");
}

void TMultiRenameItemForm::RenameContainerEntries()
{
    TTraced trace;
    trace.Run([&] {
        for (int i = 0; i < NewListBox->count(); ++i) {
            RenameEntry(static_cast<size_t>(i), NewListBox->item(i)->text().toStdString());
            if (trace.TakeOver())
                return;
        }
    });
}

// A file of the batch whose name another one takes steps aside first, so renumbering
// never overwrites the batch's own files. The container entries follow only the files
// that have their new names at the end, so no entry ever names a file that is not there.
void TMultiRenameItemForm::RenameListedFiles()
{
    TTraced trace;
    trace.Run([&] {
        Stop = false;
        if (OverwriteForm != nullptr)
            OverwriteForm->ResetChoice();
        std::vector<TRenameBatch::TPair> pairs;
        for (int i = 0; i < NewListBox->count(); ++i)
            pairs.push_back({OriginalListBox->item(i)->text().toStdString(), NewListBox->item(i)->text().toStdString()});
        const auto ask = [this](const std::string& oldName, const std::string& newName, bool& overwrite) {
            return OverwriteForm == nullptr || OverwriteForm->Dialog(oldName, newName, Stop, overwrite);
        };
        TRenameBatch batch(std::move(pairs), ask, Stop);
        batch.Run([] { QCoreApplication::processEvents(); });
        trace.TakeOver();
        if (!ContainerMode)
            return;
        for (int i = 0; i < NewListBox->count(); ++i)
            if (batch.WentAhead(static_cast<size_t>(i))) {
                RenameEntry(static_cast<size_t>(i), NewListBox->item(i)->text().toStdString());
                trace.TakeOver();
            }
    });
}

void TMultiRenameItemForm::RenameEntry(size_t item, const std::string& newTitle)
{
    if (Container != nullptr && item < Listed.size())
        Container->RenameItem(Listed[item].Index, newTitle, "");
}

void TMultiRenameItemForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    Placement.Loaded(store.ReadFormBounds(Section, "XPos", "YPos", "XSize", "YSize", *this));
    std::string digits;
    store.ReadString(Section, "CounterDigits", 255, digits, false);
    SelectComboBoxText(*CounterDigitsComboBox, digits, "4");
}

void TMultiRenameItemForm::OnSaveOptionsSTL(TStoredTextList& store) const
{
    store.WriteFormBounds(Section, "XPos", "YPos", "XSize", "YSize", *this);
    store.WriteComboBoxText(Section, "CounterDigits", *CounterDigitsComboBox);
}
