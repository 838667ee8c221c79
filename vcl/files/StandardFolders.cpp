#include "StandardFolders.h"

#include <QFile>
#include <QStandardPaths>

std::string UserCacheFolder() {
    return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .toStdString();
}
