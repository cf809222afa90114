// Nothing may escape a window procedure, dialog procedure or callback: an exception there ends
// the process under Wine whatever surrounds the call. guarded() runs a handler and reports what
// escapes it through diagnostics.
#pragma once

#include <new>

void report_escaped_bad_alloc() noexcept;
[[noreturn]] void report_escaped_exception() noexcept;

// Runs f; on bad_alloc warns and returns fallback (the operation is dropped, the program goes
// on); any other exception is an internal error, which ends the process.
template <class Result, class F>
Result guarded(Result fallback, F&& f) noexcept
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        report_escaped_bad_alloc();
    } catch (...) {
        report_escaped_exception();
    }
    return fallback;
}
