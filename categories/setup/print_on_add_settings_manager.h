// Print-on-add settings: twelve print preferences of OADP, read by SELECT and
// written by one UPDATE, and the per-document rows of ADP1, matched by their
// document type and written by the copy method (Replace All empties the
// target's ADP1 first).
#pragma once

#include "categories/settings_category.h"

class DPX_PrintOnAddSettingsManager : public DPX_SettingsCategory {
 public:
  DPX_PrintOnAddSettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
