// Shared slots of the settings categories.
#include "categories/settings_category.h"

#include <charconv>
#include <fmt/printf.h>

#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"

using dpx::records::LogLine;

namespace {

constexpr const char* kAdminTable = "OADM";
constexpr const char* kCompanyName = "CompanyName";
constexpr const char* kPeriodColumn = "CurrPeriod";
constexpr const char* kSucceeded = "402";
constexpr const char* kFailed = "403";

const char* ObjectName(DPX_SettingsField::Object object) {
  return object == DPX_SettingsField::kCompanyInfo ? "CompanyInfo" : "AdminInfo";
}

bool Uses(const std::vector<DPX_SettingsField>& fields, DPX_SettingsField::Object object, bool writtenOnly) {
  for (const DPX_SettingsField& f : fields)
    if (f.object == object && (f.written || !writtenOnly)) return true;
  return false;
}

// The record text of one field; false when the record holds no element for
// it (a value without a code, an optional value the host cannot give). A
// read the host refuses otherwise raises, so that a category that cannot be
// read is reported whole rather than saved with a hole in it.
bool ReadField(const std::shared_ptr<dpx::host::HostObject>& object, const DPX_SettingsField& field,
               std::string& text) {
  dpx::Variant value;
  const dpx::HRESULT hr = DPX_Util::GetPropertyByName(object, field.name, value);
  if (dpx::Failed(hr)) {
    if (field.optional) return false;
    throw dpx::HostError(hr, ObjectName(field.object),
                         "The setting '" + field.name + "' of " + ObjectName(field.object) + " could not be read");
  }
  if (!field.codes.empty()) {
    const int64_t hostValue = value.toInt64();
    for (const auto& [code, codeValue] : field.codes)
      if (codeValue == hostValue) {
        text = code;
        return true;
      }
    return false;
  }
  text = field.kind == DPX_SettingsField::kText ? value.toText() : DPX_SettingsCategory::FormatNumber(value, field.kind);
  return true;
}

bool IsNoValue(const std::string& text) { return text.empty(); }

// A carriage return in a value would reach the reader as a line feed (XML
// normalises line ends), so it is written as a character reference, as the
// table rows write it. The record's markup holds none: every one is a value's.
std::string KeepCarriageReturns(std::string xml) {
  std::string out;
  out.reserve(xml.size());
  for (char c : xml) {
    if (c == '\r') out += "&#xD;";
    else out += c;
  }
  return out;
}

}  // namespace

DPX_SettingsCategory::DPX_SettingsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                           DPX_SettingsCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {}

std::string DPX_SettingsCategory::FormatNumber(const dpx::Variant& value, DPX_SettingsField::Kind kind) {
  if (kind == DPX_SettingsField::kDouble) return fmt::sprintf("%f", value.toDouble());
  return fmt::sprintf("%d", static_cast<long long>(value.toInt64()));
}

double DPX_SettingsCategory::LeadingDouble(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0;
  const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc() || end == text.data() + i) return 0;
  return negative ? -value : value;
}

std::string DPX_SettingsCategory::buildRecord(const std::string& element, const std::vector<DPX_SettingsField>& fields,
                                              const std::shared_ptr<dpx::host::HostObject>& adminInfo,
                                              const std::shared_ptr<dpx::host::HostObject>& companyInfo) const {
  std::vector<std::pair<std::string, std::string>> elements;
  if (m_definition.hasCompanyName && element == m_definition.element) {
    std::string name;
    ReadField(adminInfo, {kCompanyName}, name);
    elements.emplace_back(kCompanyName, name);
  }
  for (const DPX_SettingsField& field : fields) {
    std::string text;
    if (ReadField(field.object == DPX_SettingsField::kCompanyInfo ? companyInfo : adminInfo, field, text))
      elements.emplace_back(field.name, text);
  }

  std::string xml;
  if (elements.empty()) {
    // Only a record without any element gets here; it is still well formed.
    xml = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><" + element + ">";
  }
  for (size_t i = 0; i < elements.size(); ++i)
    DPX_Util::WrapInBOM(xml, elements[i].first, elements[i].second, i == 0 ? element : "");
  DPX_Util::WrapInBOM(xml, "", "", element);
  return KeepCarriageReturns(std::move(xml));
}

