#pragma once

#include "core/Seam.h"

#include <string>
#include <vector>

class QComboBox;

// A list of file-name extensions with their dots (".jpg"), kept sorted ignoring case,
// each entry once whatever its letter case.
class TFileExtensionList
{
public:
    void Add(const std::string& extension);
    // Removes the entry in any letter case; a missing one changes nothing.
    void Remove(const std::string& extension);
    // The list becomes the given entries, sorted and without repeats.
    void Assign(const std::vector<std::string>& extensions);
    void Clear();
    const std::vector<std::string>& Entries() const { return Items; }
    // True when the name's extension, dot included, is an entry.
    bool HoldsExtensionOf(const std::string& fileName) const;
    // "*" before each entry and ";" between them, in list order: "*.log;*.txt".
    std::string AsFilter() const;

private:
    std::vector<std::string> Items;
};

// The user's file kinds; the main window fills them from the option file.
extern TFileExtensionList PictureFileExtensions;
extern TFileExtensionList AudioFileExtensions;
extern TFileExtensionList VideoFileExtensions;
extern TFileExtensionList TextFileExtensions;
extern TFileExtensionList ProgramFileExtensions;
extern TFileExtensionList DocumentFileExtensions;

bool IsPictureFile(const std::string& fileName);
bool IsAudioFile(const std::string& fileName);
bool IsVideoFile(const std::string& fileName);
bool IsTextFile(const std::string& fileName);
bool IsProgramFile(const std::string& fileName);
bool IsDocumentFile(const std::string& fileName);
// Takes an extension with its dot, not a file name: ".mpl" in any letter case.
bool IsMediaPlayListFile(const std::string& extension);

std::string GetTextExtensionsAsFilter();
std::string GetAudioExtensionsAsFilter();
std::string GetVideoExtensionsAsFilter();

// What the file-type filters need of the imaging services, which implement it and
// install it once they exist.
class TPictureDecoders
{
public:
    virtual ~TPictureDecoders() = default;
    // The name patterns of every picture decoder, joined with ";"; empty without any.
    virtual std::string GetPictureExtensionsAsFilter() = 0;
};

// Until the imaging services install themselves, the stand-in knows no decoder.
template <>
TPictureDecoders& TSeam<TPictureDecoders>::StandIn();

// The filter that the text names ("All files", "Text files", "Picture files",
// "Movie files" or "Video files", "Music files" or "Audio files", "No backup files",
// in any letter case), or the text itself as typed. `predefined` (may be null) tells
// which it was.
std::string GetFilterFromText(const std::string& text, bool* predefined);
// The same for the combo box's current text.
std::string GetFilterFromComboBox(const QComboBox& comboBox, bool* predefined);
