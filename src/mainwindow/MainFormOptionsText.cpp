#include "mainwindow/MainForm.h"
#include "mainwindow/TreeNavigatorForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/SkinEditorServices.h"

#include "fileops/FileForm.h"
#include "fileops/LocateFileForm.h"
#include "fileops/MultiRenameItemForm.h"
#include "fileops/SearchFileForm.h"

#include "viewing/PictureLoading.h"

#include "columns/ContainerDialog.h"
#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/settings/OptionsFile.h"

#include <array>
#include <string>
#include <vector>

namespace {

const std::string MainSection = "Main";
const std::string ContainersSection = "Containers";
const std::string MediaPlayListSection = "MediaPlayList";

const std::vector<std::string> DefaultProgramExtensions = {".bat", ".com", ".cpl", ".exe", ".js", ".msc",
                                                           ".msi", ".scf", ".vbs", ".wsf", ".wsh"};
const std::vector<std::string> DefaultDocumentExtensions = {
    ".ace", ".ani",  ".arj",  ".art", ".asc", ".asf",  ".avi",   ".bkf", ".bmp",  ".bpr",  ".c",     ".cab", ".cal",
    ".cda", ".cpp",  ".crd",  ".cs",  ".csv", ".cur",  ".dhtml", ".dib", ".doc",  ".dpr",  ".dwg",   ".dxf", ".emf",
    ".eml", ".gif",  ".gpg",  ".gz",  ".h",   ".hlp",  ".hpj",   ".hpp", ".htm",  ".html", ".htt",   ".ico", ".img",
    ".imp", ".iwz",  ".jfif", ".jpg", ".jpe", ".jpeg", ".lha",   ".lzh", ".mak",  ".mid",  ".midi",  ".mov", ".mp3",
    ".mpa", ".mpeg", ".mpg",  ".mpl", ".ogg", ".pas",  ".pcx",   ".pdf", ".pfx",  ".pgp",  ".plt",   ".png", ".ppt",
    ".qt",  ".rar",  ".reg",  ".rle", ".rmi", ".rtf",  ".sda",   ".sdw", ".sgi",  ".shb",  ".shtml", ".sig", ".snd",
    ".stc", ".sxi",  ".sxd",  ".sxw", ".tar", ".tga",  ".theme", ".tif", ".tiff", ".txt",  ".url",   ".vqf", ".wav",
    ".wma", ".wmf",  ".wmv",  ".wp",  ".wpd", ".wpg",  ".wri",   ".xab", ".xls",  ".xml",  ".z",     ".zip"};
const std::vector<std::string> DefaultAudioExtensions = {".mid", ".midi", ".mp3", ".rmi", ".vqf", ".wav", ".wma"};
const std::vector<std::string> DefaultVideoExtensions = {".ani", ".asf",  ".avi", ".mov",
                                                         ".mpa", ".mpeg", ".mpg", ".wmv"};
const std::vector<std::string> DefaultTextExtensions = {".bat", ".c",   ".cpp", ".dfm",  ".dsk",   ".eml",
                                                        ".qms", ".h",   ".hpp", ".htm",  ".html",  ".ini",
                                                        ".js",  ".log", ".pas", ".scf",  ".theme", ".txt",
                                                        ".url", ".vbs", ".xml", ".xhtm", ".xhtml"};

struct TExtensionSection
{
    const char* Section;
    TFileExtensionList& List;
    const std::vector<std::string>& Defaults;
};

// In file order.
std::array<TExtensionSection, 5> ExtensionSections()
{
    return {{
        {"ProgramExtensions", ProgramFileExtensions, DefaultProgramExtensions},
        {"DocumentExtensions", DocumentFileExtensions, DefaultDocumentExtensions},
        {"Viewer_AudioExtensions", AudioFileExtensions, DefaultAudioExtensions},
        {"Viewer_VideoExtensions", VideoFileExtensions, DefaultVideoExtensions},
        {"Viewer_TextExtensions", TextFileExtensions, DefaultTextExtensions},
    }};
}

void LoadHook(TMainForm& form, TMainForm::TOptionsSTLPlace place, TStoredTextList& store)
{
    if (const TMainForm::TOptionsSTLHandler& load = form.OptionsSTLHooks[static_cast<size_t>(place)].Load)
        load(store);
}

void SaveHook(TMainForm& form, TMainForm::TOptionsSTLPlace place, TStoredTextList& store)
{
    if (const TMainForm::TOptionsSTLHandler& save = form.OptionsSTLHooks[static_cast<size_t>(place)].Save)
        save(store);
}

void LoadWindowBounds(TStoredTextList& store, TMainForm& form)
{
    store.ReadFormBounds(MainSection, "XPos", "YPos", "XSize", "YSize", form);
}

// Each size counts only within what the window, as just placed, leaves it; the panel takes
// it at once.
void LoadPanelSizes(TStoredTextList& store, TMainForm& form)
{
    int32_t treeWidth = form.TreePanel->width();
    store.ReadInteger(MainSection, "TreeNavigatorWidth", 100, form.width() * 45 / 100, treeWidth);
    form.TreePanel->resize(treeWidth, form.TreePanel->height());
    int32_t playListWidth = form.PlayListPanel->width();
    store.ReadInteger(MainSection, "MPLWidth", 100, form.width() * 35 / 100, playListWidth);
    form.PlayListPanel->resize(playListWidth, form.PlayListPanel->height());
    int32_t viewerHeight = form.ViewerPanel->height();
    store.ReadInteger(MainSection, "ViewerHeight", 50, form.height(), viewerHeight);
    form.ViewerPanel->resize(form.ViewerPanel->width(), viewerHeight);
}

void SaveWindowSizes(TStoredTextList& store, const TMainForm& form)
{
    store.WriteFormBounds(MainSection, "XPos", "YPos", "XSize", "YSize", form);
    store.WriteInteger(MainSection, "TreeNavigatorWidth", form.TreePanel->width());
    store.WriteInteger(MainSection, "MPLWidth", form.PlayListPanel->width());
    store.WriteInteger(MainSection, "ViewerHeight", form.ViewerPanel->height());
}

// The names only: the entries live in the containers' own files, read at start-up
// whatever became of this file.
void LoadContainerNames(TStoredTextList& store, TContainers& containers)
{
    for (int32_t index = 0; index < ContainerCount; ++index)
        store.ReadString(ContainersSection, std::to_string(index), static_cast<size_t>(MaxContainerNameLength),
                         containers.Find(index)->Name, false);
}

void SaveContainers(TStoredTextList& store, TContainers& containers)
{
    for (int32_t index = 0; index < ContainerCount; ++index) {
        const TContainer& container = *containers.Find(index);
        store.WriteString(ContainersSection, std::to_string(index), container.Name);
        container.Save();
    }
}

// Switched from the first board, so that the switch to a board read out of range is
// still a switch to a valid one.
void LoadActiveBoard(TStoredTextList& store)
{
    int32_t board = 0;
    store.ReadInteger(MainSection, "ActiveBoard", 0, BoardCount - 1, board);
    Boards->ActiveBoard = 0;
    Boards->SetActiveBoard(board);
}

void LoadMediaPlayListButtons(TStoredTextList& store, TMainForm& form)
{
    store.ReadBool(MediaPlayListSection, "Repeat", form.RepeatButton->Down);
    store.ReadBool(MediaPlayListSection, "FitMovie", form.FitButton->Down);
}

void SaveMediaPlayListButtons(TStoredTextList& store, const TMainForm& form)
{
    store.WriteBool(MediaPlayListSection, "Repeat", form.RepeatButton->Down);
    store.WriteBool(MediaPlayListSection, "FitMovie", form.FitButton->Down);
}

// A list that is still empty after reading takes its defaults; the picture list is never
// stored: it is what the decoders read.
void LoadFileExtensions(TStoredTextList& store)
{
    for (const TExtensionSection& section : ExtensionSections()) {
        std::vector<std::string> extensions;
        store.ReadStringList(section.Section, extensions, 0, false);
        section.List.Assign(extensions.empty() ? section.Defaults : extensions);
    }
    PictureFileExtensions.Assign(GetPictureExtensions());
}

void SaveFileExtensions(TStoredTextList& store)
{
    for (const TExtensionSection& section : ExtensionSections())
        store.WriteStringList(section.Section, section.List.Entries());
}

} // namespace

