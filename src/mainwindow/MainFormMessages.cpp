#include "mainwindow/MainForm.h"

// Stand-in until the background picture is prepared here: the panels paint over the
// skin's filling colour.
void TMainForm::SetupBackPicture(const std::string&)
{
}
