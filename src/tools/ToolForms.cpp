#include "tools/ToolForms.h"

#include "tools/FileStreamsForm.h"
#include "tools/FindCommonTextForm.h"
#include "tools/PasswordGeneratorForm.h"
#include "tools/TextToCodeForm.h"

TToolForms::TToolForms()
{
    TSeam<TToolFormServices>::Install(this);
}

TToolForms::~TToolForms()
{
    if (&TSeam<TToolFormServices>::Get() == this)
        TSeam<TToolFormServices>::Install(nullptr);
}

void TToolForms::OpenFileStreams(const std::string& file, TFileStreamsEditMode mode)
{
    if (FileStreamsForm != nullptr)
        FileStreamsForm->Open(file, mode);
}

void TToolForms::SetFileStreamsEditorOptions()
{
    if (FileStreamsForm != nullptr)
        FileStreamsForm->SetOptions();
}

void TToolForms::FindCommonTextDialog(TColumn& column)
{
    if (FindCommonTextForm != nullptr)
        FindCommonTextForm->Dialog(column);
}

void TToolForms::PasswordGeneratorDialog(const std::string& file)
{
    if (PasswordGeneratorForm != nullptr)
        PasswordGeneratorForm->Dialog(file);
}

void TToolForms::TextToCodeDialog()
{
    if (TextToCodeForm != nullptr)
        TextToCodeForm->Dialog();
}
