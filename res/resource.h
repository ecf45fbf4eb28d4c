#pragma once

// Identifiers of the program's resources. The main dialog's controls and menu
// commands are in check/command_ids.h (the session speaks in them); the rest
// are here. Different dialogs may reuse a control number.

#include "check/command_ids.h"

namespace kelvora {

inline constexpr int IDC_STATIC = -1;

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_VOLUME = 129;
inline constexpr int IDD_ANSWER = 138;
inline constexpr int IDD_WAVEFILE = 143;
inline constexpr int IDD_RESULTS = 150;

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
// Additions for confirming the record: the title's suffix while it runs (%1
// the level), the confirmed level (%1 level, %2 checks, %3 right) and the end
// without a result.
inline constexpr int IDS_CONFIRMING_TITLE = 1011;
inline constexpr int IDS_RECORD_CONFIRMED = 1012;
inline constexpr int IDS_NO_LEVEL_CONFIRMED = 1013;

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

}  // namespace kelvora
