// Journal entries: one class, three kinds of entry as rows of a table.
#include "categories/finance/manual_journal_entries_manager.h"

#include <algorithm>
#include <cstdlib>

#include <fmt/format.h>

#include "categories/finance/cost_accounting_rows.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/bound_sql.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kEntryType = 30;

using Kind = DPX_ManualJournalEntriesManager::Kind;

// By mode.
constexpr Kind kKinds[] = {{"DPX_TRN_MANUALJOURNALENTRIES_100", "30", 0, true},
                           {"DPX_TRN_OPENINGBALANCES_100", "-2", -2, false},
                           {"DPX_TRN_STOCKPOSTINGS_100", "58", 58, false}};

const Kind* KindOf(int32_t mode) {
  return mode >= 0 && mode < static_cast<int32_t>(std::size(kKinds)) ? &kKinds[mode] : nullptr;
}

DPX_ObjectCategoryDefinition Definition(const Kind* kind) {
  const std::string keys =
      kind ? std::string("SELECT TransId FROM OJDT WHERE TransType = '") + kind->transType + "'" : std::string();
  DPX_ObjectCategoryDefinition d{kEntryType, "OJDT", keys, "JdtNum", "TransId", ""};
  // A series is the target's of the same document and name.
  d.references = {{"Series", "", "NNM1", "Series", {"ObjectCode", "SeriesName"}, 2}};
  d.dependents = dpx::categories::CostAccountingRows();
  d.keyColumns = {"TransId"};
  d.keyProperties = {"JdtNum"};
  d.columns = {"CreateDate", "Ref1", "Ref2", "TransCode", "Indicator", "Project", "Number", "Memo"};
  d.properties = {"ReferenceDate", "Reference", "Reference2", "TransactionCode",
                  "Indicator",     "ProjectCode", "Number",   "Memo"};
  d.columnFlags = {0, 0, 0, 0, 0, 0, 0, 1};
  d.listProperties = {"ProjectCode", "Memo"};
  return d;
}

}  // namespace

DPX_ManualJournalEntriesManager::DPX_ManualJournalEntriesManager(DPX_ConnectionContext* context,
                                                                 const std::string& categoryKey, int32_t mode)
    : DPX_ObjectCategory(context, mode > 0 && KindOf(mode) ? KindOf(mode)->categoryKey : categoryKey,
                         Definition(KindOf(mode))),
      m_mode(mode),
      m_kind(KindOf(mode)) {}

int32_t DPX_ManualJournalEntriesManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                    std::vector<DPX_DetailRecord> chosen) {
  if (!m_kind) return 0;
  // Opening balances and stock postings are copied whole.
  if (!m_kind->listed) chosen.clear();
  return DPX_ObjectCategory::readFromDB(blocks, std::move(chosen));
}

DPX_TableInfo* DPX_ManualJournalEntriesManager::readFromFile(dpx::ConfigurationSource* configuration) {
  if (!m_kind || !m_kind->listed) return &m_tableInfo;
  return DPX_ObjectCategory::readFromFile(configuration);
}

DPX_TableInfo* DPX_ManualJournalEntriesManager::collectDetails() {
  if (!m_kind || !m_kind->listed) return &m_tableInfo;
  return DPX_ObjectCategory::collectDetails();
}

void DPX_ManualJournalEntriesManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_ManualJournalEntriesManager::writeData");
  // Entries are never removed: the removal pass writes nothing either.
  if (method == 0 || !m_kind) return;
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table) {
      writeEntries(block);
      continue;
    }
    if (!writeDependentBlocks(block, method)) logUnknownTable(block.tableName, method);
  }
  m_logRecords = 1;
}

void DPX_ManualJournalEntriesManager::writeEntries(DPX_OperationArgs& block) {
  m_logRecords = 1;
  block.context = m_context;
  block.set(m_categoryKey, m_definition.table, 0, kEntryType);
  mapReferencesToTarget(block);
  // Method 4: no entry is dropped; every one is added.
  compareWithTarget(block, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns, 4);
  // Entries have no code of their own: the line names the base's entry by its number.
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    std::string number;
    if (dpx::recordtext::ElementValue(item.xml, "JdtNum", 0, item.xml.size(), number)) item.baseCode = number;
  }
  leaveOutTwins(block);
  const int64_t highestBefore = m_kind->addedType != 0 ? highestTargetEntry() : 0;
  addTargetRecords(std::move(block));
  if (m_kind->addedType != 0) retypeAddedEntries(highestBefore);
}

