// The program started by its own start-up code, on the real registry of the test prefix (under a
// company key of its own, wiped before and after each test), in a directory of its own, without
// the splash, the shown window and the start dialogs, and with boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/Sorvane.h"
#include "app/SorvaneDoc.h"
#include "app/SorvaneEditView.h"
#include "base/diagnostics.h"
#include "framework/profile.h"
#include "settings/Cleaning_prefs.h"
#include "tests/win32/test_files.h"

extern const char* const test_company;

// "Software\<test company>\Sorvane\" + rest
std::string program_key(const std::string& rest);
// A DWORD value, or fallback when absent.
DWORD registry_int(const std::string& path, const std::string& name, DWORD fallback);
bool registry_has(const std::string& path, const std::string& name);
std::string temp_directory(const std::string& name);
void write_file(const std::string& path, const std::string& content);

// The application with the tests' start options; a test may give it its own document.
class Test_program : public CSorvaneApp {
public:
    Test_program();
    std::function<std::unique_ptr<CSorvaneDoc>(Program_context&)> document_factory;

protected:
    std::unique_ptr<CSorvaneDoc> make_document() override;
};

class Program : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Program settings to put before build(), in section "Settings".
    void put_setting(const std::string& name, int value);
    // Start-up, as the program runs it.
    void build();
    // Closes the main window as a person would, then shut-down as the program runs it.
    void close();

    Profile& profile() { return app->profile(); }
    Program_context& context() { return app->context(); }

    std::vector<Box> boxes;
    std::unique_ptr<Test_program> app;
    // Start-up's pieces, once build() has run.
    Cleaning_prefs* store = nullptr;
    CSorvaneDoc* document = nullptr;
    CSorvaneEditView* view = nullptr;
    CMainFrame* frame = nullptr;
};

// A Program whose help requests are recorded (by help context) instead of opening the help.
class Program_recording_help : public Program {
protected:
    void SetUp() override;

    std::vector<int> helps;
};
