#include "support/TestSupport.h"

#include "host/Drives.h"
#include "host/MountTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

int TempDriveCounter = 0;

} // namespace

TTempDrive::TTempDrive(char letter, const std::string& baseHostFolder) : Letter(letter)
{
    const std::string base = baseHostFolder.empty() ? TestRootHostPath() : baseHostFolder;
    Root = base + "/quillomber-drive-" + std::to_string(getpid()) + "-" + std::to_string(++TempDriveCounter);
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Root);
    host::MapDrive(Letter, Root);
}

TTempDrive::~TTempDrive()
{
    host::UnmapDrive(Letter);
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

std::string TTempDrive::Path(const std::string& relative) const
{
    std::string path = std::string(1, Letter) + ":\\" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string TTempDrive::HostPath(const std::string& relative) const
{
    std::string path = relative;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path.empty() ? Root : Root + "/" + path;
}

void TTempDrive::WriteFile(const std::string& relative, const std::string& content) const
{
    const std::filesystem::path path = HostPath(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string TTempDrive::ReadFile(const std::string& relative) const
{
    std::ifstream file(HostPath(relative), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool TTempDrive::Exists(const std::string& relative) const
{
    return std::filesystem::exists(std::filesystem::symlink_status(HostPath(relative)));
}

TFakeMountTable::TFakeMountTable() : File(TestRootHostPath() + "/mountinfo")
{
    Add("/", "ext4", "/dev/vda");
    host::SetMountInfoFile(File);
}

TFakeMountTable::~TFakeMountTable()
{
    host::SetMountInfoFile({});
    std::filesystem::remove(File);
}

void TFakeMountTable::Add(const std::string& hostFolder, const std::string& type, const std::string& source,
                          const std::string& options)
{
    ++Entries;
    std::string escapedFolder;
    for (char c : hostFolder)
        escapedFolder += c == ' ' ? std::string("\\040") : std::string(1, c);
    Text += std::to_string(Entries + 20) + " 1 0:" + std::to_string(Entries + 100) + " / " + escapedFolder + " " +
            options + " shared:1 - " + type + " " + source + " " + options + "\n";
    std::ofstream(File, std::ios::binary | std::ios::trunc) << Text;
}

std::vector<std::string> HostNamesWithForeignBytes()
{
    std::string bytes = "\\:*?<>|\"";
    for (char byte = 1; byte < 32; ++byte)
        bytes += byte;
    std::vector<std::string> names;
    for (char byte : bytes)
        names.push_back(std::string("x") + byte + "y");
    return names;
}

std::string StreamsUnsupportedReason(const std::string& hostFolder)
{
    const std::string probe = hostFolder + "/.streams-probe";
    std::ofstream(probe).put('x');
    const int result = setxattr(probe.c_str(), "user.probe", "x", 1, 0);
    const int error = errno;
    std::filesystem::remove(probe);
    if (result == 0)
        return {};
    return "user extended attributes are not available in " + hostFolder + ": " + std::strerror(error);
}

TRamFileSystem::TRamFileSystem()
    : Folder(TestRootHostPath() + "/quillomber-ramfs-" + std::to_string(getpid()) + "-" +
             std::to_string(++TempDriveCounter))
{
    std::filesystem::create_directories(Folder);
    if (mount("none", Folder.c_str(), "ramfs", 0, nullptr) != 0)
        Refusal = "a ramfs cannot be mounted here: " + std::string(std::strerror(errno));
}

TRamFileSystem::~TRamFileSystem()
{
    // Detached, so a file still open elsewhere cannot keep the mount behind.
    if (Refusal.empty())
        umount2(Folder.c_str(), MNT_DETACH);
    std::error_code ignored;
    std::filesystem::remove(Folder, ignored);
}

TModalScript::TModalScript()
{
    SetModalAnswerer([this](const TModalRequest& request) {
        SeenRequests.push_back(request);
        if (Next >= Steps.size()) {
            ADD_FAILURE() << "Unexpected modal request \"" << request.Caption << "\": " << request.Text;
            return request.Dialog ? 0 : IDCANCEL;
        }
        const Step& step = Steps[Next++];
        EXPECT_EQ(step.Caption, request.Caption) << request.Text;
        if (step.Act)
            step.Act(request);
        return step.Answer;
    });
}

TModalScript::~TModalScript()
{
    EXPECT_EQ(Next, Steps.size()) << "Expected modal requests were never made";
    SetModalAnswerer(nullptr);
}

TModalScript& TModalScript::Expect(const std::string& caption, int answer,
                                   std::function<void(const TModalRequest&)> act)
{
    Steps.push_back(Step{caption, answer, std::move(act)});
    return *this;
}
