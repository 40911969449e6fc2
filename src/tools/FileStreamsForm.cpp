#include "tools/FileStreamsForm.h"

#include "tools/RichTextHelpers.h"

#include "mainwindow/MainForm.h"

#include "fileops/NewFileForm.h"

#include "viewing/StegServices.h"

#include "core/desktop/Clipboard.h"
#include "core/drawing/Color.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/FileStream.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/PasswordHelpers.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/settings/StoredTextList.h"
#include "core/text/MyMath.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <vector>

TFileStreamsForm* FileStreamsForm = nullptr;

namespace {

const std::string OptionsSection = "FileStreamsEditor";
const std::string MainStreamName = "Main";
const char* const BinaryStreamText =
    "This stream contains binary data. You can't edit the data because some of it would be lost during saving.";
const char* const NoStreamText = "Before you can enter text, you must load a stream.";
constexpr int32_t StreamTextMargin = 5;
constexpr int32_t SeparatorLength = 50;
constexpr int InfoTimerInterval = 1000;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The box takes one line break, LF; CR LF and a lone CR from outside become it.
QString WithBoxLineBreaks(const std::string& text)
{
    QString converted = QString::fromStdString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(QChar('\r'), QChar('\n'));
    return converted;
}

// A selection's paragraph separators are line breaks.
std::string SelectedText(const QPlainTextEdit& box)
{
    QString text = box.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QChar('\n'));
    return text.toStdString();
}

// Only text whose line breaks are all CR LF, or contain no CR at all, keeps its form.
bool HasOneLineBreakStyle(const std::string& bytes, bool& crLf)
{
    const auto lineFeeds = std::count(bytes.begin(), bytes.end(), '\n');
    const auto carriageReturns = std::count(bytes.begin(), bytes.end(), '\r');
    size_t pairs = 0;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++pairs;
    crLf = pairs > 0;
    return carriageReturns == 0 || (static_cast<size_t>(carriageReturns) == pairs && lineFeeds == carriageReturns);
}

bool IsKeyAmong(int key, std::initializer_list<int> keys)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

QLabel* AddPanel(QHBoxLayout& row, QWidget* parent, const char* hint)
{
    auto* panel = new QLabel(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setToolTip(hint);
    row.addWidget(panel, 1);
    return panel;
}

QAction* AddItem(QMenu& menu, const char* caption, const char* hint, std::function<void()> run)
{
    QAction* item = menu.addAction(caption);
    item->setToolTip(hint);
    item->setStatusTip(hint);
    QObject::connect(item, &QAction::triggered, &menu, std::move(run));
    return item;
}

} // namespace

// Boxes and dialogs opened while this lives belong to the editor: their activation does
// not minimise it.
class TFileStreamsForm::TOwnWork
{
public:
    explicit TOwnWork(TFileStreamsForm& form) : Form(form) { ++Form.OwnWorkDepth; }
    ~TOwnWork() { --Form.OwnWorkDepth; }
    TOwnWork(const TOwnWork&) = delete;
    TOwnWork& operator=(const TOwnWork&) = delete;

private:
    TFileStreamsForm& Form;
};

TFileStreamsForm::TFileStreamsForm(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint)
{
    BuildForm();
    SetLoadedStream("");
    SetStreamsSupported(true);
}

TFileStreamsForm::~TFileStreamsForm()
{
    if (FileStreamsForm == this)
        FileStreamsForm = nullptr;
}

