#include "dialogs/Option_page.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "base/diagnostics.h"
#include "base/diagnostics_win32.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/D_preset_comms.h"
#include "settings/cleaning_settings.h"

int field_number(const std::string& text)
{
    return field_number_too_large(text) ? INT_MAX : string_to_int(text);
}

bool field_number_too_large(const std::string& text)
{
    const std::size_t start = std::min(text.find_first_not_of(" \t"), text.size());
    std::size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    int value = 0;
    return end > start && !parse_int(std::string_view(text).substr(start, end - start), value);
}

Option_page::Option_page(int template_id, const char* caption, Preset_state& presets)
    : Property_page(template_id, caption), preset_combo(presets), presets(presets)
{
}

Cleaning_prefs& Option_page::prefs() const { return *presets.cleaning_prefs; }

bool Option_page::refuse(const std::string& message, int field)
{
    error_box(message);
    Data_exchange dx(hwnd(), true);
    dx.fail(field);
    return false;
}

bool Option_page::enabled(int id) const { return is_control_enabled(hwnd(), id); }

void Option_page::enable(int id, bool on)
{
    if (on)
        enable_control(hwnd(), id);
    else
        disable_control(hwnd(), id);
}

void Option_page::fill_sentence_spaces(int id)
{
    for (const char* entry : {"1", "2"})
        SendMessageA(item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

void Option_page::exchange_sentence_spaces(Data_exchange& dx, int id, int& value)
{
    int index = value - 1;
    dx.combo_index(id, index);
    if (dx.saving() && index >= 0) value = index + 1;
}

bool Option_page::on_init()
{
    update_controls();
    preset_combo.attach(item(IDC_PRESET_COMBO));
    preset_combo.init(true, true, true, nullptr);
    return true;
}

bool Option_page::on_set_active()
{
    preset_combo.select_string(presets.pending_preset_name);
    read_prefs();
    update_data(false);
    update_controls();
    return true;
}

bool Option_page::on_kill_active()
{
    if (!validate()) return false;
    write_prefs();
    return Property_page::on_kill_active();
}

bool Option_page::on_command(int id, int code, HWND control)
{
    if (id == IDC_PRESET_COMBO) {
        if (code == CBN_SELCHANGE) OnSelchangePreset();
        return true;
    }
    if (id == IDC_PRESETS_BUTTON) {
        if (code == BN_CLICKED) OnPresets();
        return true;
    }
    if (is_setting_change(id, code)) {
        // Data the page moves itself is not an edit.
        if (!exchanging()) OnSettingChanged();
        return true;
    }
    return Property_page::on_command(id, code, control);
}

void Option_page::OnSettingChanged()
{
    if (preset_combo.get_selected_name() != no_preset_name) {
        preset_combo.select_string(no_preset_name);
        presets.pending_preset_name = preset_combo.get_selected_name();
    }
    update_controls();
}

void Option_page::OnSelchangePreset()
{
    presets.pending_preset_name = preset_combo.get_selected_name();
    if (presets.pending_preset_name == no_preset_name) return;
    prefs().copy_prefs(prefs().get_preset(presets.pending_preset_name), prefs().working_copy);
    read_prefs();
    update_data(false);
    update_controls();
}

void Option_page::OnPresets()
{
    if (!validate()) return;
    write_prefs();
    D_preset_comms dialog(presets);
    // Owned by the sheet, which stays disabled while the dialog is up.
    if (dialog.run_modal(sheet() && sheet()->hwnd() ? sheet()->hwnd() : nullptr) == IDOK)
        preset_combo.init(true, true, true, nullptr);
}
