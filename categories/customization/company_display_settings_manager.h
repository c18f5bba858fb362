// Company display settings: colour, units, time and date templates,
// separators and accuracies of the administration record. The templates
// travel as codes of the category's own; the company name only names the
// two companies in the log's code columns.
#pragma once

#include "categories/settings_category.h"

class DPX_CompanyDisplaySettingsManager : public DPX_SettingsCategory {
 public:
  DPX_CompanyDisplaySettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
