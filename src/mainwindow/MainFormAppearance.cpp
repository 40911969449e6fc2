#include "mainwindow/MainForm.h"

#include "mainwindow/AppearanceServices.h"

#include "columns/Column.h"
#include "columns/ToolServices.h"

#include "core/errors/Traced.h"

namespace {

// So that the next timer tick rewrites the caption at once.
constexpr double CaptionRewriteAge = 5;

} // namespace

void TMainForm::OptionsMenuClick()
{
    TTraced trace;
    try {
        if (TSeam<TAppearanceServices>::Get().OptionsDialog()) {
            CaptionCrono.Restart(CaptionRewriteAge);
            Reset(false);
            SetViewerHeight(true, 0);
            TreeFollowBoard();
            for (int32_t index = 0; index < VisibleColumnCount; ++index)
                if (index != ActiveColumnIndex)
                    Columns[static_cast<size_t>(index)]->SetHeaderButtonHint();
            TSeam<TToolServices>::Get().SetFileStreamsEditorOptions();
            LoadViewerPlugins();
        }
        FocusColumn(-1, false);
    }
    TRACED_CATCH(trace)
}

void TMainForm::AboutMenuClick()
{
    TSeam<TAppearanceServices>::Get().AboutDialog();
    FocusColumn(-1, false);
}
