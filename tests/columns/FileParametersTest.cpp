#include "columns/FileParameters.h"
#include "columns/MainWindowMouse.h"

#include "core/desktop/Clipboard.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"

#include "BoardTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TExpansionRow
{
    std::string Text;
    std::string Source;
    std::string Destination;
    std::string Expected;
};

class FileParameters : public BoardTest
{
protected:
    FileParameters()
    {
        TSeam<TMainWindowMouse>::Install(&Mouse);
        MakeFile("docs/report.txt");
        MakeDirectory("l");
        CopyFileAsLink(Drive.Path("docs\\report.txt"), Drive.Path("l\\report.lnk"), false, "", false, false);
        MakeFile("c0/a.txt");
        MakeFile("c0/b.txt");
        MakeFile("c1/x.txt");
        Open(Board[0], Drive.Path("c0\\a.txt"));
        Open(Board[1], Drive.Path("c1\\x.txt"));
    }
    ~FileParameters() override { TSeam<TMainWindowMouse>::Install(nullptr); }

    void ExpectExpansions(const std::vector<TExpansionRow>& rows, bool withPaths)
    {
        for (const TExpansionRow& row : rows) {
            const std::string expanded = withPaths ? ExpandFileAndPathParameters(row.Text, row.Source, row.Destination)
                                                   : ExpandFileParameters(row.Text, row.Source, row.Destination);
            EXPECT_EQ(row.Expected, expanded) << row.Text << " with " << row.Source << " to " << row.Destination;
        }
    }

    // Holds the press record that names the column last pressed with the mouse.
    TMainWindowMouseStandIn Mouse;
};

TEST_F(FileParameters, EachFilePlaceholderOfTheSourceAndTheDestination)
{
    const std::string link = Drive.Path("l\\report.lnk");
    ExpectExpansions(
        {
            {"%t%|%p%|%t-e%|%n%|%n-e%|%e%", R"(C:\a\b.txt)", "", R"(C:\a\b.txt|C:\a\|C:\a\b|b.txt|b|.txt)"},
            {"%r%|%rp%", R"(C:\a\b.txt)", "", R"(C:\a\b.txt|C:\a\)"},
            {"%t%|%r%|%rp%", link, "", link + "|" + Drive.Path("docs\\report.txt") + "|" + Drive.Path("docs\\")},
            {"%dt%|%dr%|%dp%|%drp%|%dt-e%|%dn%|%dn-e%|%de%", "", R"(D:\x\y.z)",
             R"(D:\x\y.z|D:\x\y.z|D:\x\|D:\x\|D:\x\y|y.z|y|.z)"},
            {"%dr%", "", link, Drive.Path("docs\\report.txt")},
            {"%dp%%n-e%.bak", R"(C:\a\b.txt)", R"(D:\x\y)", R"(D:\x\b.bak)"},
            {"%n-e%|%e%", R"(C:\a\archive.tar.gz)", "", "archive.tar|.gz"},
            {"%t-e%|%e%|", R"(C:\a.d\README)", "", R"(C:\a.d\README||)"},
            {"[%p%][%n%]", "C:", "", "[][C:]"},
            {"%t%%t%", R"(C:\a)", "", R"(C:\aC:\a)"},
            // Placeholders match their letter case exactly.
            {"%T%|%N%|%t|t%", R"(C:\a\b.txt)", "", "%T%|%N%|%t|t%"},
            // A quoted placeholder stays one argument, blanks and all.
            {R"(-o "%dp%%n%" "%t%")", R"(C:\in dir\c d.txt)", R"(D:\out dir\y)",
             R"(-o "D:\out dir\c d.txt" "C:\in dir\c d.txt")"},
        },
        false);
}

// A value is never searched again: names holding "%" or a placeholder reach the program as
// they are, also through the path placeholders that follow.
TEST_F(FileParameters, ANameHoldingPercentSignsOrPlaceholdersIsInsertedAsItIs)
{
    ExpectExpansions(
        {
            {"%t%", R"(C:\x\100%%.txt)", "", R"(C:\x\100%%.txt)"},
            {"%n%", R"(C:\x\%phTemp%.txt)", "", "%phTemp%.txt"},
            {"%t%", R"(C:\x\a%n%b%dt%.txt)", R"(D:\y)", R"(C:\x\a%n%b%dt%.txt)"},
            {"%n% %t%", R"(C:\x\%t%.txt)", "", R"(%t%.txt C:\x\%t%.txt)"},
            {"%p%%n%", R"(C:\%%\%SystemRoot%)", "", R"(C:\%%\%SystemRoot%)"},
            {"%dt%", "", R"(D:\%t%%%)", R"(D:\%t%%%)"},
            {"50%% of %n%", R"(C:\x\a%%.txt)", "", "50% of a%%.txt"},
        },
        true);
}

