#pragma once

#include "mainwindow/ToolFormServices.h"

// The tool dialogs as the main window reaches them; installed while it lives.
class TToolForms : public TToolFormServices
{
public:
    TToolForms();
    ~TToolForms() override;
    TToolForms(const TToolForms&) = delete;
    TToolForms& operator=(const TToolForms&) = delete;

    void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) override;
    void SetFileStreamsEditorOptions() override;
    void FindCommonTextDialog(TColumn& column) override;
    void PasswordGeneratorDialog(const std::string& file) override;
    void TextToCodeDialog() override;
};
