// The Paragraph page: joining lines into paragraphs, what ends a paragraph, the spaces left
// between joined sentences and the longest paragraph line.
#pragma once

#include "dialogs/option_page.h"

class D_opt_para : public Option_page {
public:
    D_opt_para(Preset_state& presets, Cleaning_settings& values);
    int help_context() const override;

protected:
    void prepare_controls() override;
};
