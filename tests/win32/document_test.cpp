// The document on real windows, real files and the real registry of the test prefix: files read
// and written byte for byte, refusals that keep the text, saves that never harm the file on
// failure, the unsaved-changes question and its switch. The question and the file dialogs would
// block a test, so a document subclass answers them; every other box is recorded.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/Sorvane.h"
#include "engine/text_encoding.h"
#include "framework/application.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "tests/win32/program_test_support.h"

namespace {

// Answers the save question and the file dialogs from queues, and notes what it was asked and
// whether clipboard processing was held off meanwhile.
class Answering_doc : public CSorvaneDoc {
public:
    using CSorvaneDoc::CSorvaneDoc;

    std::deque<int> answers;
    std::vector<std::string> questions;
    std::deque<std::string> file_names;  // "" cancels the dialog
    std::vector<std::string> offered_names;
    // The encodings Save As starts from, and those the user picks in it.
    std::vector<Text_encoding> offered_encodings;
    std::deque<Text_encoding> encodings;
    std::vector<int> monitoring_seen;

protected:
    int ask_save_changes(const std::string& question) override
    {
        questions.push_back(question);
        monitoring_seen.push_back(context.monitoring_enabled);
        if (answers.empty()) return IDNO;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool prompt_file_name(bool, std::string& name, Text_encoding& encoding) override
    {
        offered_names.push_back(name);
        offered_encodings.push_back(encoding);
        if (!encodings.empty()) {
            encoding = encodings.front();
            encodings.pop_front();
        }
        monitoring_seen.push_back(context.monitoring_enabled);
        if (file_names.empty() || file_names.front().empty()) {
            if (!file_names.empty()) file_names.pop_front();
            return false;
        }
        name = file_names.front();
        file_names.pop_front();
        return true;
    }
};

std::vector<std::string> directory_names(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Wide calls, so that names outside the code page go too.
void remove_tree(const std::wstring& dir)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

void remove_tree(const std::string& dir) { remove_tree(widen(dir)); }

std::string registry_text(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char value[1024] = "";
    DWORD type = 0, size = sizeof value;
    LONG rc = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(value) : "<none>";
}

// Lines of 78 characters and CR LF, cut to exactly size bytes.
std::string text_of_size(std::size_t size)
{
    std::string line = "The quick brown fox jumps over the lazy dog while the cat sleeps on the mat.";
    line += " \r\n";
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size) text += line;
    text.resize(size);
    return text;
}

class Document : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        dir = temp_directory("sorvane_document_tests");
        remove_tree(dir);
        CreateDirectoryA(dir.c_str(), nullptr);
    }

    void TearDown() override
    {
        Program::TearDown();
        remove_tree(dir);
    }

    // The program as start-up assembles it, with a document that answers.
    void build()
    {
        app->document_factory = [this](Program_context& context) {
            auto answering = std::make_unique<Answering_doc>(context);
            doc = answering.get();
            return answering;
        };
        Program::build();
    }

    void wipe_settings() { RegDeleteTreeA(HKEY_CURRENT_USER, program_key("Settings").c_str()); }
    std::string file(const std::string& name) const { return dir + "\\" + name; }
    std::string window_title() const
    {
        char text[256] = "";
        GetWindowTextA(frame->hwnd(), text, sizeof text);
        return text;
    }
    void type(const std::string& text) { view->replace_selection(text, true); }

    std::string dir;
    Answering_doc* doc = nullptr;
    const std::string settings_key = program_key("Settings");
};

std::string every_byte()
{
    std::string bytes;
    for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes + "\r\nline two\r\n\r\nlone LF\nlone CR\r\xe9\xfc\x80\xff";
}

