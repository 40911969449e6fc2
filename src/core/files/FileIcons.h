#pragma once

#include <QImage>

#include <memory>
#include <string>

// The file whose own icon stands for the item: a link is first replaced by what it refers
// to; that name when its extension is ".cur" or ".exe" (any letter case), else "".
std::string GetIconSourceFile(const std::string& name);

// The first icon of the icon source of the file (the largest image of an ".exe" file's
// first icon group, or of a ".cur" file); none when there is no source or no icon in it.
std::unique_ptr<QImage> ExtractFileIcon(const std::string& name);
