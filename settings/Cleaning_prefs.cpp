#include "settings/Cleaning_prefs.h"

#include <cstring>
#include <string>

#include "base/diagnostics.h"
#include "engine/text_encoding.h"

namespace {

wchar_t key_class[] = L"REG_SZ";

// Names and texts are UTF-8 here and UTF-16 in the registry.
std::wstring wide(std::string_view utf8)
{
    const std::u16string units = utf8_to_utf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string from_wide(const wchar_t* text, std::size_t length)
{
    return utf16_to_utf8(std::u16string(text, text + length));
}

// Opens a key below parent, creating it if missing.
LONG open_or_create(HKEY parent, const char* path, HKEY& key, DWORD* disposition = nullptr)
{
    return RegCreateKeyExW(parent, wide(path).c_str(), 0, key_class, 0, KEY_ALL_ACCESS, nullptr,
                           &key, disposition);
}

// The key that read_prefs_from_reg and write_prefs_to_reg act on: key itself, or its subkey
// opened (or created) for the one operation and closed afterwards.
class Target_key {
public:
    Target_key(HKEY key, const char* subkey) : key_(key)
    {
        if (subkey) {
            result_ = open_or_create(key, subkey, key_);
            owned_ = result_ == ERROR_SUCCESS;
        }
    }
    ~Target_key()
    {
        if (owned_) RegCloseKey(key_);
    }
    Target_key(const Target_key&) = delete;
    Target_key& operator=(const Target_key&) = delete;

    LONG result() const { return result_; }
    HKEY get() const { return key_; }

private:
    HKEY key_;
    LONG result_ = ERROR_SUCCESS;
    bool owned_ = false;
};

std::string quoted(const std::string& prefix, const std::string& name)
{
    return prefix + "'" + name + "'.";
}

// The raw 4 bytes, whatever the value's type. Fewer bytes cannot be an integer that was
// stored: the value counts as unreadable, like a missing one or one of more than 4 bytes.
// Read through the 8-bit call on purpose: a string-typed value then gives the same bytes (its
// 8-bit form) as it always has; the names are ASCII.
LONG read_int_value(HKEY key, const char* name, std::int32_t& value)
{
    BYTE data[4];
    DWORD size = sizeof data;
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, data, &size);
    if (result != ERROR_SUCCESS) return result;
    if (size != sizeof data) return ERROR_INVALID_DATA;
    std::memcpy(&value, data, sizeof data);
    return ERROR_SUCCESS;
}

// The data up to its first NUL or its end; a value stored without a terminator is bounded by
// the size that the registry reports.
// A value of another type gives its raw bytes, read as the 8-bit text they always were.
LONG read_string_value(HKEY key, const char* name, std::string& text)
{
    const std::wstring wide_name = wide(name);
    DWORD size = 0, type = 0;
    LONG result = RegQueryValueExW(key, wide_name.c_str(), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) return result;
    std::string data(size == 0 ? 2 : size + 1, '\0');
    result = RegQueryValueExW(key, wide_name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(&data[0]), &size);
    if (result != ERROR_SUCCESS) return result;
    data.resize(size);
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        std::wstring units(data.size() / sizeof(wchar_t), L'\0');
        if (!units.empty()) std::memcpy(&units[0], data.data(), units.size() * sizeof(wchar_t));
        text = from_wide(units.c_str(), units.find(L'\0') == std::wstring::npos
                                            ? units.size()
                                            : units.find(L'\0'));
        return ERROR_SUCCESS;
    }
    std::string error;
    if (!decode_text(data.substr(0, data.find('\0')), Text_encoding::ansi, text, error))
        return ERROR_INVALID_DATA;
    return ERROR_SUCCESS;
}

}  // namespace

namespace {

enum class Name_fault { none, empty, backslash, too_long };

// A backslash would nest keys and a longer name would stop the enumeration at start-up: either
// way the preset, and perhaps others, would not come back.
Name_fault preset_name_fault(const std::string& name)
{
    if (name.empty()) return Name_fault::empty;
    if (name.find('\\') != std::string::npos) return Name_fault::backslash;
    if (name.size() > max_preset_name) return Name_fault::too_long;
    return Name_fault::none;
}

}  // namespace

bool storable_preset_name(const std::string& name)
{
    return preset_name_fault(name) == Name_fault::none;
}

