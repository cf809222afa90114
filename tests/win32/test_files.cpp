#include "tests/win32/test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::string temp_path(const std::string& name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Child_result run_child_test(const std::string& suite, const std::string& log_path,
                            const std::vector<std::pair<std::string, std::string>>& environment)
{
    DeleteFileA(log_path.c_str());
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --gtest_filter=" + suite +
                          ".* --gtest_also_run_disabled_tests";
    for (const auto& [name, value] : environment) SetEnvironmentVariableA(name.c_str(), value.c_str());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;  // the child's own test output would only confuse ours
    si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    Child_result result;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &result.code);
        else
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(nul);
    for (const auto& entry : environment) SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    result.log = read_file(log_path);
    return result;
}

void expect_fatal_exit(const Child_result& child)
{
    EXPECT_EQ(child.code, 0u);
    const std::string last = "<<< EXITING DUE TO FATAL ERROR >>>\r\n";
    ASSERT_GE(child.log.size(), last.size()) << child.log;
    EXPECT_EQ(child.log.substr(child.log.size() - last.size()), last) << child.log;
}
