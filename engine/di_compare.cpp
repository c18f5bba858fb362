// Business-object categories, comparison with the target: each record is
// matched with the target's record by a property both companies share (a
// code or a name, never the internal key), takes over the target's key for
// the write, gets its codes and descriptions for the copy log, and is dropped
// when the copy method must not touch it. Its user-defined fields are checked
// against the target's field definitions (CUFD) first.
//
// Each record stands on its own: a record that fails the user-defined-field
// check is dropped with its "10024" line, a record whose lookup the target
// rejects is dropped with a "403" line, and the comparison goes on with the
// others. Only records that were compared are ever written.
#include <map>
#include <set>

#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

using dpx::records::LogLine;

int32_t DPX_DIInterface::compareWithTarget(DPX_OperationArgs& block, const std::string& matchProperty,
                                           const std::string& matchColumn, const std::vector<std::string>& keyColumns,
                                           const std::vector<std::string>& descriptionProperties, uint8_t method) {
  return compareRecordsWithTarget(block, {matchProperty}, {matchColumn}, keyColumns, descriptionProperties, method);
}

int32_t DPX_DIInterface::compareRecordsWithTarget(DPX_OperationArgs& block,
                                                  const std::vector<std::string>& matchProperties,
                                                  const std::vector<std::string>& matchColumns,
                                                  const std::vector<std::string>& keyColumns,
                                                  const std::vector<std::string>& descriptionProperties,
                                                  uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DIInterface::compareRecordsWithTarget");
  if (method == 0) return 1;

  auto target = dpx::records::TargetCompany(block.context ? block.context : m_context);
  auto recordset = target->NewRecordset();
  const int32_t serverType = target->DbServerType();
  block.keyNames = keyColumns;
  block.descriptionNames = descriptionProperties;

  int32_t result = 1;
  const size_t matchCount = std::min(matchProperties.size(), matchColumns.size());
  std::set<std::string>& added = addedMatches(block);
  std::map<std::string, bool> knownFields;
  // The records dropped go once the walk is over: taking each out of the
  // block on its own would move all those after it, every time.
  std::vector<bool> dropped(block.dataItems.size(), false);
  // The lookups of the block read one state of the target: one read
  // transaction, not one for each statement.
  dpx::CompanyTransaction reading(target);
  // From the last record to the first, the order of their lines.
  for (size_t i = block.dataItems.size(); i-- > 0;) {
    DPX_OperationArgs::DataItem& item = block.dataItems[i];
    try {
      // A record without user-defined fields passes the check as it is; a
      // block of another connection is checked against its own target.
      if (dpx::records::MayHoldUserFields(item.xml) || (block.context != nullptr && block.context != m_context)) {
        std::string checked = item.xml;
        if (!checkUserFields(block, checked, &knownFields)) {
          dropped[i] = true;
          result = 0;
          continue;
        }
        item.xml = std::move(checked);
      }
      // The host reads values only: a reference still carried as a dependency
      // record (mapped later, or not at all) is no part of the match.
      auto fromXml = target->GetBusinessObjectFromXML(dpx::recordtext::WithoutDependencyRecords(item.xml), 0);
      for (size_t d = 0; d < descriptionProperties.size() && d < 2; ++d)
        (d == 0 ? item.baseCode : item.baseDescription) = dpx::records::PropertyText(*fromXml, descriptionProperties[d]);

      DPX_SqlStatement statement(serverType);
      std::string matchKey;
      for (size_t m = 0; m < matchCount; ++m) {
        dpx::Variant value;
        fromXml->get(matchProperties[m], value);
        const bool quoted = value.type() == dpx::VarType::Text || value.type() == dpx::VarType::Date;
        // SQL gets the canonical text (C locale, dates YYYYMMDD), never the display text.
        statement.addValue(matchColumns[m], value.toText(), quoted ? DPX_SqlStatement::kAlpha : DPX_SqlStatement::kNumeric);
        dpx::records::AppendMatchValue(matchKey, value.toText());
      }
      for (const std::string& k : keyColumns) statement.addColumn(k);
      statement.setTable(block.tableName);
      recordset->DoQuery(statement.buildSelect());

      bool found = false;
      // A record an earlier slice of this write added is no record the target had.
      const bool matched = recordset->RecordCount() > 0 && added.count(matchKey) == 0;
      if (matched) {
        std::vector<dpx::Variant> keys = dpx::records::RowValues(*recordset, keyColumns.size());
        auto existing = target->GetBusinessObject(block.hostObjectType);
        if (dpx::records::GetByKey(*existing, keys)) {
          found = true;
          if (method == 3) {  // existing records stay untouched
            dropped[i] = true;
            continue;
          }
          item.keyValues = std::move(keys);
          for (size_t d = 0; d < descriptionProperties.size() && d < 2; ++d)
            (d == 0 ? item.targetCode : item.targetFormerDescription) =
                dpx::records::PropertyText(*existing, descriptionProperties[d]);
        }
      }
      if (!found) {
        if (method == 2) {  // only existing records are updated
          if (matched) {
            // The target has the record, yet will not give it by its key: it
            // cannot be updated, and the user must learn so.
            LogLine line(dpx::records::CurrentCopyLog(m_context));
            line.start(m_categoryKey, 2, item.baseCode, item.baseDescription);
            line.fail("The target's record that matches it was not found by its key");
            line.write(m_logRecords != 0);
          }
          dropped[i] = true;
          continue;
        }
        item.keyValues.clear();
        added.insert(matchKey);
      }
      item.exists = found;
    } catch (const dpx::HostError& e) {
      LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, -1, item.baseCode, item.baseDescription);
      const std::string text = dpx::records::LastErrorText(*target);
      line.fail(text.empty() ? std::string(e.what()) : text);
      line.write(m_logRecords != 0);
      scope.LogError("Record of %s not compared with the target: %s", block.tableName, e.what());
      dropped[i] = true;
    }
  }
  reading.commit();
  size_t kept = 0;
  for (size_t i = 0; i < block.dataItems.size(); ++i)
    if (!dropped[i]) {
      if (kept != i) block.dataItems[kept] = std::move(block.dataItems[i]);
      ++kept;
    }
  block.dataItems.erase(block.dataItems.begin() + static_cast<std::ptrdiff_t>(kept), block.dataItems.end());
  return result;
}

