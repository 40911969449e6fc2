#pragma once

#include "core/forms/ModalSeam.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The test program's own temporary root (HOME and the XDG folders live below it).
const std::string& TestRootHostPath();

// A fresh temporary folder mapped to a drive letter for the life of the object.
class TTempDrive
{
public:
    // The folder is made below `baseHostFolder` (default: the test root), so a test can
    // put a drive on another file system, such as /dev/shm.
    explicit TTempDrive(char letter = 'T', const std::string& baseHostFolder = {});
    ~TTempDrive();
    TTempDrive(const TTempDrive&) = delete;
    TTempDrive& operator=(const TTempDrive&) = delete;

    // "T:\relative" (backslashes) and the host path of the same place.
    std::string Path(const std::string& relative = {}) const;
    std::string HostPath(const std::string& relative = {}) const;
    void WriteFile(const std::string& relative, const std::string& content) const;
    std::string ReadFile(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    char Letter;
    std::string Root;
};

// Stands in for the system's mount table while it lives; it starts with "/" as ext4.
class TFakeMountTable
{
public:
    TFakeMountTable();
    ~TFakeMountTable();
    TFakeMountTable(const TFakeMountTable&) = delete;
    TFakeMountTable& operator=(const TFakeMountTable&) = delete;

    // Mounts a file system of the type on a host folder (after all earlier ones).
    void Add(const std::string& hostFolder, const std::string& type, const std::string& source = "none",
             const std::string& options = "rw");

private:
    std::string File;
    std::string Text;
    int Entries = 0;
};

// One host name for each byte that a Windows name cannot hold: "x" + byte + "y" for the
// control characters 1-31 and \ : * ? < > | ".
std::vector<std::string> HostNamesWithForeignBytes();

// Why the file system of a host folder cannot hold named streams (user extended
// attributes), or "" when it can: tests of streams skip with this reason.
std::string StreamsUnsupportedReason(const std::string& hostFolder);

// A ramfs mounted on a fresh folder while it lives: a real file system that holds no
// user extended attributes and reports no size at all. Mounting needs the right to
// mount; tests skip with `SkipReason()` where the machine refuses it.
class TRamFileSystem
{
public:
    TRamFileSystem();
    ~TRamFileSystem();
    TRamFileSystem(const TRamFileSystem&) = delete;
    TRamFileSystem& operator=(const TRamFileSystem&) = delete;

    // "" when mounted.
    const std::string& SkipReason() const { return Refusal; }
    const std::string& HostPath() const { return Folder; }

private:
    std::string Folder;
    std::string Refusal;
};

// Answers modal dialogs and message boxes in the order they are expected; any request
// beyond the script fails the test at once and is cancelled.
class TModalScript
{
public:
    TModalScript();
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // The next request must carry this caption; `act` may drive the dialog first.
    TModalScript& Expect(const std::string& caption, int answer, std::function<void(const TModalRequest&)> act = {});
    const std::vector<TModalRequest>& Seen() const { return SeenRequests; }

private:
    struct Step
    {
        std::string Caption;
        int Answer;
        std::function<void(const TModalRequest&)> Act;
    };
    // A deque, so that an act may add steps (a dialog whose button raises further boxes)
    // while its own step is being run.
    std::deque<Step> Steps;
    size_t Next = 0;
    std::vector<TModalRequest> SeenRequests;
};

// Every beep sounded since the test began (0 default, 48 exclamation).
std::vector<uint32_t>& BeepsHeard();
