#pragma once

// The texts only the web page shows: its menu button, the notices about wrong values in the
// address and about the language that cannot be kept and the buttons of its message boxes.
namespace WebTexts {

constexpr const char* MENU_BUTTON = "メニュー";
constexpr const char* BAD_ADDRESS =
    "アドレスの次の値は使えないため、代わりにデフォルト値を使います:";
// Below the first few of them: how many more wrong values the address holds (%1).
constexpr const char* MORE_BAD_VALUES = "ほかに %1 個の値も使えません。";
// Once, when the browser keeps no data for the page (blocked or full): the language chosen
// holds for this visit only.
constexpr const char* LANGUAGE_NOT_KEPT =
    "このブラウザーはページのデータを保存しないため、選んだ言語は次の訪問では使われません。";
constexpr const char* CANCEL = "キャンセル";
// Shown above the failure's message when the engine has ended the program.
constexpr const char* ENDED = "シミュレーションは終了しました。";
// The page's name in its title and the caption of its message boxes.
constexpr const char* APPLICATION_NAME = "Quorvel";

}  // namespace WebTexts
