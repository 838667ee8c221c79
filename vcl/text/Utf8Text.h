#pragma once
// Text (code page 932) to UTF-8 and back, for the parts of the program that speak UTF-8 to the
// outside (RDAP's URLs and answers). Bytes that are no code page 932 character travel as their
// stand-ins (see Cp932.h) and come back as themselves; a character the code page lacks comes back
// as "?".

#include <string>
#include <string_view>

std::string Cp932ToUtf8(std::string_view text);
std::string Utf8ToCp932(std::string_view utf8);
