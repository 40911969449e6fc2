#include "core/errors/Traced.h"

#include "host/LastError.h"

#include <exception>
#include <string_view>
#include <unordered_map>

// Runs for every traced call, so it reads the name in place and builds only the result.
std::string ShortFunctionName(const char* prettyFunction)
{
    const std::string_view text = prettyFunction;
    const std::string_view head = text.substr(0, text.find('('));
    size_t nameStart = 0;
    int templateDepth = 0;
    for (size_t i = head.size(); i-- > 0;) {
        const char c = head[i];
        if (c == '>')
            ++templateDepth;
        else if (c == '<')
            --templateDepth;
        else if (c == ' ' && templateDepth == 0) {
            nameStart = i + 1;
            break;
        }
    }
    std::string name(head.substr(nameStart));
    const std::string_view anonymous = "{anonymous}::";
    for (size_t at = name.find(anonymous); at != std::string::npos; at = name.find(anonymous))
        name.erase(at, anonymous.size());
    return name;
}

namespace {

// A call site names the same function every time, so its short name is worked out once.
const std::string& ShortFunctionNameOnce(const char* prettyFunction)
{
    thread_local std::unordered_map<const char*, std::string> names;
    auto found = names.find(prettyFunction);
    if (found == names.end())
        found = names.emplace(prettyFunction, ShortFunctionName(prettyFunction)).first;
    return found->second;
}

} // namespace

TTraced::TTraced(std::source_location where)
    : OwnFile(where.file_name()), OwnFunction(ShortFunctionNameOnce(where.function_name()))
{
    FunStatContext.Begin(OwnFile, OwnFunction, static_cast<int32_t>(where.line()));
}

TTraced::~TTraced()
{
    try {
        FunStatContext = Context;
    } catch (...) {
        FunStatContext.Status = Context.Status;
    }
}

bool TTraced::TakeOver()
{
    if (FunStatContext.Status <= fsWarning)
        return false;
    Context = FunStatContext;
    return true;
}

void TTraced::RaiseWithStatus(TFunStatus status, const std::string& description, const std::string& parameter1,
                              const std::string& parameter2, uint32_t code, const std::source_location& where)
{
    Context.Raise(OwnFile, OwnFunction, static_cast<int32_t>(where.line()), status, description, parameter1, parameter2,
                  code);
}

void TTraced::Raise(const std::string& description, const std::string& parameter1, const std::string& parameter2,
                    uint32_t systemErrorCode, std::source_location where)
{
    RaiseWithStatus(fsError, description, parameter1, parameter2, systemErrorCode, where);
}

void TTraced::RaiseSystem(const std::string& description, const std::string& parameter1, const std::string& parameter2,
                          std::source_location where)
{
    RaiseWithStatus(fsError, description, parameter1, parameter2, host::GetLastError(), where);
}

void TTraced::Warn(const std::string& description, const std::string& parameter1, const std::string& parameter2,
                   uint32_t systemErrorCode, std::source_location where)
{
    RaiseWithStatus(fsWarning, description, parameter1, parameter2, systemErrorCode, where);
}

void TTraced::Panic(const std::string& text, std::source_location where)
{
    Panic(text, "", "", where);
}

void TTraced::Panic(const std::string& text, const std::string& parameter1, const std::string& parameter2,
                    std::source_location where)
{
    RaiseWithStatus(fsPanic, text, parameter1, parameter2, 0, where);
    ShowHere("PANIC: " + text, where);
}

void TTraced::CatchCurrent(std::source_location where)
{
    std::string description = "Unhandled generic exception.";
    std::string throwFile;
    std::string throwLine = "0";
    try {
        throw;
    } catch (const EError& error) {
        description = std::string("Unhandled exception: ") + error.what();
        throwFile = error.Where.file_name();
        throwLine = std::to_string(error.Where.line());
    } catch (const std::exception& error) {
        description = std::string("Unhandled exception: ") + error.what();
    } catch (...) {
    }
    RaiseWithStatus(fsError, description, throwFile, throwLine, 0, where);
}

void TTraced::ShowHere(const std::string& message, const std::source_location& where)
{
    Context.SetShowContext(OwnFile, "", static_cast<int32_t>(where.line()));
    Context.Show(message);
}

void TTraced::ShowFailure(const std::string& failureText, std::source_location where)
{
    if (Succeeded())
        return;
    ShowHere(failureText, where);
    Context.Reset(fsPerfect);
}

void TTraced::ShowFailureAndHandOn(const std::string& failureText, std::source_location where)
{
    if (!Succeeded())
        ShowHere(failureText, where);
}
