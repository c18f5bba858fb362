// Journal entries: one class, three kinds of entry as rows of a table.
#include "categories/finance/manual_journal_entries_manager.h"

#include "categories/finance/cost_accounting_rows.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
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
  const int64_t highestBefore = m_kind->addedType != 0 ? highestTargetEntry() : 0;
  addTargetRecords(std::move(block));
  if (m_kind->addedType != 0) retypeAddedEntries(highestBefore);
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
