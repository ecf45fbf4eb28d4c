// The resource tables against a transcription of the tables as the program's
// documentation gives them, typed in by hand: a caption, a position, a key or
// a menu text that drifts from the documented one fails here by name.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "res/resources.h"

namespace kelvora::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
namespace CS = platform::ControlStyle;
namespace DS = platform::DialogStyle;

constexpr auto PUSH = ControlKind::PushButton;
constexpr auto DEFPUSH = ControlKind::DefaultPushButton;
constexpr auto CHECK = ControlKind::CheckBox;
constexpr auto EDIT = ControlKind::Edit;
constexpr auto TEXT = ControlKind::StaticText;
constexpr auto GROUP = ControlKind::GroupBox;
constexpr auto ICON = ControlKind::Icon;
constexpr auto SLIDER = ControlKind::Slider;
constexpr unsigned TAB = CS::TabStop;
constexpr unsigned OFF = CS::TabStop | CS::Disabled;
constexpr unsigned CANCEL = CS::Hidden | CS::TabStop;
constexpr unsigned FIELD = CS::Border | CS::TabStop | CS::AutoHScroll;
constexpr unsigned SHOWN = CS::ReadOnly | CS::AutoHScroll | CS::NoBorder;

// A null text is left to the implementer and not compared.
const std::vector<ControlTemplate> kMain = {
    {1005, DEFPUSH, 20, 80, 225, 17, "チェック開始", TAB},
    {1007, PUSH, 35, 123, 22, 17, "1", OFF},
    {1008, PUSH, 63, 123, 22, 17, "2", OFF},
    {1009, PUSH, 90, 123, 22, 17, "3", OFF},
    {1010, PUSH, 117, 123, 22, 17, "4", OFF},
    {1011, PUSH, 144, 123, 22, 17, "5", OFF},
    {1012, PUSH, 174, 123, 59, 17, "分からない！", OFF},
    {1013, PUSH, 102, 208, 81, 17, "初めからやり直す(&C)", TAB},
    {1, PUSH, 189, 208, 63, 17, "終了(&X)", TAB},
    {1024, PUSH, 121, 19, 28, 16, "8kHz", TAB},
    {1025, PUSH, 121, 39, 28, 16, "16kHz", TAB},
    {1014, PUSH, 154, 19, 28, 16, "+1kHz", TAB},
    {1019, PUSH, 154, 39, 28, 16, "-1kHz", TAB},
    {1020, PUSH, 186, 19, 28, 16, "+100Hz", TAB},
    {1021, PUSH, 186, 39, 28, 16, "-100Hz", TAB},
    {1022, PUSH, 218, 19, 28, 16, "+10Hz", TAB},
    {1023, PUSH, 218, 39, 28, 16, "-10Hz", TAB},
    {2, PUSH, 7, 211, 50, 14, "ｷｬﾝｾﾙ", CANCEL},
    {1026, GROUP, 7, 7, 103, 53, "現在の周波数", 0},
    {-1, GROUP, 7, 64, 245, 93, "可聴チェック", 0},
    {-1, GROUP, 20, 107, 225, 42, "音の鳴った回数", 0},
    {-1, GROUP, 7, 161, 118, 42, "最高可聴周波数", 0},
    {-1, GROUP, 131, 161, 121, 42, "正答率", 0},
    {-1, GROUP, 115, 7, 137, 53, "周波数手動設定", 0},
};
const std::vector<ControlTemplate> kVolume = {
    {1, PUSH, 196, 153, 72, 20, "音量調整の完了(&E)", TAB},
    {1018, EDIT, 23, 62, 28, 14, "", FIELD},
    {1004, SLIDER, 82, 49, 152, 26, "Slider1", CS::AutoTicks | TAB},
    {1000, DEFPUSH, 173, 101, 88, 20, "サンプルサウンドの再生(&P)", TAB},
    {2, PUSH, 17, 101, 50, 14, "ｷｬﾝｾﾙ", CANCEL},
    {-1, TEXT, 18, 26, 226, 14,
     "可聴域チェックの前に、お使いのスピーカに合わせて音量を調整して下さい。", CS::NoWrap},
    {-1, TEXT, 17, 48, 56, 12, "現在の音量設定", 0},
    {-1, TEXT, 85, 76, 14, 15, "0 %", 0},
    {-1, TEXT, 221, 76, 25, 15, "100 %", 0},
    {-1, TEXT, 153, 77, 25, 15, "50 %", 0},
    {-1, GROUP, 7, 7, 261, 138, "スピーカの音量調整", 0},
    {-1, TEXT, 19, 128, 125, 14, "音量の上げすぎには十分注意して下さい。", CS::NoWrap},
    {-1, TEXT, 55, 65, 15, 13, "%", 0},
};
const std::vector<ControlTemplate> kAnswer = {
    {1, DEFPUSH, 167, 98, 45, 16, "OK", TAB},
    {2, PUSH, 7, 100, 50, 14, "ｷｬﾝｾﾙ", CANCEL},
    {1015, EDIT, 7, 7, 205, 15, "", SHOWN},
    {-1, GROUP, 7, 29, 205, 60, "いま鳴った音のパターン", 0},
    {1016, EDIT, 16, 49, 190, 14, "", SHOWN},
    {-1, TEXT, 85, 71, 123, 13, "○: 有音部 (200 ms), ＿: 無音部 (200ms)", 0},
};
const std::vector<ControlTemplate> kWaveFile = {
    {1021, EDIT, 38, 9, 40, 15, "", FIELD},
    {1024, CHECK, 39, 34, 109, 16, "フェイドイン/アウトする", TAB},
    {1023, PUSH, 49, 55, 47, 18, "視聴(&P)", TAB},
    {1022, PUSH, 99, 55, 81, 18, "WAVEファイル作成 (&C)", TAB},
    {1, PUSH, 119, 77, 61, 18, "終了(&X)", TAB},
    {2, PUSH, 7, 81, 50, 14, "ｷｬﾝｾﾙ", CANCEL},
    {-1, TEXT, 7, 12, 29, 11, "周波数", 0},
    {-1, TEXT, 82, 13, 29, 11, "Hz", 0},
};
const std::vector<ControlTemplate> kAbout = {
    {1020, PUSH, 32, 56, 92, 15, kAuthorSiteUrl, TAB},
    {1, DEFPUSH, 174, 55, 50, 16, "OK", TAB | CS::Group},
    {-1, ICON, 7, 36, 20, 20, kAppIconName, 0},
    {-1, TEXT, 65, 26, 119, 8, nullptr, 0},
    {1018, EDIT, 34, 8, 191, 13, "", SHOWN | TAB},
    {-1, ICON, 7, 7, 20, 20, kMainFrameIconName, 0},
};

