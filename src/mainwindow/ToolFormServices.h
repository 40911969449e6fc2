#pragma once

#include "columns/ToolServices.h"
#include "core/Seam.h"

#include <string>

class TColumn;

// What the main window needs of the tool dialogs, which belong to a later layer: they
// implement this and install it when they are made.
class TToolFormServices
{
public:
    virtual ~TToolFormServices() = default;
    // Opens the streams editor on the file in the mode.
    virtual void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) = 0;
    // Hands the streams editor the window's current colours and text settings.
    virtual void SetFileStreamsEditorOptions() = 0;
    // Compares the column's selected documents and shows their common records.
    virtual void FindCommonTextDialog(TColumn& column) = 0;
    // The password generator; with a file, it checks that file's hash instead.
    virtual void PasswordGeneratorDialog(const std::string& file) = 0;
    virtual void TextToCodeDialog() = 0;
};

// Until the tools are made, their commands do nothing.
class TToolFormServicesStandIn : public TToolFormServices
{
public:
    void OpenFileStreams(const std::string&, TFileStreamsEditMode) override {}
    void SetFileStreamsEditorOptions() override {}
    void FindCommonTextDialog(TColumn&) override {}
    void PasswordGeneratorDialog(const std::string&) override {}
    void TextToCodeDialog() override {}
};

template <>
TToolFormServices& TSeam<TToolFormServices>::StandIn();
