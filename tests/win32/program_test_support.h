// The program's classes assembled as start-up assembles them, on the real registry of the test
// prefix (under a company key of their own, wiped before and after each test) and with boxes
// recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/SorvaneDoc.h"
#include "app/SorvaneEditView.h"
#include "app/globals.h"
#include "framework/profile.h"
#include "settings/Cleaning_prefs.h"
#include "tests/win32/test_files.h"

extern const char* const test_company;

// The process's application object, with its profile under the test company.
void use_test_application();

// "Software\<test company>\Sorvane\" + rest
std::string program_key(const std::string& rest);
// A DWORD value, or fallback when absent.
DWORD registry_int(const std::string& path, const std::string& name, DWORD fallback);
bool registry_has(const std::string& path, const std::string& name);
std::string temp_directory(const std::string& name);
void write_file(const std::string& path, const std::string& content);

class Program : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Program settings to put before build(), in section "Settings".
    void put_setting(const std::string& name, int value);
    // Start-up from the document to the tab stops.
    void build();
    // Closes the main window as a person would, then lets the objects go.
    void close();

    Profile& profile();

    std::vector<Box> boxes;
    std::unique_ptr<Cleaning_prefs> store;
    std::unique_ptr<CSorvaneDoc> document;
    std::unique_ptr<CSorvaneEditView> view;
    std::unique_ptr<CMainFrame> frame;
};

// A Program whose help requests are recorded (by help context) instead of opening the help.
class Program_recording_help : public Program {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<int> helps;
};
