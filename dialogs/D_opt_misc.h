// The Replace page: reply marks, what is done with tabs, and the five find/replace pairs.
#pragma once

#include <array>
#include <string>

#include "dialogs/Option_page.h"

class D_opt_misc : public Option_page {
public:
    explicit D_opt_misc(Preset_state& presets);

    void read_prefs() override;
    void update_controls() override;
    bool validate() override;
    void write_prefs() override;
    int help_context() const override;

    // Pairs 1 to 5.
    std::array<std::string, 5> find;
    std::array<std::string, 5> replace;
    int remove_reply_marks = 0;  // 1062
    int case_sensitive = 0;      // 1068
    int tab_replace = 0;         // 1067: the entry's index

    // The fields of pairs 1 to 5.
    static const std::array<int, 5> find_ids;
    static const std::array<int, 5> replace_ids;

protected:
    void prepare_controls() override;
    void exchange(Data_exchange& dx) override;
    bool is_setting_change(int id, int code) const override;
};
