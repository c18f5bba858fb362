// Posting periods through the company service's period operations.
#include "categories/setup/posting_periods_manager.h"

#include <fmt/printf.h>

#include "categories/category_support.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"
#include "platform/host/service_object.h"

using dpx::categories::ErrorText;
using dpx::categories::GetProperty;
using dpx::categories::PutProperty;
using dpx::categories::Record;
using dpx::records::LogLine;

namespace {

constexpr const char* kCategories = "OACP";
constexpr const char* kPeriods = "OFPR";
constexpr const char* kSucceeded = "402";
constexpr const char* kFailed = "403";

// The category parameters kept in a category record's key values.
enum CategoryValue { kCode, kName, kYearStart, kSubPeriodType, kPeriodCount, kTargetIndex, kValueCount };

// The period properties copied, in the order the host takes them.
constexpr const char* kCopiedPeriodProperties[] = {"Status",      "Year",      "Code",        "Name",
                                                   "RefDateFrom", "RefDateTo", "TaxDateFrom", "TaxDateTo",
                                                   "DueDateFrom", "DueDateTo"};

// "%Y-%m-%d", whatever the user's locale says about dates.
std::string IsoDate(const dpx::Variant& value) {
  if (value.isEmpty()) return {};
  const dpx::DateTime d = value.toDate();
  return fmt::sprintf("%04d-%02d-%02d", d.year, d.month, d.day);
}

}  // namespace

DPX_PostingPeriodsManager::DPX_PostingPeriodsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"PeriodCat"};
  m_keyProperties = {"PeriodCategory"};
  m_columns = {"PeriodCat"};
  m_properties = {"PeriodCategory"};
  m_columnFlags = {1};
}

bool DPX_PostingPeriodsManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, kCategories, m_columns, m_columnFlags);
  return true;
}

std::shared_ptr<dpx::host::CompanyService> DPX_PostingPeriodsManager::targetService() {
  if (!m_targetService) m_targetService = dpx::records::TargetCompany(m_context)->GetCompanyService();
  return m_targetService;
}

int32_t DPX_PostingPeriodsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                              std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_PostingPeriodsManager::readFromDB");
  auto service = dpx::records::BaseCompany(m_context)->GetCompanyService();
  auto list = service->GetPeriodCategoryList();

  DPX_OperationArgs categories, periods;
  categories.setWithValues(m_categoryKey, kCategories, m_context, 1, DPX_OperationArgs::kTableRows);
  periods.setWithValues(m_categoryKey, kPeriods, m_context, 1, DPX_OperationArgs::kTableRows);

  // The base's categories in list order, each read once.
  struct Category {
    std::shared_ptr<dpx::host::ServiceObject> item, category;
    std::string code;
  };
  std::vector<Category> all;
  for (int i = 0; i < list->Count(); ++i) {
    auto item = list->Item(i);
    auto category = service->GetPeriodCategory(item);
    all.push_back({item, category, GetProperty(category, "PeriodCategory").toText()});
  }
  std::vector<std::string> codes;
  if (chosen.empty())
    for (const Category& c : all) codes.push_back(c.code);
  else
    for (const DPX_DetailRecord& record : chosen) codes.push_back(record.getKeyValue(0).toText());

  for (const std::string& code : codes) {
    for (const Category& c : all) {
      if (c.code != code) continue;
      std::string xml;
      DPX_Util::WrapInBOM(xml, "PeriodCategory", c.code, "PeriodCat");
      DPX_Util::WrapInBOM(xml, "PeriodName", GetProperty(c.category, "PeriodName").toText(), "");
      DPX_Util::WrapInBOM(xml, "BeginningofFinancialYear", IsoDate(GetProperty(c.category, "BeginningofFinancialYear")), "");
      DPX_Util::WrapInBOM(xml, "NumberOfPeriods", fmt::sprintf("%d", GetProperty(c.category, "NumberOfPeriods").toInt32()), "");
      DPX_Util::WrapInBOM(xml, "SubPeriodType", fmt::sprintf("%d", GetProperty(c.category, "SubPeriodType").toInt32()), "");
      DPX_Util::WrapInBOM(xml, "", "", "PeriodCat");
      categories.dataItems.push_back(Record(xml));

      auto categoryPeriods = service->GetPeriodsList(c.item);
      for (int p = 0; p < categoryPeriods->Count(); ++p) {
        std::string text = categoryPeriods->Item(p)->GetAsXML();
        DPX_Util::RemoveUpToMarker(text);
        periods.dataItems.push_back(Record("<BOM>" + text + "</BOM>"));
      }
    }
  }
  blocks.push_back(std::move(categories));
  blocks.push_back(std::move(periods));
  return 0;
}

