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

// Help.
#define ID_APP_ABOUT 57664
#define ID_HELP_FINDER 57667
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_DEFAULT_HELP 57671
#define ID_HELP_GETTING_STARTED 32786
#define HELP_CONTEXT_GETTING_STARTED 2
#define IDR_HELP_TEXT 160

// Bars: standard ids of the toolbar and status bar windows, and the status bar panes.
#define ID_TOOLBAR_WINDOW 59392
#define ID_STATUS_BAR_WINDOW 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
#define ID_INDICATOR_AUTO 59142
#define IDS_IDLE_PROMPT 57345
