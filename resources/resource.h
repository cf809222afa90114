// Resource and command ids. The numbers are fixed: menus, toolbar, accelerators, dialogs and the
// registry-facing code all meet on them.
#pragma once

// Main frame: menu, accelerators, icon, document string and toolbar share one id.
#define IDR_MAINFRAME 128
#define IDS_APP_TITLE 57344

// About box (also the start-up splash).
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_TEXT 1069
#define IDC_ABOUT_VERSION 1070
#define IDB_ABOUT_SIDE 149
#define IDB_ABOUT_TITLE 139

// Small dialogs.
#define IDD_FONT_SIZE 130
#define IDC_FONT_SIZE 1001
#define IDD_WELCOME 142
#define IDC_WELCOME_DONT_ASK 1074
#define IDB_WELCOME_PICTURE 143
#define IDD_AUTO_CLEAN_WARNING 151
#define IDC_AUTO_CLEAN_DONT_SHOW 1077
#define IDB_AUTO_CLEAN_PICTURE 152

// Toolbar preset combo box (a toolbar slot and a control id).
#define IDC_TOOLBAR_PRESETS 1074

// File.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_APP_EXIT 57665

// Edit.
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_EDIT_CLEAN_SELECTED 32772
#define ID_EDIT_SELECT_ALL 32773
#define ID_EDIT_CLEAN_EVERYTHING 32774

// View.
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_FONT_SIZE_8 32779
#define ID_FONT_SIZE_10 10
#define ID_FONT_SIZE_12 32780
#define ID_FONT_SIZE_14 32781
#define ID_FONT_SIZE_18 32782
#define ID_FONT_SIZE_24 32783
#define ID_FONT_SIZE_OTHER 32784

// Options.
#define ID_OPT_AUTOCLEAN 32775
#define ID_OPT_WARN_UNSAVED 32776
#define ID_OPT_CLEANING 32777
#define ID_OPT_KEEP_RUNNING 32810

// Clean and Paste: the command its key (and the notification icon) runs, and its dialog.
#define ID_CLEAN_AND_PASTE 32800
#define ID_OPT_CLEAN_PASTE 32801
#define IDD_CLEAN_PASTE 175
#define IDC_CLEAN_PASTE_ON 1110
#define IDC_CLEAN_PASTE_KEY_LABEL 1111
#define IDC_CLEAN_PASTE_KEY 1112
#define IDC_CLEAN_PASTE_WIN 1113
#define IDC_CLEAN_PASTE_DELAY 1114

// Help.
#define ID_APP_ABOUT 57664
#define ID_HELP_FINDER 57667
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_DEFAULT_HELP 57671
#define ID_HELP_GETTING_STARTED 32786
#define HELP_CONTEXT_GETTING_STARTED 2
#define IDR_HELP_TEXT 160

// The notification area: the icon's two pictures, its menu and the menu's own commands.
#define IDI_NOTIFY_ON 180
#define IDI_NOTIFY_OFF 181
#define IDR_NOTIFY_MENU 182
#define ID_NOTIFY_SHOW 32811
#define ID_NOTIFY_CLEAN_AND_PASTE 32812

// Bars: standard ids of the toolbar and status bar windows, and the status bar panes.
#define ID_TOOLBAR_WINDOW 59392
#define ID_STATUS_BAR_WINDOW 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
#define ID_INDICATOR_AUTO 59142
#define ID_INDICATOR_ENCODING 59143
#define IDS_IDLE_PROMPT 57345

// Cleaning Options: the five pages share the preset controls at their foot.
#define IDC_PRESET_COMBO 1018
#define IDC_PRESETS_BUTTON 1019
#define IDB_PARA_RAGGED 153
#define IDB_PARA_JOINED 154
#define IDB_SPAC_INDENTED 155
#define IDB_SPAC_FLUSH 156
#define IDB_LIST_UNDER_NUMBER 157
#define IDB_LIST_UNDER_TEXT 158

