#include "tests/win32/program_test_support.h"

#include <cstdio>
#include <fstream>

#include "app/Sorvane.h"
#include "framework/application.h"
#include "settings/D_preset_combo_box.h"

const char* const test_company = "SorvaneProgramTests";

namespace {

class Test_app : public Application {
public:
    Test_app() { set_profile(test_company, "Sorvane"); }

protected:
    bool start() override { return true; }
};

Test_app& test_app()
{
    static Test_app app;
    return app;
}

void wipe_registry()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + test_company).c_str());
}

}  // namespace

void use_test_application() { test_app(); }

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

Profile& Program::profile() { return test_app().profile(); }

void Program::SetUp()
{
    test_app();
    wipe_registry();
    set_box_recorder([this](const Box& box) {
        // A critical box comes before the process ends: say why, or the run just stops.
        if (box.kind == Box_kind::critical) std::printf("CRITICAL box: %s\n", box.text.c_str());
        std::fflush(stdout);
        boxes.push_back(box);
    });
    program_directory = temp_directory("sorvane_program_tests");
    write_file(program_directory + "\\abbr.dat", "# test list\r\nMr.\r\n  e.g.  \r\nDr.\r\n");
    monitoring_enabled = 1;
    pending_preset_name.clear();
    current_preset_name = "Full Cleaning";
    store = std::make_unique<Cleaning_prefs>(test_company);
    cleaning_prefs = store.get();
    cleaning_prefs->copy_prefs(cleaning_prefs->current_settings, cleaning_prefs->working_copy);
}

void Program::put_setting(const std::string& name, int value)
{
    ASSERT_TRUE(profile().write_int("Settings", name, value));
}

void Program::build()
{
    document = std::make_unique<CSorvaneDoc>();
    view = std::make_unique<CSorvaneEditView>();
    frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->create(*document, *view));
    test_app().set_main_frame(frame.get());
    // Not shown: without a window manager, Wine waits two seconds for every hide.
    the_edit_view = view.get();
    frame->restore_window_state();
    view->initialize();
    view->set_tab_stops_from_settings();
}

void Program::close()
{
    if (frame && frame->hwnd()) {
        SendMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
        MSG quit{};
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    view.reset();
    frame.reset();
    document.reset();
}

void Program::TearDown()
{
    close();
    test_app().set_main_frame(nullptr);
    cleaning_prefs = nullptr;
    store.reset();
    set_box_recorder(nullptr);
    wipe_registry();
}

void Program_recording_help::SetUp()
{
    Program::SetUp();
    Application::current()->set_help([this](int context) { helps.push_back(context); });
}

void Program_recording_help::TearDown()
{
    Application::current()->set_help(nullptr);
    Program::TearDown();
}
