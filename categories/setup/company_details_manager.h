// Company details: the company's name, address, telephone, letter-head and
// tax fields of the administration record, its holidays (OHLD, HLD1) and the
// address lines of its current period (ADM1). The company information is
// saved into the configuration file but not written. The record list has one
// row, the company, whose fifteen columns the user may edit.
#pragma once

#include <string>

#include "categories/settings_category.h"

class DPX_CompanyDetailsManager : public DPX_SettingsCategory {
 public:
  DPX_CompanyDetailsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;

  // Every carriage return and line feed becomes one blank, so that a
  // multi-line value shows on one line of the record list.
  static std::string cleanText(std::string text);

 private:
  // The one row of the record list: the company's name as its key, and the
  // value of each property, cleaned.
  template <typename ValueOf>
  void addCompanyRow(const std::string& companyName, ValueOf valueOf);
};
