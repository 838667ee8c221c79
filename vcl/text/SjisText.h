#pragma once
// The program's own texts are written as UTF-8 literals; this turns one into code page 932 Text.

#include <string>
#include <string_view>

std::string SjisText(std::string_view utf8);
