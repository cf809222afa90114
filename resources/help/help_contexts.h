// The help's topics by help context, as resources/help/help.txt numbers them. Dialogs, the main
// window and the help window meet on these numbers.
#pragma once

#include "resources/resource.h"

constexpr int help_getting_started = HELP_CONTEXT_GETTING_STARTED;
constexpr int help_cleaning_text = 10;
constexpr int help_auto_clean = 11;
constexpr int help_presets = 12;
constexpr int help_paragraph_options = 13;
constexpr int help_spacing_options = 14;
constexpr int help_list_options = 15;
constexpr int help_replace_options = 16;
constexpr int help_files_and_settings = 17;
constexpr int help_cleaning_options = 18;
constexpr int help_character_options = 20;
constexpr int help_notification_icon = 24;
constexpr int help_clean_and_paste = 30;
