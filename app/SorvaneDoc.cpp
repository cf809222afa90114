#include "app/SorvaneDoc.h"

#include <commdlg.h>

#include <iterator>
#include <vector>

#include "app/MainFrame.h"
#include "app/Program_context.h"
#include "app/text_file.h"
#include "base/diagnostics.h"
#include "framework/edit_view.h"
#include "framework/file_type.h"
#include "framework/frame_window.h"
#include "framework/strings.h"
#include "resources/resource.h"

namespace {

const char* const all_files_filter = "All Files (*.*)";

// Fields of the document string (resource IDR_MAINFRAME), "\n"-separated.
enum Doc_field { window_title = 0, base_name = 1, filter_name = 3, filter_ext = 4, type_id = 5,
                 type_name = 6 };

std::string doc_field(Doc_field field, const char* fallback)
{
    std::string value = string_line(load_string(IDR_MAINFRAME), field);
    return value.empty() ? fallback : value;
}

// Names are UTF-8 throughout, so a name outside the 8-bit code page opens and saves as it is.
std::string full_path(const std::string& name)
{
    wchar_t buffer[MAX_PATH] = L"";
    DWORD n = GetFullPathNameW(widen(name).c_str(), MAX_PATH, buffer, nullptr);
    return n > 0 && n < MAX_PATH ? to_utf8(std::wstring(buffer, n)) : name;
}

// The document name on a command line: the quoted name, or the whole line without the blanks
// around it (so an unquoted name with spaces still opens).
std::string command_line_file_name(const std::string& line)
{
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return std::string();
    if (line[start] == '"') {
        std::size_t end = line.find('"', start + 1);
        return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    std::size_t end = line.find_last_not_of(" \t");
    return line.substr(start, end - start + 1);
}

constexpr Text_encoding offered_encodings[] = {Text_encoding::ansi, Text_encoding::utf8,
                                               Text_encoding::utf8_bom, Text_encoding::utf16le,
                                               Text_encoding::utf16be};

// The encoding box below Save As: filled from, and read back into, the Text_encoding that
// lCustData points at.
UINT_PTR CALLBACK encoding_hook(HWND hook, UINT msg, WPARAM, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lp);
        SetWindowLongPtrW(hook, DWLP_USER, static_cast<LONG_PTR>(dialog->lCustData));
        const auto* chosen = reinterpret_cast<const Text_encoding*>(dialog->lCustData);
        HWND box = GetDlgItem(hook, IDC_SAVE_ENCODING);
        for (Text_encoding encoding : offered_encodings) {
            const LRESULT index = SendMessageW(box, CB_ADDSTRING, 0,
                                               reinterpret_cast<LPARAM>(widen(encoding_label(encoding)).c_str()));
            if (encoding == *chosen) SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        return TRUE;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == CDN_FILEOK) {
        auto* chosen = reinterpret_cast<Text_encoding*>(GetWindowLongPtrW(hook, DWLP_USER));
        const LRESULT index = SendDlgItemMessageW(hook, IDC_SAVE_ENCODING, CB_GETCURSEL, 0, 0);
        if (chosen && index >= 0 && index < static_cast<LRESULT>(std::size(offered_encodings)))
            *chosen = offered_encodings[index];
    }
    return 0;
}

}  // namespace

CSorvaneDoc::CSorvaneDoc(Program_context& context) : context(context)
{
    set_title(default_title());
}

void CSorvaneDoc::attach_view(Edit_view& edit_view) { view = &edit_view; }

// The document string leaves the base name empty, so a new document takes the usual default.
std::string CSorvaneDoc::default_title() const { return doc_field(base_name, "Untitled"); }

void CSorvaneDoc::read_unsaved_warning()
{
    TRACE_HERE();
    warn_unsaved = context.settings.unsaved_doc_warning;
    warning_read_ = true;
    TRACE_HERE();
}

void CSorvaneDoc::open_at_start(const std::string& command_line)
{
    TRACE_HERE();
    const std::string name = command_line_file_name(command_line);
    // A file that cannot be opened has been reported; the program starts with an empty text.
    if (!name.empty()) open_document(name);
    TRACE_HERE();
}

bool CSorvaneDoc::is_modified() const { return view && view->modified(); }

void CSorvaneDoc::set_modified(bool modified)
{
    if (view) view->set_modified(modified);
}

void CSorvaneDoc::record_autoclean_text(const std::string& source, const std::string& cleaned)
{
    autoclean_text_shown_ = true;
    autoclean_source_ = source;
    autoclean_cleaned_ = cleaned;
}

