#include "mainwindow/MainForm.h"
#include "mainwindow/SkinEditorServices.h"

#include "BoardTestWindow.h"

#include "panels/MyTPanel.h"

#include "core/forms/InputState.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TMenuRecordingSkinEditor : public TSkinEditorServices
{
public:
    TMenuRecordingSkinEditor() { TSeam<TSkinEditorServices>::Install(this); }
    ~TMenuRecordingSkinEditor() override { TSeam<TSkinEditorServices>::Install(nullptr); }
    TMenuRecordingSkinEditor(const TMenuRecordingSkinEditor&) = delete;
    TMenuRecordingSkinEditor& operator=(const TMenuRecordingSkinEditor&) = delete;

    void ReadSkin(TStoredTextList&) override {}
    void WriteSkin(TStoredTextList&) override {}
    int32_t GetBackPictureMinStretchSize() override { return -1; }
    int32_t GetStretchBackPictureMaxSkew() override { return -1; }
    bool AcceptsBackPictureAutochange() override { return false; }
    void SetOnSkinChanged(std::function<void()>) override {}
    void ShowMenu(MyTPanel& button, bool fullLoad) override
    {
        Buttons.push_back(&button);
        FullLoads.push_back(fullLoad);
    }

    std::vector<MyTPanel*> Buttons;
    std::vector<bool> FullLoads;
};

// Ctrl held, alone or with other keys, loads only the colours of the chosen skin.
TEST(SkinsButton, OpensTheSkinsMenuLoadingOnlyColoursWhileCtrlIsHeld)
{
    TBoardTestWindow window;
    TMenuRecordingSkinEditor editor;
    TMainForm& form = window.Open();
    MyTPanel& button = *form.SkinsButton;
    for (const TShiftState shift :
         {TShiftState(0), ShiftOf(ssCtrl), TShiftState(ShiftOf(ssCtrl) | ShiftOf(ssShift)), ShiftOf(ssShift)})
        button.OnMouseDown(&button, mbLeft, shift, 5, 5);
    EXPECT_EQ((std::vector<MyTPanel*>(4, &button)), editor.Buttons);
    EXPECT_EQ((std::vector<bool>{true, false, false, true}), editor.FullLoads);
}

} // namespace
