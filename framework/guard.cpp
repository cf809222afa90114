#include "framework/guard.h"

#include "base/diagnostics.h"

void report_escaped_bad_alloc() noexcept
{
    try {
        warning("Not enough memory to complete this operation.");
    } catch (...) {
    }
}

void report_escaped_exception() noexcept
{
    internal_error(__FILE__, __LINE__);
}
