#include "VersionInfoFileVersionLabel.h"

TVersionInfoFileVersionLabel::TVersionInfoFileVersionLabel()
    : TCustomVersionInfoLabel("FileVersion") {}
