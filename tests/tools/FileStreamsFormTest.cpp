#include "tools/FileStreamsForm.h"
#include "tools/ToolForms.h"

#include "tools/RichTextHelpers.h"

#include "mainwindow/ToolFormServices.h"

#include "fileops/NewFileForm.h"

#include "viewing/StegServices.h"

#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/SkinOptions.h"
#include "core/settings/StoredTextList.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/FakeOptionsMainWindow.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

// Automatic steg with a text hidden in every picture; what is hidden again is recorded.
class TFakeAutoSteg : public TStegServicesStandIn
{
public:
    TFakeAutoSteg() { TSeam<TStegServices>::Install(this); }
    ~TFakeAutoSteg() override { TSeam<TStegServices>::Install(nullptr); }
    TFakeAutoSteg(const TFakeAutoSteg&) = delete;
    TFakeAutoSteg& operator=(const TFakeAutoSteg&) = delete;

    bool IsAutoStegActive() override { return true; }
    bool AutoStegOut(std::string&, std::string& title, bool& isText, std::vector<std::string>* lines,
                     int64_t& size) override
    {
        title = "secret.txt";
        isText = true;
        *lines = Lines;
        size = 11;
        return true;
    }
    void AutoStegIn(const std::string& carrier, const std::string& name, const uint8_t* text, int64_t size) override
    {
        TTraced trace;
        Hidden.push_back({carrier, name, std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size))});
    }

    std::vector<std::string> Lines = {"hidden", "text"};
    std::vector<std::vector<std::string>> Hidden;
};

// The user attributes of a host file.
std::map<std::string, std::string> UserAttributes(const std::string& hostPath)
{
    std::map<std::string, std::string> attributes;
    std::string names(static_cast<size_t>(std::max<ssize_t>(listxattr(hostPath.c_str(), nullptr, 0), 0)), '\0');
    names.resize(static_cast<size_t>(std::max<ssize_t>(listxattr(hostPath.c_str(), names.data(), names.size()), 0)));
    for (size_t start = 0; start < names.size(); start = names.find('\0', start) + 1) {
        const std::string name = names.c_str() + start;
        std::string value(static_cast<size_t>(getxattr(hostPath.c_str(), name.c_str(), nullptr, 0)), '\0');
        getxattr(hostPath.c_str(), name.c_str(), value.data(), value.size());
        attributes[name] = value;
    }
    return attributes;
}

mode_t Permissions(const std::string& hostPath)
{
    struct stat info = {};
    stat(hostPath.c_str(), &info);
    return info.st_mode & 07777;
}

// Drive T: holds the file being edited; its streams are set through the file system.
class FileStreamsEditor : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
        if (!reason.empty())
            GTEST_SKIP() << reason;
        NewFileForm = &NewForm;
    }
    void TearDown() override
    {
        NewFileForm = nullptr;
        host::ClearFaults();
    }

    std::string File(const std::string& content = "main text")
    {
        Drive.WriteFile("a.txt", content);
        return Drive.Path("a.txt");
    }
    void SetStream(const std::string& name, const std::string& value)
    {
        ASSERT_EQ(0,
                  setxattr(Drive.HostPath("a.txt").c_str(), ("user." + name).c_str(), value.data(), value.size(), 0));
    }
    std::string Stream(const std::string& name) { return UserAttributes(Drive.HostPath("a.txt"))["user." + name]; }
    std::vector<std::string> Listed()
    {
        std::vector<std::string> names;
        for (int i = 0; i < Form.FileStreamsComboBox->count(); ++i)
            names.push_back(Form.FileStreamsComboBox->itemText(i).toStdString());
        return names;
    }
    std::string BoxText() { return Form.StreamContentRichEdit->toPlainText().toStdString(); }
    bool Modified() { return Form.StreamContentRichEdit->document()->isModified(); }
    void Type(const std::string& text)
    {
        Form.StreamContentRichEdit->moveCursor(QTextCursor::End);
        Form.StreamContentRichEdit->insertPlainText(QString::fromStdString(text));
    }
    // Selects the entry and loads it.
    bool Load(const std::string& name)
    {
        Form.SelectStream(name);
        return Form.LoadStream();
    }

    TTempDrive Drive{'T'};
    TShownFailures Failures;
    TNewFileForm NewForm;
    TFileStreamsForm Form;
};