namespace {

// An amount as a number, whatever its text ("100", "100.0", "1e2").
std::string Amount(const std::string& text) {
  return fmt::format("{:.6f}", text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr));
}

// A posting date as its digits: "2026-01-05" and "20260105" are one date.
std::string DateDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits.substr(0, 8);
}

// What makes two entries one posting: date, references, memo and the lines'
// accounts and amounts, the lines in any order.
std::string Posting(std::string date, const std::string& ref1, const std::string& ref2, const std::string& memo,
                    std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  std::string posting;
  for (const std::string& part : {DateDigits(date), ref1, ref2, memo}) dpx::records::AppendMatchValue(posting, part);
  for (const std::string& line : lines) dpx::records::AppendMatchValue(posting, line);
  return posting;
}

std::string PostingLine(const std::string& account, const std::string& debit, const std::string& credit) {
  std::string line;
  for (const std::string& part : {account, Amount(debit), Amount(credit)}) dpx::records::AppendMatchValue(line, part);
  return line;
}

std::string Field(std::string_view xml, size_t from, size_t to, std::string_view name) {
  std::string value;
  dpx::recordtext::ElementValue(xml, name, from, to, value);
  return value;
}

// The posting of a record as it would be written.
std::string RecordPosting(std::string_view xml) {
  const size_t header = dpx::recordtext::FindStartTag(xml, "JournalEntries", 0, xml.size());
  const size_t headerEnd = header == dpx::recordtext::npos ? xml.size() : dpx::recordtext::ElementEnd(xml, header);
  const size_t from = header == dpx::recordtext::npos ? 0 : header;
  const size_t to = headerEnd == dpx::recordtext::npos ? xml.size() : headerEnd;
  std::vector<std::string> lines;
  const size_t linesAt = dpx::recordtext::FindStartTag(xml, "JournalEntries_Lines", 0, xml.size());
  if (linesAt != dpx::recordtext::npos) {
    for (size_t row = dpx::recordtext::FirstChildElement(xml, linesAt); row != dpx::recordtext::npos;
         row = dpx::recordtext::NextSiblingElement(xml, row)) {
      const size_t rowEnd = dpx::recordtext::ElementEnd(xml, row);
      if (rowEnd == dpx::recordtext::npos) break;
      lines.push_back(PostingLine(Field(xml, row, rowEnd, "AccountCode"), Field(xml, row, rowEnd, "Debit"),
                                  Field(xml, row, rowEnd, "Credit")));
    }
  }
  return Posting(Field(xml, from, to, "ReferenceDate"), Field(xml, from, to, "Reference"),
                 Field(xml, from, to, "Reference2"), Field(xml, from, to, "Memo"), std::move(lines));
}

}  // namespace

void DPX_ManualJournalEntriesManager::loadTargetPostings() {
  if (m_targetPostingsLoaded) return;
  m_targetPostingsLoaded = true;
  auto target = dpx::records::TargetCompany(m_context);
  const int32_t serverType = target->DbServerType();
  const auto q = [serverType](const char* name) { return DPX_SqlStatement::ColumnName(serverType, name); };
  const dpx::Variant type(std::string(m_kind->transType));
  std::map<int64_t, std::vector<std::string>> lines;
  auto recordset = target->NewRecordset();
  recordset->DoQuery(dpx::host::BoundSql{"SELECT l." + q("TransId") + ", l." + q("Account") + ", l." + q("Debit") +
                                             ", l." + q("Credit") + " FROM JDT1 l JOIN OJDT e ON e." + q("TransId") +
                                             " = l." + q("TransId") + " WHERE e." + q("TransType") + " = ?",
                                         {type}});
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
    lines[recordset->Field(0).toInt64()].push_back(PostingLine(
        recordset->Field(1).toText(), recordset->Field(2).toText(), recordset->Field(3).toText()));
  recordset->DoQuery(dpx::host::BoundSql{"SELECT " + q("TransId") + ", " + q("CreateDate") + ", " + q("Ref1") + ", " +
                                             q("Ref2") + ", " + q("Memo") + " FROM OJDT WHERE " + q("TransType") +
                                             " = ? ORDER BY " + q("TransId"),
                                         {type}});
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    const int64_t id = recordset->Field(0).toInt64();
    m_targetPostings[Posting(recordset->Field(1).toText(), recordset->Field(2).toText(),
                             recordset->Field(3).toText(), recordset->Field(4).toText(), std::move(lines[id]))]
        .push_back(id);
  }
}