bool CSorvaneDoc::holds_only_autoclean_text() const
{
    if (!autoclean_text_shown_ || !view || !path.empty()) return false;
    const std::string shown = view->text();
    return shown == autoclean_cleaned_ || shown == autoclean_source_;
}

bool CSorvaneDoc::holds_no_user_work() const { return holds_only_autoclean_text() || !is_modified(); }

bool CSorvaneDoc::save_modified()
{
    // Text that only Auto Clean put there is not the user's to save.
    if (!warn_unsaved || holds_only_autoclean_text()) set_modified(false);
    if (!is_modified()) return true;
    Monitoring_pause pause(context);
    switch (ask_save_changes("Save changes to " + title() + "?")) {
    case IDYES: return do_save(false);
    case IDNO: return true;
    default: return false;
    }
}

bool CSorvaneDoc::new_document()
{
    TRACE_HERE();
    if (!view || !save_modified()) return false;
    show_file(std::string(), std::string(), std::nullopt);
    TRACE_HERE();
    return true;
}

bool CSorvaneDoc::open_document(const std::string& name)
{
    TRACE_HERE();
    if (!view) INTERNAL_ERROR();
    const std::string file = full_path(name);
    std::string text, problem;
    Text_encoding encoding = Text_encoding::ansi;
    DWORD error = 0;
    // The file is read before anything else happens, so a file that cannot be shown costs
    // the user neither a question nor the text they have.
    switch (read_text_file(file, static_cast<std::size_t>(view->limit()), text, encoding, error,
                           problem)) {
    case Read_status::ok: break;
    case Read_status::bad_encoding:
        warning("Unable to open file \"" + file + "\".  " + problem);
        return false;
    case Read_status::too_large: warning("The file is too large to open."); return false;
    case Read_status::has_nul:
        warning("Unable to open file \"" + file + "\".  It contains null characters, so it is "
                "not a plain text file.");
        return false;
    case Read_status::failed:
        warning_code("Unable to open file \"" + file + "\".", error);
        return false;
    }
    if (!save_modified()) return false;
    show_file(file, text, encoding);
    TRACE_HERE();
    return true;
}

void CSorvaneDoc::show_file(const std::string& file, const std::string& text,
                            std::optional<Text_encoding> encoding)
{
    encoding_ = encoding;
    view->set_text(text);
    view->set_selection(0, 0);
    view->scroll_caret();
    view->empty_undo_buffer();
    view->set_modified(false);
    set_path(file);
}

Text_encoding CSorvaneDoc::save_encoding(const std::string& text) const
{
    if (encoding_) return *encoding_;
    std::string bytes;
    Unencodable bad;
    return encode_file_text(text, Text_encoding::ansi, bytes, bad) ? Text_encoding::ansi
                                                                   : Text_encoding::utf8;
}

std::string CSorvaneDoc::encoding_label() const
{
    return ::encoding_label(encoding_ ? *encoding_ : view ? save_encoding(view->text()) : Text_encoding::ansi);
}

bool CSorvaneDoc::save_document(const std::string& name, std::optional<Text_encoding> chosen)
{
    TRACE_HERE();
    if (!view) INTERNAL_ERROR();
    const std::string file = full_path(name);
    const std::string text = view->text();
    const Text_encoding encoding = chosen ? *chosen : save_encoding(text);
    std::string bytes;
    Unencodable bad;
    if (!encode_file_text(text, encoding, bytes, bad)) {
        warning("Unable to save file \"" + file + "\" as " + ::encoding_label(encoding) +
                ".  Line " + std::to_string(bad.line) + " holds " + describe_character(bad.code) +
                ", which that encoding cannot hold.  Choose another encoding in Save As.");
        return false;
    }
    DWORD error = 0;
    if (!write_text_file(file, bytes, error)) {
        warning_code("Unable to save file \"" + file + "\".", error);
        return false;
    }
    encoding_ = encoding;
    set_path(file);
    view->set_modified(false);
    TRACE_HERE();
    return true;
}

bool CSorvaneDoc::do_save(bool as)
{
    bool ask = as || path.empty();
    // A read-only file is not overwritten: the user picks another name, as other editors do.
    if (!ask) {
        const DWORD attributes = GetFileAttributesW(widen(path).c_str());
        ask = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }
    std::string name = path.empty() ? title() + doc_field(filter_ext, ".txt") : path;
    Text_encoding encoding = save_encoding(view ? view->text() : std::string());
    if (!ask) return save_document(name);
    if (!prompt_file_name(false, name, encoding)) return false;
    return save_document(name, encoding);
}

