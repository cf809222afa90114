// The program's one document: its content is the editor's text. It reads and writes plain-text
// files through the editor byte for byte, asks about unsaved changes while "Warn About Unsaved
// Docs" is on, and holds clipboard processing off while its questions and file dialogs are up.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "engine/text_encoding.h"

#include "framework/view.h"

class Edit_view;
struct Program_context;

class CSorvaneDoc : public Document {
public:
    explicit CSorvaneDoc(Program_context& context);

    // The editor that holds the document's text; set when the frame is made.
    void attach_view(Edit_view& view);

    // Start-up: the file named on the command line, or an empty document. A file that cannot
    // be opened is reported and the program starts with an empty document.
    void open_at_start(const std::string& command_line);
    // "Warn About Unsaved Docs" from the program settings.
    void read_unsaved_warning();
    // Until start-up has read the switch the user's choice is unknown: nothing is asked, and
    // nothing is stored over the setting.
    bool warning_read() const { return warning_read_; }

    // The save-if-modified step; false when the user cancels (or a save fails).
    bool save_modified();
    // New: the save-if-modified step, then an empty, untitled text.
    bool new_document();
    // Reads path, then (if it could be read) the save-if-modified step, then shows it.
    bool open_document(const std::string& path);
    // Writes the editor's text to path in encoding (the document's own when none); on success
    // path becomes the document's file and encoding its encoding. A text the encoding cannot
    // hold is refused with a message naming the first such character, and nothing is written.
    bool save_document(const std::string& path, std::optional<Text_encoding> encoding = {});

    bool is_modified() const;
    void set_modified(bool modified);
    // The document leaves its file: a later Save asks for a name, and its text decides the
    // encoding as for a new document.
    void make_untitled()
    {
        encoding_.reset();
        set_path(std::string());
    }
    // An Auto Clean run put text in the editor: source, the copy as the editor took it (what
    // Undo brings back), and cleaned, what the editor shows.
    void record_autoclean_text(const std::string& source, const std::string& cleaned);
    // The editor holds only what an Auto Clean run put there (cleaned, or brought back by Undo)
    // and the document has no file: the save question leaves it out.
    bool holds_only_autoclean_text() const;
    // Nothing of the user's would be lost by replacing the editor's text: no change since it
    // was opened, saved or made, or only Auto Clean's text.
    bool holds_no_user_work() const;
    // The encoding the document's file was read or last saved in; none for a new document,
    // which saves as ANSI when every character fits it, else as UTF-8.
    std::optional<Text_encoding> encoding() const { return encoding_; }
    // For the status bar: the encoding, or the one a new document would save in.
    std::string encoding_label() const;
    // The document's file, empty while it has none.
    const std::string& path_name() const { return path; }

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnOptWarnUnsaved();
    // Files dropped on the main window: the first one is opened.
    void on_drop_files(HDROP drop);

    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;

    // 1: a modified document is asked about before it goes; 0: changes are dropped.
    int warn_unsaved = 0;

protected:
    Program_context& context;

    // The question "Save changes to %1?"; returns IDYES, IDNO or IDCANCEL.
    virtual int ask_save_changes(const std::string& question);
    // The Open or Save As dialog; false when cancelled. path: the name to start from, then
    // the chosen file; encoding (Save As only): the one to start from, then the chosen one.
    virtual bool prompt_file_name(bool open, std::string& path, Text_encoding& encoding);

private:
    // Save to the document's file, or ask for a name when it has none (or as is true).
    bool do_save(bool as);
    void show_file(const std::string& path, const std::string& text,
                   std::optional<Text_encoding> encoding);
    // The encoding a save without a choice uses.
    Text_encoding save_encoding(const std::string& text) const;
    void set_path(const std::string& new_path);
    void refresh_title();
    HWND owner() const;
    std::string default_title() const;

    Edit_view* view = nullptr;
    // UTF-8, as are all file names here: the file system's names need not fit the code page.
    std::string path;
    std::optional<Text_encoding> encoding_;
    bool warning_read_ = false;
    bool autoclean_text_shown_ = false;
    std::string autoclean_source_;
    std::string autoclean_cleaned_;
};

// Records the document type with the shell for the current user, so that the shell's Open
// command starts the program with the file's name.
void register_document_type();