TEST_F(Document, EveryByteFromOneTo255ComesInAndGoesOutUnchanged)
{
    const std::string bytes = every_byte();
    write_file(file("in.txt"), bytes);
    build();
    ASSERT_TRUE(doc->open_document(file("in.txt")));
    std::string decoded, problem;
    ASSERT_TRUE(decode_text(bytes, Text_encoding::ansi, decoded, problem));
    EXPECT_EQ(view->text(), decoded);
    EXPECT_FALSE(doc->is_modified());
    EXPECT_FALSE(view->can_undo()) << "Undo must not bring back the text before the file";

    ASSERT_TRUE(doc->save_document(file("out")));
    EXPECT_EQ(read_file(file("out")), bytes);
    EXPECT_EQ(doc->path_name(), file("out"));
    EXPECT_TRUE(boxes.empty());
}

std::string utf16(const std::string& utf8, bool big_endian)
{
    std::string bytes = big_endian ? "\xfe\xff" : "\xff\xfe";
    for (char16_t unit : utf8_to_utf16(utf8)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xff);
        bytes += big_endian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Each encoding is found, shown, named in the status bar, offered by Save As and written back
// exactly as it came, byte order mark and all.
TEST_F(Document, EachEncodingOpensAndSavesByteForByte)
{
    const std::string mixed = "\u03a9mega \u4e2d\u6587 \U0001F600\r\nline two x";
    const struct {
        std::string bytes, text;
        Text_encoding encoding;
        const char* label;
    } cases[] = {
        {"caf\xe9 \x80\r\n", "caf\u00e9 \u20ac\r\n", Text_encoding::ansi, "ANSI"},
        {mixed, mixed, Text_encoding::utf8, "UTF-8"},
        {"\xef\xbb\xbf" + mixed, mixed, Text_encoding::utf8_bom, "UTF-8 with BOM"},
        {"\xef\xbb\xbf" "ascii", "ascii", Text_encoding::utf8_bom, "UTF-8 with BOM"},
        {utf16(mixed, false), mixed, Text_encoding::utf16le, "UTF-16 LE"},
        {utf16(mixed, true), mixed, Text_encoding::utf16be, "UTF-16 BE"},
    };
    build();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        write_file(file("in.txt"), c.bytes);
        ASSERT_TRUE(doc->open_document(file("in.txt")));
        EXPECT_EQ(view->text(), c.text);
        EXPECT_EQ(doc->encoding(), c.encoding);
        frame->on_idle();
        EXPECT_EQ(frame->status_bar.text(5), c.label);
        doc->OnFileSave();
        EXPECT_EQ(read_file(file("in.txt")), c.bytes);
        doc->file_names = {file("out.txt")};
        doc->offered_encodings.clear();
        frame->execute_command(ID_FILE_SAVE_AS);
        EXPECT_EQ(read_file(file("out.txt")), c.bytes);
        EXPECT_EQ(doc->offered_encodings, std::vector<Text_encoding>{c.encoding});
    }
    EXPECT_TRUE(boxes.empty());
}

// A new document saves as ANSI while every character fits, else as UTF-8 without a mark; Save As
// converts to what the user picks.
TEST_F(Document, NewTextsSaveAsAnsiWhenTheyFitAndSaveAsConverts)
{
    build();
    type("caf\u00e9");
    doc->file_names = {file("a.txt")};
    frame->execute_command(ID_FILE_SAVE);
    EXPECT_EQ(read_file(file("a.txt")), "caf\xe9");
    EXPECT_EQ(doc->offered_encodings, std::vector<Text_encoding>{Text_encoding::ansi});

    doc->new_document();
    type("\u4e2d\u00e9");
    frame->on_idle();
    EXPECT_EQ(frame->status_bar.text(5), "UTF-8");
    doc->file_names = {file("b.txt"), file("c.txt")};
    frame->execute_command(ID_FILE_SAVE);
    EXPECT_EQ(read_file(file("b.txt")), "\xe4\xb8\xad\xc3\xa9");
    doc->encodings = {Text_encoding::utf16be};
    frame->execute_command(ID_FILE_SAVE_AS);
    EXPECT_EQ(read_file(file("c.txt")), utf16("\u4e2d\u00e9", true));
    EXPECT_EQ(doc->encoding(), Text_encoding::utf16be);
    EXPECT_TRUE(boxes.empty());
}

