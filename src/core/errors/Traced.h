#pragma once

#include "core/errors/Error.h"

#include <source_location>
#include <stdexcept>
#include <string>

// The convention every traced operation follows:
//
//     void TThing::Rename(const std::string& path)
//     {
//         TTraced trace;                          // Begin: FunStatContext says "Begin function error"
//         trace.Run([&] {                         // the guard: nothing escapes it
//             ReadHeader(path);                   // a traced callee
//             if (trace.TakeOver())               // the callee failed: its outcome becomes ours
//                 return;
//             if (!Parse())
//                 return trace.Raise("Failed to read.", path);
//         });
//         trace.ShowFailure("Failed to rename.");  // only where a user action completes
//     }                                           // End: FunStatContext := the local context
//
// A body with no showing step after it may instead be a plain try block closed by
// TRACED_CATCH(trace). The file, function and line of each step come from the place that
// calls it.
class TTraced
{
public:
    explicit TTraced(std::source_location where = std::source_location::current());
    ~TTraced();
    TTraced(const TTraced&) = delete;
    TTraced& operator=(const TTraced&) = delete;

    // The operation's local context; FunStatContext receives it at the end.
    TFunStatContext Context;

    bool Succeeded() const { return Context.Status <= fsWarning; }

    // After a traced callee: when FunStatContext holds a failure (status above 1) the
    // local context takes it over unchanged and the answer is true: stop the work.
    bool TakeOver();

    // Records an own failure (status 2) or warning (status 1).
    void Raise(const std::string& description, const std::string& parameter1 = {}, const std::string& parameter2 = {},
               uint32_t systemErrorCode = 0, std::source_location where = std::source_location::current());
    // As Raise, with the host's last error as the system error code.
    void RaiseSystem(const std::string& description, const std::string& parameter1 = {},
                     const std::string& parameter2 = {}, std::source_location where = std::source_location::current());
    void Warn(const std::string& description, const std::string& parameter1 = {}, const std::string& parameter2 = {},
              uint32_t systemErrorCode = 0, std::source_location where = std::source_location::current());
    // A broken precondition: status 4, shown at once with "PANIC: ", and handed on.
    void Panic(const std::string& text, std::source_location where = std::source_location::current());
    // As Panic, with the details that explain the broken precondition.
    void Panic(const std::string& text, const std::string& parameter1, const std::string& parameter2 = {},
               std::source_location where = std::source_location::current());
    // Runs the body inside the guard: an exception is recorded, never passed on.
    template <class Body>
    void Run(Body&& body, std::source_location where = std::source_location::current())
    {
        try {
            body();
        } catch (...) {
            CatchCurrent(where);
        }
    }

    // Records the exception being handled; used by TRACED_CATCH.
    void CatchCurrent(std::source_location where = std::source_location::current());

    // For operations that complete a user action: a failure is shown once with
    // `failureText` ("Failed to rename.") and the outcome becomes success.
    void ShowFailure(const std::string& failureText, std::source_location where = std::source_location::current());
    // As ShowFailure, but the failure is still handed on to the caller.
    void ShowFailureAndHandOn(const std::string& failureText,
                              std::source_location where = std::source_location::current());

    const std::string& File() const { return OwnFile; }
    const std::string& Function() const { return OwnFunction; }

private:
    void RaiseWithStatus(TFunStatus status, const std::string& description, const std::string& parameter1,
                         const std::string& parameter2, uint32_t code, const std::source_location& where);
    void ShowHere(const std::string& message, const std::source_location& where);

    std::string OwnFile;
    std::string OwnFunction;
};

#define TRACED_CATCH(trace)                                                                                            \
    catch (...)                                                                                                        \
    {                                                                                                                  \
        (trace).CatchCurrent();                                                                                        \
    }

// An exception that knows where it was thrown, so the report can name the place.
class EError : public std::runtime_error
{
public:
    explicit EError(const std::string& message, std::source_location where = std::source_location::current())
        : std::runtime_error(message), Where(where)
    {
    }
    std::source_location Where;
};

// "void TColumn::Load(int)" to "TColumn::Load": the class, "::" and the method name.
std::string ShortFunctionName(const char* prettyFunction);
