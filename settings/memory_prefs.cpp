#include "settings/memory_prefs.h"

Memory_prefs::Memory_prefs(Builtin_preset preset)
{
    Cleaning_settings built;
    build_builtin_preset(built, preset);
    for (const char* name : int_setting_names) current_.put_int(name, built.get_int(name));
    for (const char* name : string_setting_names) current_.put_string(name, built.get_string(name));
}
