#pragma once

// Numbers of the main dialog's controls and menu commands. A button, its menu
// item and its key all deliver the same number, so the session speaks in them.
namespace kelvora {

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

}  // namespace kelvora
