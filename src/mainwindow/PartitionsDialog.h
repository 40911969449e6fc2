#pragma once

#include <QMenu>

#include <cstdint>
#include <functional>
#include <string>

// Fills a submenu with the drives, headed by an item that opens the directory tree
// navigator, and hands a click to one of two closures: one that shows a path, one that runs
// an operation towards it. The "Tree navigator" item hands the empty path.
class TPartitionsDialog
{
public:
    using TShowPath = std::function<void(const std::string& path)>;
    using TOperation = std::function<void(const std::string& path, const std::string& operation)>;

    TShowPath OnShowPath;
    TOperation OnOperation;

    // Refills the submenu for the mode ("Show", "Copy", "Convert picture" or "Move", in any
    // letter case); any other mode leaves the items without a command. Each item's tag, in
    // its data, is its drive number (A = 1), 0 for the navigator and -1 for the separator.
    // Traced.
    void SetupMenu(QMenu& menu, const std::string& mode);

    // The path of a tag: "" for the navigator, else the drive's root ("C:\").
    static std::string GetTagPath(int32_t tag);

    void ShowClick(int32_t tag) const;
    void CopyClick(int32_t tag) const;
    void ConvertPictureClick(int32_t tag) const;
    void MoveClick(int32_t tag) const;

private:
    using TClick = void (TPartitionsDialog::*)(int32_t tag) const;
    static TClick GetModeClick(const std::string& mode);
    void Operate(int32_t tag, const std::string& operation) const;
};
