#include "columns/InformationBar.h"
#include "columns/Column.h"

#include "core/errors/Error.h"
#include "core/files/FileOperations.h"
#include "core/files/LinkFile.h"

#include "host/Drives.h"

#include "ColumnTestSupport.h"
#include "FakeColumnServices.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

// 7 March 2005, 14:05:09 in universal time, as the modified field shows it.
constexpr time_t March2005 = 1110204309;
const std::string March2005Text = "Monday, March 7, 2005 (66); 2:05:09 PM (507)";

// A folder "d" of three folders, two programs and five generic files of 5 bytes each,
// all modified in March 2005; times are shown in universal time.
class InformationBar : public ColumnTest
{
protected:
    InformationBar() { FileUnitLoader.LocalTime = false; }
    ~InformationBar() override { FileUnitLoader.LocalTime = true; }

    void SetUp() override
    {
        for (const char* folder : {"s1", "s2", "s3"})
            MakeDirectory(std::string("d/") + folder);
        for (const char* file : {"p1.exe", "p2.exe", "g1.bin", "g2.bin", "g3.bin", "g4.bin", "g5.bin"})
            MakeDatedFile(std::string("d/") + file);
    }

    void MakeDatedFile(const std::string& relative) const
    {
        Drive.WriteFile(relative, "12345");
        SetDate(relative);
    }
    void SetDate(const std::string& relative) const
    {
        const timespec times[2] = {{March2005, 0}, {March2005, 0}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath(relative).c_str(), times, AT_SYMLINK_NOFOLLOW));
    }

    // A column focused on the title, its bars filled.
    TColumn& ShowOn(const std::string& title)
    {
        TColumn& column = Owned.empty() ? MakeColumn() : *Owned.back();
        Open(column, title);
        column.ShowInfo();
        return column;
    }

    // Every field named holds its caption, and its hint is its base hint and the caption.
    void ExpectFields(const std::vector<std::pair<TInfoField, std::string>>& fields)
    {
        for (const auto& [field, caption] : fields) {
            EXPECT_EQ(caption, Bars.Caption(field)) << GetInfoFieldLabel(field);
            EXPECT_EQ(GetInfoFieldBaseHint(field) + caption, Bars.Hint(field)) << GetInfoFieldLabel(field);
        }
    }

    TFakeInfoBars Bars;
};

TEST_F(InformationBar, AFileShowsTheColumnsFiguresAndItsOwnEntry)
{
    ProgramOptions.ShowFilesGroup = false;
    TColumn& column = ShowOn(Drive.Path("d\\p1.exe"));
    ASSERT_EQ(3, column.FileList->FocusIndex);
    const std::string files = "Files 10";
    EXPECT_EQ(files, Bars.Caption(ifFiles));
    EXPECT_EQ(GetInfoFieldBaseHint(ifFiles) + files + " (Directories 3; Links 0; Programs 2; Documents 0; Invisible 5)",
              Bars.Hint(ifFiles));
    ExpectFields({
        {ifEncrypted, "Encrypted 0"},
        {ifSelectedCount, "SelNum 0"},
        {ifSelectedSize, "SelSz 0 B"},
        {ifTotalSize, "TotalSz 35 B"},
        {ifIndex, "Index 4"},
        {ifSize, "Sz 5 B (0 B)"},
        {ifAttributes, "Attr A"},
        {ifHardLinks, "HL 1"},
        {ifStreams, "SC 0"},
        {ifTitle, "Title \"" + Drive.Path("d\\p1.exe") + "\""},
        {ifModified, "Mod " + March2005Text},
        {ifDescription, "Desc \"\""},
        {ifReferenceTitle, "Not a link"},
        {ifReferenceType, ""},
        {ifReferenceParameters, ""},
    });
    EXPECT_EQ(0u, Bars.Caption(ifPartitionSize).find("PartSz ")) << Bars.Caption(ifPartitionSize);
    EXPECT_NE(std::string::npos, Bars.Caption(ifPartitionSize).find(" ("));
    EXPECT_EQ(0u, Bars.Caption(ifPartitionAttributes).find("PartAttr "));

    ProgramOptions.ShowFilesGroup = true;
    column.SelectItem(3);
    column.ShowInfo();
    EXPECT_EQ("SelNum 1", Bars.Caption(ifSelectedCount));
    EXPECT_EQ("SelSz 5 B", Bars.Caption(ifSelectedSize));
    EXPECT_EQ("; Generic 5)", Bars.Hint(ifFiles).substr(Bars.Hint(ifFiles).size() - 12));
}

TEST_F(InformationBar, AFolderShowsItsEntryAndAVanishedFileQuestionMarks)
{
    SetDate("d/s2");
    ShowOn(Drive.Path("d\\s2"));
    ExpectFields({
        {ifIndex, "Index 2"},
        {ifSize, "Sz 0 B (0 B)"},
        {ifAttributes, "Attr none"},
        {ifStreams, "SC 0"},
        {ifModified, "Mod " + March2005Text},
        {ifReferenceTitle, "Not a link"},
    });

    TColumn& column = ShowOn(Drive.Path("d\\p2.exe"));
    Remove("d/p2.exe");
    column.ShowInfo();
    ExpectFields({
        {ifSize, "Sz ?"},
        {ifAttributes, "Attr ?"},
        {ifHardLinks, "HL 0"},
        {ifModified, "Mod Monday, January 1, 1601 (1); 12:00:00 AM (0)"},
        {ifReferenceTitle, "Not a link"},
    });
}

