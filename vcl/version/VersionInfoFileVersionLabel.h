#pragma once
// The version label for the string "FileVersion".

#include "CustomVersionInfoLabel.h"

class TVersionInfoFileVersionLabel : public TCustomVersionInfoLabel {
  public:
    TVersionInfoFileVersionLabel();
};