TEST_F(FileStreamsEditor, TheListHoldsTheNamedStreamsSortedWithMain)
{
    Form.Open(File(), fsmEditor);
    EXPECT_EQ(std::vector<std::string>{"Main"}, Listed());
    EXPECT_TRUE(Form.Loaded);
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ("File streams editor - \"a.txt\" (in \"T:\\\")", Form.windowTitle().toStdString());
    EXPECT_TRUE(Form.StreamContentRichEdit->isReadOnly()) << "nothing loaded yet";

    SetStream("b", "1");
    SetStream("A", "2");
    Form.UpdateStreamList("b");
    EXPECT_EQ((std::vector<std::string>{"A", "b", "Main"}), Listed());
    EXPECT_EQ("b", Form.FileStreamsComboBox->currentText().toStdString());
}

TEST_F(FileStreamsEditor, AStreamNamedMainIsHiddenBehindTheMainDataWithAWarningAtEachRefresh)
{
    File("the main data");
    SetStream("Main", "secondary");
    TModalScript script;
    script.Expect("Warning", IDOK).Expect("Warning", IDOK);
    Form.Open(Drive.Path("a.txt"), fsmEditor);
    Form.UpdateStreamList("");
    EXPECT_EQ(std::vector<std::string>{"Main"}, Listed());
    EXPECT_THAT(script.Seen()[1].Text, HasSubstr("You can't access the secondary stream with that name"));
    ASSERT_TRUE(Load("Main"));
    EXPECT_EQ("the main data", BoxText());
}

TEST_F(FileStreamsEditor, MainDataLoadsUpToOneMillionBytes)
{
    const std::string line = std::string(99, 'm') + "\n";
    std::string content;
    for (int i = 0; i < 10000; ++i)
        content += line;
    Form.Open(File(content), fsmMainData);
    EXPECT_EQ("Main", Form.LoadedStream);
    EXPECT_FALSE(Form.StreamContentRichEdit->isReadOnly());
    EXPECT_FALSE(Modified());
    EXPECT_EQ("Chars 1,000,000", Form.CharsCountInfoPanel->text().toStdString());
    Form.close();

    TModalScript script;
    Failures.Expect(script, "Error");
    Form.Open(File(content + "x"), fsmMainData);
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to load stream."));
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Stream size too big."));
    EXPECT_TRUE(Form.StreamContentRichEdit->isReadOnly());
    EXPECT_EQ(" Name \"\"", Form.LoadedStreamNamePanel->text().toStdString());
    EXPECT_EQ("", BoxText());
}

TEST_F(FileStreamsEditor, BytesThatWouldNotComeBackTheSameAreRefusedAsBinary)
{
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"a zero byte", std::string("ab\0cd", 5)},
        {"invalid UTF-8", "caf\xE9"},
        {"a cut sequence", "ab\xC3"},
        {"a lone CR", "one\rtwo"},
        {"mixed line breaks", "one\r\ntwo\nthree"},
    };
    Form.Open(File(), fsmEditor);
    for (const auto& [what, bytes] : refused) {
        SCOPED_TRACE(what);
        SetStream("data", bytes);
        Form.UpdateStreamList("data");
        TModalScript script;
        Failures.Reports.clear();
        Failures.Expect(script, "Error");
        EXPECT_FALSE(Form.LoadStream());
        ASSERT_EQ(1u, Failures.Reports.size());
        EXPECT_THAT(Failures.Reports[0], HasSubstr("This stream contains binary data."));
        EXPECT_TRUE(Form.StreamContentRichEdit->isReadOnly());
        EXPECT_TRUE(Form.SaveStream()) << "nothing loaded, nothing written";
        EXPECT_EQ(bytes, Stream("data"));
    }
}

