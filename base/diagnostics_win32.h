// The Windows-only helpers of diagnostics: a dialog control that does not exist is an internal
// error, not a silent no-op.
#pragma once

#include <windows.h>

#include "base/diagnostics.h"

void enable_control(HWND dialog, int id);
void disable_control(HWND dialog, int id);
bool is_control_enabled(HWND dialog, int id);