void TFileStreamsForm::BuildForm()
{
    setWindowTitle("File streams editor");
    setMinimumSize(MinWidth, MinHeight);
    resize(MinWidth, MinHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    StreamContentRichEdit = new QPlainTextEdit(this);
    StreamContentRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StreamContentRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    StreamContentRichEdit->setToolTip(
        "Content of the currently loaded stream. If you try to save a stegged-out file, the confirmation password "
        "will be asked from you (if you haven't already confirmed it yet). [Ctrl + S] = save the currently loaded "
        "stream. [LMB + wheel up] = increase the size of the font (until you exit the dialog). [LMB + wheel down] = "
        "decrease the size of the font. [RMB] = show the context menu. [Ctrl + A] = select all text. [Ctrl + Z] = "
        "undo last modification. [Ctrl + X] = cut the selected text. [Ctrl + C] = copy the selected text. [Ctrl + V] "
        "= paste the text from clipboard.");
    StreamContentRichEdit->installEventFilter(this);
    layout->addWidget(StreamContentRichEdit, 1);
    BuildToolbar();
    layout->addWidget(Toolbar);
    BuildPanels();
    BuildStreamMenu();
    BuildEditMenu();
    connect(StreamContentRichEdit, &QPlainTextEdit::customContextMenuRequested, this,
            [this](const QPoint& point) { RunMenu(*PopupMenu, StreamContentRichEdit->mapToGlobal(point)); });
    connect(StreamContentRichEdit, &QPlainTextEdit::textChanged, this, [this] { InfoTimerTimer(); });
    connect(StreamContentRichEdit, &QPlainTextEdit::cursorPositionChanged, this, [this] { InfoTimerTimer(); });
    connect(StreamContentRichEdit, &QPlainTextEdit::modificationChanged, this, [this] { InfoTimerTimer(); });
    InfoTimer = new QTimer(this);
    InfoTimer->setInterval(InfoTimerInterval);
    connect(InfoTimer, &QTimer::timeout, this, [this] { InfoTimerTimer(); });
}

void TFileStreamsForm::BuildToolbar()
{
    Toolbar = new QWidget(this);
    auto* row = new QHBoxLayout(Toolbar);
    row->setContentsMargins(4, 2, 4, 2);
    const auto addLabel = [&](const char* caption, QWidget* buddy) {
        auto* label = new QLabel(caption, Toolbar);
        label->setBuddy(buddy);
        row->addWidget(label);
        row->addWidget(buddy, 1);
    };
    FileStreamsComboBox = new QComboBox(Toolbar);
    FileStreamsComboBox->setToolTip("List of existing data streams of the active file. Select a stream to load it. "
                                    "You can't load streams bigger than 1 million characters.");
    addLabel("&Stream", FileStreamsComboBox);
    connect(FileStreamsComboBox, &QComboBox::activated, this, [this] {
        TOwnWork own(*this);
        LoadStreamClick();
    });
    MenuButton = new QPushButton("Menu", Toolbar);
    MenuButton->setToolTip("Show the context menu for file streams");
    MenuButton->setAutoDefault(false);
    row->addWidget(MenuButton);
    connect(MenuButton, &QPushButton::clicked, this, [this] { ShowStreamMenu(); });
    FindTextComboBox = new QComboBox(Toolbar);
    FindTextComboBox->setEditable(true);
    FindTextComboBox->setInsertPolicy(QComboBox::NoInsert);
    FindTextComboBox->setToolTip("Press [Enter] to find the specified text, the next occurrence. Press [F3] to find "
                                 "the next occurence. Use [Ctrl] to start from the beginning of the text.");
    FindTextComboBox->installEventFilter(this);
    addLabel("&Find text", FindTextComboBox);
    GoToLineComboBox = new QComboBox(Toolbar);
    GoToLineComboBox->setEditable(true);
    GoToLineComboBox->setInsertPolicy(QComboBox::NoInsert);
    GoToLineComboBox->setToolTip("Press [Enter] to go to the specified line");
    GoToLineComboBox->installEventFilter(this);
    addLabel("&Go to line", GoToLineComboBox);
}

void TFileStreamsForm::BuildPanels()
{
    auto* panels = new QWidget(this);
    auto* row = new QHBoxLayout(panels);
    row->setContentsMargins(2, 0, 2, 2);
    SaveStatusPanel = AddPanel(*row, panels, "Shows if the stream content is saved or modified");
    LinePosPanel = AddPanel(*row, panels, "Shows the number of the line on which the caret is, in the the edit-box");
    LinesCountPanel = AddPanel(*row, panels, "Shows the total number of lines in the edit-box");
    CharsCountInfoPanel = AddPanel(*row, panels, "Shows the total number of characters in the edit-box");
    LoadedStreamNamePanel = AddPanel(*row, panels, "The name of the currently loaded stream");
    row->setStretchFactor(LoadedStreamNamePanel, 3);
    layout()->addWidget(panels);
}

void TFileStreamsForm::BuildStreamMenu()
{
    FileStreamsPopupMenu = new QMenu(this);
    QMenu& menu = *FileStreamsPopupMenu;
    AddStreamMenu = AddItem(menu, "Add", "Add a stream to the active file", [this] { AddStreamClick(); });
    AddDescriptionMenu = AddItem(menu, "Add description",
                                 "Add a description stream (= a stream with the name \"Description\") to the active "
                                 "file",
                                 [this] { AddDescriptionClick(); });
    DeleteStreamMenu =
        AddItem(menu, "Delete", "Delete the focused stream from the active file", [this] { DeleteStreamClick(); });
    AddItem(menu, "Clip", "Copy to clipboard the name of the focused stream", [this] { ClipStreamClick(); });
    AddItem(menu, "Load",
            "Load the focused stream from the active file. You can't load streams bigger than 1 million characters.",
            [this] { LoadStreamClick(); });
    QAction* save = AddItem(menu, "Save", "Save the content of the currently loaded stream, in the active file",
                            [this] { SaveStream(); });
    // Shown beside the item only; the edit box's own key saves.
    save->setShortcut(QKeySequence("Ctrl+S"));
    save->setShortcutContext(Qt::WidgetShortcut);
}

void TFileStreamsForm::BuildEditMenu()
{
    PopupMenu = new QMenu(this);
    QMenu& menu = *PopupMenu;
    AddItem(menu, "Copy to clipboard", "", [this] { CopyClick(); })->setShortcut(QKeySequence("Ctrl+C"));
    AddItem(menu, "Cut to clipboard", "", [this] { CutClick(); })->setShortcut(QKeySequence("Ctrl+X"));
    AddItem(menu, "Paste from clipboard", "", [this] { PasteClick(); })->setShortcut(QKeySequence("Ctrl+V"));
    for (QAction* item : menu.actions())
        item->setShortcutContext(Qt::WidgetShortcut);
    menu.addSeparator();
    AddItem(menu, "Insert separator =",
            "Insert, in the text (above the current line), a separator line formed from 50 \"=\" characters",
            [this] { InsertSeparator('='); });
    AddItem(menu, "Insert separator -",
            "Insert, in the text (above the current line), a separator line formed from 50 \"-\" characters",
            [this] { InsertSeparator('-'); });
    menu.addSeparator();
    AddItem(menu, "Insert 10 chars random text",
            "Insert in the text, at the current position, a random random text, 10 characters long, generated just "
            "like in the \"Password generator\" dialog.",
            [this] { InsertRandomText(1); });
    AddItem(menu, "Insert 20 chars random text",
            "It's like \"Insert 10 chars random text\", but the text has 20 characters",
            [this] { InsertRandomText(2); });
    AddItem(menu, "Insert 40 chars random text",
            "It's like \"Insert 10 chars random text\", but the text has 40 characters",
            [this] { InsertRandomText(0); });
    menu.addSeparator();
    AddItem(menu, "Insert 20 chars login template",
            "Insert in the text, above the current line, a template for an Internet login (URL, user name, "
            "password); a separator line formed from the \"=\" character is included at the end. A random user name "
            "(10 characters long) is generated for your privacy; to help with the browser's auto-fill function, you "
            "could add the name of the site in front of the random user name. A random password (20 characters "
            "long) is generated, just like in the \"Password generator\" dialog.",
            [this] { InsertLoginTemplate(2); });
    AddItem(menu, "Insert 40 chars login template",
            "It's like \"Insert 20 chars login template\", but the password has 40 characters",
            [this] { InsertLoginTemplate(0); });
}

void TFileStreamsForm::PlugOptions(TMainForm& window)
{
    window.OptionsSTLHooks[TMainForm::ospFileStreamsEditor] = {[this](TStoredTextList& store) {
                                                                   OnLoadOptionsSTL(store);
                                                               },
                                                               [this](TStoredTextList& store) {
                                                                   OnSaveOptionsSTL(store);
                                                               }};
}

void TFileStreamsForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    Placement.Loaded(store.ReadFormBounds(OptionsSection, "XPos", "YPos", "XSize", "YSize", *this));
}