int32_t DPX_DIInterface::checkUserFields(const DPX_OperationArgs& block, std::string& xml,
                                         std::map<std::string, bool>* knownFields) {
  dpx::DPX_LogScope scope("DPX_DIInterface::checkUserFields");
  DPX_DOMParser parser;
  if (!parser.loadXML(xml)) return 1;  // nothing to check; the write reports the broken record

  DPX_ConnectionContext* context = block.context ? block.context : m_context;
  auto target = dpx::records::TargetCompany(context);
  auto recordset = target->NewRecordset();
  const int32_t serverType = target->DbServerType();
  const bool failMissing = context->getFailRecordsForMissingFields();

  std::map<std::string, bool> ownFields;
  std::map<std::string, bool>& present = knownFields ? *knownFields : ownFields;  // alias -> exists in the target
  int32_t result = 1;
  const uint32_t rows = parser.findElement("row");
  for (uint32_t r = 0; r < rows && result == 1; ++r) {
    auto* row = parser.getCursor();
    if (dpx::records::FirstChildElement(parser)) {
      for (;;) {
        const std::string name = parser.getNodeName();
        bool removed = false;
        auto* field = parser.getCursor();
        if (name.size() > 2 && name.compare(0, 2, "U_") == 0 && name != "U_NAME") {
          const std::string alias = name.substr(2);
          auto known = present.find(alias);
          if (known == present.end()) {
            DPX_SqlStatement statement(serverType);
            statement.addColumn("FieldID");
            statement.setTable("CUFD");
            statement.addValue("AliasID", alias, DPX_SqlStatement::kAlpha);
            statement.addValue("TableID", block.tableName, DPX_SqlStatement::kAlpha);
            recordset->DoQuery(statement.buildSelect());
            known = present.emplace(alias, recordset->RecordCount() > 0).first;
          }
          if (!known->second) {
            if (failMissing) {
              result = 0;
              break;
            }
            // The field goes; the walk continues with the element after it.
            const bool hasNext = dpx::records::NextSiblingElement(parser);
            auto* next = hasNext ? parser.getCursor() : nullptr;
            parser.setCursor(field);
            if (!parser.removeCurrent()) {
              result = 0;
              break;
            }
            scope.LogInfo("User-defined field %s left out: the target lacks it", name);
            if (!next) break;
            parser.setCursor(next);
            removed = true;
          }
        }
        if (!removed && !dpx::records::NextSiblingElement(parser)) break;
      }
    }
    parser.setCursor(row);
    if (!dpx::records::NextSiblingElement(parser)) break;
  }
  parser.resetCursor();
  xml = parser.serialize(true);

  if (result == 0) {
    LogLine line(dpx::records::CurrentCopyLog(context));
    line.start(block.categoryKey.empty() ? m_categoryKey : block.categoryKey, -1);
    // Only this record is left out, so the line says which one it is: its
    // code and description as the record's first row holds them.
    if (parser.findElement("row") > 0) {
      const std::vector<std::string>& names = block.descriptionNames;
      if (!names.empty()) line.baseCode(getChildText(parser, names[0]));
      if (names.size() > 1) line.baseDescription(getChildText(parser, names[1]));
    }
    line.result("10024");
    line.error("Missing User Defined Fields");
    line.write(true);
  }
  return result;
}
