#pragma once

#include "viewing/LastPlayedMPL.h"
#include "viewing/PictureViewer.h"

#include <QString>

#include <cstdint>
#include <string>

class MyTMediaPlayer;
class MyTPanel;
class QPlainTextEdit;
class TColumn;
class TFileViewerSettings;

// The main window's built-in viewer: shows the focused file in the viewer panel as text or
// as a picture, or hands media to the media player. One instance, made by the main window.
class TFileViewer
{
public:
    TFileViewer(MyTPanel* viewerPanel, QPlainTextEdit* memo, TFileViewerSettings& settings);
    TFileViewer(const TFileViewer&) = delete;
    TFileViewer& operator=(const TFileViewer&) = delete;

    MyTPanel* Viewer = nullptr;
    // The viewed file, a link replaced by its target.
    std::string FileName;
    TFileViewerSettings& Settings;
    QPlainTextEdit* Memo = nullptr;
    TPictureViewer PictureViewer;
    TLastPlayedMPL LastPlayedMPL;
    MyTMediaPlayer* MediaPlayer = nullptr;

    void Do(const std::string& fileName);
    void View();
    void PaintImage();
    void Refresh();
    void Clear();
    void Reset();
    void SetFileName(const std::string& name);
    void ApplyTextOptions();
    void SetHint(const std::string& text);
    // Some item of the list (a link replaced by its target) is a video.
    static bool HasVideoFiles(MyTPanel& list);
    void ViewMediaInDirectory(const std::string& directory, TColumn& column, int64_t startPosition,
                              const std::string& lastTitle);
    void ViewClipboardPicture();

private:
    void ShowViewerPanel();
    // The file automatic steg took out of the picture, shown; false when it took nothing.
    bool ShowStegOut();
    void ViewText();
    // The text file's bytes, or a line that tells why they are not shown. Traced.
    QString ReadText(int64_t size);
    void ShowMemoText(const QString& text);
    void ShowOnlyTheImagesHint();
};
