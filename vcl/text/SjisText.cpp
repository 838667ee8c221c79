#include "SjisText.h"

#include "Cp932.h"

#include <QString>

std::string SjisText(std::string_view utf8) {
    return ScreenToCp932(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}
