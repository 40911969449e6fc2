#include "columns/FileLauncher.h"
#include "columns/History.h"
#include "columns/MediaPlayerServices.h"

#include "core/errors/Error.h"
#include "core/files/LinkFile.h"

#include "host/LastError.h"

#include "support/RecordingLauncher.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

using TArguments = std::vector<std::string>;

class TRecordingMediaPlayer : public TMediaPlayerServices
{
public:
    TRecordingMediaPlayer() { TSeam<TMediaPlayerServices>::Install(this); }
    ~TRecordingMediaPlayer() override { TSeam<TMediaPlayerServices>::Install(nullptr); }
    TRecordingMediaPlayer(const TRecordingMediaPlayer&) = delete;
    TRecordingMediaPlayer& operator=(const TRecordingMediaPlayer&) = delete;

    void PlayMPL(const std::string& playListFile, const std::string& lastTitle, int64_t position) override
    {
        Played.push_back(playListFile + "|" + lastTitle + "|" + std::to_string(position));
    }

    std::vector<std::string> Played;
};

class FileLauncherTest : public testing::Test
{
protected:
    FileLauncherTest()
    {
        FilesHistory.Clear();
        WriteScript("tool.sh", "#!/bin/sh\n");
        fs::create_directories(Drive.HostPath("work"));
        fs::create_directories(Drive.HostPath("folder"));
    }
    ~FileLauncherTest() override
    {
        FilesHistory.Clear();
        DangereousFileMode = true;
    }

    void WriteScript(const std::string& name, const std::string& content) const
    {
        Drive.WriteFile(name, content);
        fs::permissions(Drive.HostPath(name), fs::perms(0755));
    }

    void MakeLink(const std::string& name, const std::string& target, const std::string& arguments,
                  const std::string& workingFolder = {}) const
    {
        TLinkFile link;
        link.Target = Drive.Path(target);
        link.Arguments = arguments;
        link.WorkingFolder = workingFolder;
        link.Save(Drive.Path(name), true);
        ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    }

    std::string NewestStarted() const
    {
        return FilesHistory.Count > 0 ? FilesHistory.Titles[static_cast<size_t>(FilesHistory.Count - 1)] : "";
    }

    TTempDrive Drive{'T'};
};

class FileLauncherRecorded : public FileLauncherTest
{
protected:
    TRecordingLauncher Launcher;
    TRecordingMediaPlayer Player;
};

// A link to a program is a command template: its arguments are expanded with the source
// and destination given, and its target runs with them and nothing else.
TEST_F(FileLauncherRecorded, ALinkToAProgramRunsItsTargetWithItsExpandedArguments)
{
    MakeLink("with args.lnk", "tool.sh", "%t% \"%dp%%n-e%.bak\"", Drive.Path("work"));
    MakeLink("bare.lnk", "tool.sh", "");
    Drive.WriteFile("a b/c.txt", "");

    MyRunFileWithDest(Drive.Path("with args.lnk"), Drive.Path("a b\\c.txt"), Drive.Path("folder\\y"), "", "", false,
                      true);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ((TArguments{Drive.HostPath("a"), "b\\c.txt", Drive.HostPath("folder/c.bak")}),
              Launcher.Starts[0].Arguments)
        << "an unquoted placeholder splits at blanks: the link's author quotes";
    EXPECT_EQ(Drive.HostPath("work"), Launcher.Starts[0].WorkingFolder);
    EXPECT_EQ(Drive.Path("tool.sh"), NewestStarted()) << "the target is what was started";

    MyRunFile(Drive.Path("bare.lnk"), Drive.Path("a b\\c.txt"), Drive.Path("folder"), "", false, true);
    ASSERT_EQ(2u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts[1].Program);
    EXPECT_TRUE(Launcher.Starts[1].Arguments.empty()) << "a link without arguments passes none on";
    EXPECT_EQ(Drive.HostPath("folder"), Launcher.Starts[1].WorkingFolder) << "the given folder stays";
}

TEST_F(FileLauncherRecorded, ALinkToAFolderIsOpenedItselfAndAFileGetsItsParametersQuoted)
{
    CopyFileAsLink(Drive.Path("folder"), Drive.Path("folder.lnk"), false, "%t%", false, false);
    MyRunFileWithDest(Drive.Path("folder.lnk"), "ignored", "", "", "", false, true);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ("xdg-open", Launcher.Starts[0].Program);
    EXPECT_EQ(TArguments{Drive.HostPath("folder.lnk")}, Launcher.Starts[0].Arguments);
    EXPECT_EQ(Drive.Path("folder.lnk"), NewestStarted());

    MyRunFile(Drive.Path("tool.sh"), "a b", "", "", false, true);
    MyRunFile(Drive.Path("tool.sh"), "a b", "", "open", false, false);
    ASSERT_EQ(3u, Launcher.Starts.size());
    EXPECT_EQ(TArguments{"a b"}, Launcher.Starts[1].Arguments);
    EXPECT_EQ((TArguments{"a", "b"}), Launcher.Starts[2].Arguments);
}

struct TDoubleExtensionRow
{
    std::string Name;
    std::string Extension; // empty: no question
};

