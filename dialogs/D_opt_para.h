// The Paragraph page: joining lines into paragraphs, what ends a paragraph, the spaces left
// between joined sentences and the longest paragraph line.
#pragma once

#include <string>

#include "dialogs/Option_page.h"

class D_opt_para : public Option_page {
public:
    explicit D_opt_para(Preset_state& presets);

    void read_prefs() override;
    void update_controls() override;
    bool validate() override;
    void write_prefs() override;
    int help_context() const override;

    int blank_lines_separate = 0;  // 1010
    int indented_makes_new = 0;    // 1014
    int unlimited = 0;             // 1013: "para-max chars on para line" is 0
    int punct_mark_ends = 0;       // 1003
    int remove_line_breaks = 0;    // 1006
    int spaces_between_sents = 1;  // 1032: the setting's value, 1 or 2
    std::string indent_spaces;     // 1015
    std::string max_chars;         // 1012

protected:
    void prepare_controls() override;
    void exchange(Data_exchange& dx) override;
    bool is_setting_change(int id, int code) const override;
};
