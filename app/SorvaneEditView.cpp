#include "app/SorvaneEditView.h"

#include <cstdio>
#include <optional>
#include <share.h>

#include "app/MainFrame.h"
#include "app/Program_context.h"
#include "app/SorvaneDoc.h"
#include "app/text_file.h"
#include "base/diagnostics.h"
#include "dialogs/D_auto_clean_warning.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "framework/controls.h"
#include "framework/frame_window.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"

namespace {
const char* const text_full_message =
    "Unable to complete this operation.  The maximum amount of text has been exceeded.";
const char* const cleaning_status = "Cleaning\u2026";
// Under Wine the edit control takes seconds to lay out a full editor (about 3 microseconds a
// byte, make bench), so cleans from this size on show that the program is at work.
constexpr std::size_t long_clean_size = 64 * 1024;

// The run of CR and LF that ends a selection of whole lines (empty unless it holds a line feed).
// The engine drops trailing empty lines, which would glue the next line to the cleaned text.
std::size_t trailing_line_break_size(const std::string& text)
{
    std::size_t body = text.size();
    while (body > 0 && (text[body - 1] == '\r' || text[body - 1] == '\n')) --body;
    return text.find('\n', body) == std::string::npos ? 0 : text.size() - body;
}

void strip_trailing_line_breaks(std::string& text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
}
}  // namespace

CSorvaneEditView::CSorvaneEditView(Program_context& context)
    : context(context), monitor_(*this, context.monitoring_enabled)
{
}

CSorvaneEditView::~CSorvaneEditView()
{
    TRACE_HERE();
    if (font_) {
        if (hwnd()) Edit_view::set_font(nullptr, false);
        DeleteObject(font_);
    }
}

void CSorvaneEditView::adjust_style(DWORD& style, DWORD&)
{
    // Long lines wrap at the window's edge (on screen only).
    style &= ~static_cast<DWORD>(WS_HSCROLL | ES_AUTOHSCROLL);
}

bool CSorvaneEditView::create_view(HWND parent, int id)
{
    if (!Edit_view::create_view(parent, id)) return false;
    set_limit(text_limit);
    return true;
}

void CSorvaneEditView::initialize()
{
    TRACE_HERE();
    monitor_.start(hwnd(), context.settings.autoclean != 0);
    load_abbreviations();
    TRACE_HERE();
}

Frame_window* CSorvaneEditView::busy_frame(std::size_t size) const
{
    Frame_window* frame = context.main_frame;
    return size >= long_clean_size && frame && frame->hwnd() ? frame : nullptr;
}

// A clean's own message, "Ready", replaces what the status bar said before (an old Auto Clean
// message would otherwise seem to be about this clean).
void CSorvaneEditView::show_command_done()
{
    Frame_window* frame = context.main_frame;
    if (frame && frame->hwnd()) frame->show_idle_prompt();
}

void CSorvaneEditView::load_abbreviations()
{
    const std::string path = context.program_directory + "\\abbr.dat";
    std::FILE* file = _wfsopen(widen(path).c_str(), L"rb", _SH_DENYWR);
    if (!file) {
        critical_error("Unable to open file \"" + path + "\".  You may need to reinstall the program.");
        fatal_exit();
    }
    std::string content;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
    std::fclose(file);
    // Detected like any text file; an 8-bit list reads as it always has.
    std::string text, problem;
    if (!decode_file_text(content, detect_encoding(content), text, problem)) {
        critical_error("Unable to read file \"" + path + "\".  " + problem);
        fatal_exit();
    }
    abbreviations_ = parse_abbreviations(text);
}

void CSorvaneEditView::set_font(int size)
{
    TRACE_HERE();
    HFONT created = CreateFontW(point_size_to_height(size), 0, 0, 0, 0, FALSE, FALSE, FALSE, 1, 0,
                                0, 0, 1, L"Courier New");
    Edit_view::set_font(created, true);
    if (font_) DeleteObject(font_);
    font_ = created;
    font_size_ = size;
    TRACE_HERE();
}