Cleaning_prefs::Cleaning_prefs(const std::string& program_key)
{
    trace("Cleaning_prefs::Cleaning_prefs()\n");

    presets[full_cleaning_name] = {Preset_kind::predefined, builtin_preset(Builtin_preset::full)};
    presets[light_cleaning_name] = {Preset_kind::predefined, builtin_preset(Builtin_preset::light)};

    const std::string presets_path = program_key + "\\Presets";
    console_trace("Preset key: %s\n", presets_path.c_str());
    LONG result = open_or_create(HKEY_CURRENT_USER, presets_path.c_str(), presets_key);
    if (result != ERROR_SUCCESS) {
        critical_error_code("Unable to access preset area.", result);
        fatal_exit();
    }

    // The names are taken first: read_preset may delete a subkey, which would shift the
    // indices of those after it.
    std::vector<std::string> names;
    LONG enumeration = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        wchar_t name[max_preset_name + 1];
        DWORD length = max_preset_name + 1;
        enumeration = RegEnumKeyExW(presets_key, index, name, &length, nullptr, nullptr, nullptr,
                                    nullptr);
        if (enumeration != ERROR_SUCCESS) break;
        names.push_back(from_wide(name, length));
    }
    for (const std::string& name : names) read_preset(name);
    if (enumeration != ERROR_NO_MORE_ITEMS) warning_code("Unable to read all presets.", enumeration);

    const std::string current_path = program_key + "\\Current Cleaning Settings";
    DWORD disposition = 0;
    result = open_or_create(HKEY_CURRENT_USER, current_path.c_str(), current_key, &disposition);
    if (result != ERROR_SUCCESS) {
        critical_error_code("Unable to access current settings.", result);
        fatal_exit();
    }
    bool created = disposition == REG_CREATED_NEW_KEY;

    if (!created && !read_prefs_from_reg(current_key, nullptr, current_settings_)) {
        RegCloseKey(current_key);
        current_key = nullptr;
        result = RegDeleteKeyW(HKEY_CURRENT_USER, wide(current_path).c_str());
        if (result != ERROR_SUCCESS) {
            critical_error_code("Unable to remove corrupt current settings.", result);
            fatal_exit();
        }
        result = open_or_create(HKEY_CURRENT_USER, current_path.c_str(), current_key);
        if (result != ERROR_SUCCESS) {
            critical_error_code("Unable to recreate current settings.", result);
            fatal_exit();
        }
        created = true;
    }

    if (created) {
        if (!write_prefs_to_reg(get_preset(full_cleaning_name), current_key, nullptr)) fatal_exit();
        if (!read_prefs_from_reg(current_key, nullptr, current_settings_)) INTERNAL_ERROR();
    }

    trace("Exit Cleaning_prefs::Cleaning_prefs()\n");
}

Cleaning_prefs::~Cleaning_prefs()
{
    if (presets_key) RegCloseKey(presets_key);
    if (current_key) RegCloseKey(current_key);
}

void Cleaning_prefs::read_preset(const std::string& name)
{
    trace("Cleaning_prefs::read_preset()\n");
    Preset& loaded = presets[name] = {Preset_kind::user, Cleaning_settings()};
    if (read_prefs_from_reg(presets_key, name.c_str(), loaded.settings)) {
        trace("Exit Cleaning_prefs::read_preset()\n");
        return;
    }
    LONG result = RegDeleteKeyW(presets_key, wide(name).c_str());
    if (result != ERROR_SUCCESS)
        warning_code(quoted("Unable to remove corrupt preset ", name), result);
    presets.erase(name);
}

bool Cleaning_prefs::read_prefs_from_reg(HKEY key, const char* subkey, Cleaning_settings& record)
{
    trace("Cleaning_prefs::read_prefs_from_reg()\n");
    remove_settings_from_mem(record);

    Target_key target(key, subkey);
    if (target.result() != ERROR_SUCCESS) {
        warning_code(quoted("Unable to create or access registry key ", subkey), target.result());
        return false;
    }

    auto fail = [&](const char* name, LONG result) {
        warning_code(quoted("Unable to read preference ", name), result);
        remove_settings_from_mem(record);
        return false;
    };
    for (const Setting_field& field : setting_fields) {
        const LONG result = field.is_text()
                                ? read_string_value(target.get(), field.name(), field.text.of(record))
                                : read_int_value(target.get(), field.name(), field.integer.of(record));
        // A key written before the setting existed: the record's 0 stands until the next write.
        if (result == ERROR_FILE_NOT_FOUND && field.may_be_absent) continue;
        if (result != ERROR_SUCCESS) return fail(field.name(), result);
    }

    trace("exit Cleaning_prefs::read_prefs_from_reg()\n");
    return true;
}

