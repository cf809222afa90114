#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/diagnostics_win32.h"
#include "tests/win32/test_files.h"

namespace {

class Diagnostics : public ::testing::Test {
protected:
    void SetUp() override
    {
        set_box_recorder([this](const Box& box) { boxes.push_back(box); });
    }
    void TearDown() override
    {
        set_box_recorder(nullptr);
        close_log();
    }
    std::vector<Box> boxes;
};

TEST_F(Diagnostics, LogIsRecreatedEachRunAndComplete)
{
    const std::string path = temp_path("sv_log_test.txt");
    ASSERT_TRUE(open_log(path));
    trace("first run\n");
    close_log();
    ASSERT_TRUE(open_log(path));
    trace("Initializing...\n");
    trace_location("C:\\src\\engine\\cleaning.cpp", 42);
    // Flushed line by line: the file is complete while still open.
    EXPECT_EQ(read_file(path), "Initializing...\r\ncleaning.cpp, 42\r\n");
}

TEST_F(Diagnostics, WarningWithCodeFiveCarriesTheSystemTextAfterTwoBlanks)
{
    warning_code("Unable to store setting 'x'.", 5);
    ASSERT_EQ(boxes.size(), 1u);
    const std::string& text = boxes[0].text;
    const std::string prefix = "Unable to store setting 'x'.  ";
    ASSERT_GT(text.size(), prefix.size());
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    EXPECT_NE(text.find("ccess"), std::string::npos) << text;  // "Access denied"
    EXPECT_EQ(boxes[0].caption, "WARNING");
    EXPECT_EQ(boxes[0].style, unsigned(MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL));
}

TEST_F(Diagnostics, CodeZeroOrUnknownCodeShowsThePlainText)
{
    warning_code("Plain.", 0);
    critical_error_code("Also plain.", 0xDEADBEEF);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Plain.");
    EXPECT_EQ(boxes[1].text, "Also plain.");
    EXPECT_EQ(boxes[1].caption, "CRITICAL ERROR");
}

TEST_F(Diagnostics, LastErrorVariantsUseTheThreadsLastError)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    warning_last("Couldn't access text on clipboard.");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Couldn't access text on clipboard.  " +
                                 platform_system_message(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(platform_system_message(ERROR_FILE_NOT_FOUND).empty());
}

TEST_F(Diagnostics, BoxesAreLoggedWithTheirKind)
{
    const std::string path = temp_path("sv_log_kinds.txt");
    ASSERT_TRUE(open_log(path));
    error_box("Bad value.");
    warning("Careful.");
    critical_error("Broken.");
    close_log();
    EXPECT_EQ(read_file(path), "ERROR: Bad value.\r\nWARNING: Careful.\r\nCRITICAL: Broken.\r\n");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "OOPS!");
    EXPECT_EQ(boxes[0].style, unsigned(MB_OK | MB_ICONSTOP));
}

TEST(Numbers, ConvertAsPercentD)
{
    EXPECT_EQ(int_to_string(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(int_to_string(0), "0");
    EXPECT_EQ(string_to_int("12abc"), 12);
    EXPECT_EQ(string_to_int("  -7 x"), -7);
    EXPECT_EQ(string_to_int("+3"), 3);
    EXPECT_EQ(string_to_int("abc12"), 0);
    EXPECT_EQ(string_to_int(""), 0);
}

TEST(Controls, HelpersActOnRealChildWindows)
{
    HWND parent = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    HWND child = CreateWindowA("BUTTON", "x", WS_CHILD, 0, 0, 5, 5, parent,
                               reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    disable_control(parent, 1001);
    EXPECT_FALSE(is_control_enabled(parent, 1001));
    enable_control(parent, 1001);
    EXPECT_TRUE(is_control_enabled(parent, 1001));
    DestroyWindow(parent);
}

// internal_error in a child process: the box text names only the file, the log ends with the
// fatal-exit line and the exit code is 0.
TEST(InternalError, EndsAChildProcessWithCodeZeroAndTheFatalLine)
{
    const std::string log = temp_path("sv_log_internal.txt");
    const Child_result child =
        run_child_test("InternalErrorChild", log, {{"SORVANE_CHILD_LOG", log}});
    expect_fatal_exit(child);
    EXPECT_NE(child.log.find("CRITICAL: An internal error has occured.  (Error Codes: settings.cpp, 77)\r\n"
                        "If the problem persists, contact Meradon for assistance (https://"),
              std::string::npos)
        << child.log;
}

TEST(InternalErrorChild, DISABLED_Run)
{
    char log[MAX_PATH];
    if (!GetEnvironmentVariableA("SORVANE_CHILD_LOG", log, MAX_PATH)) GTEST_SKIP();
    set_box_recorder([](const Box&) {});
    ASSERT_TRUE(open_log(log));
    internal_error("C:\\work\\settings\\settings.cpp", 77);
}

}  // namespace