void TMainForm::PlugDialogOptions()
{
    OptionsSTLHooks[static_cast<size_t>(ospFileDialog)] = {[](TStoredTextList& store) {
                                                               if (FileForm != nullptr)
                                                                   FileForm->LoadOptions(store);
                                                           },
                                                           [](TStoredTextList& store) {
                                                               if (FileForm != nullptr)
                                                                   FileForm->SaveOptions(store);
                                                           }};
    OptionsSTLHooks[static_cast<size_t>(ospSearchFile)] = {[](TStoredTextList& store) {
                                                               if (SearchFileForm != nullptr)
                                                                   SearchFileForm->OnLoadOptionsSTL(store);
                                                           },
                                                           [](TStoredTextList& store) {
                                                               if (SearchFileForm != nullptr)
                                                                   SearchFileForm->OnSaveOptionsSTL(store);
                                                           }};
    OptionsSTLHooks[static_cast<size_t>(ospLocateFile)] = {[](TStoredTextList& store) {
                                                               if (LocateFileForm != nullptr)
                                                                   LocateFileForm->OnLoadOptionsSTL(store);
                                                           },
                                                           [](TStoredTextList& store) {
                                                               if (LocateFileForm != nullptr)
                                                                   LocateFileForm->OnSaveOptionsSTL(store);
                                                           }};
    OptionsSTLHooks[static_cast<size_t>(ospMultiRename)] = {[](TStoredTextList& store) {
                                                                if (MultiRenameItemForm != nullptr)
                                                                    MultiRenameItemForm->OnLoadOptionsSTL(store);
                                                            },
                                                            [](TStoredTextList& store) {
                                                                if (MultiRenameItemForm != nullptr)
                                                                    MultiRenameItemForm->OnSaveOptionsSTL(store);
                                                            }};
    OptionsSTLHooks[static_cast<size_t>(ospTreeNavigator)] = {[](TStoredTextList& store) {
                                                                  if (TreeNavigatorForm != nullptr)
                                                                      TreeNavigatorForm->OnLoadOptionsSTL(store);
                                                              },
                                                              [](TStoredTextList& store) {
                                                                  if (TreeNavigatorForm != nullptr)
                                                                      TreeNavigatorForm->OnSaveOptionsSTL(store);
                                                              }};
}