void TFileStreamsForm::OnSaveOptionsSTL(TStoredTextList& store)
{
    store.WriteFormBounds(OptionsSection, "XPos", "YPos", "XSize", "YSize", *this);
}

void TFileStreamsForm::SetOptions()
{
    TTraced trace;
    trace.Run([&] {
        QPalette look = palette();
        look.setColor(QPalette::Window, ToQColor(SkinOptions.FillingColor));
        look.setColor(QPalette::WindowText, ToQColor(SkinOptions.WindowTextColor));
        setPalette(look);
        setAutoFillBackground(true);
        const TFileViewerSettings& viewer = TSeam<TOptionsMainWindow>::Get().FileViewerSettings();
        QPlainTextEdit& box = *StreamContentRichEdit;
        box.setLineWrapMode(viewer.TextWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        box.setHorizontalScrollBarPolicy(viewer.TextWordWrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        QPalette boxLook = box.palette();
        boxLook.setColor(QPalette::Base, ToQColor(SkinOptions.WindowBackColor));
        boxLook.setColor(QPalette::Text, ToQColor(SkinOptions.WindowTextColor));
        box.setPalette(boxLook);
        QFont font(QString::fromStdString(viewer.FontName), viewer.FontSize);
        font.setBold(viewer.FontBold);
        box.setFont(font);
    });
}

void TFileStreamsForm::SetStreamsSupported(bool supported)
{
    StreamsSupported = supported;
    for (QAction* item : {AddStreamMenu, AddDescriptionMenu, DeleteStreamMenu})
        item->setEnabled(supported);
    Toolbar->setToolTip(supported ? "Toolbar" : "Toolbar. Your operating system doesn't support file streams.");
}

void TFileStreamsForm::Open(const std::string& file, TFileStreamsEditMode mode)
{
    TOwnWork own(*this);
    TTraced trace;
    trace.Run([&] {
        if (Loaded) {
            RestoreAndFocusForm(*this);
            return ShowWarningMessage("The editor is already loaded with a file.");
        }
        FilePath = file;
        if (IsDirectory(file))
            return ShowErrorMessage("Directories don't have streams.");
        Mode = mode;
        SetStreamsSupported(PartitionSupportsStreams(file));
        setWindowTitle(QString::fromStdString("File streams editor - " + Quoted(GetPathName(file)) + " (in " +
                                              Quoted(GetParentPath(file)) + ")"));
        SetLoadedStream("");
        UpdateStreamList(MainStreamName);
        if (trace.TakeOver())
            return;
        Placement.Place(*this);
        RestoreAndFocusForm(*this);
        FormActivate();
    });
}

void TFileStreamsForm::FormActivate()
{
    if (Loaded)
        return;
    TOwnWork own(*this);
    Loaded = true;
    if (Mode == fsmMainData) {
        LoadStreamClick();
    } else if (Mode == fsmDescription) {
        if (!StreamsSupported) {
            ShowWarningMessage("Your operating system doesn't support file streams.");
        } else if (!ListsStream(DescriptionStreamName)) {
            AddDescriptionClick();
        } else {
            SelectStream(DescriptionStreamName);
            LoadStreamClick();
        }
    }
    InfoTimer->start();
    InfoTimerTimer();
    if (StreamContentRichEdit->isReadOnly())
        FileStreamsComboBox->setFocus();
}

std::string TFileStreamsForm::GetInternalStreamName(const std::string& name)
{
    return QString::fromStdString(name).compare(QString::fromStdString(MainStreamName), Qt::CaseInsensitive) == 0
               ? std::string()
               : name;
}

void TFileStreamsForm::UpdateStreamList(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        const std::string wanted = name.empty() ? FileStreamsComboBox->currentText().toStdString() : name;
        std::vector<std::string> names;
        GetFileStreamNames(FilePath, names);
        trace.TakeOver();
        const bool hidesMain = std::any_of(names.begin(), names.end(),
                                           [](const std::string& n) { return GetInternalStreamName(n).empty(); });
        if (!hidesMain)
            names.push_back(MainStreamName);
        std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
        });
        FileStreamsComboBox->clear();
        for (const std::string& entry : names)
            FileStreamsComboBox->addItem(QString::fromStdString(entry));
        if (hidesMain)
            ShowWarningMessage("A secondary stream with the same name as the main stream already exists.\nYou can't "
                               "access the secondary stream with that name, but only the main stream.");
        SelectStream(wanted);
    });
}

