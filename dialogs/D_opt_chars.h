// The Characters page: typographic quotes and dashes, the ellipsis, odd spaces and invisible
// characters made plain before any other cleaning.
#pragma once

#include "dialogs/option_page.h"

class D_opt_chars : public Option_page {
public:
    D_opt_chars(Preset_state& presets, Cleaning_settings& values);
    int help_context() const override;
};
