// What the four pages of "Cleaning Options" share: they read and write only the store's working
// copy, carry the "Current Preset:" selector and the "Presets..." button, turn the selector to
// "(none)" on any edit the user makes, and store their fields whenever they are left.
#pragma once

#include <string>

#include "framework/property_sheet.h"
#include "settings/D_preset_combo_box.h"
#include "settings/Preset_state.h"

class Cleaning_prefs;

class Option_page : public Property_page {
public:
    Option_page(int template_id, const char* caption, Preset_state& presets);

    // Members from the working copy.
    virtual void read_prefs() = 0;
    // Members from the controls, then the controls' enabled states from the members.
    virtual void update_controls() = 0;
    // Members from the controls, then the checks: the first failure is shown, its field
    // focused, and false returned.
    virtual bool validate() = 0;
    // Members from the controls, then every setting of the page into the working copy.
    virtual void write_prefs() = 0;

    void OnSettingChanged();
    void OnSelchangePreset();
    void OnPresets();

    D_preset_combo_box preset_combo;

protected:
    bool on_init() override;
    bool on_set_active() override;
    bool on_kill_active() override;
    bool on_command(int id, int code, HWND control) override;
    // Whether notification code of control id is a change to one of the page's settings.
    virtual bool is_setting_change(int id, int code) const = 0;

    Cleaning_prefs& prefs() const;
    // Shows message in the error box and moves the focus to field; returns false.
    bool refuse(const std::string& message, int field);
    bool enabled(int id) const;
    void enable(int id, bool on);
    // The "spaces between sentences" list of two pages: its entries 1 and 2, and the setting's
    // value through it; a stored value that no entry shows is kept as it is.
    void fill_sentence_spaces(int id);
    void exchange_sentence_spaces(Data_exchange& dx, int id, int& value);

    Preset_state& presets;
};

// The number at the start of a field's text, as the settings take it (0 when none).
int field_number(const std::string& text);
// Whether the number at the start of text is beyond what a setting can hold.
bool field_number_too_large(const std::string& text);
