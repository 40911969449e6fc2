#pragma once

#include <cstdint>
#include <string>

class QObject;

// The outcome of an operation. 0 and 1 count as success for callers, above 1 as failure.
using TFunStatus = int32_t;

inline constexpr TFunStatus fsPerfect = 0;
inline constexpr TFunStatus fsWarning = 1;
inline constexpr TFunStatus fsError = 2;
inline constexpr TFunStatus fsBeginFunctionError = 3;
inline constexpr TFunStatus fsPanic = 4;
inline constexpr TFunStatus fsCatastrophe = 5;

// Where an operation began, whether and where it failed, and where the failure was shown.
// Every operation leaves its outcome in FunStatContext; the caller reads it right after
// the call instead of a return code (see core/errors/Traced.h).
class TFunStatContext
{
public:
    TFunStatus Status = fsPerfect;
    // Raise context.
    std::string RaiseFile;
    std::string RaiseFunction;
    int32_t RaiseLine = 0;
    std::string Description;
    std::string Parameter1;
    std::string Parameter2;
    uint32_t SystemErrorCode = 0;
    // Show context.
    std::string ShowFile;
    std::string ShowFunction;
    int32_t ShowLine = 0;
    // User info.
    int32_t UserCode = 0;
    std::string UserText;
    int32_t UserInt = 0;
    double UserReal = 0;

    TFunStatContext() = default;
    // A copy starts with an empty show context.
    TFunStatContext(const TFunStatContext& other);
    // Copies the status, the raise context and the user info; the target keeps its own
    // show context.
    TFunStatContext& operator=(const TFunStatContext& other);

    void Reset(TFunStatus status);
    void ResetUserInfo();
    void Begin(const std::string& file, const std::string& function, int32_t line);
    void Raise(const std::string& file, const std::string& function, int32_t line, TFunStatus status,
               const std::string& description, const std::string& parameter1, const std::string& parameter2,
               uint32_t systemErrorCode);
    void SetShowContext(const std::string& file, const std::string& function, int32_t line);

    static std::string StatusText(TFunStatus status);
    // The multi-line report; never fails (a failure yields the part built so far).
    std::string ContextText() const;
    // Shows the context in the error dialog. True when the user chose "Okay" or
    // "Okay (no errors)"; `noMoreErrors` (optional) is true only for the latter.
    bool Show(const std::string& message, bool* noMoreErrors = nullptr);

    // The application's handler for an exception that reached the message loop.
    void OnApplicationException(QObject* sender, const std::string& message);
};

// Each thread has its own, as it has its own last host error, so traced routines run
// unchanged on worker threads.
extern thread_local TFunStatContext FunStatContext;

std::string GetSystemErrorText(uint32_t code);
// Read the last error after a system call that was preceded by clearing it.
bool IsSystemError();
// As IsSystemError, but "already exists" (after an open-always) is success too.
bool IsSystemErrorNotExisting();
bool IsFindOk(uint32_t result);
bool IsHResultFailure(int32_t result);
// The warning "There were N errors." for N not 0.
void ShowErrorCount(int32_t count);
