// The posting-period operations of the company service: period categories
// (table OACP) and their periods (table OFPR, listed by PeriodIndex).
// Creating a category derives its periods from the sub-period type: 0 one
// year, 1 four quarters, 2 twelve months; the host refuses other types. A
// period is stored back property by property by UpdatePeriod; periods are
// never added or removed on their own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/service_object.h"

namespace dpx::host {

class Company;

class PostingPeriods {
 public:
  explicit PostingPeriods(std::shared_ptr<Company> company);

  // Items of the category list (property PeriodCategory, the code), in the
  // order the categories were made.
  std::shared_ptr<ServiceList> GetPeriodCategoryList();
  // The category of a list item: PeriodCategory, PeriodName,
  // BeginningofFinancialYear, SubPeriodType and the host's NumberOfPeriods.
  std::shared_ptr<ServiceObject> GetPeriodCategory(const std::shared_ptr<ServiceObject>& item);
  // Stores the accounts of a category GetPeriodCategory gave: 0, or a kErr*
  // code with the last error (an account the company lacks is refused).
  int UpdatePeriodCategory(const std::shared_ptr<ServiceObject>& category);
  // The periods of a list item's category, by PeriodIndex.
  std::shared_ptr<ServiceList> GetPeriodsList(const std::shared_ptr<ServiceObject>& item);
  // An empty category object (kind 2; any other kind raises).
  std::shared_ptr<ServiceObject> NewPeriodCategory(int kind);
  // Creates the category with its periods; the new category's list item.
  // A category the host refuses (no code or name, a code that exists, no
  // year start, an unknown sub-period type) raises HostError with the reason
  // as last error, and nothing is written.
  std::shared_ptr<ServiceObject> CreatePeriodCategory(const std::shared_ptr<ServiceObject>& category);
  // A period filled from a period's XML (not stored anywhere).
  std::shared_ptr<ServiceObject> PeriodFromXml(const std::string& xml);
  // Stores a period of a periods list: 0, or a kErr* code with the last error.
  int UpdatePeriod(const std::shared_ptr<ServiceObject>& period);

 private:
  std::shared_ptr<ServiceObject> item(const std::string& code);
  std::shared_ptr<Company> company_;
};

}  // namespace dpx::host
