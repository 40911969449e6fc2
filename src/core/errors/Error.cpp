#include "core/errors/Error.h"

#include "core/desktop/Program.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/text/FormatSettings.h"
#include "core/text/MyTime.h"

#include "host/LastError.h"

thread_local TFunStatContext FunStatContext;

namespace {

const char* const CatastropheSentence =
    ": CATASTROPHIC FAILURE!!! It is highly recommended to terminate the program immediately!";

std::string FileNamePart(const std::string& path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

TFunStatContext::TFunStatContext(const TFunStatContext& other)
{
    *this = other;
}

TFunStatContext& TFunStatContext::operator=(const TFunStatContext& other)
{
    if (this == &other)
        return *this;
    Status = other.Status;
    RaiseFile = other.RaiseFile;
    RaiseFunction = other.RaiseFunction;
    RaiseLine = other.RaiseLine;
    Description = other.Description;
    Parameter1 = other.Parameter1;
    Parameter2 = other.Parameter2;
    SystemErrorCode = other.SystemErrorCode;
    UserCode = other.UserCode;
    UserText = other.UserText;
    UserInt = other.UserInt;
    UserReal = other.UserReal;
    return *this;
}

void TFunStatContext::Reset(TFunStatus status)
{
    Status = status;
    RaiseFile.clear();
    RaiseFunction.clear();
    RaiseLine = 0;
    Description.clear();
    Parameter1.clear();
    Parameter2.clear();
    SystemErrorCode = 0;
}

void TFunStatContext::ResetUserInfo()
{
    UserCode = 0;
    UserText.clear();
    UserInt = 0;
    UserReal = 0;
}

void TFunStatContext::Begin(const std::string& file, const std::string& function, int32_t line)
{
    Status = fsBeginFunctionError;
    RaiseFile = file;
    RaiseFunction = function;
    RaiseLine = line;
    Description.clear();
    Parameter1.clear();
    Parameter2.clear();
    SystemErrorCode = 0;
}

void TFunStatContext::Raise(const std::string& file, const std::string& function, int32_t line, TFunStatus status,
                            const std::string& description, const std::string& parameter1,
                            const std::string& parameter2, uint32_t systemErrorCode)
{
    Status = status;
    RaiseFile = file;
    RaiseFunction = function;
    RaiseLine = line;
    Description = description;
    Parameter1 = parameter1;
    Parameter2 = parameter2;
    SystemErrorCode = systemErrorCode;
}

void TFunStatContext::SetShowContext(const std::string& file, const std::string& function, int32_t line)
{
    ShowFile = file;
    ShowFunction = function;
    ShowLine = line;
}

std::string TFunStatContext::StatusText(TFunStatus status)
{
    switch (status) {
    case fsPerfect:
        return "Perfect";
    case fsWarning:
        return "Warning";
    case fsError:
        return "Error";
    case fsBeginFunctionError:
        return "Begin function error";
    case fsPanic:
        return "Panic";
    case fsCatastrophe:
        return "Catastrophe";
    default:
        return "Unknown function status";
    }
}

std::string TFunStatContext::ContextText() const
{
    const std::string newLine = "\r\n";
    std::string text;
    try {
        text += newLine + "RAISE CONTEXT";
        text += newLine + "* Status: " + StatusText(Status) + (Status == fsCatastrophe ? CatastropheSentence : "");
        text += newLine + "* File: " + Quoted(FileNamePart(RaiseFile));
        text += newLine + "* Function: " + Quoted(RaiseFunction);
        text += newLine + "* Line: " + std::to_string(RaiseLine);
        text += newLine + "* Description: " + Quoted(Description);
        if (!Parameter1.empty())
            text += newLine + "* Parameter 1: " + Quoted(Parameter1);
        if (!Parameter2.empty())
            text += newLine + "* Parameter 2: " + Quoted(Parameter2);
        if (SystemErrorCode != 0) {
            text += newLine + "* System error code: " + std::to_string(static_cast<int32_t>(SystemErrorCode));
            text += newLine + "* System error description: " + Quoted(GetSystemErrorText(SystemErrorCode));
        }
        text += newLine;
        text += newLine + "SHOW CONTEXT";
        text += newLine + "* File: " + Quoted(FileNamePart(ShowFile));
        text += newLine + "* Function: " + Quoted(ShowFunction);
        text += newLine + "* Line: " + std::to_string(ShowLine);
        text += newLine;
        text += newLine + "INFO";
        text += newLine + "* Time: " + GetLongDateTimeText(" | ", Now());
        text += newLine + "* Program: " + GetProgramPath();
        text += newLine + "* Recursive attempts: " + std::to_string(ErrorReportRecursions());
        text += newLine;
        text += newLine + "USER INFO";
        text += newLine + "* UserCode: " + std::to_string(UserCode);
        text += newLine + "* UserText: " + UserText;
        text += newLine + "* UserInt: " + std::to_string(UserInt);
        text += newLine + "* UserReal: " + FloatToStr(UserReal);
    } catch (...) {
    }
    return text;
}

bool TFunStatContext::Show(const std::string& message, bool* noMoreErrors)
{
    try {
        return ShowErrorReport(StatusText(Status), message, ContextText(), noMoreErrors);
    } catch (...) {
        return false;
    }
}

void TFunStatContext::OnApplicationException(QObject*, const std::string& message)
{
    static const char* const function = "TFunStatContext::OnApplicationException";
    const std::string text = "Unhandled error.\r\n" + message;
    Raise(__FILE__, function, __LINE__, fsError, text, "", "", host::GetLastError());
    SetShowContext(__FILE__, function, __LINE__);
    Show(text);
    Reset(fsPerfect);
}

std::string GetSystemErrorText(uint32_t code)
{
    return host::GetErrorMessageText(code);
}

bool IsSystemError()
{
    const uint32_t code = host::GetLastError();
    return code != host::ERROR_SUCCESS && code != host::ERROR_OUTOFMEMORY && code != host::ERROR_REQUEST_ABORTED;
}

bool IsSystemErrorNotExisting()
{
    return IsSystemError() && host::GetLastError() != host::ERROR_ALREADY_EXISTS;
}

bool IsFindOk(uint32_t result)
{
    return result == 0 || result == host::ERROR_FILE_NOT_FOUND || result == host::ERROR_NO_MORE_FILES;
}

bool IsHResultFailure(int32_t result)
{
    constexpr uint32_t cancelledByUser = 0x800704C7u;
    return result < 0 && static_cast<uint32_t>(result) != cancelledByUser;
}

void ShowErrorCount(int32_t count)
{
    if (count != 0)
        ShowWarningMessage("There were " + std::to_string(count) + " errors.");
}
