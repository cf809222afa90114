// The Spacing page: paragraph indentation, blank lines between paragraphs, spaces between words
// and sentences, and the tab stop width.
#pragma once

#include "dialogs/option_page.h"

class D_opt_spacing : public Option_page {
public:
    D_opt_spacing(Preset_state& presets, Cleaning_settings& values);
    int help_context() const override;

protected:
    void prepare_controls() override;
};
