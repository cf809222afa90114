#include "dialogs/D_preset_comms.h"

#include <vector>

#include "base/diagnostics.h"
#include "base/diagnostics_win32.h"
#include "framework/controls.h"
#include "framework/strings.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

namespace {
const char* const no_user_presets = "(No user-defined presets exist.)";

// Registry key names compare as upper case: names equal so are one preset.
std::string upper(const std::string& text)
{
    std::wstring wide = widen(text);
    if (!wide.empty()) CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return to_utf8(wide);
}

// Blanks at either end of a name are not seen in a list, so they never make a name of their own.
std::string trimmed(const std::string& text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}
}  // namespace

D_preset_comms::D_preset_comms(Preset_state& presets, const Cleaning_settings& values)
    : Dialog(IDD_PRESET_COMMS),
      presets(presets),
      values(values),
      overwrite_list(presets),
      remove_list(presets)
{
}

D_preset_comms::~D_preset_comms()
{
    if (hwnd()) close(IDCANCEL);
}

int D_preset_comms::help_context() const { return help_presets; }

void D_preset_comms::exchange(Data_exchange& dx) { dx.text(IDC_COMMS_NEW_NAME, new_name); }

bool D_preset_comms::on_init()
{
    SendMessageA(item(IDC_COMMS_NEW_NAME), EM_LIMITTEXT, max_preset_name, 0);
    overwrite_list.attach(item(IDC_COMMS_OVERWRITE_LIST));
    remove_list.attach(item(IDC_COMMS_REMOVE_LIST));
    if (!presets.cleaning_prefs->list_presets(true, false).empty()) {
        for (D_preset_combo_box* list : {&overwrite_list, &remove_list}) {
            list->init(true, false, false, nullptr);
            if (list->selection() < 0) list->set_selection(0);
        }
    } else {
        for (D_preset_combo_box* list : {&overwrite_list, &remove_list}) {
            if (list->add_string(no_user_presets) < 0) INTERNAL_ERROR();
            list->set_selection(0);
        }
        for (int id : {IDC_COMMS_OVERWRITE, IDC_COMMS_OVERWRITE_LIST, IDC_COMMS_REMOVE,
                       IDC_COMMS_REMOVE_LIST})
            disable_control(hwnd(), id);
    }
    return true;
}

void D_preset_comms::choose(Command chosen)
{
    command = chosen;
    struct Choice {
        Command command;
        int radio;
        int input;
    };
    const Choice choices[] = {{new_preset, IDC_COMMS_NEW, IDC_COMMS_NEW_NAME},
                              {overwrite_preset, IDC_COMMS_OVERWRITE, IDC_COMMS_OVERWRITE_LIST},
                              {remove_preset, IDC_COMMS_REMOVE, IDC_COMMS_REMOVE_LIST}};
    for (const Choice& c : choices) {
        SendMessageA(item(c.radio), BM_SETCHECK, c.command == chosen ? BST_CHECKED : BST_UNCHECKED,
                     0);
        if (c.command == chosen)
            enable_control(hwnd(), c.input);
        else
            disable_control(hwnd(), c.input);
    }
}

bool D_preset_comms::on_command(int id, int code, HWND control)
{
    switch (id) {
    case IDC_COMMS_NEW:
    case IDC_COMMS_OVERWRITE:
    case IDC_COMMS_REMOVE:
        if (code == BN_CLICKED)
            choose(id == IDC_COMMS_NEW ? new_preset
                   : id == IDC_COMMS_OVERWRITE ? overwrite_preset : remove_preset);
        return true;
    case IDC_COMMS_NEW_NAME:
        if (code == EN_SETFOCUS) choose(new_preset);
        return true;
    case IDC_COMMS_OVERWRITE_LIST:
    case IDC_COMMS_REMOVE_LIST:
        if (code == CBN_SETFOCUS)
            choose(id == IDC_COMMS_OVERWRITE_LIST ? overwrite_preset : remove_preset);
        return true;
    }
    return Dialog::on_command(id, code, control);
}

int D_preset_comms::ask(const std::string& text, const std::string& caption, UINT style)
{
    return MessageBoxW(hwnd(), widen(text).c_str(), widen(caption).c_str(), style);
}

std::string D_preset_comms::user_preset_like(const std::string& name) const
{
    const std::string wanted = upper(name);
    for (const std::string& user : presets.cleaning_prefs->list_presets(true, false))
        if (upper(user) == wanted) return user;
    return std::string();
}

void D_preset_comms::save_new()
{
    Data_exchange dx(hwnd(), true);
    new_name = trimmed(new_name);
    if (new_name.empty()) {
        error_box("No name was given for the new preset.\n");
        dx.fail(IDC_COMMS_NEW_NAME);
        return;
    }
    for (const std::string& predefined : presets.cleaning_prefs->list_presets(false, true)) {
        if (upper(predefined) == upper(new_name)) {
            error_box("The name of the new preset (\"" + new_name +
                      "\") matches the name of a predefined preset.  Please choose a different "
                      "name.");
            dx.fail(IDC_COMMS_NEW_NAME);
            return;
        }
    }
    const std::string existing = user_preset_like(new_name);
    if (!existing.empty()) {
        new_name = existing;
        set_window_text(item(IDC_COMMS_NEW_NAME), new_name);
        if (ask("Would you like to overwrite the existing preset named \"" + new_name + "\"?",
                "Replace existing preset?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // The store refuses, with its own message, a name that the registry cannot keep as one
    // preset; the name stays in the field to be corrected.
    if (!presets.cleaning_prefs->copy_temp_to_preset(new_name, values)) {
        dx.fail(IDC_COMMS_NEW_NAME);
        return;
    }
    presets.pending_preset_name = new_name;
    close(IDOK);
}

void D_preset_comms::on_ok()
{
    if (!update_data(true)) return;
    switch (command) {
    case new_preset:
        save_new();
        return;
    case overwrite_preset: {
        const std::string name = overwrite_list.get_selected_name();
        if (!presets.cleaning_prefs->copy_temp_to_preset(name, values)) return;
        presets.pending_preset_name = name;
        close(IDOK);
        return;
    }
    case remove_preset: {
        const std::string name = remove_list.get_selected_name();
        if (ask("Are you sure you want to delete the preset named \"" + name +
                    "\"?  Once deleted, it cannot be recovered.",
                "Are you sure?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDYES)
            return;
        presets.cleaning_prefs->remove_preset(name);
        if (presets.pending_preset_name == name) presets.pending_preset_name = no_preset_name;
        close(IDOK);
        return;
    }
    default:
        error_box("Please select a command.  (Click on one of the circles on the left.)");
        return;
    }
}