TEST_F(FileStreamsEditor, LineBreaksKeepTheStreamsStyle)
{
    Form.Open(File(), fsmEditor);
    SetStream("crlf", "one\r\ntwo\r\n");
    SetStream("lf", "one\ntwo");
    SetStream("accents", "\xEF\xBB\xBF"
                         "café €\n");
    Form.UpdateStreamList("crlf");

    ASSERT_TRUE(Load("crlf"));
    EXPECT_EQ("one\ntwo\n", BoxText());
    Form.StreamContentRichEdit->document()->setModified(true);
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("one\r\ntwo\r\n", Stream("crlf")) << "saved unchanged, byte for byte";
    Type("three");
    Form.StreamContentRichEdit->insertPlainText("\nfour");
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("one\r\ntwo\r\nthree\r\nfour", Stream("crlf"));

    ASSERT_TRUE(Load("lf"));
    Type("\nthree");
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("one\ntwo\nthree", Stream("lf"));

    ASSERT_TRUE(Load("accents"));
    Form.StreamContentRichEdit->document()->setModified(true);
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("\xEF\xBB\xBF"
              "café €\n",
              Stream("accents"));
}

TEST_F(FileStreamsEditor, AStreamTooLargeForTheFileSystemIsNotSavedAndTheTextStays)
{
    Form.Open(File(), fsmEditor);
    SetStream("notes", "short");
    Form.UpdateStreamList("notes");
    ASSERT_TRUE(Load("notes"));
    Form.StreamContentRichEdit->selectAll();
    Form.StreamContentRichEdit->insertPlainText(QString(70000, 'n'));
    TModalScript script;
    Failures.Expect(script, "Error");
    EXPECT_FALSE(Form.SaveStream());
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to save stream."));
    EXPECT_THAT(Failures.Reports[0], HasSubstr("65536"));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(70000u, BoxText().size());
    EXPECT_EQ("short", Stream("notes"));
}

TEST_F(FileStreamsEditor, SavingMainDataKeepsTheFilesPermissionsAndStreamsAndAFailedWriteKeepsTheOldFile)
{
    File("old text");
    SetStream("Description", "comment");
    SetStream("xdg.origin", "elsewhere");
    fs::permissions(Drive.HostPath("a.txt"), fs::perms(0640));
    const std::map<std::string, std::string> streams = UserAttributes(Drive.HostPath("a.txt"));
    Form.Open(Drive.Path("a.txt"), fsmMainData);
    Type(" edited");

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    TModalScript script;
    Failures.Expect(script, "Error");
    EXPECT_FALSE(Form.SaveStream());
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to save stream."));
    EXPECT_EQ("old text", Drive.ReadFile("a.txt"));
    EXPECT_EQ(0640u, Permissions(Drive.HostPath("a.txt")));
    EXPECT_EQ(streams, UserAttributes(Drive.HostPath("a.txt")));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(1u, std::distance(fs::directory_iterator(Drive.HostPath()), fs::directory_iterator()))
        << "no temporary file left behind";

    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("old text edited", Drive.ReadFile("a.txt"));
    EXPECT_EQ(0640u, Permissions(Drive.HostPath("a.txt")));
    EXPECT_EQ(streams, UserAttributes(Drive.HostPath("a.txt")));
    EXPECT_FALSE(Modified());
}

TEST_F(FileStreamsEditor, AFileDeletedWhileOpenFailsTheSaveAndKeepsTheText)
{
    Form.Open(File("text"), fsmMainData);
    Type(" more");
    fs::remove(Drive.HostPath("a.txt"));
    TModalScript script;
    Failures.Expect(script, "Error");
    EXPECT_FALSE(Form.SaveStream());
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to save stream."));
    EXPECT_EQ("text more", BoxText());
    EXPECT_TRUE(Modified());
    EXPECT_FALSE(Drive.Exists("a.txt"));
}

struct TSaveAnswer
{
    int Answer;
    bool Leaves;
    std::string Saved;
};

