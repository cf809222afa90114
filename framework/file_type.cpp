#include "framework/file_type.h"

#include <windows.h>

#include "framework/strings.h"

namespace {

void set_class_value(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, widen("Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring wide = widen(value);
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

bool class_claimed(const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, widen(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(handle, nullptr, nullptr, &type, nullptr, &size);
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS && type == REG_SZ && size > sizeof(wchar_t);
}

}  // namespace

void register_file_type(const std::string& ext, const std::string& id,
                        const std::string& type_name)
{
    if (id.empty() || ext.empty()) return;
    wchar_t wide_program[MAX_PATH] = L"";
    const DWORD n = GetModuleFileNameW(nullptr, wide_program, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    const std::string program = to_utf8(wide_program);
    set_class_value(id, type_name);
    set_class_value(id + "\\DefaultIcon", program + ",0");
    set_class_value(id + "\\shell\\open\\command", "\"" + program + "\" \"%1\"");
    if (!class_claimed(ext)) set_class_value(ext, id);
}