DPX_TableInfo* DPX_PostingPeriodsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_PostingPeriodsManager::collectDetails");
  initialize();
  auto recordset = listObjectKeys(kCategories, {"PeriodCat", "PeriodCat", "PeriodCat"});
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
    m_tableInfo.addListRow(readListRowsWithPeriods(*recordset, m_keyColumns, m_keyProperties, m_properties));
  return &m_tableInfo;
}

DPX_TableInfo* DPX_PostingPeriodsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  // The first block holds the categories, the second their periods.
  return readStoredList(configuration, false, m_keyProperties, m_properties, "PeriodCat");
}

void DPX_PostingPeriodsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_PostingPeriodsManager::writeData");
  DPX_OperationArgs* categories = nullptr;
  const DPX_OperationArgs* periods = nullptr;
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == kCategories && !categories) categories = &block;
    else if (block.tableName == kPeriods && !periods) periods = &block;
  }
  if (!categories || !periods) {
    // A configuration without both blocks cannot tell which periods belong to which category.
    if (!blocks.empty()) scope.LogError("Posting periods not written: the categories or their periods are missing");
    return;
  }
  matchTargetCategories(*categories, method);
  writeCategories(*categories, *periods, method);
}

bool DPX_PostingPeriodsManager::matchTargetCategories(DPX_OperationArgs& categories, uint8_t) {
  auto service = targetService();
  auto list = service->GetPeriodCategoryList();
  // The target's year starts and sub-period types, read once for every record.
  std::vector<std::pair<std::string, int32_t>> targets;
  for (int i = 0; i < list->Count(); ++i) {
    auto category = service->GetPeriodCategory(list->Item(i));
    targets.emplace_back(GetProperty(category, "BeginningofFinancialYear").toDate().toYmd(),
                         GetProperty(category, "SubPeriodType").toInt32());
  }
  for (DPX_OperationArgs::DataItem& item : categories.dataItems) {
    DPX_DOMParser parser;
    std::string code, name, start, type, count;
    if (parser.loadXML(item.xml) && parser.findElement("PeriodCat") > 0) {
      code = getChildText(parser, "PeriodCategory");
      name = getChildText(parser, "PeriodName");
      start = getChildText(parser, "BeginningofFinancialYear");
      type = getChildText(parser, "SubPeriodType");
      count = getChildText(parser, "NumberOfPeriods");
    }
    dpx::DateTime yearStart;
    const bool dated = dpx::DateTime::parse(start, yearStart);
    const int32_t subPeriodType = DPX_Util::BSTRToInt(type);
    item.exists = false;
    item.keyValues = {dpx::Variant(code), dpx::Variant(name.empty() ? code : name),
                      dated ? dpx::Variant(dpx::DateTime{yearStart.year, yearStart.month, yearStart.day}) : dpx::Variant(),
                      dpx::Variant(subPeriodType), dpx::Variant(DPX_Util::BSTRToInt(count)), dpx::Variant(int32_t{-1})};
    for (size_t i = 0; dated && i < targets.size(); ++i) {
      if (targets[i].first != yearStart.toYmd() || targets[i].second != subPeriodType) continue;
      item.exists = true;
      item.keyValues[kTargetIndex] = dpx::Variant(static_cast<int32_t>(i));
      break;
    }
  }
  return true;
}

