#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A container: a user-ordered list of full paths of files and folders, held apart from
// the folders they lie in and kept in a text file of its own, "01.txt" to "20.txt" in the
// containers folder beside the program. The file holds one path per line, each ended by
// CR LF, in the entries' order; the item numbers are not stored.

// The number that the search gives a found entry; 0 for every other entry.
struct TContainerItemData
{
    int32_t ItemNumber = 0;
};

struct TContainerItem
{
    std::string Path;
    TContainerItemData Data;
};

class TContainer
{
public:
    explicit TContainer(int32_t index);

    int32_t Index() const { return OwnIndex; }
    // The user's name; empty shows the container by its number.
    std::string Name;
    // The entries in the user's order: never empty paths, never drive names.
    const std::vector<TContainerItem>& Items() const { return Entries; }
    int32_t Count() const { return static_cast<int32_t>(Entries.size()); }

    void Clear() { Entries.clear(); }
    // "07.txt" for container 6.
    std::string GetFileName() const;
    // The name, or the number from 1 when it has none.
    std::string GetDisplayName() const;

    // Appends the entries of the container file to those held; a missing file holds none.
    // Traced; a file that cannot be read fails with status 2 and adds nothing.
    void Load();
    // Writes every entry to the container file, replacing it whole only once the new
    // content is complete. Traced; a failure leaves the old file and the entries as they
    // were. A file whose last load failed is never written: it may hold what the user has.
    void Save() const;

    // The new entry's index, or -1 for an empty path or a drive name, which are not added.
    int32_t AddItem(const std::string& path, int32_t itemNumber);
    // Inserts at the index (0 when negative), skipping an empty path or a drive name; an
    // index past the end throws EError.
    bool InsertItem(int32_t index, const std::string& path);
    // Throws EError for an index outside the entries.
    void DeleteItem(int32_t index);
    // The path stands in the container twice or more, letter case ignored.
    bool IsDuplicateItem(const std::string& path) const;
    // Gives the entry a new path and keeps its item number. Traced: "Invalid file title."
    // for a path with one of < > | * ? "; a Panic, shown at once, when the expected old
    // path is given and differs from the entry's path in any byte.
    void RenameItem(int32_t index, const std::string& newPath, const std::string& expectedOldPath);

private:
    std::string GetFilePath() const;
    TContainerItem& EntryAt(int32_t index);

    int32_t OwnIndex;
    std::vector<TContainerItem> Entries;
    bool LoadFailed = false;
};

inline constexpr int32_t ContainerCount = 20;
// The longest name, in bytes, that the option file keeps.
inline constexpr int32_t MaxContainerNameLength = 255;

// The program's twenty containers, numbered 0 to 19, empty and unnamed when built.
class TContainers
{
public:
    TContainers();

    // The container of the number, or null outside 0 to 19: numbers come back from stored
    // boards, and one that no container bears is ignored rather than trusted.
    TContainer* Find(int32_t index);

    // Reads every container file at start-up, going on past a file that cannot be read;
    // the first such failure is shown, naming the file.
    void LoadAll();
    // Rewrites every container file at shutdown, going on past a file that cannot be
    // written; the first such failure is shown, so no entries are lost without a word.
    void SaveAll() const;

private:
    std::vector<TContainer> List;
};
