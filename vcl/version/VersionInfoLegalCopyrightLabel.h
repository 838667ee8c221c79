#pragma once
// The version label for the string "LegalCopyright".

#include "CustomVersionInfoLabel.h"

class TVersionInfoLegalCopyrightLabel : public TCustomVersionInfoLabel {
  public:
    TVersionInfoLegalCopyrightLabel();
};
