#include "mainwindow/MainForm.h"

void TMainForm::LastPlayedMPLMenuClick(const std::string&, const std::string&, int32_t)
{
}
