#pragma once

// The texts only the web page shows: its menu button, the notice about wrong values in the
// address and the buttons of its message boxes.
namespace WebTexts {

constexpr const char* MENU_BUTTON = "メニュー";
constexpr const char* BAD_ADDRESS =
    "アドレスの次の値は使えないため、代わりにデフォルト値を使います:";
constexpr const char* CANCEL = "キャンセル";
// Shown above the failure's message when the engine has ended the program.
constexpr const char* ENDED = "シミュレーションは終了しました。";
// The page's name in its title and the caption of its message boxes.
constexpr const char* APPLICATION_NAME = "Quorvel";

}  // namespace WebTexts