TEST(DocumentedTables, DialogTemplates) {
  struct Dialog {
    const platform::DialogTemplate& got;
    int id;
    const char* title;
    int width, height;
    unsigned style;
    const std::vector<ControlTemplate>& controls;
  };
  const Dialog dialogs[] = {
      {kMainTemplate, 102, "", 259, 232, DS::SystemMenu | DS::MinimizeBox | DS::AppWindow, kMain},
      {kVolumeTemplate, 129, "", 275, 180, DS::None, kVolume},
      {kAnswerTemplate, 138, "いまの問題の正解は…", 219, 121, DS::SystemMenu, kAnswer},
      {kWaveFileTemplate, 143, "指定した周波数のWAVEファイルを作成する", 187, 102, DS::SystemMenu,
       kWaveFile},
      {kAboutTemplate, 100, "Kelvoraについて", 231, 78, DS::SystemMenu, kAbout},
  };
  for (const Dialog& d : dialogs) {
    SCOPED_TRACE(::testing::Message() << "dialog " << d.id);
    EXPECT_EQ(d.got.id, d.id);
    EXPECT_STREQ(d.got.title, d.title);
    EXPECT_EQ(d.got.width, d.width) << "width";
    EXPECT_EQ(d.got.height, d.height) << "height";
    EXPECT_EQ(d.got.style, d.style) << "dialog style";
    ASSERT_EQ(d.got.controls.size(), d.controls.size()) << "number of controls";
    for (std::size_t n = 0; n < d.controls.size(); ++n) {
      const ControlTemplate& got = d.got.controls[n];
      const ControlTemplate& want = d.controls[n];
      SCOPED_TRACE(::testing::Message() << "control " << n + 1 << " (id " << want.id << ", \""
                                        << (want.text ? want.text : "") << "\")");
      EXPECT_EQ(got.id, want.id) << "id";
      EXPECT_EQ(static_cast<int>(got.kind), static_cast<int>(want.kind)) << "kind";
      EXPECT_EQ(got.x, want.x) << "x";
      EXPECT_EQ(got.y, want.y) << "y";
      EXPECT_EQ(got.width, want.width) << "width";
      EXPECT_EQ(got.height, want.height) << "height";
      if (want.text != nullptr) {
        EXPECT_STREQ(got.text, want.text) << "text";
      }
      EXPECT_EQ(got.style, want.style) << "style";
    }
  }
}