// Never a "?": the first character the chosen encoding lacks is named with its line, nothing is
// written, and the document keeps its file and encoding.
TEST_F(Document, SaveAsRefusesATextTheEncodingCannotHold)
{
    write_file(file("kept.txt"), "\xef\xbb\xbf" "old");
    build();
    ASSERT_TRUE(doc->open_document(file("kept.txt")));
    view->set_text("caf\u00e9\r\nok \u4e2d \U0001F600\r\n");
    doc->set_modified(true);
    doc->encodings = {Text_encoding::ansi};
    doc->file_names = {file("ansi.txt")};
    frame->execute_command(ID_FILE_SAVE_AS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to save file \"" + file("ansi.txt") +
                                 "\" as ANSI.  Line 2 holds U+4E2D \"\u4e2d\", which that encoding "
                                 "cannot hold.  Choose another encoding in Save As.");
    EXPECT_EQ(boxes[0].kind, Box_kind::warning);
    EXPECT_EQ(directory_names(dir), std::vector<std::string>{"kept.txt"});
    EXPECT_EQ(doc->path_name(), file("kept.txt"));
    EXPECT_EQ(doc->encoding(), Text_encoding::utf8_bom);
    EXPECT_TRUE(doc->is_modified());
}

// A byte order mark that its bytes do not keep, and a NUL character (not the zero bytes of
// UTF-16), are refused with a message; the editor keeps its text.
TEST_F(Document, FilesThatDoNotDecodeAreRefusedKeepingTheText)
{
    const struct {
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"\xef\xbb\xbf" "ok \xff", "invalid UTF-8 after its mark"},
        {"\xff\xfe" "a", "odd length"},
        {"\xff\xfe" "a\x00\x00\xd8", "unpaired surrogate"},
        {std::string("\xfe\xff\x00" "a\x00\x00", 6), "a NUL character"},
    };
    build();
    view->set_text("keep me");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        boxes.clear();
        write_file(file("bad.txt"), c.bytes);
        EXPECT_FALSE(doc->open_document(file("bad.txt")));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.rfind("Unable to open file \"" + file("bad.txt") + "\".  ", 0), 0u)
            << boxes[0].text;
        EXPECT_GT(boxes[0].text.size(), file("bad.txt").size() + 25) << "a reason follows";
        EXPECT_EQ(view->text(), "keep me");
    }
}