void TMainForm::OnLoadOptionsSTL(TStoredTextList& store, int32_t)
{
    LoadWindowBounds(store, *this);
    LoadHook(*this, ospPasswordGenerator, store);
    LoadPanelSizes(store, *this);
    LoadProgramOptionsSTL(store);
    LoadHook(*this, ospViewerPlugins, store);
    LoadHook(*this, ospFileDialog, store);
    LoadHook(*this, ospSearchFile, store);
    LoadHook(*this, ospFindCommonText, store);
    LoadHook(*this, ospLocateFile, store);
    LoadContainerNames(store, ContainerDialog->Containers);
    LoadActiveBoard(store);
    LoadHook(*this, ospRecentPlayLists, store);
    LoadMediaPlayListButtons(store, *this);
    LoadFileExtensions(store);
    LoadHook(*this, ospFileStreamsEditor, store);
    LoadHook(*this, ospSteg, store);
    TSeam<TSkinEditorServices>::Get().ReadSkin(store);
    LoadHook(*this, ospMultiRename, store);
    LoadHook(*this, ospTreeNavigator, store);
}

// Written whole, in the file's order, so whatever no one writes is gone. The password
// generator's section comes right after the window's first keys of "Main", and the keys
// that later join "Main" stay in that section.
void TMainForm::OnSaveOptionsSTL(TStoredTextList& store, int32_t)
{
    store.Clear();
    SaveWindowSizes(store, *this);
    SaveHook(*this, ospPasswordGenerator, store);
    SaveProgramOptionsSTL(store);
    SaveHook(*this, ospFileDialog, store);
    store.WriteInteger(MainSection, "ActiveBoard", Boards->ActiveBoard);
    SaveHook(*this, ospSearchFile, store);
    SaveHook(*this, ospFindCommonText, store);
    SaveHook(*this, ospLocateFile, store);
    SaveContainers(store, ContainerDialog->Containers);
    SaveHook(*this, ospRecentPlayLists, store);
    SaveMediaPlayListButtons(store, *this);
    SaveFileExtensions(store);
    SaveHook(*this, ospFileStreamsEditor, store);
    SaveHook(*this, ospSteg, store);
    TSeam<TSkinEditorServices>::Get().WriteSkin(store);
    SaveHook(*this, ospMultiRename, store);
    SaveHook(*this, ospTreeNavigator, store);
}
