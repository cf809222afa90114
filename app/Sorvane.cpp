#include "app/Sorvane.h"

#include <commctrl.h>

#include "app/D_about.h"
#include "app/MainFrame.h"
#include "app/SorvaneDoc.h"
#include "app/SorvaneEditView.h"
#include "app/globals.h"
#include "app/help_window.h"
#include "dialogs/D_auto_clean_warning.h"
#include "dialogs/D_welcome.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/D_preset_combo_box.h"
#include "settings/cleaning_settings.h"

std::string program_directory;
int monitoring_enabled = 0;

namespace {
const char* const company_key = "Meradon";
const char* const settings_section = "Settings";
constexpr DWORD splash_pause_ms = 2500;
}  // namespace

std::string module_directory()
{
    char path[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    std::size_t cut = full.find_last_of('\\');
    return cut == std::string::npos ? std::string() : full.substr(0, cut);
}

CSorvaneApp::CSorvaneApp() = default;
CSorvaneApp::~CSorvaneApp() = default;

bool CSorvaneApp::start()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    program_directory = module_directory();
    const std::string log_path = program_directory + "\\sv_log.txt";
    if (!open_log(log_path)) {
        critical_error("Unable to open file \"" + log_path + "\".");
        return false;
    }
    trace("Initializing...\n");

    std::string title = load_string(IDS_APP_TITLE);
    set_profile(company_key, title.empty() ? "Sorvane" : title);
    set_help([this](int context) { open_help(context); });

    monitoring_enabled = 0;
    splash = std::make_unique<D_about>(false);
    if (splash->create_modeless(nullptr)) {
        // Not activated: the dialog would put the focus, and a selection, into its text box.
        ShowWindow(splash->hwnd(), SW_SHOWNOACTIVATE);
        UpdateWindow(splash->hwnd());
    }
    pause(splash_pause_ms);
    monitoring_enabled = 1;

    store = std::make_unique<Cleaning_prefs>(company_key);
    cleaning_prefs = store.get();
    cleaning_prefs->copy_prefs(cleaning_prefs->current_settings, cleaning_prefs->working_copy);

    current_preset_name = profile().get_string(settings_section, "Current Preset", full_cleaning_name);
    if (current_preset_name != no_preset_name && !cleaning_prefs->preset_exists(current_preset_name))
        current_preset_name = no_preset_name;

    document = std::make_unique<CSorvaneDoc>();
    view = std::make_unique<CSorvaneEditView>();
    frame = std::make_unique<CMainFrame>();
    if (!frame->create(*document, *view)) {
        close_splash();
        return false;
    }
    set_main_frame(frame.get());
    register_document_type();
    document->open_at_start(command_line());

    ShowWindow(frame->hwnd(), show_command());
    UpdateWindow(frame->hwnd());
    the_edit_view = view.get();
    frame->restore_window_state();
    the_edit_view->initialize();
    the_edit_view->set_tab_stops_from_settings();
    document->read_unsaved_warning();
    DragAcceptFiles(frame->hwnd(), TRUE);
    if (toolbar_preset_combo) toolbar_preset_combo->select_string(current_preset_name);
    show_start_dialogs();

    trace("Initialization Complete.\n");
    close_splash();
    return true;
}

void CSorvaneApp::show_start_dialogs()
{
    if (profile().get_int(settings_section, "Show Welcome Screen", 1) != 0) {
        close_splash();
        monitoring_enabled = 0;
        D_welcome welcome;
        const INT_PTR answer = welcome.run_modal(frame->hwnd());
        monitoring_enabled = 1;
        if (answer == IDYES) open_help(HELP_CONTEXT_GETTING_STARTED);
    }
    if (the_edit_view->autoclean == 1 &&
        profile().get_int(settings_section, "Show Auto Clean Warning", 1) != 0) {
        close_splash();
        monitoring_enabled = 0;
        D_auto_clean_warning notice;
        notice.run_modal(frame->hwnd());
        monitoring_enabled = 1;
    }
}

void CSorvaneApp::open_help(int context)
{
    if (!help) help = std::make_unique<Help_window>();
    help->show(context);
}

void CSorvaneApp::close_splash()
{
    if (!splash) return;
    splash->close(IDCANCEL);
    splash.reset();
}

int CSorvaneApp::finish(int loop_result)
{
    // The window is gone; the objects store their own settings as they go.
    help.reset();
    view.reset();
    frame.reset();
    document.reset();

    trace("CSorvaneApp::ExitInstance()\n");
    profile().write_string(settings_section, "Current Preset", current_preset_name);
    trace("exit CSorvaneApp::ExitInstance()\n");
    close_log();
    return loop_result;
}

bool CSorvaneApp::command_state(int id, Command_state&)
{
    return id == ID_APP_ABOUT || id == ID_APP_EXIT || id == ID_HELP_GETTING_STARTED;
}

void CSorvaneApp::on_command(int id)
{
    switch (id) {
    case ID_APP_ABOUT: OnAppAbout(); break;
    case ID_HELP_GETTING_STARTED: OnHelpGettingStarted(); break;
    case ID_APP_EXIT:
        if (frame && frame->hwnd()) PostMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
        break;
    }
}

void CSorvaneApp::OnAppAbout()
{
    TRACE_HERE();
    monitoring_enabled = 0;
    D_about about(true);
    about.run_modal(frame ? frame->hwnd() : nullptr);
    monitoring_enabled = 1;
    TRACE_HERE();
}

void CSorvaneApp::OnHelpGettingStarted() { open_help(HELP_CONTEXT_GETTING_STARTED); }
