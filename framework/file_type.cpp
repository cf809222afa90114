#include "framework/file_type.h"

#include <windows.h>

namespace {

void set_class_value(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

bool class_claimed(const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(handle, nullptr, nullptr, &type, nullptr, &size);
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS && type == REG_SZ && size > 1;
}

}  // namespace

void register_file_type(const std::string& ext, const std::string& id,
                        const std::string& type_name)
{
    if (id.empty() || ext.empty()) return;
    char program[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    set_class_value(id, type_name);
    set_class_value(id + "\\DefaultIcon", std::string(program) + ",0");
    set_class_value(id + "\\shell\\open\\command", "\"" + std::string(program) + "\" \"%1\"");
    if (!class_claimed(ext)) set_class_value(ext, id);
}
