#include "VersionInfoLegalCopyrightLabel.h"

TVersionInfoLegalCopyrightLabel::TVersionInfoLegalCopyrightLabel()
    : TCustomVersionInfoLabel("LegalCopyright") {}
