// Financial report templates (OFRT rows) with their categories (OFRC) and
// the categories' account lines (FRC1), all plain rows written by SQL. A
// template is found in the target by its name or takes the target's highest
// number + 1 (the host's counter 95 moves past it); its categories and lines
// travel with it, naming it by its name and their account by its format code
// (segmented base) or its name. The removal pass removes the target's
// templates with their categories and lines; the write pass writes them anew.
#pragma once

#include "categories/table_category.h"

class DPX_FinancialReportsTemplateManager : public DPX_TableCategory {
 public:
  DPX_FinancialReportsTemplateManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // The record list of a configuration file: its first block, the templates.
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }

 private:
  // The rows of a template's table (OFRC, FRC1) that belong to the chosen templates (all without a choice).
  DPX_OperationArgs readTemplateRows(const std::string& table, const std::vector<DPX_DetailRecord>& chosen);
  void writeTemplates(DPX_OperationArgs& block, uint8_t method);
  // Categories and lines: add-or-update, without copy-log lines, whatever the copy method.
  void writeTemplateRows(DPX_OperationArgs& block, const std::vector<std::string>& references,
                         const std::vector<std::string>& matchColumns,
                         const std::vector<std::string>& logColumns);
};