void DPX_ManualJournalEntriesManager::leaveOutTwins(DPX_OperationArgs& block) {
  dpx::DPX_LogScope scope("DPX_ManualJournalEntriesManager::leaveOutTwins");
  try {
    loadTargetPostings();
  } catch (const dpx::HostError& e) {
    // Without the target's entries no twin can be told: every entry is added, as before.
    scope.LogError("The target's entries could not be read: %s", e.what());
    return;
  }
  std::vector<DPX_OperationArgs::DataItem> added;
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    auto twin = m_targetPostings.find(RecordPosting(item.xml));
    if (twin == m_targetPostings.end() || twin->second.empty()) {
      added.push_back(std::move(item));
      continue;
    }
    // Each target entry stands for one base entry: two equal base entries
    // need two equal target entries.
    const int64_t id = twin->second.front();
    twin->second.erase(twin->second.begin());
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 3, item.baseCode, item.baseDescription);
    line.targetCode(std::to_string(id));
    line.result("402");
    line.error(fmt::format("Already in the target as entry {}: not added again", id));
    line.write(m_logRecords != 0);
  }
  block.dataItems = std::move(added);
}

int64_t DPX_ManualJournalEntriesManager::highestTargetEntry() const {
  auto target = dpx::records::TargetCompany(m_context);
  auto recordset = target->NewRecordset();
  recordset->DoQuery(target->DbServerType() == 5 ? "SELECT MAX(\"TransId\") FROM OJDT" : "SELECT MAX(TransId) FROM OJDT");
  recordset->MoveFirst();
  // An empty table has no highest key: every entry there afterwards is this copy's.
  return recordset->RecordCount() > 0 ? recordset->Field(0).toInt64() : 0;
}

void DPX_ManualJournalEntriesManager::retypeAddedEntries(int64_t highestBefore) const {
  dpx::DPX_LogScope scope("DPX_ManualJournalEntriesManager::retypeAddedEntries");
  auto target = dpx::records::TargetCompany(m_context);
  const bool quoted = target->DbServerType() == 5;
  auto recordset = target->NewRecordset();
  const dpx::Variant above(highestBefore);
  recordset->DoQuery(dpx::host::BoundSql{
      quoted ? "SELECT COUNT(*) FROM OJDT WHERE \"TransId\" > ?" : "SELECT COUNT(*) FROM OJDT WHERE TransId > ?",
      {above}});
  recordset->MoveFirst();
  if (recordset->RecordCount() < 1 || recordset->Field(0).toInt64() == 0) return;  // no entry was added
  recordset->DoQuery(dpx::host::BoundSql{quoted ? "UPDATE OJDT SET \"TransType\" = ? WHERE \"TransId\" > ?"
                                                : "UPDATE OJDT SET TransType = ? WHERE TransId > ?",
                                         {dpx::Variant(std::to_string(m_kind->addedType)), above}});
}

void DPX_ManualJournalEntriesManager::adjustXml(int32_t objectType, std::string& xml) {
  if (objectType != kEntryType) return;
  DPX_DOMParser parser;
  if (!parser.loadXML(xml)) return;  // the host reports the broken record when it reads it
  auto* root = parser.getCursor();
  if (parser.findElement("CreditSys") == 0) return;
  do {
    parser.removeCurrent();  // the cursor is the line now
    auto* line = parser.getCursor();
    if (parser.findElement("DebitSys") > 0) parser.removeCurrent();
    parser.setCursor(line);
    dpx::records::NextSiblingElement(parser);  // stays on the line when it is the last
  } while (parser.findElement("CreditSys") > 0);
  parser.setCursor(root);
  xml = parser.serialize(true);
}
