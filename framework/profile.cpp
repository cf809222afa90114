#include "framework/profile.h"

#include <utility>
#include <vector>

#include "base/diagnostics.h"
#include "framework/strings.h"

namespace {

void log_failure(const char* what, const std::string& path, const std::string& name, LONG code)
{
    trace(std::string(what) + " " + path + "\\" + name + " failed: " + int_to_string(code) + "\n");
}

class Key {
public:
    ~Key()
    {
        if (key_) RegCloseKey(key_);
    }
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

Profile::Profile(std::string company, std::string application)
    : company_(std::move(company)), application_(std::move(application))
{
}

std::string Profile::program_key() const
{
    return "Software\\" + company_ + "\\" + application_;
}

std::string Profile::key_path(const std::string& section) const
{
    return program_key() + "\\" + section;
}

int Profile::get_int(const std::string& section, const std::string& name, int fallback) const
{
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(key_path(section)).c_str(), 0, KEY_READ, key.out()) !=
        ERROR_SUCCESS)
        return fallback;
    DWORD type = 0, value = 0, size = sizeof value;
    LONG rc = RegQueryValueExW(key.get(), widen(name).c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return fallback;
    return static_cast<int>(value);
}

std::string Profile::get_string(const std::string& section, const std::string& name,
                                const std::string& fallback) const
{
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(key_path(section)).c_str(), 0, KEY_READ, key.out()) !=
        ERROR_SUCCESS)
        return fallback;
    const std::wstring wide_name = widen(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), wide_name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return fallback;
    // The size is in bytes; a value stored without its terminator still ends in one here.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key.get(), wide_name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return fallback;
    return to_utf8(buffer.data());
}

bool Profile::write_int(const std::string& section, const std::string& name, int value)
{
    DWORD data = static_cast<DWORD>(value);
    return write(section, name, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool Profile::write_string(const std::string& section, const std::string& name,
                           const std::string& value)
{
    const std::wstring wide = widen(value);
    return write(section, name, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

bool Profile::write(const std::string& section, const std::string& name, DWORD type,
                    const BYTE* data, DWORD size)
{
    const std::string path = key_path(section);
    LONG rc;
    {
        Key key;
        rc = RegCreateKeyExW(HKEY_CURRENT_USER, widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE, nullptr, key.out(), nullptr);
        if (rc == ERROR_SUCCESS) rc = RegSetValueExW(key.get(), widen(name).c_str(), 0, type, data, size);
    }
    if (rc == ERROR_SUCCESS) return true;
    log_failure("Writing", path, name, rc);
    // Set last, after the key is closed and the log written, for the caller's warning_last.
    SetLastError(static_cast<DWORD>(rc));
    return false;
}
