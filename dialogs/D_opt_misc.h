// The Replace page: reply marks, what is done with tabs, and the five find/replace pairs.
#pragma once

#include <array>

#include "dialogs/option_page.h"

class D_opt_misc : public Option_page {
public:
    D_opt_misc(Preset_state& presets, Cleaning_settings& values);
    int help_context() const override;

    // The fields of pairs 1 to 5.
    static const std::array<int, 5> find_ids;
    static const std::array<int, 5> replace_ids;

protected:
    void prepare_controls() override;
    bool check(const Cleaning_settings& stored) override;
};
