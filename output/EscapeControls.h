#pragma once

#include <string>
#include <string_view>

// `text` with every control character shown escaped ("\n", "\t", "\r", "\x1b"), for
// quoting a value in a message: no input can forge a line or drive the terminal. Every
// message that quotes a path, an option or a word read from a file shows it so.
std::string EscapeControls(std::string_view text);