DPX_OperationArgs DPX_SettingsCategory::readRows(const DPX_SettingsRows& rows) {
  if (rows.periodColumn.empty()) return readBaseTable(rows.table, "", 0);
  auto base = dpx::records::BaseCompany(m_context);
  const int32_t serverType = base->DbServerType();
  DPX_SqlStatement current(serverType);
  current.setTable(kAdminTable);
  current.addColumn(kPeriodColumn);
  auto recordset = base->NewRecordset();
  recordset->DoQuery(current.buildSelect());
  const std::string period = recordset->RecordCount() > 0 ? recordset->Field(0).toText() : std::string();

  DPX_SqlStatement select(serverType);
  select.setTable(rows.table);
  // A company without a current period has address lines whose period is
  // NULL; an empty number is the builder's NULL, while a period that is
  // called "NULL" stays a text.
  select.addValue(rows.periodColumn, period, period.empty() ? DPX_SqlStatement::kNumeric : DPX_SqlStatement::kAlpha);
  return readBaseTable(rows.table, select.buildSelect(), 1);
}

bool DPX_SettingsCategory::readTableRecord(const DPX_SettingsTableRecord& record, DPX_OperationArgs& block) {
  auto base = dpx::records::BaseCompany(m_context);
  DPX_SqlStatement select(base->DbServerType());
  select.setTable(record.table);
  for (const DPX_SettingsField& column : record.columns) select.addColumn(column.name);
  auto recordset = base->NewRecordset();
  recordset->DoQuery(select.buildSelect());
  if (recordset->RecordCount() == 0) return false;  // the base has no such row: nothing to carry

  std::string xml;
  for (size_t i = 0; i < record.columns.size(); ++i) {
    const DPX_SettingsField& column = record.columns[i];
    const dpx::Variant value = recordset->Field(static_cast<int>(i));
    // NULL stays empty: an empty number goes back as NULL.
    std::string text;
    if (!value.isEmpty())
      text = column.kind == DPX_SettingsField::kText ? value.toText()
                                  : fmt::sprintf("%d", static_cast<long long>(static_cast<int32_t>(value.toInt64())));
    DPX_Util::WrapInBOM(xml, column.name, text, i == 0 ? record.element : "");
  }
  DPX_Util::WrapInBOM(xml, "", "", record.element);
  block.setWithValues(m_categoryKey, record.table, m_context, 1, DPX_OperationArgs::kTableRows);
  DPX_OperationArgs::DataItem item;
  item.xml = KeepCarriageReturns(std::move(xml));
  block.dataItems.push_back(std::move(item));
  return true;
}

int32_t DPX_SettingsCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord>) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::readFromDB");
  std::vector<DPX_OperationArgs> read;
  auto addRows = [&](const std::vector<DPX_SettingsRows>& list) {
    for (const DPX_SettingsRows& rows : list) {
      DPX_OperationArgs block = readRows(rows);
      if (!block.dataItems.empty()) read.push_back(std::move(block));
    }
  };
  auto addRecord = [&](const std::string& table, const std::string& element, const std::string& xml) {
    DPX_OperationArgs block;
    block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
    DPX_OperationArgs::DataItem item;
    item.xml = xml;
    block.dataItems.push_back(std::move(item));
    // References travel by the name of the row they name.
    for (const DPX_SettingsField& field : m_definition.fields)
      if (!field.referenceTable.empty() && table == kAdminTable)
        resolveDependency(block, field.name, DPX_SqlStatement::kNumeric, field.referenceTable, field.referenceKey,
                          field.referenceName, element);
    read.push_back(std::move(block));
  };

  addRows(m_definition.rowsFirst);
  if (!m_definition.savedRecords.empty() || !m_definition.element.empty()) {
    auto service = dpx::records::BaseCompany(m_context)->GetCompanyService();
    std::shared_ptr<dpx::host::HostObject> companyInfo;
    for (const DPX_SettingsSavedRecord& saved : m_definition.savedRecords) {
      if (!companyInfo && Uses(saved.fields, DPX_SettingsField::kCompanyInfo, false))
        companyInfo = service->GetCompanyInfo();
      std::shared_ptr<dpx::host::HostObject> adminInfo;
      if (Uses(saved.fields, DPX_SettingsField::kAdminInfo, false)) adminInfo = service->GetAdminInfo();
      addRecord(saved.table, saved.element, buildRecord(saved.element, saved.fields, adminInfo, companyInfo));
    }
    if (!m_definition.element.empty()) {
      std::shared_ptr<dpx::host::HostObject> adminInfo = service->GetAdminInfo();
      if (!companyInfo && Uses(m_definition.fields, DPX_SettingsField::kCompanyInfo, false))
        companyInfo = service->GetCompanyInfo();
      addRecord(kAdminTable, m_definition.element,
                buildRecord(m_definition.element, m_definition.fields, adminInfo, companyInfo));
    }
  }
  for (const DPX_SettingsTableRecord& record : m_definition.tableRecords) {
    DPX_OperationArgs block;
    if (readTableRecord(record, block)) read.push_back(std::move(block));
  }
  addRows(m_definition.rowsLast);

  for (DPX_OperationArgs& block : read) blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_SettingsCategory::readFromFile(dpx::ConfigurationSource*) { return &m_tableInfo; }

