// The "Cleaning Options..." command: the option pages edit the sheet's own copy of the current
// settings; only OK makes it the current settings.
#include "app/MainFrame.h"
#include "app/Sorvane.h"
#include "app/SorvaneEditView.h"
#include "base/diagnostics.h"
#include "dialogs/D_opt_chars.h"
#include "dialogs/D_opt_lists.h"
#include "dialogs/D_opt_misc.h"
#include "dialogs/D_opt_para.h"
#include "dialogs/D_opt_prop_sheet.h"
#include "dialogs/D_opt_spacing.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

void CSorvaneApp::OnOptCleaning()
{
    trace("CSorvaneApp::OnOptCleaning()\n");
    Cleaning_prefs& store = *store_;
    Preset_state& presets = context_.presets;
    Cleaning_settings edited;
    store.copy_prefs(store.current_settings(), edited);

    D_opt_prop_sheet sheet;
    D_opt_para para(presets, edited);
    D_opt_spacing spacing(presets, edited);
    D_opt_lists lists(presets, edited);
    D_opt_misc misc(presets, edited);
    D_opt_chars chars(presets, edited);
    sheet.add_page(para);
    sheet.add_page(spacing);
    sheet.add_page(lists);
    sheet.add_page(misc);
    sheet.add_page(chars);
    presets.pending_preset_name = presets.current_preset_name;

    INT_PTR result;
    {
        Monitoring_pause pause(context_);
        // Owned by the main window, which is disabled while the sheet is up.
        result = sheet.run_modal(frame_ ? frame_->hwnd() : nullptr);
    }

    // Presets saved or removed through "Presets..." stand whatever the result.
    if (frame_) frame_->toolbar.combo().init(true, true, true, nullptr);
    if (result == IDOK) {
        store.set_current_settings(edited);
        presets.current_preset_name = presets.pending_preset_name;
        if (view_) view_->set_tab_stops_from_settings();
    }
    if (frame_) frame_->toolbar.combo().select_string(presets.current_preset_name);
    trace("exit CSorvaneApp::OnOptCleaning()\n");
}
