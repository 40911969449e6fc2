#include "core/settings/ProgramOptions.h"

#include "core/files/FileOperations.h"

TProgramOptions ProgramOptions;

namespace {

// Until the main window exists there is no window to restyle, and the viewer's settings
// wait here, so that a load and a later save still carry them.
class TNoMainWindow : public TOptionsMainWindow
{
public:
    bool IsStayOnTop() const override { return false; }
    void SetStayOnTop(bool) override {}
    TFileViewerSettings& FileViewerSettings() override { return Viewer; }

private:
    TFileViewerSettings Viewer;
};

TNoMainWindow NoMainWindow;

} // namespace

template <>
TOptionsMainWindow& TSeam<TOptionsMainWindow>::StandIn()
{
    return NoMainWindow;
}

void ApplyProgramOptions()
{
    TOptionsMainWindow& window = TSeam<TOptionsMainWindow>::Get();
    // Changing the style recreates the window, so an unchanged option leaves it alone.
    if (window.IsStayOnTop() != ProgramOptions.StayOnTop)
        window.SetStayOnTop(ProgramOptions.StayOnTop);
    FileUnitLoader.LocalTime = !ProgramOptions.ShowUniversalFileTime;
    FileUnitLoader.SizeUnits = ProgramOptions.ClassicFileSize;
}
