#include "mainwindow/MainForm.h"

// Stand-in until the boards and histories are stored: the file holds no payload.
void TMainForm::OnLoadOptionsFS(TFileStorage&, int32_t)
{
}

void TMainForm::OnSaveOptionsFS(TFileStorage&)
{
}
