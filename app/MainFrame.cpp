#include "app/MainFrame.h"

#include <commctrl.h>

#include <vector>

#include "app/Program_context.h"
#include "app/SorvaneDoc.h"
#include "app/SorvaneEditView.h"
#include "app/help_window.h"
#include "base/diagnostics.h"
#include "dialogs/D_clean_paste.h"
#include "dialogs/D_font_size.h"
#include "framework/strings.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {

// Buttons in the bitmap's order; 0 is a separator, the last one the preset selector's slot.
const std::vector<int> toolbar_layout = {
    ID_OPT_AUTOCLEAN, 0, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_UNDO, ID_EDIT_CUT,
    ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_CLEAN_EVERYTHING, ID_EDIT_CLEAN_SELECTED, 0,
    ID_HELP_FINDER, ID_CONTEXT_HELP, 0, 0};

const std::vector<Status_pane> status_panes = {
    {ID_INDICATOR_AUTO, 0},
    {ID_INDICATOR_CAPS, VK_CAPITAL},
    {ID_INDICATOR_NUM, VK_NUMLOCK},
    {ID_INDICATOR_SCRL, VK_SCROLL},
    {ID_INDICATOR_ENCODING, 0},
};

struct Font_item {
    int command;
    int size;
};
const Font_item font_items[] = {{ID_FONT_SIZE_8, 8},   {ID_FONT_SIZE_10, 10},
                                {ID_FONT_SIZE_12, 12}, {ID_FONT_SIZE_14, 14},
                                {ID_FONT_SIZE_18, 18}, {ID_FONT_SIZE_24, 24}};

// Names the combination and where to choose another; the program goes on without it.
std::string key_refused_message(Hotkey key, DWORD error)
{
    const std::string where = "  Choose another key with Options > Clean and Paste...";
    if (error == ERROR_HOTKEY_ALREADY_REGISTERED)
        return "Another program already uses " + hotkey_text(key) + ", so Clean and Paste cannot have it." + where;
    return "Clean and Paste cannot use " + hotkey_text(key) + "." + where;
}

int font_size_of(int command)
{
    for (const Font_item& item : font_items)
        if (item.command == command) return item.size;
    return 0;
}

}  // namespace

CMainFrame::CMainFrame(Program_context& context) : toolbar(context.presets), context(context)
{
    context.main_frame = this;
}

CMainFrame::~CMainFrame()
{
    if (context.main_frame == this) context.main_frame = nullptr;
}

bool CMainFrame::create(Application& app, CSorvaneDoc& document, CSorvaneEditView& view)
{
    editor = &view;
    document.attach_view(view);
    view.attach_document(document);
    return create_frame(app, "SorvaneFrame", IDR_MAINFRAME, document, view);
}

bool CMainFrame::on_create()
{
    // The preset box hands the keyboard back to the editor, as a toolbar's box does.
    if (!toolbar.create(hwnd(), WS_VISIBLE | CCS_TOP, ID_TOOLBAR_WINDOW, toolbar_layout,
                        [this] { if (editor && editor->hwnd()) SetFocus(editor->hwnd()); }))
        return false;
    if (!status_bar.create(hwnd(), WS_VISIBLE, ID_STATUS_BAR_WINDOW, status_panes)) return false;
    set_bars(&toolbar, &status_bar);
    set_idle_prompt(load_string(IDS_IDLE_PROMPT));
    show_idle_prompt();

    toolbar_visible = context.settings.show_toolbar;
    ShowWindow(toolbar.hwnd(), toolbar_visible ? SW_SHOWNA : SW_HIDE);
    status_bar_visible = context.settings.show_status_bar;
    ShowWindow(status_bar.hwnd(), status_bar_visible ? SW_SHOWNA : SW_HIDE);
    recalc_layout();

    restore_window_rect();
    notification_icon_.attach(hwnd());
    return true;
}

void CMainFrame::restore_window_rect()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    Window_rect r = fit_window_rect(context.settings.window, work.right, work.bottom);
    MoveWindow(hwnd(), r.x, r.y, r.width, r.height, FALSE);
}

void CMainFrame::restore_window_state()
{
    if (context.settings.window_maximized != 0) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd(), &placement);
        placement.showCmd = SW_SHOWMAXIMIZED;
        SetWindowPlacement(hwnd(), &placement);
    }
    const int size = context.settings.font_size;
    for (const Font_item& item : font_items) {
        if (item.size == size) {
            OnFontSize(item.command);
            return;
        }
    }
    if (editor) editor->set_font(size);
    checked_font_item_ = ID_FONT_SIZE_OTHER;
}

