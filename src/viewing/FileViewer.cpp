#include "viewing/FileViewer.h"

#include "viewing/MediaPlayer.h"
#include "viewing/StegServices.h"
#include "viewing/ViewerPlugins.h"
#include "viewing/ViewerWindow.h"

#include "columns/Column.h"
#include "columns/FileListData.h"

#include "panels/MyTPanel.h"

#include "core/desktop/Program.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/TextExcerpt.h"

#include "host/File.h"

#include <QFont>
#include <QPlainTextEdit>

#include <vector>

namespace {

// A text loaded with no limit must still leave the memory its display takes.
uint64_t GetUnlimitedTextBound()
{
    return GetAvailablePhysicalMemory() / 8;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

bool IsMediaFile(const std::string& fileName)
{
    return IsAudioFile(fileName) || IsVideoFile(fileName);
}

} // namespace

TFileViewer::TFileViewer(MyTPanel* viewerPanel, QPlainTextEdit* memo, TFileViewerSettings& settings)
    : Viewer(viewerPanel), Settings(settings), Memo(memo)
{
    PictureViewer.SetPanel(viewerPanel);
}

void TFileViewer::Do(const std::string& fileName)
{
    TTraced trace;
    trace.Run([&] {
        Clear();
        SetFileName(fileName);
        ApplyTextOptions();
        View();
        trace.TakeOver();
    });
    if (!trace.Succeeded()) {
        Clear();
        SetHint("ERROR: " + trace.Context.Description);
    }
}

void TFileViewer::View()
{
    TTraced trace;
    trace.Run([&] {
        // The players and the steg service need not report; a clean outcome stands for them.
        FunStatContext.Reset(fsPerfect);
        const std::string extension = GetExtension(FileName);
        if (extension.empty())
            return;
        if (IsMediaPlayListFile(extension)) {
            MediaPlayer->PlayMPL(FileName, "", 0);
            trace.TakeOver();
            return;
        }
        const bool stegged = ShowStegOut();
        if (trace.TakeOver() || stegged)
            return;
        if (IsPictureFile(FileName) || GetViewerPluginIndex(extension) >= 0) {
            ShowViewerPanel();
            PaintImage();
        } else if (IsAudioFile(FileName)) {
            MediaPlayer->PlayFile(FileName);
        } else if (IsVideoFile(FileName)) {
            Clear();
            ShowViewerPanel();
            MediaPlayer->PlayFile(FileName);
        } else if (IsTextFile(FileName)) {
            ViewText();
        }
        trace.TakeOver();
    });
    if (!trace.Succeeded())
        SetHint("ERROR: " + trace.Context.Description);
}

bool TFileViewer::ShowStegOut()
{
    std::string title;
    bool isText = false;
    std::vector<std::string> lines;
    int64_t size = 0;
    if (!TSeam<TStegServices>::Get().AutoStegOut(FileName, title, isText, &lines, size))
        return false;
    ShowViewerPanel();
    if (isText) {
        ShowMemoText(DecodeText(JoinLines(lines)));
        SetHint("Stegged-out size = " + GetSizeText(6, 0, size));
    } else {
        PaintImage();
    }
    return true;
}

void TFileViewer::ViewText()
{
    ShowViewerPanel();
    TFileInfo info;
    info.LoadIfExists(FileName);
    const QString text = ReadText(info.Size);
    if (FunStatContext.Status > fsWarning)
        return;
    ShowMemoText(text);
    SetHint("File size = " + GetSizeText(6, 0, info.Size));
}

QString TFileViewer::ReadText(int64_t size)
{
    TTraced trace;
    QString text;
    trace.Run([&] {
        if (size <= 0) {
            text = "File is empty or missing.";
        } else if (Settings.MaxTextSize >= 0 && size > Settings.MaxTextSize) {
            text = QString::fromStdString("File size is too big (over " + std::to_string(Settings.MaxTextSize) +
                                          " bytes).");
        } else if (Settings.MaxTextSize < 0 && static_cast<uint64_t>(size) > GetUnlimitedTextBound()) {
            trace.Raise("File size is too big for the available memory: " + GetSizeText(6, 0, size) + ".", FileName);
        } else if (const std::optional<std::string> bytes = host::ReadFileContents(FileName, size)) {
            text = DecodeText(*bytes);
        } else {
            trace.RaiseSystem("Failed to read file.", FileName);
        }
    });
    return text;
}

void TFileViewer::ShowMemoText(const QString& text)
{
    Memo->setPlainText(text);
    Memo->show();
}

void TFileViewer::PaintImage()
{
    if (FileName.empty())
        return;
    TTraced trace;
    trace.Run([&] {
        FunStatContext.Reset(fsPerfect);
        const int32_t slot = GetViewerPluginIndex(GetExtension(FileName));
        if (Viewer->isHidden() || (slot < 0 && !IsPictureFile(FileName))) {
            PictureViewer.Clear();
        } else if (slot < 0) {
            ShowOnlyTheImagesHint();
            PictureViewer.LoadPaint(FileName, Settings.FitSmallImages, SkinOptions.WindowBackColor);
        } else {
            ShowOnlyTheImagesHint();
            const TViewerPluginDrawing drawing = GetViewerPluginDrawing(slot);
            PictureViewer.LoadPaintPlugin(FileName, Settings.FitSmallImages, SkinOptions.WindowBackColor,
                                          SkinOptions.WindowTextColor, drawing.GetPictureSize,
                                          drawing.LoadFileToBitmap);
        }
        trace.TakeOver();
    });
    if (!trace.Succeeded())
        SetHint("ERROR");
}

void TFileViewer::Refresh()
{
    if (Viewer->isHidden())
        return;
    ApplyTextOptions();
    Memo->setVisible(!Memo->document()->isEmpty());
    MediaPlayer->RefitMovie();
    PaintImage();
}

void TFileViewer::Clear()
{
    Memo->hide();
    Memo->clear();
    PictureViewer.Clear();
}

void TFileViewer::Reset()
{
    FileName.clear();
    Clear();
}

void TFileViewer::SetFileName(const std::string& name)
{
    FileName = GetWhenReference(name);
}

void TFileViewer::ApplyTextOptions()
{
    const bool wrap = Settings.TextWordWrap;
    Memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    QFont font(QString::fromStdString(Settings.FontName));
    font.setPointSize(Settings.FontSize);
    font.setBold(Settings.FontBold);
    Memo->setFont(font);
}

void TFileViewer::SetHint(const std::string& text)
{
    Viewer->setToolTip(QString::fromStdString(text));
}

// The picture's image carries its own readout; a hint the panel kept from an earlier file
// would show wherever the mouse rests beside the picture.
void TFileViewer::ShowOnlyTheImagesHint()
{
    SetHint({});
}

bool TFileViewer::HasVideoFiles(MyTPanel& list)
{
    for (int32_t i = 0; i < list.GetRawCount(); ++i) {
        const auto* item = dynamic_cast<const TTextItem*>(list.GetItem(i));
        if (item && IsVideoFile(GetWhenReference(item->Text)))
            return true;
    }
    return false;
}

void TFileViewer::ViewMediaInDirectory(const std::string& directory, TColumn& column, int64_t startPosition,
                                       const std::string& lastTitle)
{
    TTraced trace;
    trace.Run([&] {
        FunStatContext.Reset(fsPerfect);
        MediaPlayer->StoreLastPlayedPosition();
        std::vector<std::string> items;
        bool hasVideo = false;
        for (int32_t i = 0; i < column.GetItemCount(); ++i) {
            const std::string& title = column.GetItem(i).Title;
            const std::string target = GetWhenReference(title);
            if (!IsMediaFile(target))
                continue;
            items.push_back(title);
            hasVideo = hasVideo || IsVideoFile(target);
        }
        if (!items.empty()) {
            if (hasVideo) {
                Reset();
                ShowViewerPanel();
            }
            LastPlayedMPL.Add(directory);
        }
        MediaPlayer->PlayTextList(items, lastTitle, startPosition, directory);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to play media in directory.");
}

void TFileViewer::ViewClipboardPicture()
{
    TTraced trace;
    trace.Run([&] {
        Clear();
        FileName = IncludeEndBackslash(GetTempPathA()) + "-Quillomber_ClipboardPicture.bmp";
        ShowViewerPanel();
        ShowOnlyTheImagesHint();
        PictureViewer.ViewClipboardPicture(FileName, Settings.FitSmallImages);
        trace.TakeOver();
    });
    if (!trace.Succeeded())
        SetHint("ERROR");
}

void TFileViewer::ShowViewerPanel()
{
    TSeam<TViewerWindow>::Get().ShowViewer();
}