// Paragraph page.
#define IDD_OPT_PARA 107
#define IDC_PARA_PUNCT_ENDS 1003
#define IDC_PARA_REMOVE_BREAKS 1006
#define IDC_PARA_LEAVE_TEXT 1007
#define IDC_PARA_SPACES_TEXT 1008
#define IDC_PARA_ARROW 1009
#define IDC_PARA_BLANK_LINES 1010
#define IDC_PARA_MAX_TEXT 1011
#define IDC_PARA_MAX_CHARS 1012
#define IDC_PARA_UNLIMITED 1013
#define IDC_PARA_INDENTED 1014
#define IDC_PARA_INDENT_SPACES 1015
#define IDC_PARA_INDENT_TEXT1 1016
#define IDC_PARA_INDENT_TEXT2 1017
#define IDC_PARA_SENT_SPACES 1032

// Spacing page.
#define IDD_OPT_SPACING 131
#define IDC_SPAC_ADJUST_INDENT 1002
#define IDC_SPAC_ARROW 1007
#define IDC_SPAC_SENT_LABEL 1008
#define IDC_SPAC_SENT_NOTE 1009
#define IDC_SPAC_INDENT 1026
#define IDC_SPAC_ADJUST_SPACING 1027
#define IDC_SPAC_LINES 1028
#define IDC_SPAC_EXTRA_SPACES 1029
#define IDC_SPAC_SENT_SPACING 1030
#define IDC_SPAC_SENT_SPACES 1031
#define IDC_SPAC_TAB_STOPS 1063

// Lists page.
#define IDD_OPT_LISTS 135
#define IDC_LIST_MAX_TEXT 1007
#define IDC_LIST_NOTE 1008
#define IDC_LIST_MAX_NOTE 1009
#define IDC_LIST_SPACES_TEXT 1011
#define IDC_LIST_NUMBERS 1033
#define IDC_LIST_LETTERS 1034
#define IDC_LIST_ROMAN 1035
#define IDC_LIST_DASH 1036
#define IDC_LIST_STAR 1037
#define IDC_LIST_O 1038
#define IDC_LIST_CUSTOM 1039
#define IDC_LIST_CUSTOM_TEXT 1040
#define IDC_LIST_SELECT_ALL 1044
#define IDC_LIST_CLEAR_ALL 1045
#define IDC_LIST_ADJUST_INDENT 1046
#define IDC_LIST_INDENT 1047
#define IDC_LIST_MAX_LENGTH 1048
#define IDC_LIST_FORMAT_PARAGRAPH 1050
#define IDC_LIST_FORMAT_INDENTED 1051

// Replace page: the find and replace fields of pairs 1 to 5 count down from 1061.
#define IDD_OPT_MISC 136
#define IDC_MISC_REPLACE_5 1052
#define IDC_MISC_FIND_5 1053
#define IDC_MISC_REPLACE_4 1054
#define IDC_MISC_FIND_4 1055
#define IDC_MISC_REPLACE_3 1056
#define IDC_MISC_FIND_3 1057
#define IDC_MISC_REPLACE_2 1058
#define IDC_MISC_FIND_2 1059
#define IDC_MISC_REPLACE_1 1060
#define IDC_MISC_FIND_1 1061
#define IDC_MISC_REPLY_MARKS 1062
#define IDC_MISC_TAB_REPLACE 1067
#define IDC_MISC_CASE 1068

// Characters page.
#define IDD_OPT_CHARS 170
#define IDC_CHAR_QUOTES 1100
#define IDC_CHAR_DASHES 1101
#define IDC_CHAR_ELLIPSIS 1102
#define IDC_CHAR_SPACES 1103
#define IDC_CHAR_INVISIBLE 1104

// Preset Commands.
#define IDD_PRESET_COMMS 134
#define IDC_COMMS_NEW 1021
#define IDC_COMMS_NEW_NAME 1022
#define IDC_COMMS_OVERWRITE 1023
#define IDC_COMMS_OVERWRITE_LIST 1024
#define IDC_COMMS_REMOVE 1025
#define IDC_COMMS_REMOVE_LIST 1019

// Save As: the encoding choice added below the file dialog's own controls.
#define IDD_SAVE_ENCODING 162
#define IDC_SAVE_ENCODING_LABEL 1090
#define IDC_SAVE_ENCODING 1091
