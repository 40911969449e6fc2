#pragma once

#include "core/errors/ErrorForm.h"

#include "support/TestSupport.h"

#include <string>
#include <vector>

// Gives the test a real error dialog, so that each failure shown can be read back: its
// message and its report, as the user would see them.
class TShownFailures
{
public:
    TShownFailures() { ErrorForm = &Form; }
    ~TShownFailures() { ErrorForm = nullptr; }
    TShownFailures(const TShownFailures&) = delete;
    TShownFailures& operator=(const TShownFailures&) = delete;

    // The next modal request must be a report captioned with this status word.
    void Expect(TModalScript& script, const std::string& statusWord)
    {
        script.Expect(statusWord, TErrorForm::mrOkay,
                      [this](const TModalRequest&) { Reports.push_back(Form.MemoText()); });
    }

    // Each report as shown: "DESCRIPTION", the message, then the context lines.
    std::vector<std::string> Reports;

private:
    TErrorForm Form;
};
