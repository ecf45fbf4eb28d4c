#pragma once

// Identifiers of the program's resources. Different dialogs may reuse a
// control number.

namespace kelvora {

// The main dialog's controls and menu commands. A button, its menu item and
// its key deliver the same number; ui/session_commands.cpp says which of them
// the check session acts on.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int IDM_ABOUTBOX = 16;

inline constexpr int IDC_START = 1005;
inline constexpr int IDC_ANSWER1 = 1007;
inline constexpr int IDC_ANSWER2 = 1008;
inline constexpr int IDC_ANSWER3 = 1009;
inline constexpr int IDC_ANSWER4 = 1010;
inline constexpr int IDC_ANSWER5 = 1011;
inline constexpr int IDC_DONT_KNOW = 1012;
inline constexpr int IDC_RESTART = 1013;
inline constexpr int IDC_UP_1K = 1014;
inline constexpr int IDC_DOWN_1K = 1019;
inline constexpr int IDC_UP_100 = 1020;
inline constexpr int IDC_DOWN_100 = 1021;
inline constexpr int IDC_UP_10 = 1022;
inline constexpr int IDC_DOWN_10 = 1023;
inline constexpr int IDC_SET_8K = 1024;
inline constexpr int IDC_SET_16K = 1025;
inline constexpr int IDC_FREQ_GROUP = 1026;

inline constexpr int ID_SOUND_VOLUME = 32771;
inline constexpr int ID_SOUND_AUTO_CHANGE = 32772;
inline constexpr int ID_SOUND_CONTINUOUS = 32773;
inline constexpr int ID_SOUND_SILENCE = 32775;
inline constexpr int ID_APP_EXIT_CMD = 32776;
inline constexpr int ID_HELP_ABOUT = 32777;
inline constexpr int ID_HELP_USAGE = 32778;
inline constexpr int ID_FILE_MAKE_WAVE = 32779;
inline constexpr int ID_SOUND_EAR_BOTH = 32780;
inline constexpr int ID_SOUND_EAR_LEFT = 32781;
inline constexpr int ID_SOUND_EAR_RIGHT = 32782;
inline constexpr int ID_FILE_RESULTS = 32783;
inline constexpr int ID_SOUND_CONFIRM_RECORD = 32784;

inline constexpr int IDC_STATIC = -1;

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_VOLUME = 129;
inline constexpr int IDD_ANSWER = 138;
inline constexpr int IDD_WAVEFILE = 143;
inline constexpr int IDD_RESULTS = 150;
inline constexpr int IDD_LISTENER = 160;

// Icons, menu and accelerator table.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_MAINMENU = 137;
inline constexpr int IDI_APPICON = 141;
inline constexpr int IDR_ACCEL = 144;

// Strings.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDP_SOCKETS_INIT_FAILED = 103;
inline constexpr int IDS_APP_TITLE = 1001;
inline constexpr int IDS_VOLUME_TITLE = 1002;
inline constexpr int IDS_NO_MEMORY = 1003;
// An addition: the warning about a sound path below 48000 Hz (%1 rate, %2 half of it).
inline constexpr int IDS_SOUND_PATH_RATE = 1010;
// The results window's pictures: titles, axis words and legends.
inline constexpr int IDS_PICTURE_STAIRCASE_TITLE = 1060;
inline constexpr int IDS_PICTURE_SESSIONS_TITLE = 1061;
inline constexpr int IDS_PICTURE_NO_CHECKS = 1062;
inline constexpr int IDS_PICTURE_NO_SESSIONS = 1063;
inline constexpr int IDS_PICTURE_HZ = 1064;
inline constexpr int IDS_PICTURE_RECORD_LINE = 1065;
inline constexpr int IDS_PICTURE_RIGHT = 1066;
inline constexpr int IDS_PICTURE_WRONG = 1067;
inline constexpr int IDS_PICTURE_CONFIRMING = 1068;
inline constexpr int IDS_PICTURE_LEVEL_CONFIRMED = 1069;
inline constexpr int IDS_PICTURE_LEVEL_FAILED = 1070;
inline constexpr int IDS_PICTURE_BOTH_EARS = 1071;
inline constexpr int IDS_PICTURE_LEFT_EAR = 1072;
inline constexpr int IDS_PICTURE_RIGHT_EAR = 1073;
inline constexpr int IDS_PICTURE_RECORD = 1074;
inline constexpr int IDS_PICTURE_CONFIRMED = 1075;
// Additions: the results window's note and saves (%1 a number, a path or a reason).
inline constexpr int IDS_HISTORY_FILE = 1040;
inline constexpr int IDS_HISTORY_NOT_KEPT = 1041;
inline constexpr int IDS_HISTORY_NOT_READ = 1042;
inline constexpr int IDS_HISTORY_UNREADABLE_LINES = 1043;
inline constexpr int IDS_HISTORY_OLDER_LEFT_OUT = 1044;
inline constexpr int IDS_HISTORY_NO_LOCATION = 1045;
inline constexpr int IDS_HISTORY_NOTHING_TO_SAVE = 1046;
inline constexpr int IDS_HISTORY_IN_USE = 1047;
inline constexpr int IDS_HISTORY_CANNOT_WRITE = 1048;
inline constexpr int IDS_HISTORY_NOT_SAVED = 1049;
// Additions: the common system errors in the window's language.
inline constexpr int IDS_ERROR_NO_SPACE = 1050;
inline constexpr int IDS_ERROR_PERMISSION = 1051;
inline constexpr int IDS_ERROR_READ_ONLY = 1052;
inline constexpr int IDS_ERROR_NOT_REGULAR = 1053;
inline constexpr int IDS_ERROR_NOT_FOUND = 1054;
inline constexpr int IDS_ERROR_IN_USE = 1055;
// An addition: the warning about a Bluetooth output (%1 codec, %2 frequency from which results may
// describe the radio link).
inline constexpr int IDS_SOUND_PATH_BLUETOOTH = 1011;
// An addition: one ear was chosen on an output of one channel.
inline constexpr int IDS_SOUND_PATH_ONE_CHANNEL = 1012;
// An addition: the same warning as IDS_SOUND_PATH_RATE, with the Windows way to change the rate.
inline constexpr int IDS_SOUND_PATH_RATE_WINDOWS = 1013;
// Additions for confirming the record: the title's suffix while it runs (%1
// the level), the confirmed level (%1 level, %2 checks, %3 right) and the end
// without a result.
inline constexpr int IDS_CONFIRMING_TITLE = 1080;
inline constexpr int IDS_RECORD_CONFIRMED = 1081;
inline constexpr int IDS_NO_LEVEL_CONFIRMED = 1082;
// The main window's title while one ear is tested.
inline constexpr int IDS_TITLE_LEFT_EAR = 1083;
inline constexpr int IDS_TITLE_RIGHT_EAR = 1084;
// An addition: the help page could not be opened (%1 its path).
inline constexpr int IDS_HELP_NOT_OPENED = 1085;
// The title's suffix while a confirmation runs, once a check counted at its
// level (%1 the level, %2 the checks, %3 the right answers), and at the first
// check of a level after one failed (%1 the level, %2 the failed one); the
// suffix once a level is confirmed, until the session ends (%1 the level).
inline constexpr int IDS_CONFIRMING_COUNTS_TITLE = 1086;
inline constexpr int IDS_CONFIRMING_AFTER_FAILURE_TITLE = 1087;
inline constexpr int IDS_CONFIRMED_TITLE = 1088;
// The answer reveal: its title (%1 the tested frequency) and caption (%1 the bursts).
inline constexpr int IDS_ANSWER_TITLE = 1090;
inline constexpr int IDS_ANSWER_CAPTION = 1091;
// The WAVE export: the refused frequency, the save dialog's filters, the two
// write failures (also the first line of the results window's) and the reason
// added after the path.
inline constexpr int IDS_EXPORT_BAD_FREQUENCY = 1092;
inline constexpr int IDS_EXPORT_FILTER_WAVE = 1093;
inline constexpr int IDS_EXPORT_FILTER_ALL = 1094;
inline constexpr int IDS_WRITE_CANNOT_OPEN = 1095;
inline constexpr int IDS_WRITE_FAILED = 1096;
inline constexpr int IDS_WRITE_REASON = 1097;
// The results window's save dialog filters.
inline constexpr int IDS_RESULTS_FILTER_PNG = 1098;
inline constexpr int IDS_RESULTS_FILTER_CSV = 1099;
// Additions: the output chosen in the program (%1 the output's description)
// was not there at start, went away between sounds, or went away during one.
inline constexpr int IDS_OUTPUT_ABSENT_AT_START = 1100;
inline constexpr int IDS_OUTPUT_GONE = 1101;
inline constexpr int IDS_OUTPUT_LOST_DURING_SOUND = 1102;
// Additions: the results window's choice of listener and output, and the
// staircase picture's title naming them (%1 the title, %2 listener, %3 output).
inline constexpr int IDS_RESULTS_ALL = 1103;
inline constexpr int IDS_RESULTS_UNNAMED = 1104;
inline constexpr int IDS_RESULTS_UNKNOWN_OUTPUT = 1105;
inline constexpr int IDS_PICTURE_STAIRCASE_OF = 1106;

// Menu commands that are not the session's: the output submenu's first item
// (the devices after it are listed when the submenu opens).
inline constexpr int ID_SOUND_OUTPUT_DEFAULT = 32790;
inline constexpr int ID_FILE_LISTENER = 32791;

// Listener dialog (IDD_LISTENER).
inline constexpr int IDC_LISTENER_NAME = 1040;

// Volume dialog (IDD_VOLUME).
inline constexpr int IDC_PLAY_SAMPLE = 1000;
inline constexpr int IDC_VOLUME_SLIDER = 1004;
inline constexpr int IDC_VOLUME_PERCENT = 1018;

// Answer reveal dialog (IDD_ANSWER).
inline constexpr int IDC_ANSWER_CAPTION = 1015;
inline constexpr int IDC_ANSWER_PATTERN = 1016;

// WAVE file export dialog (IDD_WAVEFILE).
inline constexpr int IDC_EXPORT_FREQ = 1021;
inline constexpr int IDC_EXPORT_SAVE = 1022;
inline constexpr int IDC_EXPORT_PREVIEW = 1023;
inline constexpr int IDC_EXPORT_FADE = 1024;

// About dialog (IDD_ABOUTBOX).
inline constexpr int IDC_VERSION_TEXT = 1018;
inline constexpr int IDC_SITE_LINK = 1020;

// Results window (IDD_RESULTS): two pictures in the places of two labels.
inline constexpr int IDC_RESULTS_STAIRCASE = 1030;
inline constexpr int IDC_RESULTS_SESSIONS = 1031;
inline constexpr int IDC_RESULTS_NOTE = 1032;
inline constexpr int IDC_RESULTS_SAVE_PNG = 1033;
inline constexpr int IDC_RESULTS_SAVE_CSV = 1034;
// Combo boxes in the places of two labels: whose sessions, on which output.
inline constexpr int IDC_RESULTS_LISTENER = 1035;
inline constexpr int IDC_RESULTS_OUTPUT = 1036;

}  // namespace kelvora
