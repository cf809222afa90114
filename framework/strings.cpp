#include "framework/strings.h"

#include <vector>

#include "framework/window.h"

std::wstring widen(const std::string& utf8)
{
    if (utf8.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

namespace {

std::string narrow(const std::wstring& wide, UINT code_page)
{
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(code_page, 0, wide.data(), size, &text[0], n, nullptr, nullptr);
    return text;
}

}  // namespace

std::string to_utf8(const std::wstring& wide) { return narrow(wide, CP_UTF8); }

std::string command_line_utf8()
{
    const wchar_t* line = GetCommandLineW();
    if (!line) return std::string();
    // The program's own name comes first, quoted or up to the first blank.
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return to_utf8(line);
}

std::string load_string(int id)
{
    // Length 0 asks for a read-only pointer to the resource's own text.
    const wchar_t* resource = nullptr;
    const int n = LoadStringW(module_instance(), static_cast<UINT>(id),
                              reinterpret_cast<LPWSTR>(&resource), 0);
    if (n <= 0 || !resource) return std::string();
    return to_utf8(std::wstring(resource, static_cast<std::size_t>(n)));
}

std::string string_line(const std::string& text, int index)
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        std::size_t next = text.find('\n', start);
        if (next == std::string::npos) return std::string();
        start = next + 1;
    }
    std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
