#include "app/Sorvane.h"

#include <commctrl.h>

#include "app/D_about.h"
#include "app/MainFrame.h"
#include "app/SorvaneDoc.h"
#include "app/SorvaneEditView.h"
#include "app/help_window.h"
#include "base/diagnostics.h"
#include "dialogs/D_auto_clean_warning.h"
#include "dialogs/D_welcome.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

namespace {
constexpr DWORD splash_pause_ms = 2500;
}  // namespace

std::string module_directory()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string full = to_utf8(std::wstring(path, n));
    std::size_t cut = full.find_last_of('\\');
    return cut == std::string::npos ? std::string() : full.substr(0, cut);
}

CSorvaneApp::CSorvaneApp(Start_options options)
    : options_(std::move(options)), context_(profile())
{
    std::string title = load_string(IDS_APP_TITLE);
    set_profile(options_.company, title.empty() ? "Sorvane" : title);
    set_help([this](int context) { open_help(context); });
}

CSorvaneApp::~CSorvaneApp()
{
    // A start-up that failed half-way leaves pieces that ExitInstance never released.
    help_.reset();
    view_.reset();
    frame_.reset();
    document_.reset();
    context_.presets.cleaning_prefs = nullptr;
    set_box_scope(nullptr);
}

bool CSorvaneApp::start()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    // A box runs a nested message loop: no Auto Clean run may change the editor under it.
    set_box_scope([this](const std::function<void()>& show) {
        Monitoring_pause pause(context_);
        show();
    });

    context_.program_directory =
        options_.program_directory.empty() ? module_directory() : options_.program_directory;
    const std::string log_path = context_.program_directory + "\\sv_log.txt";
    if (!open_log(log_path)) {
        critical_error("Unable to open file \"" + log_path + "\".");
        return false;
    }
    trace("Initializing...\n");

    context_.monitoring_enabled = 0;
    if (options_.splash) {
        splash_ = std::make_unique<D_about>(false);
        if (splash_->create_modeless(nullptr, *this)) {
            // Not activated: the dialog would put the focus, and a selection, into its text box.
            ShowWindow(splash_->hwnd(), SW_SHOWNOACTIVATE);
            UpdateWindow(splash_->hwnd());
        }
        pause(splash_pause_ms);
    }
    context_.monitoring_enabled = 1;

    store_ = std::make_unique<Cleaning_prefs>(profile().program_key());
    Preset_state& presets = context_.presets;
    presets.cleaning_prefs = store_.get();
    // The working copy is filled once at start-up, as every run refills it.
    store_->refresh_working_copy();

    context_.settings = load_program_settings(profile());
    presets.current_preset_name = context_.settings.current_preset;
    if (presets.current_preset_name != no_preset_name &&
        !store_->preset_exists(presets.current_preset_name))
        presets.current_preset_name = no_preset_name;

    document_ = make_document();
    view_ = std::make_unique<CSorvaneEditView>(context_);
    frame_ = std::make_unique<CMainFrame>(context_);
    if (!frame_->create(*this, *document_, *view_)) {
        const DWORD code = GetLastError();
        close_splash();
        // Not silently: the program would otherwise end before anything was shown.
        critical_error_code("Unable to create the main window.", code);
        return false;
    }
    set_main_frame(frame_.get());
    register_document_type();
    document_->open_at_start(command_line());

    if (options_.show_window) {
        ShowWindow(frame_->hwnd(), show_command());
        UpdateWindow(frame_->hwnd());
    }
    frame_->restore_window_state();
    view_->initialize();
    const bool clean_paste_key_ok = frame_->start_clean_and_paste();
    view_->set_tab_stops_from_settings();
    document_->read_unsaved_warning();
    DragAcceptFiles(frame_->hwnd(), TRUE);
    frame_->toolbar.combo().select_string(presets.current_preset_name);
    // The bars show the program's state before a start dialog holds the loop up.
    on_idle();
    if (options_.start_dialogs) show_start_dialogs();
    if (!clean_paste_key_ok) {
        close_splash();
        frame_->say_clean_paste_key_refused();
    }

    trace("Initialization Complete.\n");
    close_splash();
    return true;
}

std::unique_ptr<CSorvaneDoc> CSorvaneApp::make_document()
{
    return std::make_unique<CSorvaneDoc>(context_);
}

void CSorvaneApp::show_start_dialogs()
{
    Program_settings& settings = context_.settings;
    if (settings.show_welcome_screen != 0) {
        close_splash();
        INT_PTR answer;
        {
            Monitoring_pause pause(context_);
            D_welcome welcome([this](bool dont_ask) {
                context_.settings.show_welcome_screen = dont_ask ? 0 : 1;
                save_show_welcome_screen(profile(), context_.settings.show_welcome_screen);
            });
            answer = welcome.run_modal(frame_->hwnd());
        }
        if (answer == IDYES) open_help(HELP_CONTEXT_GETTING_STARTED);
    }
    if (view_->autoclean() && settings.show_auto_clean_warning != 0) {
        close_splash();
        view_->show_auto_clean_warning();
    }
}

void CSorvaneApp::open_help(int context)
{
    if (!help_) help_ = std::make_unique<Help_window>(*this);
    help_->show(context);
}

void CSorvaneApp::close_splash()
{
    if (!splash_) return;
    splash_->close(IDCANCEL);
    splash_.reset();
}

void CSorvaneApp::collect_settings()
{
    Program_settings& s = context_.settings;
    if (frame_) {
        s.show_toolbar = frame_->toolbar_visible;
        s.show_status_bar = frame_->status_bar_visible;
    }
    if (view_ && view_->initialized()) {
        s.editor_ready = true;
        s.font_size = view_->font_size();
        s.autoclean = view_->autoclean() ? 1 : 0;
    }
    if (document_ && document_->warning_read()) {
        s.unsaved_warning_read = true;
        s.unsaved_doc_warning = document_->warn_unsaved;
    }
    s.current_preset = context_.presets.current_preset_name;
}

int CSorvaneApp::ExitInstance(int loop_result)
{
    // The main window is gone; its placement is in the settings already.
    collect_settings();
    help_.reset();
    view_.reset();
    frame_.reset();
    document_.reset();

    trace("CSorvaneApp::ExitInstance()\n");
    save_program_settings(profile(), context_.settings);
    trace("exit CSorvaneApp::ExitInstance()\n");
    close_log();
    return loop_result;
}

bool CSorvaneApp::command_state(int id, Command_state&)
{
    return id == ID_APP_ABOUT || id == ID_HELP_GETTING_STARTED ||
           id == ID_OPT_CLEANING;
}

void CSorvaneApp::on_command(int id)
{
    switch (id) {
    case ID_APP_ABOUT: OnAppAbout(); break;
    case ID_HELP_GETTING_STARTED: OnHelpGettingStarted(); break;
    case ID_OPT_CLEANING: OnOptCleaning(); break;
    }
}

void CSorvaneApp::OnAppAbout()
{
    TRACE_HERE();
    {
        Monitoring_pause pause(context_);
        D_about about(true);
        about.run_modal(frame_ ? frame_->hwnd() : nullptr);
    }
    TRACE_HERE();
}

void CSorvaneApp::OnHelpGettingStarted() { open_help(HELP_CONTEXT_GETTING_STARTED); }