// After a change of the streams: the list keeps its selection where it can.
void TFileStreamsForm::RefreshStreamList(const std::string& failureText)
{
    TTraced trace;
    trace.Run([&] {
        UpdateStreamList("");
        trace.TakeOver();
    });
    trace.ShowFailure(failureText);
}

// Stream names are told apart by letter case, as the file system does.
bool TFileStreamsForm::ListsStream(const std::string& name) const
{
    return FileStreamsComboBox->findText(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

void TFileStreamsForm::SelectStream(const std::string& name)
{
    SelectComboBoxText(*FileStreamsComboBox, name, MainStreamName);
}

void TFileStreamsForm::SetLoadedStream(const std::string& name)
{
    LoadedStream = name;
    LoadedStreamNamePanel->setText(QString::fromStdString(" Name " + Quoted(name)));
    StreamContentRichEdit->setReadOnly(name.empty());
    StreamContentRichEdit->setPlaceholderText(name.empty() ? NoStreamText : "");
}

void TFileStreamsForm::PutTextInBox(const std::string& bytes)
{
    bool crLf = false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (bytes.find('\0') != std::string::npos || decoder.hasError() || !HasOneLineBreakStyle(bytes, crLf))
        throw EError(BinaryStreamText);
    CrLfLines = crLf;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    StreamContentRichEdit->setPlainText(text);
    // The box may keep some characters otherwise (paragraph separators among them); such
    // a text would not be saved as it was read.
    if (GetBoxBytes() != bytes)
        throw EError(BinaryStreamText);
}

std::string TFileStreamsForm::GetBoxBytes() const
{
    const QString lineBreak = CrLfLines ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (QTextBlock block = StreamContentRichEdit->document()->begin(); block.isValid(); block = block.next()) {
        if (block != StreamContentRichEdit->document()->begin())
            text += lineBreak;
        text += block.text();
    }
    return text.toStdString();
}

bool TFileStreamsForm::LoadStream()
{
    if (!CheckSave())
        return false;
    bool loaded = false;
    TTraced trace;
    trace.Run([&] {
        QPlainTextEdit& box = *StreamContentRichEdit;
        box.clear();
        SetRichEditLeftMargin(box, StreamTextMargin);
        SetRichEditRightMargin(box, StreamTextMargin);
        SetLoadedStream(FileStreamsComboBox->currentText().toStdString());
        if (LoadedStream.empty())
            return trace.Raise("Empty internal name of stream.");
        IsSteggedOut = false;
        StegTitle.clear();
        CrLfLines = false;
        const std::string internalName = GetInternalStreamName(LoadedStream);
        if (internalName.empty()) {
            std::string carrier = FilePath;
            std::vector<std::string> lines;
            bool isText = false;
            int64_t size = 0;
            IsSteggedOut = TSeam<TStegServices>::Get().AutoStegOut(carrier, StegTitle, isText, &lines, size) && isText;
            if (IsSteggedOut) {
                // The hidden text is saved back from the box, so it too must come back
                // byte for byte.
                std::string text;
                for (size_t i = 0; i < lines.size(); ++i)
                    text += (i > 0 ? "\n" : "") + lines[i];
                PutTextInBox(text);
                ShowRichEditLineOfChar(box, 0);
                loaded = true;
                return;
            }
        }
        const std::string bytes = ReadFileStream(FilePath, internalName, MaxStreamTextBytes);
        // A stream cut at the largest size is refused too.
        if (FunStatContext.Status == fsWarning)
            return trace.Raise(FunStatContext.Description, FunStatContext.Parameter1);
        if (trace.TakeOver())
            return;
        PutTextInBox(bytes);
        loaded = true;
    });
    if (!loaded) {
        SetLoadedStream("");
        StreamContentRichEdit->clear();
    }
    SetRichEditTextLimit(*StreamContentRichEdit, MaxStreamTextBytes);
    StreamContentRichEdit->document()->setModified(false);
    InfoTimerTimer();
    trace.ShowFailure("Failed to load stream.");
    return loaded;
}

bool TFileStreamsForm::SaveStream()
{
    if (LoadedStream.empty())
        return true;
    bool saved = false;
    TTraced trace;
    trace.Run([&] {
        const std::string internalName = GetInternalStreamName(LoadedStream);
        if (IsSteggedOut && !internalName.empty())
            return trace.Panic("Contradictory steg-out status and stream name.", LoadedStream);
        const std::string bytes = GetBoxBytes();
        if (IsSteggedOut)
            TSeam<TStegServices>::Get().AutoStegIn(FilePath, StegTitle, reinterpret_cast<const uint8_t*>(bytes.data()),
                                                   static_cast<int64_t>(bytes.size()));
        else
            WriteFileStream(FilePath, internalName, bytes);
        if (trace.TakeOver())
            return;
        StreamContentRichEdit->document()->setModified(false);
        saved = true;
    });
    InfoTimerTimer();
    trace.ShowFailure("Failed to save stream.");
    return saved;
}

bool TFileStreamsForm::CheckSave()
{
    if (LoadedStream.empty() || !StreamContentRichEdit->document()->isModified())
        return true;
    switch (AskQueryCancel("The content of stream " + Quoted(LoadedStream) +
                           " has changed.\nDo you want to save the stream?")) {
    case mrOkay:
        return SaveStream();
    case mrNo:
        return true;
    default:
        return false;
    }
}

void TFileStreamsForm::AddStreamClick()
{
    TOwnWork own(*this);
    TTraced trace;
    trace.Run([&] {
        if (NewFileForm == nullptr || !NewFileForm->Dialog(GetParentPath(FilePath), nfkFileStream))
            return;
        // The name as typed: the dialog's own completion of a file name does not apply.
        const std::string name = NewFileForm->NewFileNameEdit->text().toStdString();
        if (name.empty() || GetInternalStreamName(name).empty())
            return;
        if (ListsStream(name))
            return ShowInfoMessage("Stream already exists.");
        AddFileStream(FilePath, name);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to add stream.");
    RefreshStreamList("Failed to add stream.");
    FileStreamsComboBox->setFocus();
}

void TFileStreamsForm::AddDescriptionClick()
{
    TOwnWork own(*this);
    if (ListsStream(DescriptionStreamName))
        return;
    TTraced trace;
    trace.Run([&] {
        AddFileStream(FilePath, DescriptionStreamName);
        const bool added = !trace.TakeOver();
        UpdateStreamList("");
        if (!added || !CheckSave())
            return;
        StreamContentRichEdit->document()->setModified(false);
        SelectStream(DescriptionStreamName);
        LoadStream();
    });
    trace.ShowFailure("Failed to add description stream.");
    StreamContentRichEdit->setFocus();
}

void TFileStreamsForm::DeleteStreamClick()
{
    TOwnWork own(*this);
    TTraced trace;
    trace.Run([&] {
        const std::string name = FileStreamsComboBox->currentText().toStdString();
        if (GetInternalStreamName(name).empty())
            return ShowWarningMessage("You can't delete the main stream because the entire file would be deleted.");
        if (!AskQuery("Delete stream " + Quoted(name) + "?"))
            return;
        DeleteFileStream(FilePath, name);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to delete stream.");
    RefreshStreamList("Failed to delete stream.");
    LoadStream();
    FileStreamsComboBox->setFocus();
}

void TFileStreamsForm::ClipStreamClick()
{
    TOwnWork own(*this);
    CopyTextToClipboard(FileStreamsComboBox->currentText().toStdString(), "Failed to copy stream name to clipboard.",
                        false, false);
}

void TFileStreamsForm::LoadStreamClick()
{
    TOwnWork own(*this);
    LoadStream();
    StreamContentRichEdit->setFocus();
}

void TFileStreamsForm::CopyClick()
{
    TOwnWork own(*this);
    CopyTextToClipboard(SelectedText(*StreamContentRichEdit), "", false, false);
}

void TFileStreamsForm::CutClick()
{
    TOwnWork own(*this);
    if (StreamContentRichEdit->isReadOnly())
        return CopyClick();
    if (CopyTextToClipboard(SelectedText(*StreamContentRichEdit), "", false, false))
        StreamContentRichEdit->textCursor().removeSelectedText();
}

void TFileStreamsForm::PasteClick()
{
    TOwnWork own(*this);
    if (!StreamContentRichEdit->isReadOnly())
        StreamContentRichEdit->textCursor().insertText(WithBoxLineBreaks(CopyTextFromClipboard()));
}

void TFileStreamsForm::FindText(bool fromStart)
{
    TOwnWork own(*this);
    UpdateComboBoxHistory(*FindTextComboBox);
    if (FindRichEditText(*StreamContentRichEdit, FindTextComboBox->currentText().toStdString(), fromStart) >= 0)
        StreamContentRichEdit->setFocus();
    else
        ShowInfoMessage("There are no more text matches.");
}

void TFileStreamsForm::FindNext(bool fromStart)
{
    if (FindTextComboBox->currentText().isEmpty())
        FindTextComboBox->setFocus();
    else
        FindText(fromStart);
}

void TFileStreamsForm::GoToLine()
{
    TOwnWork own(*this);
    QPlainTextEdit& box = *StreamContentRichEdit;
    UpdateComboBoxHistory(*GoToLineComboBox);
    const int32_t line =
        GetIntFromComboBox(*GoToLineComboBox, 1, GetRichEditLineCount(box), GetRichEditFirstVisibleLine(box) + 1);
    GoToRichEditLine(box, line - 1);
    box.setFocus();
}

void TFileStreamsForm::InsertLinesAboveCaret(const std::string& text)
{
    QPlainTextEdit& box = *StreamContentRichEdit;
    if (box.isReadOnly())
        return;
    QTextCursor cursor(box.document());
    cursor.setPosition(GetRichEditLineIndex(box, GetRichEditCaretLine(box)));
    cursor.insertText(WithBoxLineBreaks(text) + '\n');
}

void TFileStreamsForm::InsertSeparator(char character)
{
    InsertLinesAboveCaret(std::string(SeparatorLength, character));
    StreamContentRichEdit->setFocus();
}

void TFileStreamsForm::InsertRandomText(int32_t mode)
{
    if (!StreamContentRichEdit->isReadOnly())
        StreamContentRichEdit->textCursor().insertText(QString::fromStdString(GenerateHexPassword(mode)));
    StreamContentRichEdit->setFocus();
}

void TFileStreamsForm::InsertLoginTemplate(int32_t mode)
{
    TOwnWork own(*this);
    TTraced trace;
    trace.Run([&] {
        const std::string password = GenerateHexPassword(mode);
        const std::string userName = GenerateHexPassword(1);
        InsertLinesAboveCaret("* Login URL = \r\n* Email address = \r\n* User name = " + userName +
                              "\r\n* Password = " + password);
        InsertLinesAboveCaret(std::string(SeparatorLength, '='));
    });
    trace.ShowFailure("Failed to insert login template.");
    StreamContentRichEdit->setFocus();
}

bool TFileStreamsForm::EditKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    if (control && key == Qt::Key_C)
        CopyClick();
    else if (control && key == Qt::Key_V)
        PasteClick();
    else if (control && key == Qt::Key_X)
        CutClick();
    else if (control && key == Qt::Key_S) {
        if (StreamContentRichEdit->document()->isModified()) {
            TOwnWork own(*this);
            SaveStream();
        }
    } else if (key == Qt::Key_F3)
        FindNext(control);
    else if (control)
        return !IsKeyAmong(key, {Qt::Key_A, Qt::Key_Z, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown,
                                 Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down});
    else if (modifiers.testFlag(Qt::AltModifier))
        return !IsKeyAmong(key, {Qt::Key_S, Qt::Key_F, Qt::Key_G});
    else
        return false;
    return true;
}

void TFileStreamsForm::InfoTimerTimer()
{
    const QPlainTextEdit& box = *StreamContentRichEdit;
    SaveStatusPanel->setText(box.document()->isModified() ? "Modified" : "Saved");
    LinePosPanel->setText(QString::fromStdString("Line " + IntToSeparatedText(GetRichEditCaretLine(box) + 1)));
    LinesCountPanel->setText(QString::fromStdString("Lines " + IntToSeparatedText(GetRichEditLineCount(box))));
    CharsCountInfoPanel->setText(QString::fromStdString("Chars " + IntToSeparatedText(GetRichEditTextLength(box))));
}

void TFileStreamsForm::ShowStreamMenu()
{
    RunMenu(*FileStreamsPopupMenu, MenuButton->mapToGlobal(QPoint(MenuButton->width() / 2, MenuButton->height())));
}

void TFileStreamsForm::RunMenu(QMenu& menu, const QPoint& point)
{
    TOwnWork own(*this);
    RunPopupMenu(menu, point);
}

bool TFileStreamsForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && OwnWorkDepth == 0 && isVisible()) {
        // Another window of the desktop became active, not a box of the editor's own.
        QTimer::singleShot(0, this, [this] {
            if (OwnWorkDepth == 0 && isVisible() && !isActiveWindow())
                showMinimized();
        });
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::event(event);
}

bool TFileStreamsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == StreamContentRichEdit)
        return EditKeyDown(key->key(), key->modifiers());
    if (enter && watched == FindTextComboBox) {
        FindText(key->modifiers().testFlag(Qt::ControlModifier));
        return true;
    }
    if (enter && watched == GoToLineComboBox) {
        GoToLine();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFileStreamsForm::closeEvent(QCloseEvent* event)
{
    if (!Loaded)
        return event->accept();
    TOwnWork own(*this);
    if (!CheckSave())
        return event->ignore();
    Loaded = false;
    StreamContentRichEdit->clear();
    StreamContentRichEdit->document()->setModified(false);
    SetLoadedStream("");
    InfoTimer->stop();
    event->accept();
}
