// The program's resources, written to read like its resource script.

#include "res/resources.h"

#include "platform/qt/resource_text.h"

namespace kelvora::res {

using platform::Accelerator;
using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::MenuItem;
using platform::MenuPopup;
namespace CS = platform::ControlStyle;
namespace DS = platform::DialogStyle;

namespace {

constexpr const char* kFrequencyGroupCaption = QT_TRANSLATE_NOOP("kelvora", "現在の周波数");
constexpr const char* kRecordGroupCaption = QT_TRANSLATE_NOOP("kelvora", "最高可聴周波数");
constexpr const char* kRateGroupCaption = QT_TRANSLATE_NOOP("kelvora", "正答率");

constexpr auto PUSH = ControlKind::PushButton;
constexpr auto DEFPUSH = ControlKind::DefaultPushButton;
constexpr auto CHECK = ControlKind::CheckBox;
constexpr auto EDIT = ControlKind::Edit;
constexpr auto LTEXT = ControlKind::StaticText;
constexpr auto GROUP = ControlKind::GroupBox;
constexpr auto ICON = ControlKind::Icon;
constexpr auto SLIDER = ControlKind::Slider;

constexpr unsigned TAB = CS::TabStop;
constexpr unsigned HIDDEN_CANCEL = CS::Hidden | CS::TabStop;

// IDD_MAIN: template order is the tab order.
constexpr ControlTemplate kMainControls[] = {
    {IDC_START, DEFPUSH, 20, 80, 225, 17, QT_TRANSLATE_NOOP("kelvora", "チェック開始"), TAB},
    {IDC_ANSWER1, PUSH, 35, 123, 22, 17, "1", TAB | CS::Disabled},
    {IDC_ANSWER2, PUSH, 63, 123, 22, 17, "2", TAB | CS::Disabled},
    {IDC_ANSWER3, PUSH, 90, 123, 22, 17, "3", TAB | CS::Disabled},
    {IDC_ANSWER4, PUSH, 117, 123, 22, 17, "4", TAB | CS::Disabled},
    {IDC_ANSWER5, PUSH, 144, 123, 22, 17, "5", TAB | CS::Disabled},
    {IDC_DONT_KNOW, PUSH, 174, 123, 59, 17, QT_TRANSLATE_NOOP("kelvora", "分からない！"),
     TAB | CS::Disabled},
    {IDC_RESTART, PUSH, 102, 208, 81, 17, QT_TRANSLATE_NOOP("kelvora", "初めからやり直す(&C)"),
     TAB},
    {IDOK, PUSH, 189, 208, 63, 17, QT_TRANSLATE_NOOP("kelvora", "終了(&X)"), TAB},
    {IDC_SET_8K, PUSH, 121, 19, 28, 16, "8kHz", TAB},
    {IDC_SET_16K, PUSH, 121, 39, 28, 16, "16kHz", TAB},
    {IDC_UP_1K, PUSH, 154, 19, 28, 16, "+1kHz", TAB},
    {IDC_DOWN_1K, PUSH, 154, 39, 28, 16, "-1kHz", TAB},
    {IDC_UP_100, PUSH, 186, 19, 28, 16, "+100Hz", TAB},
    {IDC_DOWN_100, PUSH, 186, 39, 28, 16, "-100Hz", TAB},
    {IDC_UP_10, PUSH, 218, 19, 28, 16, "+10Hz", TAB},
    {IDC_DOWN_10, PUSH, 218, 39, 28, 16, "-10Hz", TAB},
    {IDCANCEL, PUSH, 7, 211, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
    {IDC_FREQ_GROUP, GROUP, 7, 7, 103, 53, kFrequencyGroupCaption, CS::None},
    {IDC_STATIC, GROUP, 7, 64, 245, 93, QT_TRANSLATE_NOOP("kelvora", "可聴チェック"), CS::None},
    {IDC_STATIC, GROUP, 20, 107, 225, 42, QT_TRANSLATE_NOOP("kelvora", "音の鳴った回数"), CS::None},
    {IDC_STATIC, GROUP, 7, 161, 118, 42, kRecordGroupCaption, CS::None},
    {IDC_STATIC, GROUP, 131, 161, 121, 42, kRateGroupCaption, CS::None},
    {IDC_STATIC, GROUP, 115, 7, 137, 53, QT_TRANSLATE_NOOP("kelvora", "周波数手動設定"), CS::None},
};

// The group boxes the status panel draws into, by their place in the template.
constexpr std::size_t kFrequencyGroup = 18;
constexpr std::size_t kRecordGroup = 21;
constexpr std::size_t kRateGroup = 22;
static_assert(kMainControls[kFrequencyGroup].text == kFrequencyGroupCaption);
static_assert(kMainControls[kRecordGroup].text == kRecordGroupCaption);
static_assert(kMainControls[kRateGroup].text == kRateGroupCaption);

// IDD_VOLUME
constexpr ControlTemplate kVolumeControls[] = {
    {IDOK, PUSH, 196, 153, 72, 20, QT_TRANSLATE_NOOP("kelvora", "音量調整の完了(&E)"), TAB},
    {IDC_VOLUME_PERCENT, EDIT, 23, 62, 28, 14, "", CS::Border | TAB | CS::AutoHScroll},
    {IDC_VOLUME_SLIDER, SLIDER, 82, 49, 152, 26, "Slider1", CS::AutoTicks | TAB},
    {IDC_PLAY_SAMPLE, DEFPUSH, 173, 101, 88, 20,
     QT_TRANSLATE_NOOP("kelvora", "サンプルサウンドの再生(&P)"), TAB},
    {IDCANCEL, PUSH, 17, 101, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
    {IDC_STATIC, LTEXT, 18, 26, 226, 14,
     QT_TRANSLATE_NOOP("kelvora",
                       "可聴域チェックの前に、お使いのスピーカに合わせて音量を調整して下さい。"),
     CS::NoWrap},
    {IDC_STATIC, LTEXT, 17, 48, 56, 12, QT_TRANSLATE_NOOP("kelvora", "現在の音量設定"), CS::None},
    {IDC_STATIC, LTEXT, 85, 76, 14, 15, "0 %", CS::None},
    {IDC_STATIC, LTEXT, 221, 76, 25, 15, "100 %", CS::None},
    {IDC_STATIC, LTEXT, 153, 77, 25, 15, "50 %", CS::None},
    {IDC_STATIC, GROUP, 7, 7, 261, 138, QT_TRANSLATE_NOOP("kelvora", "スピーカの音量調整"),
     CS::None},
    {IDC_STATIC, LTEXT, 19, 128, 125, 14,
     QT_TRANSLATE_NOOP("kelvora", "音量の上げすぎには十分注意して下さい。"), CS::NoWrap},
    {IDC_STATIC, LTEXT, 55, 65, 15, 13, "%", CS::None},
};

// IDD_ANSWER
constexpr unsigned PLAIN_TEXT_EDIT = CS::ReadOnly | CS::AutoHScroll | CS::NoBorder;
constexpr ControlTemplate kAnswerControls[] = {
    {IDOK, DEFPUSH, 167, 98, 45, 16, "OK", TAB},
    {IDCANCEL, PUSH, 7, 100, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
    {IDC_ANSWER_CAPTION, EDIT, 7, 7, 205, 15, "", PLAIN_TEXT_EDIT},
    {IDC_STATIC, GROUP, 7, 29, 205, 60, QT_TRANSLATE_NOOP("kelvora", "いま鳴った音のパターン"),
     CS::None},
    {IDC_ANSWER_PATTERN, EDIT, 16, 49, 190, 14, "", PLAIN_TEXT_EDIT},
    {IDC_STATIC, LTEXT, 85, 71, 123, 13,
     QT_TRANSLATE_NOOP("kelvora", "○: 有音部 (200 ms), ＿: 無音部 (200ms)"), CS::None},
};

// IDD_WAVEFILE: no default button, so Enter means OK.
constexpr ControlTemplate kWaveFileControls[] = {
    {IDC_EXPORT_FREQ, EDIT, 38, 9, 40, 15, "", CS::Border | TAB | CS::AutoHScroll},
    {IDC_EXPORT_FADE, CHECK, 39, 34, 109, 16,
     QT_TRANSLATE_NOOP("kelvora", "フェイドイン/アウトする"), TAB},
    {IDC_EXPORT_PREVIEW, PUSH, 49, 55, 47, 18, QT_TRANSLATE_NOOP("kelvora", "視聴(&P)"), TAB},
    {IDC_EXPORT_SAVE, PUSH, 99, 55, 81, 18, QT_TRANSLATE_NOOP("kelvora", "WAVEファイル作成 (&C)"),
     TAB},
    {IDOK, PUSH, 119, 77, 61, 18, QT_TRANSLATE_NOOP("kelvora", "終了(&X)"), TAB},
    {IDCANCEL, PUSH, 7, 81, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
    {IDC_STATIC, LTEXT, 7, 12, 29, 11, QT_TRANSLATE_NOOP("kelvora", "周波数"), CS::None},
    {IDC_STATIC, LTEXT, 82, 13, 29, 11, "Hz", CS::None},
};

// IDD_ABOUTBOX
constexpr ControlTemplate kAboutControls[] = {
    {IDC_SITE_LINK, PUSH, 32, 56, 92, 15, kAuthorSiteUrl, TAB},
    {IDOK, DEFPUSH, 174, 55, 50, 16, "OK", TAB | CS::Group},
    {IDC_STATIC, ICON, 7, 36, 20, 20, kAppIconName, CS::None},
    {IDC_STATIC, LTEXT, 65, 26, 119, 8,
     QT_TRANSLATE_NOOP("kelvora", "高音の聞こえをチェックします"), CS::None},
    {IDC_VERSION_TEXT, EDIT, 34, 8, 191, 13, "",
     CS::ReadOnly | CS::AutoHScroll | TAB | CS::NoBorder},
    {IDC_STATIC, ICON, 7, 7, 20, 20, kMainFrameIconName, CS::None},
};

// IDD_RESULTS
constexpr ControlTemplate kResultsControls[] = {
    {IDC_RESULTS_SAVE_PNG, PUSH, 7, 279, 80, 15, QT_TRANSLATE_NOOP("kelvora", "画像を保存(&P)..."),
     TAB},
    {IDC_RESULTS_SAVE_CSV, PUSH, 92, 279, 80, 15, QT_TRANSLATE_NOOP("kelvora", "CSVを保存(&C)..."),
     TAB},
    {IDOK, DEFPUSH, 293, 279, 60, 15, QT_TRANSLATE_NOOP("kelvora", "閉じる(&X)"), TAB},
    {IDCANCEL, PUSH, 7, 279, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
    {IDC_RESULTS_STAIRCASE, LTEXT, 7, 7, 346, 112, "", CS::None},
    {IDC_STATIC, LTEXT, 7, 125, 46, 9, QT_TRANSLATE_NOOP("kelvora", "検査する人:"), CS::None},
    {IDC_RESULTS_LISTENER, LTEXT, 55, 123, 112, 12, "", TAB},
    {IDC_STATIC, LTEXT, 173, 125, 36, 9, QT_TRANSLATE_NOOP("kelvora", "出力先:"), CS::None},
    {IDC_RESULTS_OUTPUT, LTEXT, 211, 123, 142, 12, "", TAB},
    {IDC_RESULTS_SESSIONS, LTEXT, 7, 140, 346, 112, "", CS::None},
    {IDC_RESULTS_NOTE, LTEXT, 7, 256, 346, 19, "", CS::None},
};

// IDD_LISTENER
constexpr ControlTemplate kListenerControls[] = {
    {IDC_STATIC, LTEXT, 7, 9, 180, 9, QT_TRANSLATE_NOOP("kelvora", "検査する人の名前:"), CS::None},
    {IDC_LISTENER_NAME, EDIT, 7, 20, 180, 14, "", CS::Border | TAB | CS::AutoHScroll},
    {IDC_STATIC, LTEXT, 7, 38, 180, 9,
     QT_TRANSLATE_NOOP("kelvora", "空欄のときは名前なしで記録します。"), CS::None},
    {IDOK, DEFPUSH, 137, 54, 50, 15, "OK", TAB},
    {IDCANCEL, PUSH, 7, 54, 50, 14, QT_TRANSLATE_NOOP("kelvora", "ｷｬﾝｾﾙ"), HIDDEN_CANCEL},
};

constexpr MenuItem kSeparator = {0, nullptr, false, false};

constexpr MenuItem kFileMenu[] = {
    {ID_FILE_MAKE_WAVE, QT_TRANSLATE_NOOP("kelvora", "指定した周波数のWAVEファイルを作成する(&S)"),
     false, false},
    {ID_FILE_RESULTS, QT_TRANSLATE_NOOP("kelvora", "検査結果の記録(&R)..."), false, false},
    {ID_FILE_LISTENER, QT_TRANSLATE_NOOP("kelvora", "検査する人(&L)..."), false, false},
    kSeparator,
    {ID_APP_EXIT_CMD, QT_TRANSLATE_NOOP("kelvora", "終了(&X)"), false, false},
};
constexpr MenuItem kEarMenuItems[] = {
    {ID_SOUND_EAR_BOTH, QT_TRANSLATE_NOOP("kelvora", "両耳(&B)"), true, false, nullptr, true},
    {ID_SOUND_EAR_LEFT, QT_TRANSLATE_NOOP("kelvora", "左耳(&L)"), false, false, nullptr, true},
    {ID_SOUND_EAR_RIGHT, QT_TRANSLATE_NOOP("kelvora", "右耳(&R)"), false, false, nullptr, true},
};
constexpr MenuPopup kEarMenu = {QT_TRANSLATE_NOOP("kelvora", "検査する耳(&E)"), kEarMenuItems};
// The devices follow the default item; the window lists them each time the
// submenu opens.
constexpr MenuItem kOutputMenuItems[] = {
    {ID_SOUND_OUTPUT_DEFAULT, QT_TRANSLATE_NOOP("kelvora", "既定の出力(&D)"), true, false, nullptr,
     true},
};
constexpr MenuPopup kOutputMenu = {QT_TRANSLATE_NOOP("kelvora", "出力先(&O)"), kOutputMenuItems};
constexpr MenuItem kSoundMenu[] = {
    {ID_SOUND_VOLUME, QT_TRANSLATE_NOOP("kelvora", "音量の設定(&V)"), false, false},
    {ID_SOUND_AUTO_CHANGE, QT_TRANSLATE_NOOP("kelvora", "周波数を自動的に変える(&A)"), true, false},
    {0, nullptr, false, false, &kEarMenu},
    {0, nullptr, false, false, &kOutputMenu},
    {ID_SOUND_CONFIRM_RECORD, QT_TRANSLATE_NOOP("kelvora", "記録を確かめる(&R)"), false, false},
    kSeparator,
    {ID_SOUND_CONTINUOUS, QT_TRANSLATE_NOOP("kelvora", "現在の周波数で連続音を鳴らす(&C)"), false,
     false},
    {ID_SOUND_SILENCE, QT_TRANSLATE_NOOP("kelvora", "無音データを鳴らす(ノイズチェック用) (&N)"),
     false, false},
};
constexpr MenuItem kHelpMenu[] = {
    {ID_HELP_USAGE, QT_TRANSLATE_NOOP("kelvora", "使い方について(&U)"), false, false},
    kSeparator,
    {ID_HELP_ABOUT, QT_TRANSLATE_NOOP("kelvora", "Kelvoraについて(&A)"), false, false},
};
constexpr MenuPopup kMainMenuPopups[] = {
    {QT_TRANSLATE_NOOP("kelvora", "ファイル(&F)"), kFileMenu},
    {QT_TRANSLATE_NOOP("kelvora", "サウンド(&S)"), kSoundMenu},
    {QT_TRANSLATE_NOOP("kelvora", "ヘルプ(&H)"), kHelpMenu},
};

constexpr auto CHAR = Accelerator::Character;
constexpr auto VKEY = Accelerator::VirtualKey;
constexpr Qt::KeyboardModifiers NONE = Qt::NoModifier;

// IDR_ACCEL, in table order.
const Accelerator kMainAccelerators[] = {
    {CHAR, '+', NONE, IDC_START},
    {CHAR, '-', NONE, IDC_DONT_KNOW},
    {CHAR, '0', NONE, IDC_DONT_KNOW},
    {CHAR, '1', NONE, IDC_ANSWER1},
    {CHAR, '2', NONE, IDC_ANSWER2},
    {CHAR, '3', NONE, IDC_ANSWER3},
    {CHAR, '4', NONE, IDC_ANSWER4},
    {CHAR, '5', NONE, IDC_ANSWER5},
    {CHAR, '?', NONE, IDC_DONT_KNOW},
    {VKEY, Qt::Key_C, NONE, IDC_RESTART},
    {VKEY, Qt::Key_Down, NONE, IDC_DOWN_100},
    {VKEY, Qt::Key_Escape, NONE, IDOK},
    {VKEY, Qt::Key_F1, NONE, ID_HELP_USAGE},
    {VKEY, Qt::Key_Home, NONE, IDC_SET_8K},
    {VKEY, Qt::Key_Left, NONE, IDC_DOWN_10},
    {VKEY, Qt::Key_PageDown, NONE, IDC_DOWN_1K},
    {VKEY, Qt::Key_PageUp, NONE, IDC_UP_1K},
    {VKEY, Qt::Key_Return, NONE, IDC_START},
    {VKEY, Qt::Key_Right, NONE, IDC_UP_10},
    {VKEY, Qt::Key_Space, NONE, IDC_START},
    {VKEY, Qt::Key_Up, NONE, IDC_UP_100},
    {VKEY, Qt::Key_X, Qt::ControlModifier, IDOK},
};

// Registration order.
constexpr ToolTipText kMainToolTips[] = {
    {IDC_SET_8K, QT_TRANSLATE_NOOP("kelvora", "周波数を8000 Hzに設定します。")},
    {IDC_SET_16K, QT_TRANSLATE_NOOP("kelvora", "周波数を16000 Hzに設定します。")},
    {IDC_UP_1K,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "周波数を1000 Hz上げます。\r\n\r\nキーボードの[Page Up]キーでも変更可能です。")},
    {IDC_DOWN_1K,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "周波数を1000 Hz下げます。\r\n\r\nキーボードの[Page Down]キーでも変更可能です。")},
    {IDC_UP_100,
     QT_TRANSLATE_NOOP("kelvora",
                       "周波数を100 Hz上げます。\r\n\r\nキーボードの[↑]キーでも変更可能です。")},
    {IDC_DOWN_100,
     QT_TRANSLATE_NOOP("kelvora",
                       "周波数を100 Hz下げます。\r\n\r\nキーボードの[↓]キーでも変更可能です。")},
    {IDC_UP_10,
     QT_TRANSLATE_NOOP("kelvora",
                       "周波数を10 Hz上げます。\r\n\r\nキーボードの[→]キーでも変更可能です。")},
    {IDC_DOWN_10,
     QT_TRANSLATE_NOOP("kelvora",
                       "周波数を10 Hz下げます。\r\n\r\nキーボードの[←]キーでも変更可能です。")},
    {IDC_START, QT_TRANSLATE_NOOP("kelvora",
                                  "現在表示されている周波数のチェックを開始します。\r\n\r\nキーボー"
                                  "ドの[+]キー, [Enter]キー, "
                                  "またはスペースキーでも開始出来ます。")},
    {IDC_ANSWER1, QT_TRANSLATE_NOOP("kelvora",
                                    "音が 1回だけ 鳴ったときは、このボタンを押して下さい。 "
                                    "\r\n\r\nキーボードの[1]キーでも選択出来ます。")},
    {IDC_ANSWER2, QT_TRANSLATE_NOOP("kelvora",
                                    "音が 2回 鳴ったときは、このボタンを押して下さい。 "
                                    "\r\n\r\nキーボードの[2]キーでも選択出来ます。")},
    {IDC_ANSWER3, QT_TRANSLATE_NOOP("kelvora",
                                    "音が 3回 鳴ったときは、このボタンを押して下さい。 "
                                    "\r\n\r\nキーボードの[3]キーでも選択出来ます。")},
    {IDC_ANSWER4, QT_TRANSLATE_NOOP("kelvora",
                                    "音が 4回 鳴ったときは、このボタンを押して下さい。 "
                                    "\r\n\r\nキーボードの[4]キーでも選択出来ます。")},
    {IDC_ANSWER5, QT_TRANSLATE_NOOP("kelvora",
                                    "音が 5回 鳴ったときは、このボタンを押して下さい。 "
                                    "\r\n\r\nキーボードの[5]キーでも選択出来ます。")},
    {IDC_DONT_KNOW,
     QT_TRANSLATE_NOOP("kelvora",
                       "音が何度鳴ったか分からないときは、このボタンを押して下さい。 "
                       "\r\n\r\nキーボードの[0]キーまたは[-]キーでも選択出来ます。")},
    {IDC_RESTART,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "現在の記録や設定をリセットし、起動時の状態へ戻ります。\r\n\r\nキーボードの[Home]"
         "キーでも選択出来ます。")},
    {IDOK,
     QT_TRANSLATE_NOOP("kelvora",
                       "プログラムを終了します。\r\n\r\nキーボードの[ESC]キーでも選択出来ます。")},
};

// The string table, in id order of the resource script.
constexpr StringEntry kStringTable[] = {
    {IDS_ABOUTBOX, QT_TRANSLATE_NOOP("kelvora", "Kelvoraについて(&A)")},
    {IDP_SOCKETS_INIT_FAILED, QT_TRANSLATE_NOOP("kelvora", "Windows ｿｹｯﾄの初期化に失敗しました。")},
    {IDS_APP_TITLE, "Kelvora ver 1.000"},
    {IDS_VOLUME_TITLE, QT_TRANSLATE_NOOP("kelvora", "スピーカの音量設定 [Kelvora]")},
    {IDS_NO_MEMORY,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "動作に必要なメモリが確保出来ませんでした。\r\nアプリケーションを強制終了します。")},
    {IDS_SOUND_PATH_ONE_CHANNEL,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "このコンピュータの音の出力は 1 チャンネル（モノラル）です。\r\n"
         "この出力では左右の耳を分けて鳴らせないため、片耳ずつのチェックはできません。\r\n"
         "検査する耳は「両耳」に戻します。")},
    {IDS_SOUND_PATH_BLUETOOTH,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "このコンピュータの音は Bluetooth で出力されています（コーデック %1）。\r\n"
         "約 %2 Hz から上の検査結果は、耳ではなく無線の経路の限界を表すことがあります。\r\n\r\n"
         "チェックには有線のヘッドホンを使って下さい。詳しくはヘルプをご覧ください。")},
    {IDS_SOUND_PATH_RATE,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "このコンピュータの音の出力は %1 Hz で動いています。\r\n"
         "約 %2 Hz から上の音は、この出力では鳴らせません。"
         "その付近と、それより上の検査結果は、耳ではなく音の経路の限界を表します。\r\n\r\n"
         "サウンドサーバを 48000 Hz で動かすには:\r\n"
         "・PipeWire: 設定の default.clock.rate を 48000 にする\r\n"
         "・PulseAudio: daemon.conf の default-sample-rate を 48000 にする\r\n"
         "そのあとサウンドサーバを起動し直してください。詳しくはヘルプをご覧ください。")},
    {IDS_SOUND_PATH_RATE_WINDOWS,
     QT_TRANSLATE_NOOP(
         "kelvora",
         "このコンピュータの音の出力は %1 Hz で動いています。\r\n"
         "約 %2 Hz から上の音は、この出力では鳴らせません。"
         "その付近と、それより上の検査結果は、耳ではなく音の経路の限界を表します。\r\n\r\n"
         "出力を 48000 Hz で動かすには:\r\n"
         "・コントロール パネルの「サウンド」で再生デバイスを選び、「プロパティ」→「詳細設定」の"
         "「既定の形式」を 48000 Hz のものにする\r\n"
         "そのあと Kelvora を起動し直してください。詳しくはヘルプをご覧ください。")},
    {IDS_PICTURE_STAIRCASE_TITLE, QT_TRANSLATE_NOOP("kelvora", "今回の検査の経過")},
    {IDS_PICTURE_SESSIONS_TITLE, QT_TRANSLATE_NOOP("kelvora", "これまでの最高可聴周波数")},
    {IDS_PICTURE_NO_CHECKS, QT_TRANSLATE_NOOP("kelvora", "まだ答えた検査がありません")},
    {IDS_PICTURE_NO_SESSIONS, QT_TRANSLATE_NOOP("kelvora", "記録された検査がまだありません")},
    {IDS_PICTURE_HZ, "Hz"},
    {IDS_PICTURE_RECORD_LINE, QT_TRANSLATE_NOOP("kelvora", "最高可聴周波数 %1 Hz")},
    {IDS_PICTURE_RIGHT, QT_TRANSLATE_NOOP("kelvora", "正解")},
    {IDS_PICTURE_WRONG, QT_TRANSLATE_NOOP("kelvora", "不正解・分からない")},
    {IDS_PICTURE_CONFIRMING, QT_TRANSLATE_NOOP("kelvora", "記録の確認")},
    {IDS_PICTURE_LEVEL_CONFIRMED, QT_TRANSLATE_NOOP("kelvora", "確かめられた")},
    {IDS_PICTURE_LEVEL_FAILED, QT_TRANSLATE_NOOP("kelvora", "確かめられなかった")},
    {IDS_PICTURE_BOTH_EARS, QT_TRANSLATE_NOOP("kelvora", "両耳")},
    {IDS_PICTURE_LEFT_EAR, QT_TRANSLATE_NOOP("kelvora", "左耳")},
    {IDS_PICTURE_RIGHT_EAR, QT_TRANSLATE_NOOP("kelvora", "右耳")},
    {IDS_PICTURE_RECORD, QT_TRANSLATE_NOOP("kelvora", "白抜き: 記録だけ")},
    {IDS_PICTURE_CONFIRMED, QT_TRANSLATE_NOOP("kelvora", "塗りつぶし: 確かめた周波数")},
    {IDS_HISTORY_FILE, QT_TRANSLATE_NOOP("kelvora", "記録ファイル: %1")},
    {IDS_HISTORY_NOT_KEPT,
     QT_TRANSLATE_NOOP("kelvora", "最後のチェックを記録ファイルに残せませんでした（%1）。")},
    {IDS_HISTORY_NOT_READ, QT_TRANSLATE_NOOP("kelvora", "記録ファイルを読めませんでした（%1）。")},
    {IDS_HISTORY_UNREADABLE_LINES, QT_TRANSLATE_NOOP("kelvora", "読めない行: %1")},
    {IDS_HISTORY_OLDER_LEFT_OUT,
     QT_TRANSLATE_NOOP("kelvora", "最後の %1 行（%2 MiB）より古い行は表示していません")},
    {IDS_HISTORY_NO_LOCATION,
     QT_TRANSLATE_NOOP("kelvora", "HOME が設定されていないため、記録ファイルの場所がありません")},
    {IDS_HISTORY_NOTHING_TO_SAVE, QT_TRANSLATE_NOOP("kelvora", "保存する検査結果がありません。")},
    {IDS_HISTORY_IN_USE,
     QT_TRANSLATE_NOOP("kelvora",
                       "記録ファイルはほかのプログラムが使用中です。\r\n"
                       "ファイルが閉じられるまで、検査結果はこのプログラムが保持します。\r\n%1")},
    {IDS_HISTORY_CANNOT_WRITE,
     QT_TRANSLATE_NOOP("kelvora",
                       "記録ファイルに書き込めません（%1）。\r\n"
                       "書き込めるようになるまで、検査結果はこのプログラムが保持します。\r\n%2")},
    {IDS_HISTORY_NOT_SAVED,
     QT_TRANSLATE_NOOP("kelvora", "記録ファイルに保存できなかった検査: %1 件\r\n%2")},
    {IDS_WRITE_CANNOT_OPEN,
     QT_TRANSLATE_NOOP("kelvora", "ファイルを書き込み用にオープン出来ません。")},
    {IDS_WRITE_FAILED, QT_TRANSLATE_NOOP("kelvora", "ファイルの書き込みに失敗しました。")},
    {IDS_WRITE_REASON, QT_TRANSLATE_NOOP("kelvora", "（%1）")},
    {IDS_ERROR_NO_SPACE, QT_TRANSLATE_NOOP("kelvora", "ディスクの空き容量がありません")},
    {IDS_ERROR_PERMISSION, QT_TRANSLATE_NOOP("kelvora", "アクセスが許可されていません")},
    {IDS_ERROR_READ_ONLY, QT_TRANSLATE_NOOP("kelvora", "読み取り専用のファイルシステムです")},
    {IDS_ERROR_NOT_REGULAR, QT_TRANSLATE_NOOP("kelvora", "通常のファイルではありません")},
    {IDS_ERROR_NOT_FOUND, QT_TRANSLATE_NOOP("kelvora", "ファイルまたはフォルダがありません")},
    {IDS_ERROR_IN_USE, QT_TRANSLATE_NOOP("kelvora", "ほかのプログラムが使用中です")},
    {IDS_CONFIRMING_TITLE, QT_TRANSLATE_NOOP("kelvora", " [記録の確認 %1 Hz]")},
    {IDS_CONFIRMING_COUNTS_TITLE,
     QT_TRANSLATE_NOOP("kelvora", " [記録の確認 %1 Hz　%2 回中 %3 回正解]")},
    {IDS_CONFIRMING_AFTER_FAILURE_TITLE,
     QT_TRANSLATE_NOOP("kelvora", " [記録の確認 %1 Hz　%2 Hz は確かめられず]")},
    {IDS_CONFIRMED_TITLE, QT_TRANSLATE_NOOP("kelvora", " [確かめた記録 %1 Hz]")},
    {IDS_RECORD_CONFIRMED,
     QT_TRANSLATE_NOOP("kelvora",
                       "%1 Hz を確かめました（%2 回中 %3 回正解）。\r\n"
                       "当て推量だけで 5 回中 4 回以上正解する確率は 1% 未満です。")},
    {IDS_NO_LEVEL_CONFIRMED,
     QT_TRANSLATE_NOOP("kelvora", "確かめられる周波数が見つかりませんでした。")},
    {IDS_TITLE_LEFT_EAR, QT_TRANSLATE_NOOP("kelvora", " [左耳]")},
    {IDS_TITLE_RIGHT_EAR, QT_TRANSLATE_NOOP("kelvora", " [右耳]")},
    {IDS_HELP_NOT_OPENED, QT_TRANSLATE_NOOP("kelvora",
                                            "ヘルプを開けませんでした。\r\n"
                                            "次のファイルをウェブブラウザで開いてください:\r\n%1")},
    {IDS_ANSWER_TITLE, QT_TRANSLATE_NOOP("kelvora", "%1 Hzのチェック")},
    {IDS_ANSWER_CAPTION, QT_TRANSLATE_NOOP("kelvora", "残念！ 正解は %1 回でした。")},
    {IDS_EXPORT_BAD_FREQUENCY,
     QT_TRANSLATE_NOOP("kelvora", "指定された周波数のWAVEファイルは作成出来ません。")},
    {IDS_EXPORT_FILTER_WAVE,
     QT_TRANSLATE_NOOP("kelvora", "WAVEファイル (PCM, mono, 16 bits, 48 kHz, 2 sec) ")},
    {IDS_EXPORT_FILTER_ALL, QT_TRANSLATE_NOOP("kelvora", "全てのファイル (*.*) ")},
    {IDS_RESULTS_FILTER_PNG, QT_TRANSLATE_NOOP("kelvora", "PNG 画像 (*.png)")},
    {IDS_RESULTS_FILTER_CSV, QT_TRANSLATE_NOOP("kelvora", "CSV ファイル (*.csv)")},
    {IDS_RESULTS_ALL, QT_TRANSLATE_NOOP("kelvora", "すべて")},
    {IDS_RESULTS_UNNAMED, QT_TRANSLATE_NOOP("kelvora", "（名前なし）")},
    {IDS_RESULTS_UNKNOWN_OUTPUT, QT_TRANSLATE_NOOP("kelvora", "（不明）")},
    {IDS_PICTURE_STAIRCASE_OF, QT_TRANSLATE_NOOP("kelvora", "%1（%2、%3）")},
    {IDS_OUTPUT_ABSENT_AT_START, QT_TRANSLATE_NOOP("kelvora",
                                                   "前回選んだ出力先「%1」が見つかりません。\r\n"
                                                   "既定の出力で鳴らします。")},
    {IDS_OUTPUT_GONE, QT_TRANSLATE_NOOP("kelvora",
                                        "出力先「%1」が見つかりません。\r\n"
                                        "既定の出力で鳴らしました。")},
    {IDS_OUTPUT_LOST_DURING_SOUND, QT_TRANSLATE_NOOP("kelvora",
                                                     "音を鳴らしている間に出力先「%1」がなくなり、"
                                                     "音を最後まで鳴らせませんでした。\r\n"
                                                     "次の音からは既定の出力で鳴らします。")},
};

}  // namespace

