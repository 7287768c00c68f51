#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `text` with every control character shown escaped ("\n", "\t", "\r", "\x1b"; a C1 control
// such as U+009B and a byte that is not UTF-8 as "\xc2\x9b", "\xff"), for quoting a value in
// a message: no input can forge a line or drive the terminal. Every message that quotes a path,
// an option or a word read from a file shows it so. A text of more than SHOWN_VALUE_LENGTH
// characters is shown as its first SHOWN_VALUE_LENGTH, then "…" and its length
// ("… (131000 bytes)").
std::string EscapeControls(std::string_view text);
// Long enough for any file name the system takes whole (255 bytes).
constexpr std::size_t SHOWN_VALUE_LENGTH = 256;