TEST_F(InformationBar, ADescriptionStreamShowsOnOneLineAndExtendsTheTitleHint)
{
    if (const std::string reason = StreamsUnsupportedReason(Drive.HostPath()); !reason.empty())
        GTEST_SKIP() << reason;
    const std::string description = "first\r\nsecond\nthird";
    ASSERT_EQ(0, setxattr(Drive.HostPath("d/p1.exe").c_str(), "user.Description", description.data(),
                          description.size(), 0));
    ShowOn(Drive.Path("d\\p1.exe"));
    const std::string shown = "Desc \"first second third\"";
    const std::string title = "Title \"" + Drive.Path("d\\p1.exe") + "\"";
    ExpectFields({{ifDescription, shown}, {ifSize, "Sz 5 B (19 B)"}, {ifStreams, "SC 1"}});
    EXPECT_EQ(title, Bars.Caption(ifTitle));
    EXPECT_EQ(GetInfoFieldBaseHint(ifTitle) + title + " \x7F  \x7F " + GetInfoFieldBaseHint(ifDescription) + shown,
              Bars.Hint(ifTitle));
}

TEST_F(InformationBar, ALinkShowsItsTargetAndTheDescriptionItHolds)
{
    TLinkFile link;
    link.Target = Drive.Path("d\\p1.exe");
    link.Arguments = "-x \"y z\"";
    link.WorkingFolder = Drive.Path("d\\s1");
    link.Description = "Opens\r\np1";
    link.Save(Drive.Path("d\\l.lnk"), false);
    ASSERT_EQ(fsPerfect, FunStatContext.Status);
    TLinkFile broken;
    broken.Target = Drive.Path("d\\gone.txt");
    broken.Save(Drive.Path("d\\broken.lnk"), false);
    ASSERT_EQ(fsPerfect, FunStatContext.Status);

    ShowOn(Drive.Path("d\\l.lnk"));
    const std::string description = "Desc \"Opens p1\"";
    const std::string title = "Title \"" + Drive.Path("d\\l.lnk") + "\"";
    ExpectFields({
        {ifReferenceType, "Type P"},
        {ifReferenceSize, "Sz 5 B (0 B)"},
        {ifReferenceAttributes, "Attr A"},
        {ifReferenceTitle, "Title \"" + Drive.Path("d\\p1.exe") + "\""},
        {ifReferenceModified, "Mod " + March2005Text},
        {ifReferenceParameters, "Param -x \"y z\""},
        {ifReferenceWorkingDirectory, "Work " + Drive.Path("d\\s1")},
        {ifDescription, description},
    });
    EXPECT_EQ(GetInfoFieldBaseHint(ifTitle) + title + " \x7F LINK TARGET \x7F " + GetInfoFieldBaseHint(ifDescription) +
                  description,
              Bars.Hint(ifTitle))
        << "the title's hint names the link's description";

    ShowOn(Drive.Path("d\\broken.lnk"));
    ExpectFields({
        {ifReferenceType, "Type ?"},
        {ifReferenceSize, "Sz ?"},
        {ifReferenceAttributes, "Attr ?"},
        {ifReferenceTitle, "Title \"" + Drive.Path("d\\gone.txt") + "\""},
        {ifReferenceModified, "Mod ?"},
        {ifReferenceParameters, "Param none"},
        {ifReferenceWorkingDirectory, "Work none"},
        {ifDescription, "Desc \"\""},
    });

    // Neither the description bar nor the reference bar is shown: the link is not read.
    Bars.ReferenceBarsShown = false;
    ShowOn(Drive.Path("d\\l.lnk"));
    ExpectFields({{ifReferenceTitle, ""}, {ifReferenceType, ""}, {ifDescription, "Desc \"\""}});
}

TEST_F(InformationBar, ADriveIsReadOnlyWhenItAnswersQuickly)
{
    TFakeMountTable mounts;
    mounts.Add(Drive.HostPath(), "ext4", "/dev/sda1");
    MakeDirectory("net");
    mounts.Add(Drive.HostPath("net"), "cifs", "//srv/docs");
    host::MapDrive('R', Drive.HostPath("net"));

    TColumn& column = ShowOn("T:");
    ASSERT_EQ("T:", column.ActiveTitle);
    EXPECT_EQ(0u, Bars.Caption(ifPartitionSize).find("PartSz "));
    ExpectFields({
        {ifTitle, "Title \"T:\""},
        {ifIndex, "Index " + std::to_string(column.FileList->FocusIndex + 1)},
        {ifAttributes, "Attr none"},
    });

    ShowOn("R:");
    ASSERT_EQ("R:", column.ActiveTitle);
    EXPECT_EQ("Files " + std::to_string(column.DirsCount), Bars.Caption(ifFiles));
    ExpectFields({
        {ifTitle, "Title \"R:\""},
        {ifPartitionSize, ""},
        {ifIndex, ""},
        {ifSize, ""},
        {ifDescription, ""},
        {ifReferenceTitle, ""},
    });
}

} // namespace