TEST_F(FileLauncherRecorded, ANameWithTwoExtensionsStartsOnlyWhenTheUserConfirms)
{
    const TDoubleExtensionRow rows[] = {
        {"photo.jpg.exe", "EXE"}, {"archive.tar.gz", "GZ"}, {".profile.txt", "TXT"},
        {"a.b\\plain", ""},       {"plain.sh", ""},
    };
    for (const TDoubleExtensionRow& row : rows) {
        WriteScript(row.Name, "#!/bin/sh\n");
        for (const bool confirm : {false, true}) {
            SCOPED_TRACE(row.Name + (confirm ? " confirmed" : " declined"));
            Launcher.Starts.clear();
            FilesHistory.Clear();
            TModalScript script;
            if (!row.Extension.empty())
                script.Expect("Query", confirm ? IDYES : IDNO);
            MyRunFile(Drive.Path(row.Name), "", "", "", false, true);
            EXPECT_EQ(fsPerfect, FunStatContext.Status);
            const bool started = confirm || row.Extension.empty();
            EXPECT_EQ(started ? 1u : 0u, Launcher.Starts.size());
            EXPECT_EQ(started ? Drive.Path(row.Name) : "", NewestStarted());
            if (!row.Extension.empty()) {
                EXPECT_EQ("File title \"" + Drive.Path(row.Name) + "\".\n\nFile extension \"" + row.Extension +
                              "\".\n\nThis file has more than one extension! Some computer viruses\n"
                              "use double extension to make the users think that a file is, for\n"
                              "example, an image, and thus start it. Examples: \"Photo.jpg.exe\",\n"
                              "\"Song.mp3.exe\", \"Text.doc.exe\".\n\nSTART ANYWAY?",
                          script.Seen().at(0).Text);
            }
        }
    }

    DangereousFileMode = false;
    MyRunFile(Drive.Path("photo.jpg.exe"), "", "", "", false, true);
    EXPECT_EQ(Drive.HostPath("photo.jpg.exe"), Launcher.Starts.back().Program) << "no question asked";
}

// The question is about what actually starts: a link's target.
TEST_F(FileLauncherRecorded, TheQuestionNamesTheTargetOfALink)
{
    WriteScript("song.mp3.sh", "#!/bin/sh\n");
    MakeLink("song.lnk", "song.mp3.sh", "");
    TModalScript script;
    script.Expect("Query", IDNO);
    MyRunFile(Drive.Path("song.lnk"), "", "", "", false, true);
    EXPECT_NE(std::string::npos, script.Seen().at(0).Text.find(Drive.Path("song.mp3.sh")));
    EXPECT_TRUE(Launcher.Starts.empty());
}

TEST_F(FileLauncherRecorded, APlayListGoesToTheMediaPlayerAndIsRecorded)
{
    Drive.WriteFile("songs.MPL", "");
    MakeLink("songs.lnk", "songs.MPL", "");
    MyRunFile(Drive.Path("songs.MPL"), "", "", "", false, true);
    MyRunFile(Drive.Path("songs.lnk"), "", "", "", false, true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(Launcher.Starts.empty());
    EXPECT_EQ((std::vector<std::string>{Drive.Path("songs.MPL") + "||0", Drive.Path("songs.MPL") + "||0"}),
              Player.Played);
    EXPECT_EQ(1, FilesHistory.Count) << "recorded once, as the newest";
    EXPECT_EQ(Drive.Path("songs.MPL"), NewestStarted());
}

TEST_F(FileLauncherRecorded, FailuresAreRecordedNotShown)
{
    MyRunFile(Drive.Path("missing.sh"), "", "", "", false, true);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to run file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("missing.sh"), FunStatContext.Parameter1);
    EXPECT_EQ("", FunStatContext.Parameter2);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
    EXPECT_EQ("MyRunFileWithDest", FunStatContext.RaiseFunction);

    MakeLink("gone.lnk", "tool.sh", "%t%");
    fs::remove(Drive.HostPath("tool.sh"));
    MyRunFileWithDest(Drive.Path("gone.lnk"), Drive.Path("x.txt"), "", "", "", false, true);
    EXPECT_EQ("Failed to run file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("tool.sh"), FunStatContext.Parameter1) << "the expanded target is named";

    Drive.WriteFile("broken.lnk", "not a link");
    MyRunFile(Drive.Path("broken.lnk"), "", "", "", false, true);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to load link file.", FunStatContext.Description);

    MyRunFile(Drive.Path("folder"), "", "", "Print", false, true);
    EXPECT_EQ("Failed to run file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(Launcher.Starts.empty());
}

// A real start through a link: the script writes its working folder and its arguments,
// then renames its record into place.
TEST_F(FileLauncherTest, AScriptStartedThroughALinkGetsTheExpandedArgumentsAndTheLinksWorkingFolder)
{
    WriteScript("record.sh", "#!/bin/sh\n"
                             "{ pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$0.part\"\n"
                             "mv \"$0.part\" \"$0.out\"\n");
    MakeLink("Send to backup.lnk", "record.sh", "\"%t%\" \"%dp%%n-e%.bak\" 100%%", Drive.Path("work"));
    Drive.WriteFile("in dir/c 100%%.txt", "");

    MyRunFileWithDest(Drive.Path("Send to backup.lnk"), Drive.Path("in dir\\c 100%%.txt"), Drive.Path("folder\\y"), "",
                      "", false, true);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;

    const fs::path record = Drive.HostPath("record.sh.out");
    for (int waited = 0; waited < 200 && !fs::exists(record); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(record)) << "the script never ran";
    EXPECT_EQ(fs::canonical(Drive.HostPath("work")).string() + "\n[" + Drive.HostPath("in dir/c 100%%.txt") + "]\n[" +
                  Drive.HostPath("folder/c 100%%.bak") + "]\n[100%]\n",
              Drive.ReadFile("record.sh.out"));
}

} // namespace
