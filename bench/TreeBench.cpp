// Expands a folder of 20,000 sub-folders in the directory tree and times it against
// find DIR -maxdepth 1 -type d > /dev/null on the same folder, in the same run.
//
// The data, made in a scratch folder (TMPDIR, else /tmp; the file-system type is printed
// and tmpfs is warned about) mapped to "B:" and removed at the end: "Big" holding 20,000
// sub-folders with mixed-case names, each with three small files, every tenth with a
// sub-folder of its own.
//
// Ours: the tree as the window's panel has it (300 x 600, offscreen, every row painted by
// its custom draw), timed from the expansion of "Big" (listing, sorting, nodes) until the
// view has painted (layout, the marks of the rows shown, the paint). The collapse is timed
// too. One untimed expansion and one untimed find warm the cache; the best of five runs of
// each side is printed, then the ratio find / ours: 1 or more is at least as fast as find.

#include "BenchSupport.h"

#include "mainwindow/DirectoryTree.h"

#include "host/Drives.h"

#include <QApplication>
#include <QWindow>

#include <sys/vfs.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

constexpr int FolderCount = 20000;
constexpr int FilesPerFolder = 3;
constexpr int Runs = 5;
constexpr long TmpfsMagic = 0x01021994;

const char* FileSystemName(const std::string& folder)
{
    struct statfs info = {};
    if (statfs(folder.c_str(), &info) != 0)
        return "unknown";
    switch (static_cast<long>(info.f_type)) {
    case 0xEF53:
        return "ext2/3/4";
    case 0x9123683E:
        return "btrfs";
    case 0x58465342:
        return "xfs";
    case TmpfsMagic:
        return "tmpfs";
    case 0x794C7630:
        return "overlayfs";
    default:
        return "other";
    }
}

// Mixed case: "Fold00012", "fOLD00013", ...
std::string FolderName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%05d", i % 3 == 0 ? "Fold" : i % 3 == 1 ? "fOLD" : "fold", i);
    return name;
}

void MakeData(const std::string& big)
{
    for (int i = 0; i < FolderCount; ++i) {
        const std::string folder = big + "/" + FolderName(i);
        fs::create_directories(folder);
        for (int f = 0; f < FilesPerFolder; ++f)
            std::ofstream(folder + "/file" + std::to_string(f) + ".txt") << "small file " << i;
        if (i % 10 == 0)
            fs::create_directory(folder + "/Sub");
    }
}

double SecondsOf(const std::function<void()>& work)
{
    const TClock::time_point start = TClock::now();
    work();
    return std::chrono::duration<double>(TClock::now() - start).count();
}

double BestOf(const std::function<double()>& run)
{
    double best = run();
    for (int i = 1; i < Runs; ++i)
        best = std::min(best, run());
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::string scratch = MakeScratchFolder("quillomber-tree-bench");
    if (scratch.empty()) {
        std::fprintf(stderr, "No scratch folder.\n");
        return 1;
    }
    const char* type = FileSystemName(scratch);
    std::printf("Scratch folder %s on %s\n", scratch.c_str(), type);
    if (std::string(type) == "tmpfs")
        std::printf("Warning: tmpfs holds everything in memory; set TMPDIR to a folder on a disk.\n");
    const std::string big = scratch + "/Big";
    MakeData(big);
    host::MapDrive('B', scratch);

    TTreeView tree;
    tree.resize(300, 600);
    tree.OnExpanding = [&tree](QTreeWidgetItem& node, bool& allow) { TreeNodeExpanding(tree, node, allow); };
    tree.OnCollapsed = [&tree](QTreeWidgetItem& node) { TreeNodeCollapsed(tree, node); };
    int paintedRows = 0;
    tree.OnCustomDraw = [&tree, &paintedRows](QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state) {
        DrawTreeNode(tree, canvas, node, state, TTreePaintStyle());
        ++paintedRows;
    };
    tree.show();
    while (tree.windowHandle() == nullptr || !tree.windowHandle()->isExposed())
        QApplication::processEvents();
    LoadTreeWithPartitions(tree);
    QTreeWidgetItem* root = FindTreeRootNode(tree, "B:");
    if (root == nullptr || !ExpandTreeNode(*root)) {
        std::fprintf(stderr, "No drive B:.\n");
        return 1;
    }
    QTreeWidgetItem* node = FindTreeChildNode(*root, "Big");
    const auto expand = [&] {
        ExpandTreeNode(*node);
        tree.viewport()->repaint();
    };
    const auto collapse = [&] {
        node->setExpanded(false);
        tree.viewport()->repaint();
    };
    const std::vector<std::string> find = {"sh", "-c", "find '" + big + "' -maxdepth 1 -type d > /dev/null"};

    expand();
    const int children = node->childCount();
    const int rowsPerPaint = std::exchange(paintedRows, 0);
    collapse();
    RunProgram(find);

    double collapseSeconds = 1e9;
    const double ours = BestOf([&] {
        const double seconds = SecondsOf(expand);
        collapseSeconds = std::min(collapseSeconds, SecondsOf(collapse));
        return seconds;
    });
    const double theirs = BestOf([&] { return SecondsOf([&] { RunProgram(find); }); });

    std::printf("Children listed: %d, rows painted: %d\n", children, rowsPerPaint);
    std::printf("Expand and paint (best of %d): %.2f ms\n", Runs, ours * 1000);
    std::printf("Collapse and paint (best of %d): %.2f ms\n", Runs, collapseSeconds * 1000);
    std::printf("find -maxdepth 1 -type d (best of %d): %.2f ms\n", Runs, theirs * 1000);
    std::printf("Ratio find / ours: %.2f (target 3)\n", theirs / ours);
    host::UnmapDrive('B');
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return 0;
}