const PanelGroupBoxes kPanelGroupBoxes = {kMainControls[kFrequencyGroup],
                                          kMainControls[kRecordGroup], kMainControls[kRateGroup]};

const DialogTemplate kMainTemplate = {
    IDD_MAIN, "", 259, 232, DS::SystemMenu | DS::MinimizeBox | DS::AppWindow, kMainControls};
const DialogTemplate kVolumeTemplate = {IDD_VOLUME, "", 275, 180, DS::None, kVolumeControls};
const DialogTemplate kAnswerTemplate = {
    IDD_ANSWER,     QT_TRANSLATE_NOOP("kelvora", "いまの問題の正解は…"), 219, 121, DS::SystemMenu,
    kAnswerControls};
const DialogTemplate kWaveFileTemplate = {
    IDD_WAVEFILE,
    QT_TRANSLATE_NOOP("kelvora", "指定した周波数のWAVEファイルを作成する"),
    187,
    102,
    DS::SystemMenu,
    kWaveFileControls};
const DialogTemplate kAboutTemplate = {
    IDD_ABOUTBOX,  QT_TRANSLATE_NOOP("kelvora", "Kelvoraについて"), 231, 78, DS::SystemMenu,
    kAboutControls};
const DialogTemplate kResultsTemplate = {IDD_RESULTS,
                                         QT_TRANSLATE_NOOP("kelvora", "検査結果の記録 [Kelvora]"),
                                         360,
                                         301,
                                         DS::SystemMenu,
                                         kResultsControls};

const DialogTemplate kListenerTemplate = {
    IDD_LISTENER,     QT_TRANSLATE_NOOP("kelvora", "検査する人"), 194, 76, DS::SystemMenu,
    kListenerControls};

std::span<const DialogTemplate* const> AllDialogTemplates() {
  static const DialogTemplate* const all[] = {
      &kMainTemplate,  &kVolumeTemplate,  &kAnswerTemplate,  &kWaveFileTemplate,
      &kAboutTemplate, &kResultsTemplate, &kListenerTemplate};
  return all;
}

const platform::MenuTemplate kMainMenu = {IDR_MAINMENU, kMainMenuPopups};

std::span<const Accelerator> MainAccelerators() { return kMainAccelerators; }

std::span<const ToolTipText> MainToolTips() { return kMainToolTips; }

std::span<const StringEntry> StringTable() { return kStringTable; }

QString LoadString(int id) {
  for (const StringEntry& entry : kStringTable) {
    if (entry.id == id) return platform::ResourceText(entry.text);
  }
  return {};
}

}  // namespace kelvora::res
