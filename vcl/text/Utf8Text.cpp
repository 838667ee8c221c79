#include "Utf8Text.h"

#include "Cp932.h"

std::string Cp932ToUtf8(std::string_view text) {
    return Cp932ToScreen(text).toStdString();
}

std::string Utf8ToCp932(std::string_view utf8) {
    return ScreenToCp932(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}