TEST_F(Document, AFileOfExactlyTheLimitOpensAndOneByteMoreIsRefusedKeepingTheText)
{
    const std::string at_limit = text_of_size(1048575);
    write_file(file("limit.txt"), at_limit);
    write_file(file("over.txt"), text_of_size(1048576));
    build();
    ASSERT_TRUE(doc->open_document(file("limit.txt")));
    EXPECT_EQ(view->text().size(), 1048575u);
    EXPECT_TRUE(view->text() == at_limit);
    type("!");  // the editor is full: nothing more goes in
    EXPECT_EQ(view->text().size(), 1048575u);
    boxes.clear();

    write_file(file("small.txt"), "small text\r\n");
    ASSERT_TRUE(doc->open_document(file("small.txt")));
    type("typed ");
    ASSERT_TRUE(boxes.empty());
    doc->questions.clear();
    EXPECT_FALSE(doc->open_document(file("over.txt")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The file is too large to open.");
    EXPECT_EQ(boxes[0].kind, Box_kind::warning);
    EXPECT_EQ(view->text(), "typed small text\r\n");
    EXPECT_TRUE(doc->is_modified());
    EXPECT_EQ(doc->path_name(), file("small.txt"));
    EXPECT_TRUE(doc->questions.empty()) << "a file that cannot be shown needs no question";
}

TEST_F(Document, FilesThatCannotBeReadAreReportedAndTheTextStays)
{
    write_file(file("zeros.bin"), std::string("text\0more", 9));
    CreateDirectoryA(file("folder").c_str(), nullptr);
    build();
    type("keep me");
    EXPECT_FALSE(doc->open_document(file("zeros.bin")));
    EXPECT_FALSE(doc->open_document(file("missing.txt")));
    EXPECT_FALSE(doc->open_document(file("folder")));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Unable to open file \"" + file("zeros.bin") +
                                 "\".  It contains null characters, so it is not a plain text file.");
    EXPECT_EQ(boxes[1].text.rfind("Unable to open file \"" + file("missing.txt") + "\".  ", 0), 0u)
        << boxes[1].text;  // followed by the system's reason
    EXPECT_EQ(boxes[2].text.rfind("Unable to open file \"" + file("folder") + "\".", 0), 0u);
    for (const Box& b : boxes) EXPECT_EQ(b.kind, Box_kind::warning);
    EXPECT_EQ(view->text(), "keep me");
    EXPECT_EQ(window_title(), "Untitled - Sorvane");
}

TEST_F(Document, SavingReplacesTheWholeFileAndLeavesNoTemporaryFile)
{
    write_file(file("notes.txt"), std::string(5000, 'x'));
    build();
    ASSERT_TRUE(doc->open_document(file("notes.txt")));
    view->set_text("short\r\n");
    type("a ");
    ASSERT_TRUE(doc->is_modified());
    doc->OnFileSave();
    EXPECT_EQ(read_file(file("notes.txt")), "a short\r\n");
    EXPECT_FALSE(doc->is_modified());
    EXPECT_TRUE(doc->offered_names.empty()) << "a document with a file is saved without asking";
    EXPECT_EQ(directory_names(dir), (std::vector<std::string>{"notes.txt"}));
}

TEST_F(Document, AFailedSaveLeavesTheFileTheTextAndTheDirectoryAsTheyWere)
{
    write_file(file("locked.txt"), "original\r\n");
    ASSERT_TRUE(SetFileAttributesA(file("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    CreateDirectoryA(file("taken").c_str(), nullptr);
    build();
    type("new text");

    EXPECT_FALSE(doc->save_document(file("locked.txt")));
    EXPECT_FALSE(doc->save_document(file("taken")));
    EXPECT_FALSE(doc->save_document(file("no such folder\\x.txt")));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text.rfind("Unable to save file \"" + file("locked.txt") + "\".  ", 0), 0u)
        << boxes[0].text;
    EXPECT_EQ(boxes[1].text.rfind("Unable to save file \"" + file("taken") + "\".", 0), 0u);
    EXPECT_EQ(boxes[2].text.rfind("Unable to save file \"" + file("no such folder\\x.txt"), 0), 0u);

    EXPECT_EQ(read_file(file("locked.txt")), "original\r\n");
    EXPECT_NE(GetFileAttributesA(file("taken").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_TRUE(directory_names(file("taken")).empty());
    EXPECT_EQ(directory_names(dir), (std::vector<std::string>{"locked.txt", "taken"}));
    EXPECT_EQ(view->text(), "new text");
    EXPECT_TRUE(doc->is_modified());
    EXPECT_EQ(doc->path_name(), "");
    EXPECT_EQ(window_title(), "Untitled - Sorvane");
}

TEST_F(Document, SaveAsksForANameWhenTheDocumentHasNoneOrItsFileIsReadOnly)
{
    write_file(file("ro.txt"), "read only\r\n");
    SetFileAttributesA(file("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    build();
    type("fresh");
    doc->file_names = {"", file("fresh.txt")};
    doc->OnFileSave();  // cancelled
    EXPECT_TRUE(doc->is_modified());
    doc->OnFileSave();
    EXPECT_EQ(read_file(file("fresh.txt")), "fresh");
    EXPECT_EQ(window_title(), "fresh.txt - Sorvane");

    ASSERT_TRUE(doc->open_document(file("ro.txt")));
    type("x");
    doc->file_names = {file("copy.txt")};
    doc->OnFileSave();
    EXPECT_EQ(read_file(file("ro.txt")), "read only\r\n");
    EXPECT_EQ(read_file(file("copy.txt")), "xread only\r\n");
    doc->file_names = {file("again.txt")};
    doc->OnFileSaveAs();
    EXPECT_EQ(read_file(file("again.txt")), "xread only\r\n");
    EXPECT_EQ(doc->offered_names,
              (std::vector<std::string>{"Untitled.txt", "Untitled.txt", file("ro.txt"), file("copy.txt")}));
    for (int seen : doc->monitoring_seen) EXPECT_EQ(seen, 0);
    EXPECT_EQ(context().monitoring_enabled, 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Document, TheSwitchReadsAsOnUnlessStoredAsZeroAndIsStoredOnlyWhenTheDocumentGoes)
{
    struct Case {
        bool store;
        int stored;
        int expected;
    };
    for (Case c : {Case{false, 0, 1}, Case{true, 0, 0}, Case{true, 1, 1}, Case{true, 7, 1},
                   Case{true, -1, 1}}) {
        wipe_settings();
        if (c.store) put_setting("Unsaved Doc Warning", c.stored);
        build();
        EXPECT_EQ(doc->warn_unsaved, c.expected) << "stored " << c.stored;
        EXPECT_EQ(frame->query_command(ID_OPT_WARN_UNSAVED).checked, c.expected == 1);
        close();
    }

    wipe_settings();
    build();
    EXPECT_TRUE(frame->execute_command(ID_OPT_WARN_UNSAVED));
    EXPECT_EQ(doc->warn_unsaved, 0);
    EXPECT_FALSE(frame->query_command(ID_OPT_WARN_UNSAVED).checked);
    EXPECT_EQ(registry_int(settings_key, "Unsaved Doc Warning", 99), 99u) << "not written yet";
    close();
    EXPECT_EQ(registry_int(settings_key, "Unsaved Doc Warning", 99), 0u);

    build();
    frame->execute_command(ID_OPT_WARN_UNSAVED);
    frame->execute_command(ID_OPT_WARN_UNSAVED);
    close();
    EXPECT_EQ(registry_int(settings_key, "Unsaved Doc Warning", 99), 0u);

    // A shut-down whose start-up never read the switch leaves the setting alone.
    Program_settings unread;
    unread.unsaved_doc_warning = 1;
    save_program_settings(profile(), unread);
    EXPECT_EQ(registry_int(settings_key, "Unsaved Doc Warning", 99), 0u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Document, ASwitchThatCannotBeStoredIsReportedAndShutDownGoesOn)
{
    build();
    // A key name longer than the registry allows.
    Application::current()->set_profile(std::string(300, 'k'), "Sorvane");
    close();
    Application::current()->set_profile(test_company, "Sorvane");
    ASSERT_FALSE(boxes.empty());
    bool found = false;
    for (const Box& b : boxes)
        if (b.text.rfind("Unable to save \"Unsaved Doc Warning\" setting.", 0) == 0) {
            found = true;
            EXPECT_EQ(b.kind, Box_kind::warning);
        }
    EXPECT_TRUE(found) << boxes[0].text;
    EXPECT_EQ(frame, nullptr);
}

TEST_F(Document, WithTheSwitchOffChangesAreDroppedWithoutAQuestion)
{
    put_setting("Unsaved Doc Warning", 0);
    build();
    type("draft");
    EXPECT_TRUE(frame->execute_command(ID_FILE_NEW));
    EXPECT_EQ(view->text(), "");
    write_file(file("a.txt"), "file a");
    type("more");
    EXPECT_TRUE(doc->open_document(file("a.txt")));
    EXPECT_EQ(view->text(), "file a");
    type("edit ");
    HWND window = frame->hwnd();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(doc->questions.empty());
    EXPECT_EQ(read_file(file("a.txt")), "file a");
}

TEST_F(Document, WithTheSwitchOnCancelKeepsTheTextTheFileAndTheWindow)
{
    write_file(file("other.txt"), "other");
    build();
    type("precious");
    doc->answers = {IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL};
    frame->execute_command(ID_FILE_NEW);
    EXPECT_FALSE(doc->open_document(file("other.txt")));
    SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(frame->hwnd()));
    EXPECT_EQ(SendMessageA(frame->hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE) << "Windows shutting down";
    EXPECT_EQ(doc->questions, std::vector<std::string>(4, "Save changes to Untitled?"));
    EXPECT_EQ(doc->monitoring_seen, std::vector<int>(4, 0));
    EXPECT_EQ(context().monitoring_enabled, 1);
    EXPECT_EQ(view->text(), "precious");
    EXPECT_TRUE(doc->is_modified());
    EXPECT_TRUE(view->can_undo());
    EXPECT_EQ(window_title(), "Untitled - Sorvane");
}

TEST_F(Document, YesSavesFirstAndNoDropsTheChanges)
{
    write_file(file("notes.txt"), "> quoted\r\n> text\r\n");
    build();
    ASSERT_TRUE(doc->open_document(file("notes.txt")));
    EXPECT_EQ(window_title(), "notes.txt - Sorvane");
    EXPECT_FALSE(doc->is_modified());
    view->clean_everything();
    EXPECT_TRUE(doc->is_modified()) << "cleaning is a change";
    const std::string cleaned = view->text();
    ASSERT_NE(cleaned, "> quoted\r\n> text\r\n");

    doc->answers = {IDYES};
    EXPECT_TRUE(frame->execute_command(ID_FILE_NEW));
    EXPECT_EQ(doc->questions, std::vector<std::string>{"Save changes to notes.txt?"});
    EXPECT_EQ(read_file(file("notes.txt")), cleaned);
    EXPECT_EQ(view->text(), "");
    EXPECT_EQ(window_title(), "Untitled - Sorvane");

    type("scratch");
    doc->answers = {IDNO};
    ASSERT_TRUE(doc->open_document(file("notes.txt")));
    EXPECT_EQ(view->text(), cleaned);

    // Yes on a text without a file asks for a name; cancelling that cancels the whole step.
    frame->execute_command(ID_FILE_NEW);
    type("untitled work");
    doc->answers = {IDYES};
    doc->file_names = {""};
    SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame->hwnd()));
    EXPECT_EQ(view->text(), "untitled work");
    EXPECT_EQ(doc->offered_names, std::vector<std::string>{"Untitled.txt"});
}

TEST_F(Document, FileCommandsAreEnabledAndOpenRunsWithMonitoringOff)
{
    write_file(file("picked.txt"), "picked");
    build();
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        EXPECT_TRUE(frame->query_command(id).enabled) << id;
    doc->file_names = {file("picked.txt")};
    frame->execute_command(ID_FILE_OPEN);
    EXPECT_EQ(view->text(), "picked");
    EXPECT_EQ(doc->monitoring_seen, std::vector<int>{0});
    EXPECT_EQ(context().monitoring_enabled, 1);
    doc->file_names = {""};
    frame->execute_command(ID_FILE_OPEN);
    EXPECT_EQ(doc->offered_names.back(), file("picked.txt")) << "the dialog starts at the file";
    EXPECT_EQ(view->text(), "picked");
}

TEST_F(Document, TheCommandLineNamesTheFileToOpen)
{
    write_file(file("with space.txt"), "spaced");
    build();
    doc->open_at_start("  \"" + file("with space.txt") + "\"  ");
    EXPECT_EQ(view->text(), "spaced");
    EXPECT_EQ(window_title(), "with space.txt - Sorvane");
    close();

    build();
    doc->open_at_start(file("with space.txt"));
    EXPECT_EQ(view->text(), "spaced");
    close();

    build();
    doc->open_at_start("   ");
    EXPECT_EQ(window_title(), "Untitled - Sorvane");
    EXPECT_TRUE(boxes.empty());

    // A file that cannot be opened is reported, and the program starts with an empty text.
    doc->open_at_start("\"" + file("gone.txt") + "\"");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Unable to open file \"" + file("gone.txt") + "\".", 0), 0u);
    EXPECT_EQ(view->text(), "");
    EXPECT_EQ(window_title(), "Untitled - Sorvane");
}

HGLOBAL drop_of(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& n : names) list += n + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
}

TEST_F(Document, TheFirstDroppedFileIsOpenedAfterTheQuestion)
{
    write_file(file("first.txt"), "first");
    write_file(file("second.txt"), "second");
    build();
    type("unsaved");
    doc->answers = {IDCANCEL, IDNO};
    SendMessageA(frame->hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(drop_of({file("first.txt"), file("second.txt")})), 0);
    EXPECT_EQ(view->text(), "unsaved");
    SendMessageA(frame->hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(drop_of({file("first.txt"), file("second.txt")})), 0);
    EXPECT_EQ(view->text(), "first");
    EXPECT_EQ(doc->path_name(), file("first.txt"));
    EXPECT_EQ(doc->questions.size(), 2u);
}

TEST_F(Document, ANameOutsideTheCodePageOpensSavesAndDropsAsItIsAndTitlesTheWindow)
{
    // "Omega notes.txt" with a capital omega, in UTF-8 as the program holds names.
    const std::string omega = "\xce\xa9mega";
    auto wide_write = [](const std::string& utf8_path, const std::string& bytes) {
        HANDLE h = CreateFileW(widen(utf8_path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
    };
    auto wide_read = [](const std::string& utf8_path) {
        std::string bytes(64, '\0');
        HANDLE h = CreateFileW(widen(utf8_path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::string("<missing>");
        DWORD n = 0;
        ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
        bytes.resize(n);
        return bytes;
    };
    auto wide_title = [this] {
        // The title as the window keeps and draws it; asking the ANSI window would convert it.
        wchar_t text[256] = L"";
        InternalGetWindowText(frame->hwnd(), text, 256);
        return to_utf8(text);
    };
    wide_write(file(omega + " notes.txt"), "caf\xe9 notes");
    wide_write(file(omega + " dropped.txt"), "dropped");
    build();
    doc->open_at_start("\"" + file(omega + " notes.txt") + "\"");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(view->text(), "caf\u00e9 notes");
    EXPECT_EQ(doc->path_name(), file(omega + " notes.txt"));
    EXPECT_EQ(wide_title(), omega + " notes.txt - Sorvane");

    doc->file_names = {file(omega + " saved.txt")};
    frame->execute_command(ID_FILE_SAVE_AS);
    EXPECT_EQ(wide_read(file(omega + " saved.txt")), "caf\xe9 notes");
    EXPECT_EQ(wide_title(), omega + " saved.txt - Sorvane");

    const std::wstring name = widen(file(omega + " dropped.txt"));
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), name.c_str(), name.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageA(frame->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(view->text(), "dropped");
    EXPECT_EQ(doc->path_name(), file(omega + " dropped.txt"));

    // A name that cannot be opened is reported with the name as it is.
    doc->open_at_start(file(omega + " gone.txt"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Unable to open file \"" + file(omega + " gone.txt") + "\".", 0), 0u);
    EXPECT_EQ(view->text(), "dropped");
}

TEST_F(Document, TheDocumentTypeIsRecordedWithoutTakingOverTxt)
{
    const std::string before = registry_text(HKEY_CLASSES_ROOT, ".txt");
    register_document_type();
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    EXPECT_EQ(registry_text(HKEY_CURRENT_USER, "Software\\Classes\\Sorvane.txt"), "Text Document");
    EXPECT_EQ(registry_text(HKEY_CURRENT_USER, "Software\\Classes\\Sorvane.txt\\shell\\open\\command"),
              "\"" + std::string(program) + "\" \"%1\"");
    if (before != "<none>" && !before.empty()) {
        EXPECT_EQ(registry_text(HKEY_CLASSES_ROOT, ".txt"), before);
        EXPECT_EQ(registry_text(HKEY_CURRENT_USER, "Software\\Classes\\.txt"), "<none>");
    } else {
        EXPECT_EQ(registry_text(HKEY_CURRENT_USER, "Software\\Classes\\.txt"), "Sorvane.txt");
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\Sorvane.txt");
    if (before == "<none>" || before.empty()) RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\.txt");
}

}  // namespace