TEST_F(FileParameters, EachPathPlaceholder)
{
    ExpectExpansions(
        {
            {"%phOper%|%SystemRoot%", "", "", GetOperatorPath() + "|" + GetOperatorPath()},
            {"%phSys%|%phTemp%", "", "", GetSystemPath() + "|" + GetTempPathA()},
            {"%phDesk%|%phDocs%|%phFavor%", "", "",
             GetDesktopPath() + "|" + GetDocumentsPath() + "|" + GetFavoritesPath()},
            {"%phProgLinks%|%phProgFiles%|%ProgramFiles%", "", "",
             GetProgramLinksPath() + "|" + GetProgramFilesPath() + "|" + GetProgramFilesPath()},
            // Columns 1 and 2 list folders; column 3 lists the drives, and column 10 is
            // not shown.
            {"%phCol1%|%phCol2%|%phCol3%|%phCol10%", "", "", Drive.Path("c0\\") + "|" + Drive.Path("c1\\") + "||"},
            // "%%" is "%" before any other placeholder is looked for.
            {"%%|%%%%|%%phOper%", "", "", "%|%%|" + GetOperatorPath()},
            {"%phoper%|%PHTEMP%", "", "", "%phoper%|%PHTEMP%"},
        },
        true);
    EXPECT_EQ(GetOperatorPath(), ExpandPathParameters("%%phOper%"));
    EXPECT_EQ(Drive.Path("c1\\") + "x%t%", ExpandPathParameters("%phCol2%x%t%"));
}

// "%t_cl%" and "%r_cl%" put the selection of the column last pressed with the mouse on the
// clipboard: titles, or the targets of links. Only their first occurrence is used.
TEST_F(FileParameters, ClipboardPlaceholdersCopyTheSelectionOfTheDragSourceColumn)
{
    MakeFile("c0/c.txt");
    CopyFileAsLink(Drive.Path("docs\\report.txt"), Drive.Path("c0\\d.lnk"), false, "", false, false);
    Open(Board[0], Drive.Path("c0\\a.txt"));
    Mouse.GetPressRecord().DragSourceColumn = 0;
    Board[0].SelectItem(Board[0].IndexOfName("c.txt"));
    Board[0].SelectItem(Board[0].IndexOfName("d.lnk"));

    EXPECT_EQ("run  %t_cl%", ExpandFileParameters("run %t_cl% %t_cl%", "", ""));
    EXPECT_EQ(Drive.Path("c0\\d.lnk") + "\r\n" + Drive.Path("c0\\c.txt") + "\r\n", CopyTextFromClipboard())
        << "in list order";

    EXPECT_EQ("%r_cl%", ExpandFileAndPathParameters("%r_cl%%r_cl%", "", ""));
    EXPECT_EQ(Drive.Path("docs\\report.txt") + "\r\n" + Drive.Path("c0\\c.txt") + "\r\n", CopyTextFromClipboard());

    Board[0].Com_DeselectAll();
    ExpandFileParameters("%t_cl%", "", "");
    EXPECT_EQ(Drive.Path("c0\\a.txt") + "\r\n", CopyTextFromClipboard()) << "no selection: the focused item";
}

TEST_F(FileParameters, AClipboardPlaceholderInANameLeavesTheClipboardAlone)
{
    Mouse.GetPressRecord().DragSourceColumn = 0;
    CopyTextToClipboard("untouched", "", false, false);
    const std::string source = R"(C:\x\a%t_cl%b%r_cl%.txt)";
    EXPECT_EQ(source, ExpandFileAndPathParameters("%t%", source, ""));
    EXPECT_EQ("untouched", CopyTextFromClipboard());

    Mouse.GetPressRecord().DragSourceColumn = -1;
    EXPECT_EQ("x", ExpandFileParameters("%t_cl%x", "", "")) << "no column was pressed";
    EXPECT_EQ("untouched", CopyTextFromClipboard());
}

} // namespace
