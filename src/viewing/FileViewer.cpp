#include "viewing/FileViewer.h"

#include "core/settings/ProgramOptions.h"

TFileViewer::TFileViewer(MyTPanel* viewerPanel, QPlainTextEdit* memo, TFileViewerSettings& settings)
    : Viewer(viewerPanel), Settings(settings), Memo(memo)
{
    PictureViewer.SetPanel(viewerPanel);
}
void TFileViewer::Do(const std::string&)
{
}
void TFileViewer::View()
{
}
void TFileViewer::PaintImage()
{
}
void TFileViewer::Refresh()
{
}
void TFileViewer::Clear()
{
}
void TFileViewer::Reset()
{
}
void TFileViewer::SetFileName(const std::string& name)
{
    FileName = name;
}
void TFileViewer::ApplyTextOptions()
{
}
void TFileViewer::SetHint(const std::string&)
{
}
bool TFileViewer::HasVideoFiles(MyTPanel&)
{
    return false;
}
void TFileViewer::ViewMediaInDirectory(const std::string&, TColumn&, int64_t, const std::string&)
{
}
void TFileViewer::ViewClipboardPicture()
{
}