TEST(DocumentedTables, MainMenu) {
  constexpr int kSubmenu = -1;
  struct Item {
    int command;  // 0: separator; kSubmenu: a submenu of that text
    const char* text;
    bool checked;
  };
  struct Popup {
    const char* text;
    std::vector<Item> items;
  };
  const Popup popups[] = {
      {"ファイル(&F)",
       {{32779, "指定した周波数のWAVEファイルを作成する(&S)", false},
        // Added with the check history: the results window.
        {32783, "検査結果の記録(&R)...", false},
        {32791, "検査する人(&L)...", false},  // an addition: who listens
        {0, nullptr, false},
        {32776, "終了(&X)", false}}},
      {"サウンド(&S)",
       {{32771, "音量の設定(&V)", false},
        {32772, "周波数を自動的に変える(&A)", true},
        {kSubmenu, "検査する耳(&E)", false},   // an addition: the ear to check
        {kSubmenu, "出力先(&O)", false},       // an addition: the output to play on
        {32784, "記録を確かめる(&R)", false},  // an addition: confirming the record
        {0, nullptr, false},
        {32773, "現在の周波数で連続音を鳴らす(&C)", false},
        {32775, "無音データを鳴らす(ノイズチェック用) (&N)", false}}},
      {"ヘルプ(&H)",
       {{32778, "使い方について(&U)", false},
        {0, nullptr, false},
        {32777, "Kelvoraについて(&A)", false}}},
  };
  EXPECT_EQ(kMainMenu.id, 137);
  ASSERT_EQ(kMainMenu.popups.size(), std::size(popups));
  for (std::size_t p = 0; p < std::size(popups); ++p) {
    const auto& got = kMainMenu.popups[p];
    SCOPED_TRACE(::testing::Message() << "popup " << popups[p].text);
    EXPECT_STREQ(got.text, popups[p].text);
    ASSERT_EQ(got.items.size(), popups[p].items.size()) << "number of items";
    for (std::size_t n = 0; n < got.items.size(); ++n) {
      const Item& want = popups[p].items[n];
      SCOPED_TRACE(::testing::Message() << "item " << n + 1);
      if (want.command == kSubmenu) {
        ASSERT_NE(got.items[n].submenu, nullptr) << "submenu";
        EXPECT_STREQ(got.items[n].submenu->text, want.text) << "submenu text";
        continue;
      }
      EXPECT_EQ(got.items[n].submenu, nullptr) << "submenu";
      EXPECT_EQ(got.items[n].command, want.command) << "command";
      EXPECT_STREQ(got.items[n].text, want.text) << "text";
      EXPECT_EQ(got.items[n].checked, want.checked) << "checked";
      EXPECT_FALSE(got.items[n].grayed) << "every item starts enabled";
    }
  }
}

TEST(DocumentedTables, Accelerators) {
  using platform::Accelerator;
  constexpr auto CHAR = Accelerator::Character;
  constexpr auto VKEY = Accelerator::VirtualKey;
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Accelerator keys[] = {
      {CHAR, '+', none, 1005},
      {CHAR, '-', none, 1012},
      {CHAR, '0', none, 1012},
      {CHAR, '1', none, 1007},
      {CHAR, '2', none, 1008},
      {CHAR, '3', none, 1009},
      {CHAR, '4', none, 1010},
      {CHAR, '5', none, 1011},
      {CHAR, '?', none, 1012},
      {VKEY, Qt::Key_C, none, 1013},
      {VKEY, Qt::Key_Down, none, 1021},
      {VKEY, Qt::Key_Escape, none, 1},
      {VKEY, Qt::Key_F1, none, 32778},
      {VKEY, Qt::Key_Home, none, 1024},
      {VKEY, Qt::Key_Left, none, 1023},
      {VKEY, Qt::Key_PageDown, none, 1019},
      {VKEY, Qt::Key_PageUp, none, 1014},
      {VKEY, Qt::Key_Return, none, 1005},
      {VKEY, Qt::Key_Right, none, 1022},
      {VKEY, Qt::Key_Space, none, 1005},
      {VKEY, Qt::Key_Up, none, 1020},
      {VKEY, Qt::Key_X, Qt::ControlModifier, 1},
  };
  const auto table = MainAccelerators();
  ASSERT_EQ(table.size(), std::size(keys));
  for (std::size_t n = 0; n < table.size(); ++n) {
    SCOPED_TRACE(::testing::Message() << "entry " << n + 1);
    EXPECT_EQ(table[n].kind, keys[n].kind) << "kind";
    EXPECT_EQ(table[n].key, keys[n].key) << "key";
    EXPECT_EQ(table[n].modifiers, keys[n].modifiers) << "modifiers";
    EXPECT_EQ(table[n].command, keys[n].command) << "command";
  }
}

TEST(DocumentedTables, StringTable) {
  const struct {
    int id;
    const char* text;
  } strings[] = {
      {101, "Kelvoraについて(&A)"},
      {103, "Windows ｿｹｯﾄの初期化に失敗しました。"},
      {1001, "Kelvora ver 1.000"},
      {1002, "スピーカの音量設定 [Kelvora]"},
      {1003, "動作に必要なメモリが確保出来ませんでした。\r\nアプリケーションを強制終了します。"},
  };
  for (const auto& s : strings) {
    EXPECT_EQ(LoadString(s.id), QString::fromUtf8(s.text)) << "string " << s.id;
  }
}

}  // namespace
}  // namespace kelvora::res
