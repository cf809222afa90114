// Program settings kept per user: HKEY_CURRENT_USER\Software\<company>\<application>\<section>,
// integers as REG_DWORD, strings as REG_SZ.
#pragma once

#include <windows.h>

#include <string>

class Profile {
public:
    Profile() = default;
    Profile(std::string company, std::string application);

    // "Software\<company>\<application>": where the program keeps all it remembers.
    std::string program_key() const;
    // program_key() + "\<section>"
    std::string key_path(const std::string& section) const;

    // The stored value, or fallback when it is absent or of another type.
    int get_int(const std::string& section, const std::string& name, int fallback) const;
    std::string get_string(const std::string& section, const std::string& name,
                           const std::string& fallback) const;

    // Return false on failure, with the registry's error code as the thread's last error.
    bool write_int(const std::string& section, const std::string& name, int value);
    bool write_string(const std::string& section, const std::string& name,
                      const std::string& value);

private:
    bool write(const std::string& section, const std::string& name, DWORD type, const BYTE* data,
               DWORD size);

    std::string company_;
    std::string application_;
};