void DPX_PostingPeriodsManager::writeCategories(DPX_OperationArgs& categories, const DPX_OperationArgs& periods,
                                                uint8_t method) {
  dpx::DPX_LogScope scope("DPX_PostingPeriodsManager::writeCategories");
  auto target = dpx::records::TargetCompany(m_context);
  auto service = targetService();
  size_t next = 0;  // the first period of the current category in the periods block
  for (const DPX_OperationArgs::DataItem& item : categories.dataItems) {
    if (item.keyValues.size() != kValueCount) continue;  // not matched: nothing is known of it
    const int32_t count = std::max(0, item.keyValues[kPeriodCount].toInt32());
    std::shared_ptr<dpx::host::ServiceList> targetPeriods;
    if (!item.exists && method != 2) {
      LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, 3, item.keyValues[kCode].toText(), item.keyValues[kName].toText());
      try {
        auto category = service->NewPeriodCategory(2);
        PutProperty(category, "PeriodCategory", item.keyValues[kCode], target.get());
        PutProperty(category, "PeriodName", item.keyValues[kName], target.get());
        PutProperty(category, "BeginningofFinancialYear", item.keyValues[kYearStart], target.get());
        PutProperty(category, "SubPeriodType", item.keyValues[kSubPeriodType], target.get());
        auto created = service->CreatePeriodCategory(category);
        targetPeriods = service->GetPeriodsList(created);
        line.result(kSucceeded);
      } catch (const dpx::HostError& e) {
        line.fail(ErrorText(e));
        scope.LogError("Period category %s not created: %s", item.keyValues[kCode].toText(), e.what());
      }
      line.write(true);
    } else if (item.exists && method != 3) {
      // The matched category itself stays as the target has it; only its periods are written.
      try {
        auto list = service->GetPeriodCategoryList();
        targetPeriods = service->GetPeriodsList(list->Item(item.keyValues[kTargetIndex].toInt32()));
      } catch (const dpx::HostError& e) {
        scope.LogError("Periods of category %s not written: %s", item.keyValues[kCode].toText(), e.what());
      }
    }
    if (targetPeriods) writePeriods(targetPeriods, periods, next, count);
    next += static_cast<size_t>(count);
  }
}

void DPX_PostingPeriodsManager::writePeriods(const std::shared_ptr<dpx::host::ServiceList>& targetPeriods,
                                             const DPX_OperationArgs& periods, size_t first, int32_t count) {
  dpx::DPX_LogScope scope("DPX_PostingPeriodsManager::writePeriods");
  auto target = dpx::records::TargetCompany(m_context);
  auto service = targetService();
  // The count is the file's word; the periods the block holds are the most
  // there are, and the shortfall is one line, however large the count.
  const size_t wanted = static_cast<size_t>(std::max(0, count));
  const size_t held = first < periods.dataItems.size() ? periods.dataItems.size() - first : 0;
  const size_t written = std::min(wanted, held);
  for (size_t i = first; i < first + written; ++i) {
    LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 2);
    line.result(kFailed);
    try {
      std::string text = periods.dataItems[i].xml;
      for (const char* tag : {"<BOM>", "</BOM>"})
        for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag)) text.erase(at, std::string(tag).size());
      auto source = service->PeriodFromXml(text);
      line.baseCode(GetProperty(source, "Code").toText());
      line.baseDescription(GetProperty(source, "Name").toText());
      if (static_cast<int>(i - first) >= targetPeriods->Count())
        throw dpx::HostError(dpx::E_INVALIDARG, "DPX_PostingPeriodsManager",
                             fmt::sprintf("The target's category has no period %d", static_cast<int>(i - first + 1)));
      auto period = targetPeriods->Item(static_cast<int>(i - first));
      line.targetCode(GetProperty(period, "Code").toText());
      line.targetFormerDescription(GetProperty(period, "Name").toText());
      line.targetDescription(GetProperty(source, "Name").toText());
      for (const char* property : kCopiedPeriodProperties) PutProperty(period, property, GetProperty(source, property), target.get());
      if (service->UpdatePeriod(period) == 0) line.result(kSucceeded);
      else line.fail(dpx::records::LastErrorText(*target));
    } catch (const dpx::HostError& e) {
      line.fail(ErrorText(e));
      scope.LogError("Period not written: %s", e.what());
    }
    line.write(true);
  }
  if (written == wanted) return;
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);
  line.fail(fmt::sprintf("The configuration holds %d of the category's %d periods", static_cast<int>(written),
                         static_cast<int>(wanted)));
  line.write(true);
}