TEST_F(FileStreamsEditor, LeavingAChangedStreamAsksWhetherToSaveIt)
{
    for (const TSaveAnswer& row : {TSaveAnswer{IDYES, true, "first!"}, TSaveAnswer{IDNO, true, "first"},
                                   TSaveAnswer{IDCANCEL, false, "first"}}) {
        SCOPED_TRACE(row.Answer);
        File();
        SetStream("one", "first");
        SetStream("two", "second");
        Form.Open(Drive.Path("a.txt"), fsmEditor);
        ASSERT_TRUE(Load("one"));
        Type("!");
        TModalScript script;
        script.Expect("Query", row.Answer);
        EXPECT_EQ(row.Leaves, Load("two"));
        EXPECT_EQ("The content of stream \"one\" has changed.\nDo you want to save the stream?", script.Seen()[0].Text);
        EXPECT_EQ(row.Saved, Stream("one"));
        EXPECT_EQ(row.Leaves ? "two" : "one", Form.LoadedStream);
        EXPECT_EQ(row.Leaves ? "second" : "first!", BoxText());

        // Closing asks the same; Cancel keeps the window open.
        if (!row.Leaves) {
            script.Expect("Query", IDCANCEL);
            EXPECT_FALSE(Form.close());
            EXPECT_TRUE(Form.Loaded);
            script.Expect("Query", IDNO);
        }
        EXPECT_TRUE(Form.close());
        EXPECT_FALSE(Form.Loaded);
    }
}

TEST_F(FileStreamsEditor, TheDescriptionModeCreatesTheStreamAndLoadsItEditable)
{
    Form.Open(File(), fsmDescription);
    EXPECT_EQ((std::vector<std::string>{"Description", "Main"}), Listed());
    EXPECT_EQ("Description", Form.LoadedStream);
    EXPECT_EQ("", BoxText());
    EXPECT_FALSE(Form.StreamContentRichEdit->isReadOnly());
    Type("about a");
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ("about a", Stream("Description"));
    Form.close();

    Form.Open(Drive.Path("a.txt"), fsmDescription);
    EXPECT_EQ("about a", BoxText()) << "an existing description is loaded";
}

TEST_F(FileStreamsEditor, AddTakesTheNameAsTypedAndRefusesWhatCannotBeAdded)
{
    Form.Open(File(), fsmEditor);
    const auto add = [&](const std::string& typed, std::function<void(TModalScript&)> then = {}) {
        TModalScript script;
        script.Expect("New file stream", mrOkay,
                      [&](const TModalRequest&) { NewForm.NewFileNameEdit->setText(QString::fromStdString(typed)); });
        if (then)
            then(script);
        Form.AddStreamClick();
    };
    add("notes");
    EXPECT_EQ((std::vector<std::string>{"Main", "notes"}), Listed());
    EXPECT_EQ("Main", Form.FileStreamsComboBox->currentText().toStdString()) << "the selection stays";
    EXPECT_EQ("", Form.LoadedStream) << "the new stream is not loaded";

    add("main");
    add("");
    EXPECT_EQ((std::vector<std::string>{"Main", "notes"}), Listed());
    add("notes", [](TModalScript& script) { script.Expect("Message", IDOK); });
    add(std::string(251, 'x'), [&](TModalScript& script) { Failures.Expect(script, "Error"); });
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("Failed to add stream."));
    EXPECT_EQ((std::vector<std::string>{"Main", "notes"}), Listed());
}

TEST_F(FileStreamsEditor, DeletingAsksAndTheMainDataCannotBeDeleted)
{
    File();
    SetStream("old", "x");
    Form.Open(Drive.Path("a.txt"), fsmEditor);
    TModalScript script;
    script.Expect("Warning", IDOK);
    Form.DeleteStreamClick();
    EXPECT_TRUE(Drive.Exists("a.txt"));

    Form.SelectStream("old");
    script.Expect("Query", IDYES);
    Form.DeleteStreamClick();
    EXPECT_EQ("Delete stream \"old\"?", script.Seen()[1].Text);
    EXPECT_EQ(std::vector<std::string>{"Main"}, Listed());
    EXPECT_EQ("Main", Form.LoadedStream) << "the selection falls back to the main data, loaded";
}

