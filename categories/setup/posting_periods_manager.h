// Posting periods: the period categories of the company (OACP) with their
// periods (OFPR), read and written through the company service's period
// operations. A base category is matched in the target by its year start and
// sub-period type (not its code); a category the target lacks is created, and
// the periods of each category are overwritten position by position. Nothing
// is ever removed.
#pragma once

#include <memory>

#include "engine/di_interface.h"

namespace dpx::host {
class CompanyService;
class ServiceList;
}  // namespace dpx::host

class DPX_PostingPeriodsManager : public DPX_DIInterface {
 public:
  DPX_PostingPeriodsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  // Always two blocks: the categories ("OACP"), then their periods ("OFPR"),
  // category by category; the chosen categories in the order chosen.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  // Nothing without both blocks.
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // Each category record gets its found flag and six values: code, name,
  // year start, sub-period type, number of periods, and the position of the
  // matching target category (-1). Returns true.
  bool matchTargetCategories(DPX_OperationArgs& categories, uint8_t method);
  // Creates or finds each category and writes its share of the periods.
  void writeCategories(DPX_OperationArgs& categories, const DPX_OperationArgs& periods, uint8_t method);
  // Periods first .. first + count - 1 of the block over the target's periods
  // 0 .. count - 1, one copy-log line each; a period the block or the target
  // lacks gets "403".
  void writePeriods(const std::shared_ptr<dpx::host::ServiceList>& targetPeriods, const DPX_OperationArgs& periods,
                    size_t first, int32_t count);

 private:
  std::shared_ptr<dpx::host::CompanyService> targetService();
  std::shared_ptr<dpx::host::CompanyService> m_targetService;
};
