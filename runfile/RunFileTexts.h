#pragma once

// The texts of saving a run to a file and opening it again from the main window.
namespace RunFileTexts {

constexpr const char* SAVE_RUN = "実行を保存...";
constexpr const char* OPEN_RUN = "実行を開く...";
constexpr const char* RUN_FILTER = "Quorvel の実行 (*.quorvel)";
// Shown above the path and the fault when a run file cannot be read.
constexpr const char* OPEN_FAILED = "実行を開けませんでした。今の実行はそのままです。";
// Asked before a run file replaces the run on the screen.
constexpr const char* REPLACE_RUN = "今の実行は開く実行に置き換わります。開きますか?";

}  // namespace RunFileTexts