TEST_F(FileStreamsEditor, TheLoginTemplateGoesAboveTheCaretsLine)
{
    Form.Open(File("first\nsecond"), fsmMainData);
    QTextCursor cursor = Form.StreamContentRichEdit->textCursor();
    cursor.setPosition(GetRichEditLineIndex(*Form.StreamContentRichEdit, 1) + 2);
    Form.StreamContentRichEdit->setTextCursor(cursor);
    Form.InsertLoginTemplate(2);

    const QStringList lines = Form.StreamContentRichEdit->toPlainText().split('\n');
    ASSERT_EQ(7, lines.size());
    EXPECT_EQ("first", lines[0]);
    EXPECT_EQ("* Login URL = ", lines[1]);
    EXPECT_EQ("* Email address = ", lines[2]);
    EXPECT_THAT(lines[3].toStdString(), testing::MatchesRegex("\\* User name = [0-9A-F]{10}"));
    EXPECT_THAT(lines[4].toStdString(), testing::MatchesRegex("\\* Password = [0-9A-F]{20}"));
    EXPECT_EQ(QString(50, '='), lines[5]);
    EXPECT_EQ("second", lines[6]);
    EXPECT_EQ(6, GetRichEditCaretLine(*Form.StreamContentRichEdit));

    // A random text goes in at the caret.
    Form.InsertRandomText(1);
    EXPECT_THAT(Form.StreamContentRichEdit->toPlainText().split('\n')[6].toStdString(),
                testing::MatchesRegex("se[0-9A-F]{10}cond"));
}

TEST_F(FileStreamsEditor, TheEditBoxKeepsOnlyItsPlainKeys)
{
    Form.Open(File(), fsmMainData);
    struct TKeyRow
    {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        bool Taken;
    };
    for (const TKeyRow& row : {TKeyRow{Qt::Key_B, Qt::ControlModifier, true},
                               {Qt::Key_I, Qt::ControlModifier, true},
                               {Qt::Key_A, Qt::ControlModifier, false},
                               {Qt::Key_Z, Qt::ControlModifier, false},
                               {Qt::Key_Left, Qt::ControlModifier, false},
                               {Qt::Key_F, Qt::AltModifier, false},
                               {Qt::Key_S, Qt::AltModifier, false},
                               {Qt::Key_X, Qt::AltModifier, true},
                               {Qt::Key_C, Qt::NoModifier, false},
                               {Qt::Key_V, Qt::NoModifier, false}}) {
        SCOPED_TRACE(QKeySequence(row.Key | row.Modifiers.toInt()).toString().toStdString());
        EXPECT_EQ(row.Taken, Form.EditKeyDown(row.Key, row.Modifiers));
    }
    // Ctrl+S saves.
    Type("!");
    EXPECT_TRUE(Form.EditKeyDown(Qt::Key_S, Qt::ControlModifier));
    EXPECT_EQ("main text!", Drive.ReadFile("a.txt"));
}

TEST_F(FileStreamsEditor, FindingAndGoingToALine)
{
    Form.Open(File("alpha\nbeta\nALPHA\ngamma"), fsmMainData);
    // Enter reaches the box that has the focus, the combo box itself.
    Form.FindTextComboBox->setEditText("alpha");
    QKeyEvent ctrlEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier);
    QCoreApplication::sendEvent(Form.FindTextComboBox, &ctrlEnter);
    EXPECT_EQ(0, Form.StreamContentRichEdit->textCursor().selectionStart());
    Form.FindNext(false);
    EXPECT_EQ(11, Form.StreamContentRichEdit->textCursor().selectionStart());
    TModalScript script;
    script.Expect("Message", IDOK);
    Form.FindNext(false);
    EXPECT_EQ("There are no more text matches.", script.Seen()[0].Text);
    EXPECT_EQ("alpha", Form.FindTextComboBox->itemText(0).toStdString()) << "kept in the history";

    Form.GoToLineComboBox->setEditText("4");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(Form.GoToLineComboBox, &enter);
    EXPECT_EQ(3, GetRichEditCaretLine(*Form.StreamContentRichEdit));
    EXPECT_EQ("Line 4", Form.LinePosPanel->text().toStdString());
    EXPECT_EQ("Lines 4", Form.LinesCountPanel->text().toStdString());
}