bool Cleaning_prefs::write_prefs_to_reg(const Cleaning_settings& record, HKEY key,
                                        const char* subkey)
{
    trace("Cleaning_prefs::write_prefs_to_reg()\n");
    Target_key target(key, subkey);
    if (target.result() != ERROR_SUCCESS) {
        warning_code(quoted("Unable to create or access registry key ", subkey), target.result());
        return false;
    }

    for (const Setting_field& field : setting_fields) {
        LONG result;
        if (field.is_text()) {
            const std::string& text = field.text.of(record);
            const std::wstring units = wide(text);
            result = RegSetValueExW(target.get(), wide(field.name()).c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(units.c_str()),
                                    static_cast<DWORD>((units.size() + 1) * sizeof(wchar_t)));
        } else {
            const DWORD value = static_cast<DWORD>(field.integer.of(record));
            result = RegSetValueExW(target.get(), wide(field.name()).c_str(), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&value), sizeof value);
        }
        if (result != ERROR_SUCCESS) {
            warning_code(quoted("Unable to store setting ", field.name()), result);
            return false;
        }
    }

    trace("exit Cleaning_prefs::write_prefs_to_reg()\n");
    return true;
}

void Cleaning_prefs::remove_settings_from_mem(Cleaning_settings& record)
{
    trace("Cleaning_prefs::remove_settings_from_mem()\n");
    record = Cleaning_settings();
    trace("exit Cleaning_prefs::remove_settings_from_mem()\n");
}

void Cleaning_prefs::remove_preset_from_mem(const std::string& name)
{
    trace("Cleaning_prefs::remove_preset_from_mem()\n");
    auto it = presets.find(name);
    if (it == presets.end()) return;
    remove_settings_from_mem(it->second.settings);
    presets.erase(it);
    trace("exit Cleaning_prefs::remove_preset_from_mem()\n");
}

void Cleaning_prefs::copy_prefs(const Cleaning_settings& source, Cleaning_settings& destination)
{
    trace("Cleaning_prefs::copy_prefs()\n");
    if (&source != &destination) destination = source;
    trace("exit Cleaning_prefs::copy_prefs()\n");
}

bool Cleaning_prefs::copy_temp_to_preset(const std::string& name, const Cleaning_settings& values)
{
    trace("Cleaning_prefs::copy_temp_to_preset()\n");
    switch (preset_name_fault(name)) {
    case Name_fault::none: break;
    case Name_fault::empty:
        warning("Unable to save a preset without a name.");
        return false;
    case Name_fault::backslash:
        warning(quoted("Unable to save preset ", name) +
                "  A preset name cannot contain a backslash (\\).");
        return false;
    case Name_fault::too_long:
        warning(quoted("Unable to save preset ", name) + "  A preset name can have at most " +
                std::to_string(max_preset_name) + " characters.");
        return false;
    }
    auto it = presets.find(name);
    if (it != presets.end() && it->second.kind == Preset_kind::predefined) {
        warning(quoted("Unable to save preset ", name) +
                "  A predefined preset cannot be overwritten.");
        return false;
    }

    if (it == presets.end()) it = presets.emplace(name, Preset{Preset_kind::user, {}}).first;
    copy_prefs(values, it->second.settings);
    write_prefs_to_reg(it->second.settings, presets_key, name.c_str());
    trace("exit Cleaning_prefs::copy_temp_to_preset()\n");
    return true;
}

const Cleaning_settings& Cleaning_prefs::get_preset(const std::string& name) const
{
    auto it = presets.find(name);
    if (it == presets.end()) INTERNAL_ERROR();
    return it->second.settings;
}

bool Cleaning_prefs::set_current_settings(const Cleaning_settings& values)
{
    copy_prefs(values, current_settings_);
    return write_prefs_to_reg(current_settings_, current_key, nullptr);
}

void Cleaning_prefs::make_preset_current(const std::string& name)
{
    set_current_settings(get_preset(name));
}

const Cleaning_settings& Cleaning_prefs::refresh_working_copy()
{
    copy_prefs(current_settings_, working_copy);
    return working_copy;
}

bool Cleaning_prefs::preset_exists(const std::string& name) const
{
    return presets.count(name) != 0;
}

std::vector<std::string> Cleaning_prefs::list_presets(bool user_defined, bool predefined) const
{
    if (presets.empty()) INTERNAL_ERROR();
    std::vector<std::string> names;
    for (const auto& [name, preset] : presets) {
        if ((user_defined && preset.kind == Preset_kind::user) ||
            (predefined && preset.kind == Preset_kind::predefined))
            names.push_back(name);
    }
    return names;
}

void Cleaning_prefs::remove_preset(const std::string& name)
{
    remove_preset_from_mem(name);
    // No subkey can hold such a name; an empty one would even name the presets area itself.
    if (!storable_preset_name(name)) return;
    LONG result = RegDeleteKeyW(presets_key, wide(name).c_str());
    if (result != ERROR_SUCCESS)
        warning_code("Unable to completely remove preset \"" + name + "\".", result);
}