void CMainFrame::on_idle()
{
    Frame_window::on_idle();
    if (editor) {
        set_auto_indicator(editor->autoclean() ? 1 : 0);
        notification_icon_.update(editor->autoclean(), clean_paste_line());
    }
    if (auto* doc = static_cast<CSorvaneDoc*>(document())) status_bar.set_text(5, doc->encoding_label());
}

void CMainFrame::set_auto_indicator(int on)
{
    status_bar.set_text(1, on ? load_string(ID_INDICATOR_AUTO) : std::string());
}

void CMainFrame::OnViewToolbar()
{
    toolbar_visible = toolbar_visible ? 0 : 1;
    show_bar(toolbar.hwnd(), toolbar_visible != 0);
}

void CMainFrame::OnViewStatusBar()
{
    status_bar_visible = status_bar_visible ? 0 : 1;
    show_bar(status_bar.hwnd(), status_bar_visible != 0);
}

void CMainFrame::OnFontSize(int command)
{
    const int size = font_size_of(command);
    if (!size) return;
    if (editor) editor->set_font(size);
    checked_font_item_ = command;
}

bool CMainFrame::can_close()
{
    auto* doc = static_cast<CSorvaneDoc*>(document());
    return !doc || doc->save_modified();
}

LRESULT CMainFrame::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    auto* doc = static_cast<CSorvaneDoc*>(document());
    switch (msg) {
    case WM_DROPFILES:
        if (doc) doc->on_drop_files(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_QUERYENDSESSION:
        return !doc || doc->save_modified() ? TRUE : FALSE;
    case WM_CLOSE:
        if (hide_instead_of_closing()) return 0;
        break;
    case Notification_icon::callback_message:
        notification_icon_.on_callback(lp);
        return 0;
    case WM_HOTKEY:
        if (wp == clean_paste_hotkey_id) execute_command(ID_CLEAN_AND_PASTE);
        return 0;
    case WM_TIMER:
        if (wp != Clean_and_paste::timer_id) break;
        clean_and_paste_.on_timer();
        return 0;
    }
    if (msg == taskbar_created_ && taskbar_created_) {
        notification_icon_.on_taskbar_created();
        return 0;
    }
    return Frame_window::handle(msg, wp, lp);
}

bool CMainFrame::hide_instead_of_closing()
{
    const bool exiting = exit_requested_;
    exit_requested_ = false;
    // Without the icon there would be no way back to a hidden window.
    if (!exiting && context.settings.keep_running && notification_icon_.is_shown()) {
        ShowWindow(hwnd(), SW_HIDE);
        return true;
    }
    // The save question should not come from nowhere.
    auto* doc = static_cast<CSorvaneDoc*>(document());
    if (context.settings.keep_running && !IsWindowVisible(hwnd()) && doc && doc->is_modified())
        notification_icon_.show_frame();
    return false;
}

void CMainFrame::exit()
{
    exit_requested_ = true;
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void CMainFrame::destroy_window()
{
    notification_icon_.remove();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd(), &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        Program_settings& settings = context.settings;
        settings.window = {normal.left, normal.top, normal.right - normal.left,
                           normal.bottom - normal.top};
        settings.window_maximized = IsZoomed(hwnd()) ? 1 : 0;
        settings.window_placed = true;
    }
    // A run's clipboard content goes back before its window goes.
    clean_and_paste_.finish_now();
    clean_paste_key_.release();
    Frame_window::destroy_window();
}

bool CMainFrame::command_state(int id, Command_state& state)
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        state.checked = toolbar_visible != 0;
        return true;
    case ID_VIEW_STATUS_BAR:
        state.checked = status_bar_visible != 0;
        return true;
    case ID_FONT_SIZE_OTHER:
        state.checked = checked_font_item_ == ID_FONT_SIZE_OTHER;
        return true;
    case ID_OPT_KEEP_RUNNING:
        state.checked = context.settings.keep_running != 0;
        return true;
    case ID_APP_EXIT:
    case ID_NOTIFY_SHOW:
    case ID_NOTIFY_CLEAN_AND_PASTE:
    case ID_CLEAN_AND_PASTE:
    case ID_OPT_CLEAN_PASTE:
        return true;
    }
    if (font_size_of(id)) {
        state.checked = checked_font_item_ == id;
        return true;
    }
    return Frame_window::command_state(id, state);
}