TEST_F(FileStreamsEditor, AutomaticStegEditsTheHiddenTextAndHidesItAgainUnderItsTitle)
{
    TFakeAutoSteg steg;
    Drive.WriteFile("p.png", "picture bytes");
    Form.Open(Drive.Path("p.png"), fsmMainData);
    EXPECT_TRUE(Form.IsSteggedOut);
    EXPECT_EQ("hidden\ntext", BoxText());
    Type("!");
    ASSERT_TRUE(Form.SaveStream());
    EXPECT_EQ((std::vector<std::vector<std::string>>{{Drive.Path("p.png"), "secret.txt", "hidden\ntext!"}}),
              steg.Hidden);
    EXPECT_EQ("picture bytes", Drive.ReadFile("p.png"));
}

TEST_F(FileStreamsEditor, AHiddenTextThatWouldNotComeBackTheSameIsRefusedAndNeverHiddenAgain)
{
    TFakeAutoSteg steg;
    steg.Lines = {"caf\xE9", "au lait"};
    Drive.WriteFile("p.png", "picture bytes");
    TModalScript script;
    Failures.Expect(script, "Error");
    Form.Open(Drive.Path("p.png"), fsmMainData);
    ASSERT_EQ(1u, Failures.Reports.size());
    EXPECT_THAT(Failures.Reports[0], HasSubstr("This stream contains binary data."));
    EXPECT_TRUE(Form.StreamContentRichEdit->isReadOnly());
    EXPECT_TRUE(Form.SaveStream()) << "nothing loaded, nothing hidden";
    EXPECT_TRUE(steg.Hidden.empty());
}

TEST_F(FileStreamsEditor, FoldersAndASecondFileAreRefused)
{
    fs::create_directory(Drive.HostPath("d"));
    TModalScript script;
    script.Expect("Error", IDOK);
    Form.Open(Drive.Path("d"), fsmEditor);
    EXPECT_EQ("Directories don't have streams.", script.Seen()[0].Text);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_FALSE(Form.Loaded);

    Form.Open(File(), fsmEditor);
    Drive.WriteFile("b.txt", "b");
    script.Expect("Warning", IDOK);
    Form.Open(Drive.Path("b.txt"), fsmMainData);
    EXPECT_EQ("The editor is already loaded with a file.", script.Seen()[1].Text);
    EXPECT_EQ(Drive.Path("a.txt"), Form.FilePath);
    EXPECT_EQ("", Form.LoadedStream);
}

TEST_F(FileStreamsEditor, TheWindowsBoundsAreKeptAndNeverBelowItsLeastSize)
{
    Drive.WriteFile("options.ini", "[FileStreamsEditor]\r\nXPos=40\r\nYPos=50\r\nXSize=100\r\nYSize=450\r\n\r\n");
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnLoad = [&](TStoredTextList& list, int32_t) { Form.OnLoadOptionsSTL(list); };
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ(TFileStreamsForm::MinWidth, Form.width()) << "a smaller width is raised";
    EXPECT_EQ(450, Form.height());

    store.OnSave = [&](TStoredTextList& list, int32_t) { Form.OnSaveOptionsSTL(list); };
    ASSERT_TRUE(store.SaveToFile(Drive.Path("saved.ini"), false, 0));
    EXPECT_THAT(Drive.ReadFile("saved.ini"), HasSubstr("XSize=650\r\nYSize=450"));
}