void CSorvaneEditView::set_tab_stops_from_settings()
{
    int width = context.presets.cleaning_prefs->current_settings().spac_tab_stops;
    // A width of 0 would give the control's default stops, not what the engine assumes.
    if (width < 1) width = 1;
    set_tab_stops(width * 4);
}

bool CSorvaneEditView::selection_not_empty() const
{
    int start = 0, end = 0;
    selection(start, end);
    return start >= 0 && end > 0 && start < end;
}

bool CSorvaneEditView::holds_text() const
{
    const int lines = line_count();
    return lines > 1 || (lines == 1 && line_length(0) > 0);
}

bool CSorvaneEditView::replace_with(const std::string& cleaned, int start, int end)
{
    // The limit counts the control's UTF-16 units.
    const long long length = text_length();
    const long long replaced = (end < 0 ? length : end) - start;
    if (length - replaced + static_cast<long long>(widen(cleaned).size()) > limit()) {
        warning(text_full_message);
        return false;
    }
    // Drawing is held off meanwhile, so the whole text is not shown selected while the control
    // works through it.
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    set_selection(start, end);
    scroll_caret();
    replace_selection(cleaned, true);
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

std::string CSorvaneEditView::clean_text(std::string_view text)
{
    Line_list lines = text_to_line_list(text);
    Cleaner(context.presets.cleaning_prefs->refresh_working_copy(), abbreviations_).clean_lines(lines);
    return line_list_to_text(lines);
}

void CSorvaneEditView::clean_everything()
{
    TRACE_HERE();
    if (!initialized()) return;
    const std::string source = text();
    std::optional<Busy_scope> busy;
    if (Frame_window* frame = busy_frame(source.size())) busy.emplace(frame, cleaning_status);
    if (replace_with(clean_text(source), 0, -1)) set_selection(-1, 0);
    show_command_done();
    TRACE_HERE();
}

void CSorvaneEditView::clean_selected()
{
    TRACE_HERE();
    if (!initialized()) return;
    int start = 0, end = 0;
    selection(start, end);
    if (!(start >= 0 && end > 0 && start < end)) return;
    const std::string selected = text_range(start, end);
    if (console_present()) console_trace("Selected: '%s'\n", selected.c_str());
    std::optional<Busy_scope> busy;
    if (Frame_window* frame = busy_frame(selected.size())) busy.emplace(frame, cleaning_status);
    const std::size_t breaks = trailing_line_break_size(selected);
    std::string cleaned = clean_text(std::string_view(selected.data(), selected.size() - breaks));
    if (breaks > 0) {
        strip_trailing_line_breaks(cleaned);
        cleaned.append(selected, selected.size() - breaks, breaks);
    }
    replace_with(cleaned, start, end);
    show_command_done();
    TRACE_HERE();
}

void CSorvaneEditView::select_all()
{
    set_selection(0, -1);
    scroll_caret();
}

void CSorvaneEditView::copy_selection()
{
    if (!selection_not_empty()) return;
    monitor_.gate().mark_local_copy();
    copy();
}

void CSorvaneEditView::cut_selection()
{
    if (!selection_not_empty()) return;
    monitor_.gate().mark_local_copy();
    cut();
}

void CSorvaneEditView::toggle_autoclean()
{
    TRACE_HERE();
    set_autoclean(!autoclean());
    if (autoclean() && context.settings.show_auto_clean_warning != 0) show_auto_clean_warning();
    TRACE_HERE();
}

void CSorvaneEditView::show_auto_clean_warning()
{
    Monitoring_pause pause(context);
    D_auto_clean_warning dialog([this](bool dont_show) {
        context.settings.show_auto_clean_warning = dont_show ? 0 : 1;
        save_show_auto_clean_warning(context.profile, context.settings.show_auto_clean_warning);
    });
    dialog.run_modal(GetAncestor(hwnd(), GA_ROOT));
}

bool CSorvaneEditView::command_state(int id, Command_state& state)
{
    switch (id) {
    case ID_EDIT_CLEAN_EVERYTHING:
        // Before initialize the state is left as it is.
        if (initialized()) state.enabled = holds_text();
        return true;
    case ID_EDIT_CLEAN_SELECTED:
        if (initialized()) state.enabled = selection_not_empty();
        return true;
    case ID_EDIT_SELECT_ALL:
        return true;
    case ID_EDIT_COPY:
    case ID_EDIT_CUT:
        state.enabled = selection_not_empty();
        return true;
    case ID_EDIT_PASTE:
        state.enabled = can_paste();
        return true;
    case ID_EDIT_UNDO:
        state.enabled = can_undo();
        return true;
    case ID_OPT_AUTOCLEAN:
        state.checked = autoclean();
        return true;
    }
    return false;
}

void CSorvaneEditView::on_command(int id)
{
    switch (id) {
    case ID_EDIT_CLEAN_EVERYTHING: clean_everything(); break;
    case ID_EDIT_CLEAN_SELECTED: clean_selected(); break;
    case ID_EDIT_SELECT_ALL: select_all(); break;
    case ID_EDIT_COPY: copy_selection(); break;
    case ID_EDIT_CUT: cut_selection(); break;
    case ID_EDIT_PASTE: paste(); break;
    case ID_EDIT_UNDO: undo(); break;
    case ID_OPT_AUTOCLEAN: toggle_autoclean(); break;
    }
}

void CSorvaneEditView::on_reflected_notification(int code)
{
    // EN_MAXTEXT too: a paste cut short at the limit would otherwise lose text silently.
    if (code == EN_ERRSPACE || code == EN_MAXTEXT) warning(text_full_message);
}

LRESULT CSorvaneEditView::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    // The view's window is the clipboard chain member and the monitor's timer's owner.
    switch (msg) {
    case WM_DRAWCLIPBOARD:
        monitor_.on_draw_clipboard();
        return 0;
    case WM_CHANGECBCHAIN:
        monitor_.on_change_cb_chain(reinterpret_cast<HWND>(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_TIMER:
        if (wp != Clipboard_monitor::timer_id) break;
        monitor_.on_timer();
        return 0;
    case WM_DESTROY: {
        TRACE_HERE();
        const LRESULT result = Edit_view::handle(msg, wp, lp);
        monitor_.stop();
        TRACE_HERE();
        return result;
    }
    }
    return Edit_view::handle(msg, wp, lp);
}

std::string CSorvaneEditView::editor_text() const { return text(); }

std::size_t CSorvaneEditView::editor_limit() const { return static_cast<std::size_t>(limit()); }

bool CSorvaneEditView::holds_no_user_work() const
{
    return document_ ? document_->holds_no_user_work() : !modified();
}

std::string CSorvaneEditView::begin_showing(const std::string& shown)
{
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    set_text(std::string());
    set_text(shown);
    return text();
}

void CSorvaneEditView::replace_all_undoably(const std::string& cleaned)
{
    set_selection(0, -1);
    // Text that grew past the editor's limit stays on the clipboard only.
    if (widen(cleaned).size() <= static_cast<std::size_t>(limit())) replace_selection(cleaned, true);
    set_selection(-1, 0);
}

void CSorvaneEditView::end_showing()
{
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
    scroll_caret();
}

void CSorvaneEditView::show_text(const std::string& shown) { set_text(shown); }

void CSorvaneEditView::autoclean_shown(const std::string& source, const std::string& cleaned)
{
    if (!document_) return;
    document_->record_autoclean_text(source, cleaned);
    document_->make_untitled();
}

void CSorvaneEditView::show_status(const std::string& status)
{
    if (context.main_frame) context.main_frame->status_bar.set_text(0, status);
}
