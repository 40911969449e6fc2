#pragma once

#include "core/settings/ProgramOptions.h"

#include <functional>
#include <vector>

// Stands in for the main window while it lives: records each change of its style and
// holds the file viewer's settings.
class TFakeOptionsMainWindow : public TOptionsMainWindow
{
public:
    TFakeOptionsMainWindow() { TSeam<TOptionsMainWindow>::Install(this); }
    ~TFakeOptionsMainWindow() override { TSeam<TOptionsMainWindow>::Install(nullptr); }
    TFakeOptionsMainWindow(const TFakeOptionsMainWindow&) = delete;
    TFakeOptionsMainWindow& operator=(const TFakeOptionsMainWindow&) = delete;

    bool IsStayOnTop() const override { return StayOnTop; }
    void SetStayOnTop(bool stayOnTop) override
    {
        StayOnTop = stayOnTop;
        StyleChanges.push_back(stayOnTop);
        if (OnStyleChange)
            OnStyleChange();
    }
    TFileViewerSettings& FileViewerSettings() override { return Viewer; }

    bool StayOnTop = false;
    std::vector<bool> StyleChanges;
    std::function<void()> OnStyleChange;
    TFileViewerSettings Viewer;
};