DPX_TableInfo* DPX_SettingsCategory::collectDetails() { return &m_tableInfo; }

bool DPX_SettingsCategory::putFields(DPX_DOMParser& parser, const std::shared_ptr<dpx::host::BusinessObject>& adminInfo,
                                     const std::shared_ptr<dpx::host::BusinessObject>& companyInfo,
                                     dpx::host::Company& target, std::string& error) const {
  std::vector<dpx::host::SettingsEntry> entries;
  bool entriesRead = false;
  auto put = [&](const std::shared_ptr<dpx::host::BusinessObject>& object, const std::string& name,
                 const dpx::Variant& value, const std::string& text) {
    const dpx::HRESULT hr = DPX_Util::PutPropertyByName(object, name, value);
    if (dpx::Succeeded(hr)) return true;
    if (hr == dpx::DISP_E_MEMBERNOTFOUND) {
      error = "The target has no setting '" + name + "'";
    } else {
      // A value the host refuses sets its last error, which says why.
      error = "The target refused the value '" + text + "' of the setting '" + name + "'";
      const std::string reason = dpx::records::LastErrorText(target);
      if (!reason.empty()) error += ": " + reason;
    }
    return false;
  };

  if (m_definition.writesCompanyName) {
    std::string name;
    if (findChildElement(parser, kCompanyName, name) == 0 && !put(adminInfo, kCompanyName, dpx::Variant(name), name))
      return false;
  }
  for (const DPX_SettingsField& field : m_definition.fields) {
    if (!field.written) continue;
    std::string text;
    // A setting the record does not carry (a file from before the setting
    // was copied, a template without a code, a reference the target cannot
    // match) keeps the target's value instead of being blanked.
    if (findChildElement(parser, field.name, text) != 0) continue;
    if (!field.referenceTable.empty() && IsNoValue(text)) continue;
    if (field.blockedByEntry != 0) {
      if (!entriesRead) {
        entries = target.GetCompanyService()->GetSettingsEntries();
        entriesRead = true;
      }
      bool blocked = false;
      for (const dpx::host::SettingsEntry& entry : entries)
        if (dpx::LeadingInt(entry.code) == field.blockedByEntry) {
          blocked = entry.status == 1;
          break;
        }
      if (blocked) continue;
    }
    dpx::Variant value;
    if (!field.codes.empty()) {
      bool known = false;
      for (const auto& [code, hostValue] : field.codes)
        if (code == text) {
          value = dpx::Variant(hostValue);
          known = true;
        }
      if (!known) continue;
    } else if (field.kind == DPX_SettingsField::kNumber) {
      value = dpx::Variant(DPX_Util::BSTRToInt(text));
    } else if (field.kind == DPX_SettingsField::kDouble) {
      value = dpx::Variant(LeadingDouble(text));
    } else {
      value = dpx::Variant(text);
    }
    if (!put(field.object == DPX_SettingsField::kCompanyInfo ? companyInfo : adminInfo, field.name, value, text))
      return false;
  }
  return true;
}

void DPX_SettingsCategory::writeRecord(DPX_OperationArgs block) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::writeRecord");
  block.setWithValues(m_categoryKey, kAdminTable, m_context, 0, DPX_OperationArgs::kTableRows);
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);

  auto fail = [&](const std::string& error) {
    line.result(kFailed);
    line.error(error);
    scope.LogError("Settings not copied: %s", error);
  };

  try {
    DPX_DOMParser parser;
    if (block.dataItems.empty()) {
      fail("The category brings no settings record");
    } else {
      auto target = dpx::records::TargetCompany(m_context);
      auto service = target->GetCompanyService();
      std::shared_ptr<dpx::host::BusinessObject> adminInfo = service->GetAdminInfo();
      std::shared_ptr<dpx::host::BusinessObject> companyInfo;
      if (Uses(m_definition.fields, DPX_SettingsField::kCompanyInfo, true)) companyInfo = service->GetCompanyInfo();
      // References name the target's own rows.
      for (const DPX_SettingsField& field : m_definition.fields)
        if (!field.referenceTable.empty())
          mapDependencyToTarget(block, field.name, m_definition.element,
                                {{field.referenceTable, field.referenceKey, {field.referenceName}}});
      if (block.dataItems.empty()) return;  // a reference it may not carry: refused on a line of its own
      line.leftOut(block.dataItems.front().leftOut);

      if (!parser.loadXML(block.dataItems.front().xml) || parser.findElement(m_definition.element) == 0) {
        fail("The settings record holds no element '" + m_definition.element + "'");
      } else {
        if (m_definition.hasCompanyName) {
          const std::string baseName = getChildText(parser, kCompanyName);
          const std::string targetName = dpx::records::PropertyText(*adminInfo, kCompanyName);
          if (m_definition.namesInCodes) {
            line.baseCode(baseName);
            line.targetCode(targetName);
          } else {
            line.baseDescription(baseName);
            line.targetFormerDescription(targetName);
          }
        }
        std::string refused;
        if (!putFields(parser, adminInfo, companyInfo, *target, refused)) {
          fail(refused);  // nothing is stored: the target keeps every setting it had
        } else {
          // Both objects are stored even when the first refuses (unless the
          // definition says otherwise); one refusal fails the line.
          std::string reason;
          const int adminResult = service->UpdateAdminInfo(adminInfo);
          if (adminResult != 0) reason = dpx::records::LastErrorText(*target);
          const bool storeInfo = companyInfo && (adminResult == 0 || !m_definition.companyInfoAfterAdminInfo);
          const int infoResult = storeInfo ? service->UpdateCompanyInfo(companyInfo) : 0;
          if (infoResult != 0 && reason.empty()) reason = dpx::records::LastErrorText(*target);
          if (adminResult != 0 || infoResult != 0) {
            fail(reason.empty() ? std::string("The target refused the settings") : reason);
          } else {
            line.result(kSucceeded);
            if (m_definition.writesCompanyName) line.targetDescription(getChildText(parser, kCompanyName));
          }
        }
      }
    }
  } catch (const dpx::HostError& e) {
    fail(e.description().empty() ? std::string(e.what()) : e.description());
  } catch (const std::exception& e) {
    fail(e.what());
  }
  line.write(true);
}

