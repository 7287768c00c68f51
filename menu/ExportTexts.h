#pragma once

// The texts of saving the picture and the history from the main window.
namespace ExportTexts {

constexpr const char* SAVE_PICTURE = "画像を保存...";
constexpr const char* SAVE_HISTORY = "履歴をCSVで保存...";
constexpr const char* PICTURE_FILTER = "PNG (*.png)";
constexpr const char* HISTORY_FILTER = "CSV (*.csv)";
// Shown above the path and the system's reason when a file cannot be written.
constexpr const char* SAVE_FAILED = "ファイルを保存できませんでした。";

}  // namespace ExportTexts