void CSorvaneDoc::set_path(const std::string& new_path)
{
    path = new_path;
    set_title(path.empty() ? default_title() : file_name_of(path));
    refresh_title();
}

void CSorvaneDoc::refresh_title()
{
    if (context.main_frame && context.main_frame->hwnd()) context.main_frame->update_title();
}

HWND CSorvaneDoc::owner() const { return context.main_frame ? context.main_frame->hwnd() : nullptr; }

int CSorvaneDoc::ask_save_changes(const std::string& question)
{
    trace("Asking: " + question + "\n");
    // The question names the file, which may hold letters outside the 8-bit code page.
    return MessageBoxW(owner(), widen(question).c_str(), widen(doc_field(window_title, "Sorvane")).c_str(),
                       MB_YESNOCANCEL | MB_ICONQUESTION);
}

bool CSorvaneDoc::prompt_file_name(bool open, std::string& name, Text_encoding& encoding)
{
    const std::string ext = doc_field(filter_ext, ".txt");
    std::string filter = doc_field(filter_name, "Text Files (*.txt)");
    filter.append(1, '\0').append("*" + ext).append(1, '\0');
    filter.append(all_files_filter).append(1, '\0').append("*.*").append(2, '\0');
    const std::wstring wide_filter = widen(filter), wide_ext = widen(ext);

    std::vector<wchar_t> file(32768, L'\0');
    std::wstring initial_directory;
    if (open) {
        if (!name.empty()) initial_directory = widen(directory_of(name));
    } else {
        const std::wstring wide_name = widen(name);
        if (wide_name.size() < file.size()) wide_name.copy(file.data(), wide_name.size());
    }
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner();
    dialog.lpstrFilter = wide_filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial_directory.empty() ? nullptr : initial_directory.c_str();
    dialog.lpstrTitle = open ? L"Open" : L"Save As";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                   (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    Text_encoding picked = encoding;
    if (!open) {
        dialog.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
        dialog.hInstance = module_instance();
        dialog.lpTemplateName = MAKEINTRESOURCEW(IDD_SAVE_ENCODING);
        dialog.lpfnHook = encoding_hook;
        dialog.lCustData = reinterpret_cast<LPARAM>(&picked);
    }
    // Names typed without an extension get ".txt".
    dialog.lpstrDefExt = wide_ext.c_str() + (wide_ext[0] == L'.' ? 1 : 0);
    const BOOL chosen = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen) {
        if (DWORD code = CommDlgExtendedError())
            warning("Unable to show the file dialog (error " + int_to_string(static_cast<int>(code)) +
                    ").");
        return false;
    }
    name = to_utf8(file.data());
    encoding = picked;
    return true;
}

void CSorvaneDoc::OnFileNew() { new_document(); }

void CSorvaneDoc::OnFileOpen()
{
    Monitoring_pause pause(context);
    std::string name = path;
    Text_encoding detected = Text_encoding::ansi;  // Open detects; the dialog offers no choice
    if (prompt_file_name(true, name, detected)) open_document(name);
}

void CSorvaneDoc::OnFileSave()
{
    Monitoring_pause pause(context);
    do_save(false);
}

void CSorvaneDoc::OnFileSaveAs()
{
    Monitoring_pause pause(context);
    do_save(true);
}

void CSorvaneDoc::OnOptWarnUnsaved() { warn_unsaved = warn_unsaved ? 0 : 1; }

void CSorvaneDoc::on_drop_files(HDROP drop)
{
    std::string first;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        std::vector<wchar_t> name(length + 1, L'\0');
        if (DragQueryFileW(drop, 0, name.data(), length + 1) > 0) first = to_utf8(name.data());
    }
    DragFinish(drop);
    if (first.empty()) return;
    if (HWND frame = owner()) SetForegroundWindow(frame);
    open_document(first);
}

bool CSorvaneDoc::command_state(int id, Command_state& state)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        return true;
    case ID_OPT_WARN_UNSAVED:
        state.checked = warn_unsaved == 1;
        return true;
    }
    return false;
}

void CSorvaneDoc::on_command(int id)
{
    switch (id) {
    case ID_FILE_NEW: OnFileNew(); break;
    case ID_FILE_OPEN: OnFileOpen(); break;
    case ID_FILE_SAVE: OnFileSave(); break;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); break;
    case ID_OPT_WARN_UNSAVED: OnOptWarnUnsaved(); break;
    }
}

void register_document_type()
{
    register_file_type(doc_field(filter_ext, ""), doc_field(type_id, ""),
                       doc_field(type_name, ""));
}