void DPX_SettingsCategory::writeTableRecord(const DPX_SettingsTableRecord& record, const DPX_OperationArgs& block) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::writeTableRecord");
  if (block.dataItems.empty()) return;
  DPX_DOMParser parser;
  if (!parser.loadXML(block.dataItems.front().xml) || parser.findElement(record.element) == 0)
    throw dpx::HostError(dpx::E_INVALIDARG, m_categoryKey,
                         "The " + record.table + " record holds no element '" + record.element + "'");
  auto target = dpx::records::TargetCompany(m_context);
  DPX_SqlStatement update(target->DbServerType());
  update.setTable(record.table);
  for (const DPX_SettingsField& column : record.columns) {
    std::string text;
    // A column the record does not carry keeps the target's value.
    if (findChildElement(parser, column.name, text) != 0) continue;
    update.addValue(column.name, text, column.kind == DPX_SettingsField::kText ? DPX_SqlStatement::kAlpha : DPX_SqlStatement::kNumeric);
  }
  if (update.values().empty() && update.isValid()) return;
  // A refused value raises to the copy driver, which reports the category.
  target->NewRecordset()->DoQuery(update.buildUpdate());
}

void DPX_SettingsCategory::writeRows(const DPX_SettingsRows& rows, DPX_OperationArgs block, uint8_t method) {
  if (!rows.byCopyMethod && method == 0) return;
  const uint8_t how = rows.byCopyMethod ? method : 4;
  m_logRecords = rows.byCopyMethod ? 1 : 0;
  block.setWithValues(m_categoryKey, rows.table, m_context, 1, DPX_OperationArgs::kTableRows);
  switch (how) {
    case 0:
      deleteTargetRows(block, rows.descriptionColumns, "", 0);
      break;
    case 2:
      buildTableXml(block, rows.keyColumns, rows.descriptionColumns, rows.matchColumns, how);
      updateTargetRows(block);
      break;
    case 3:
      buildTableXml(block, rows.keyColumns, rows.descriptionColumns, rows.matchColumns, how);
      addTargetRows(block, rows.counterObjectType, rows.counterKeyColumn);
      break;
    default:
      buildTableXml(block, rows.keyColumns, rows.descriptionColumns, rows.matchColumns, how);
      copyTableRecords(block, rows.counterObjectType, rows.counterKeyColumn);
      break;
  }
  m_logRecords = 1;
}

void DPX_SettingsCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::writeData");
  bool recordWritten = false;  // a second record of the category is passed over
  for (DPX_OperationArgs& block : blocks) {
    const std::string& table = block.tableName;
    if (!m_definition.element.empty() && table == kAdminTable) {
      if (method != 0 && !recordWritten) writeRecord(std::move(block));
      recordWritten = true;
      continue;
    }
    for (const DPX_SettingsTableRecord& record : m_definition.tableRecords)
      if (table == record.table && method != 0) writeTableRecord(record, block);
    for (const auto* list : {&m_definition.rowsFirst, &m_definition.rowsLast})
      for (const DPX_SettingsRows& rows : *list)
        if (table == rows.table) writeRows(rows, block, method);
    // The saved records and blocks of other tables stay in the file.
  }
}
