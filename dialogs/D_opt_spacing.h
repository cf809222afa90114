// The Spacing page: paragraph indentation, blank lines between paragraphs, spaces between words
// and sentences, and the tab stop width.
#pragma once

#include <string>

#include "dialogs/Option_page.h"

class D_opt_spacing : public Option_page {
public:
    explicit D_opt_spacing(Preset_state& presets);

    void read_prefs() override;
    void update_controls() override;
    bool validate() override;
    void write_prefs() override;
    int help_context() const override;

    int adjust_indent = 0;         // 1002
    int adjust_spacing = 0;        // 1027
    int clean_up_sent_spacing = 0; // 1030
    int remove_extra_spaces = 0;   // 1029
    int spaces_between_sents = 1;  // 1031: the setting's value, 1 or 2
    std::string indent;            // 1026
    std::string lines_between;     // 1028
    std::string tab_stops;         // 1063

protected:
    void prepare_controls() override;
    void exchange(Data_exchange& dx) override;
    bool is_setting_change(int id, int code) const override;
};