void CMainFrame::on_command(int id)
{
    switch (id) {
    case ID_VIEW_TOOLBAR: OnViewToolbar(); return;
    case ID_VIEW_STATUS_BAR: OnViewStatusBar(); return;
    case ID_FONT_SIZE_OTHER: OnFontSizeOther(); return;
    case ID_OPT_KEEP_RUNNING: context.settings.keep_running = context.settings.keep_running ? 0 : 1; return;
    case ID_APP_EXIT: exit(); return;
    case ID_NOTIFY_SHOW: notification_icon_.show_frame(); return;
    case ID_NOTIFY_CLEAN_AND_PASTE:
        // Ctrl+V belongs to the window the user worked in before turning to the icon.
        if (HWND target = notification_icon_.target_window()) SetForegroundWindow(target);
        // Once the menu is gone and the activation has moved.
        PostMessageW(hwnd(), WM_COMMAND, ID_CLEAN_AND_PASTE, 0);
        return;
    case ID_CLEAN_AND_PASTE: clean_and_paste_.run(); return;
    case ID_OPT_CLEAN_PASTE: OnOptCleanPaste(); return;
    }
    if (font_size_of(id))
        OnFontSize(id);
    else
        Frame_window::on_command(id);
}

void CMainFrame::OnFontSizeOther()
{
    if (!editor) return;
    int size = editor->font_size();
    INT_PTR result;
    {
        Monitoring_pause pause(context);
        D_font_size dialog(&size);
        result = dialog.run_modal(hwnd());
    }
    if (result != IDOK) return;
    editor->set_font(size);
    checked_font_item_ = ID_FONT_SIZE_OTHER;
}

bool CMainFrame::start_clean_and_paste()
{
    clean_and_paste_.set_window(hwnd());
    clean_and_paste_.set_delay(context.settings.clean_paste_delay);
    return use_clean_paste_key(context.settings.clean_paste != 0, context.settings.clean_paste_key, false);
}

bool CMainFrame::use_clean_paste_key(bool on, Hotkey key, bool say)
{
    if (!on) {
        clean_paste_key_.release();
        return true;
    }
    if (clean_paste_key_.set(hwnd(), clean_paste_hotkey_id, key, refused_error_)) return true;
    refused_key_ = key;
    if (say) say_clean_paste_key_refused();
    return false;
}

void CMainFrame::say_clean_paste_key_refused() const
{
    const std::string text = key_refused_message(refused_key_, refused_error_);
    if (refused_error_ == ERROR_HOTKEY_ALREADY_REGISTERED)
        warning(text);
    else
        warning_code(text, refused_error_);
}

void CMainFrame::OnOptCleanPaste()
{
    Program_settings& settings = context.settings;
    Clean_paste_options options{settings.clean_paste, settings.clean_paste_key, settings.clean_paste_delay};
    clean_paste_key_.release();
    INT_PTR result;
    {
        Monitoring_pause pause(context);
        D_clean_paste dialog(options, [this](const Clean_paste_options& chosen) {
            return use_clean_paste_key(chosen.on != 0, chosen.key, true);
        });
        result = dialog.run_modal(hwnd());
    }
    if (result != IDOK) {
        use_clean_paste_key(settings.clean_paste != 0, settings.clean_paste_key, true);
        return;
    }
    settings.clean_paste = options.on;
    settings.clean_paste_key = options.key;
    settings.clean_paste_delay = options.delay;
    clean_and_paste_.set_delay(options.delay);
}

std::string CMainFrame::clean_text(std::string_view text)
{
    return editor ? editor->clean_text(text) : std::string(text);
}

// A run started from anywhere reports where the user looks: the window may be hidden.
void CMainFrame::report(const std::string& text)
{
    status_bar.set_text(0, text);
    notification_icon_.report(text);
}

std::string CMainFrame::clean_paste_line() const
{
    const Program_settings& settings = context.settings;
    if (!settings.clean_paste) return "Clean and Paste: off";
    if (!clean_paste_key_.registered()) return "Clean and Paste: no key";
    return "Clean and Paste: " + hotkey_text(settings.clean_paste_key);
}

int CMainFrame::help_context_for(int command, HWND window)
{
    if (command) return help_context_for_command(command);
    HWND presets = toolbar.combo().hwnd();
    if (window && presets && (window == presets || IsChild(presets, window))) return help_presets;
    if (window && window == status_bar.hwnd()) return help_auto_clean;
    return help_cleaning_text;
}
