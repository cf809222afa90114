// Files and child processes for the Windows tests.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

std::string temp_path(const std::string& name);
std::string read_file(const std::string& path);

struct Child_result {
    DWORD code = 99;  // 99: the child could not be started or did not end within a minute
    std::string log;
};

// Runs this test program again with only the disabled tests of suite (a fatal path that ends the
// process), the given environment set for it, and its own output silenced; log_path is read back.
Child_result run_child_test(const std::string& suite, const std::string& log_path,
                            const std::vector<std::pair<std::string, std::string>>& environment);

// The child ended by the fatal exit: code 0 and the log's last line says so.
void expect_fatal_exit(const Child_result& child);
