#pragma once

// The main window's own texts.
namespace MainTexts {

constexpr const char* TITLE = "Quorvel Ver. " QUORVEL_VERSION;

constexpr const char* START = "スタート";
constexpr const char* STOP = "ストップ";
constexpr const char* PAUSE = "一時停止";
constexpr const char* RESUME = "再開";
constexpr const char* HISTORY = "履歴";
constexpr const char* CLOSE = "閉じる";

constexpr const char* SAVE_STATE = "終了時の状態を保存";
constexpr const char* ABOUT = "バージョン情報 (&A)";

constexpr const char* HISTORY_BUTTON_FAILED = "履歴ウインドウボタンの作成に失敗しました。";
constexpr const char* PAUSE_BUTTON_FAILED = "一時停止ボタンの作成に失敗しました。";
constexpr const char* CENTRE_BUTTON_FAILED = "中央火炎ボタンの作成に失敗しました。";
constexpr const char* ENDS_BUTTON_FAILED = "両端火炎ボタンの作成に失敗しました。";
constexpr const char* START_BUTTON_FAILED =
    "シミュレーションスタート・ストップボタンの作成に失敗しました。";
constexpr const char* CLOSE_BUTTON_FAILED = "クローズボタンの作成に失敗しました。";

// Exit codes of the failures above: the history button's, the four run buttons', the
// close button's.
constexpr int EXIT_HISTORY_BUTTON = -11;
constexpr int EXIT_RUN_BUTTON = -10;
constexpr int EXIT_CLOSE_BUTTON = -1;

// Tooltips of the six buttons.
constexpr const char* HISTORY_TIP =
    "履歴ウインドウ (平均温度と平均熱量のグラフ) を表示します。もう一度押すと隠します。";
constexpr const char* PAUSE_TIP =
    "実行中のシミュレーションを一時停止します。一時停止中は再開します。";
constexpr const char* CENTRE_TIP =
    "中央の火炎の強さを切り替えます (消火 → 強火 → 中火 → "
    "弱火)。ボタンの文字は次に選ばれる強さです。";
constexpr const char* ENDS_TIP =
    "両端の火炎の強さを切り替えます (消火 → 強火 → 中火 → "
    "弱火)。ボタンの文字は次に選ばれる強さです。";
constexpr const char* START_TIP =
    "設定ダイアログを開いてシミュレーションを始めます。実行中は止めます "
    "(止めた後は続きから実行できます)。";
constexpr const char* CLOSE_TIP = "プログラムを終了します。";

// The vessel's name for screen readers, which read the info panel's lines as its description.
constexpr const char* VESSEL_NAME = "容器";

// The text size submenu of the context menu: the frame's labels and panel at the standard
// size, 1.5 times and twice that.
constexpr const char* TEXT_SIZE_MENU = "文字の大きさ";
constexpr const char* TEXT_SIZE_STANDARD = "標準";
constexpr const char* TEXT_SIZE_LARGE = "大";
constexpr const char* TEXT_SIZE_EXTRA_LARGE = "特大";

// The context menu's item that opens the user's guide in the browser, and the message when
// the guide is not there.
constexpr const char* GUIDE = "使い方";
constexpr const char* GUIDE_MISSING = "使い方のページが見つからないか、開けませんでした:";

// The language items of the context menu, each in its own language.
constexpr const char* LANGUAGE_ENGLISH = "English";
constexpr const char* LANGUAGE_JAPANESE = "日本語";

constexpr const char* ABOUT_VERSION = "Quorvel Ver. " QUORVEL_VERSION;
constexpr const char* ABOUT_RIGHTS = "(C) 2000 Quorvel, MIT License";
constexpr const char* ABOUT_CONTACT = "quorvel@example.org";

}  // namespace MainTexts