TEST_F(FileStreamsEditor, TheBoxTakesTheSkinsColoursAndTheViewersFontAndWrap)
{
    const TSkinOptions skin = SkinOptions;
    SkinOptions.WindowBackColor = 0x102030;
    SkinOptions.WindowTextColor = 0x405060;
    TFakeOptionsMainWindow window;
    window.Viewer.FontName = "Courier New";
    window.Viewer.FontSize = 13;
    window.Viewer.FontBold = true;
    window.Viewer.TextWordWrap = false;
    Form.SetOptions();
    SkinOptions = skin;

    const QPlainTextEdit& box = *Form.StreamContentRichEdit;
    EXPECT_EQ(QColor(0x30, 0x20, 0x10), box.palette().color(QPalette::Base)) << "colours are 0x00BBGGRR";
    EXPECT_EQ(QColor(0x60, 0x50, 0x40), box.palette().color(QPalette::Text));
    EXPECT_EQ("Courier New", box.font().family().toStdString());
    EXPECT_EQ(13, box.font().pointSize());
    EXPECT_TRUE(box.font().bold());
    EXPECT_EQ(QPlainTextEdit::NoWrap, box.lineWrapMode());
    EXPECT_EQ(Qt::ScrollBarAlwaysOn, box.horizontalScrollBarPolicy());

    window.Viewer.TextWordWrap = true;
    Form.SetOptions();
    EXPECT_EQ(QPlainTextEdit::WidgetWidth, box.lineWrapMode());
    EXPECT_EQ(Qt::ScrollBarAlwaysOff, box.horizontalScrollBarPolicy());
}

TEST_F(FileStreamsEditor, AnotherWindowBecomingActiveMinimisesTheEditorButItsOwnBoxesDoNot)
{
    File();
    SetStream("one", "first");
    SetStream("two", "second");
    Form.Open(Drive.Path("a.txt"), fsmEditor);
    ASSERT_TRUE(Load("one"));
    Type("!");
    QWidget other;
    other.show();
    {
        TModalScript script;
        script.Expect("Query", IDCANCEL, [&](const TModalRequest&) {
            other.activateWindow();
            QApplication::processEvents();
        });
        Form.SelectStream("two");
        Form.LoadStreamClick();
        QApplication::processEvents();
    }
    EXPECT_FALSE(Form.isMinimized()) << "the save question is the editor's own";
    EXPECT_EQ("one", Form.LoadedStream);

    Form.activateWindow();
    QApplication::processEvents();
    EXPECT_TRUE(Form.isActiveWindow());
    other.activateWindow();
    QApplication::processEvents();
    EXPECT_FALSE(Form.isActiveWindow());
    QApplication::processEvents();
    EXPECT_TRUE(Form.isMinimized());
}

TEST_F(FileStreamsEditor, AFileSystemNotKnownToKeepStreamsOffersOnlyTheMainData)
{
    File();
    // The volume cannot be asked, as for a file system without user attributes.
    host::InjectFault(host::HostCall::Volume, host::ERROR_NOT_READY);
    TModalScript script;
    script.Expect("Warning", IDOK);
    Form.Open(Drive.Path("a.txt"), fsmDescription);
    EXPECT_EQ("Your operating system doesn't support file streams.", script.Seen()[0].Text);
    EXPECT_FALSE(Form.StreamsSupported);
    EXPECT_FALSE(Form.AddStreamMenu->isEnabled());
    EXPECT_FALSE(Form.AddDescriptionMenu->isEnabled());
    EXPECT_FALSE(Form.DeleteStreamMenu->isEnabled());
    EXPECT_THAT(Form.Toolbar->toolTip().toStdString(), HasSubstr("doesn't support file streams"));
    EXPECT_EQ(std::vector<std::string>{"Main"}, Listed());
    ASSERT_TRUE(Load("Main"));
    EXPECT_EQ("main text", BoxText());
    Form.close();

    // Asked again at the next opening.
    Form.Open(Drive.Path("a.txt"), fsmEditor);
    EXPECT_TRUE(Form.StreamsSupported);
    EXPECT_TRUE(Form.AddStreamMenu->isEnabled());
}

// The main window reaches the editor through the tool forms' seam.
TEST(FileStreamsEditorServices, TheToolFormsOpenTheEditor)
{
    TToolForms tools;
    TTempDrive drive{'T'};
    drive.WriteFile("a.txt", "text");
    TFileStreamsForm form;
    FileStreamsForm = &form;
    TSeam<TToolFormServices>::Get().OpenFileStreams(drive.Path("a.txt"), fsmMainData);
    EXPECT_EQ("text", form.StreamContentRichEdit->toPlainText().toStdString());
}

} // namespace
