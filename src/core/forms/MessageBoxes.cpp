#include "core/forms/MessageBoxes.h"

#include "core/forms/ModalSeam.h"

int32_t ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags)
{
    const int answer = RunMessageBox(caption, text, flags | MB_TASKMODAL);
    if (answer == 0)
        BeepWarning();
    if (answer == IDOK || answer == IDYES)
        return mrOkay;
    if (answer == IDNO)
        return mrNo;
    return mrCancel;
}

void ShowInfoMessage(const std::string& text)
{
    ShowMessageBox("Message", text, MB_OK | MB_ICONASTERISK);
}

void ShowWarningMessage(const std::string& text)
{
    ShowMessageBox("Warning", text, MB_OK | MB_ICONEXCLAMATION);
}

void ShowErrorMessage(const std::string& text)
{
    ShowMessageBox("Error", text, MB_OK | MB_ICONHAND);
}

bool AskQuery(const std::string& text)
{
    return ShowMessageBox("Query", text, MB_YESNO | MB_ICONQUESTION) == mrOkay;
}

int32_t AskQueryCancel(const std::string& text)
{
    return ShowMessageBox("Query", text, MB_YESNOCANCEL | MB_ICONQUESTION);
}

void ShowHelpNotAvailable()
{
    ShowInfoMessage("Help is not available.");
}

void BeepOkay()
{
    SoundBeep(0);
}

void BeepWarning()
{
    SoundBeep(MB_ICONEXCLAMATION);
}
