#include "tests/win32/program_test_support.h"

#include <cstdio>
#include <fstream>

#include "framework/application.h"

const char* const test_company = "SorvaneProgramTests";

namespace {

void wipe_registry()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + test_company).c_str());
}

Start_options test_options()
{
    Start_options options;
    options.company = test_company;
    options.program_directory = temp_directory("sorvane_program_tests");
    options.splash = false;
    // Not shown: without a window manager, Wine waits two seconds for every hide.
    options.show_window = false;
    options.start_dialogs = false;
    return options;
}

}  // namespace

std::string program_key(const std::string& rest)
{
    return std::string("Software\\") + test_company + "\\Sorvane\\" + rest;
}

DWORD registry_int(const std::string& path, const std::string& name, DWORD fallback)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return fallback;
    DWORD type = 0, value = 0, size = sizeof value;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? value : fallback;
}

bool registry_has(const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string temp_directory(const std::string& name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void write_file(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// The save question would block a test: this document answers No, as a person closing
// without saving would.
class Declining_doc : public CSorvaneDoc {
public:
    using CSorvaneDoc::CSorvaneDoc;

protected:
    int ask_save_changes(const std::string&) override { return IDNO; }
};

Test_program::Test_program() : CSorvaneApp(test_options()) {}

std::unique_ptr<CSorvaneDoc> Test_program::make_document()
{
    if (document_factory) return document_factory(context());
    return std::make_unique<Declining_doc>(context());
}

void Program::SetUp()
{
    wipe_registry();
    set_box_recorder([this](const Box& box) {
        // A critical box comes before the process ends: say why, or the run just stops.
        if (box.kind == Box_kind::critical) std::printf("CRITICAL box: %s\n", box.text.c_str());
        std::fflush(stdout);
        boxes.push_back(box);
    });
    app = std::make_unique<Test_program>();
    write_file(temp_directory("sorvane_program_tests") + "\\abbr.dat",
               "# test list\r\nMr.\r\n  e.g.  \r\nDr.\r\n");
}

void Program::put_setting(const std::string& name, int value)
{
    ASSERT_TRUE(profile().write_int("Settings", name, value));
}

void Program::build()
{
    ASSERT_TRUE(app->start());
    store = app->store();
    document = app->document();
    view = app->view();
    frame = app->frame();
}

void Program::close()
{
    if (!frame) return;
    if (frame->hwnd()) {
        SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
        MSG quit{};
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    app->ExitInstance(0);
    document = nullptr;
    view = nullptr;
    frame = nullptr;
}

void Program::TearDown()
{
    close();
    app.reset();
    set_box_recorder(nullptr);
    wipe_registry();
}

void Program_recording_help::SetUp()
{
    Program::SetUp();
    app->set_help([this](int context) { helps.push_back(context); });
}
