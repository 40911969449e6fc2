#include "mainwindow/MainForm.h"

#include "core/OptionsFile.h"

// Stand-in until every section has its place: only the program options are kept.
void TMainForm::OnLoadOptionsSTL(TStoredTextList& store, int32_t)
{
    LoadProgramOptionsSTL(store);
}

void TMainForm::OnSaveOptionsSTL(TStoredTextList& store, int32_t)
{
    store.Clear();
    SaveProgramOptionsSTL(store);
}
