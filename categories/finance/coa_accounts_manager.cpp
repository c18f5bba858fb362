// Postable accounts and account categories.
#include "categories/finance/coa_accounts_manager.h"

#include <utility>

#include "categories/finance/coa_titles_manager.h"
#include "categories/key_by_name.h"
#include "categories/setup/tax_definition_manager.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"

namespace {

constexpr const char* kCategoryLogColumns[] = {"AbsId", "Name"};

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{1, "OACT",
                                 "SELECT AcctCode FROM OACT WHERE Postable = 'Y' ORDER BY Levels, FatherNum, GrpLine",
                                 "Code", "AcctCode", ""};
  d.references = {{"Category", "", "OACG", "AbsId", {"Name"}, 2}, DPX_AccountReference("FatherAccountKey")};
  // The categories go whole, before the accounts that name them.
  DPX_DependentBlock categories;
  categories.table = "OACG";
  categories.keyColumns = {"AbsId"};
  d.dependents = {categories};
  return d;
}

}  // namespace

DPX_COAAccountsManager::DPX_COAAccountsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  // A manager made to list the base's records has no target: its key is the account code.
  if (context) m_targetSegmented = DPX_Util::QueryHostFlag(context->getTargetCompany());
  m_keyColumns = {m_targetSegmented ? "FormatCode" : "AcctCode"};
  m_keyProperties = {m_targetSegmented ? "FormatCode" : "Code"};
  m_columns = {"Levels", "AcctCode", "AcctName", "FrgnName", "ActCurr", "LocManTran", "Finanse", "RevalMatch",
               "Project", "Details"};
  m_properties = {"AccountLevel", "Code", "Name", "ForeignName", "AcctCurrency", "LockManualTransaction",
                  "CashAccount", "RevaluationCoordinated", "ProjectCode", "Details"};
  m_columnFlags = {0, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  m_listColumns = {"Code", "Name"};
}

void DPX_COAAccountsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_COAAccountsManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == "OACG")
      writeCategories(block, method);
    else if (block.tableName == "OACT")
      writeAccounts(block, method);
    else if (method != 0)
      logUnknownTable(block.tableName, method);
  }
  m_logRecords = 1;
  deleteTransportAccount(m_context);
}

void DPX_COAAccountsManager::writeCategories(DPX_OperationArgs& block, uint8_t method) {
  const std::vector<std::string> logColumns(std::begin(kCategoryLogColumns), std::end(kCategoryLogColumns));
  m_logRecords = 1;
  block.setWithValues(m_categoryKey, "OACG", m_context, 1, DPX_OperationArgs::kTableRows);
  if (method == 0) {
    // A category the target's accounts still name stays: they would name nothing.
    if (dpx::records::TargetCompany(m_context)->DbServerType() == 5)
      deleteTargetRows(block, logColumns,
                       "WHERE \"AbsId\" NOT IN (SELECT \"Category\" FROM OACT WHERE \"Category\" IS NOT NULL)", 1);
    else
      deleteTargetRows(block, logColumns, "WHERE AbsId NOT IN (SELECT Category FROM OACT WHERE Category IS NOT NULL)", 0);
    return;
  }
  buildObjectXml(block, "Name", logColumns, "Name", method);
  if (method == 2)
    updateTargetRows(block);
  else if (method == 3)
    addTargetRows(block, 238, "AbsId");
  else
    copyTableRecords(block, 238, "AbsId");
}

void DPX_COAAccountsManager::mapReferences(std::string table, std::string& xml, int32_t mode) {
  if (table != "OACG") return;
  dpx::categories::MapKeyByNameOrNextNumber(m_context, table, xml, mode, "AbsId", "Name");
}

void DPX_COAAccountsManager::writeAccounts(DPX_OperationArgs& block, uint8_t method) {
  // The removal pass leaves the accounts alone: the write pass that follows
  // adds or updates every account of the base.
  if (method == 0) return;
  m_logRecords = 1;
  block.context = m_context;
  block.set(m_categoryKey, "OACT", 0, 1);
  dpx::categories::OrderAccountsByLevel(block);
  // A level at a time: a father added at one level is in the target when its
  // children's references are translated at the next.
  size_t from = 0;
  while (from < block.dataItems.size()) {
    const long level = dpx::categories::AccountLevel(block.dataItems[from]);
    size_t to = from;
    while (to < block.dataItems.size() && dpx::categories::AccountLevel(block.dataItems[to]) == level) ++to;
    DPX_OperationArgs part = block;
    part.dataItems.assign(block.dataItems.begin() + static_cast<std::ptrdiff_t>(from),
                          block.dataItems.begin() + static_cast<std::ptrdiff_t>(to));
    mapReferencesToTarget(part);
    // The match column depends on the target's chart, but the key that
    // fetches the target's account is always its account code.
    if (m_targetSegmented)
      compareWithTarget(part, "FormatCode", "FormatCode", {"AcctCode"}, m_listColumns, method);
    else
      compareWithTarget(part, "Code", "AcctCode", {"AcctCode"}, m_listColumns, method);
    copyRecords(part);
    from = to;
  }
}

void DPX_COAAccountsManager::deleteTransportAccount(DPX_ConnectionContext* context) {
  dpx::DPX_LogScope scope("DPX_COAAccountsManager::deleteTransportAccount");
  try {
    auto target = dpx::records::TargetCompany(context);
    auto account = target->NewBusinessObject(1);
    if (!dpx::records::GetByKey(*account, {dpx::Variant(DPX_TaxDefinitionManager::kTransportAccount)})) return;
    if (account->Remove() == 0) return;
    scope.LogWarning("The transport account %s stays in the target: %s", DPX_TaxDefinitionManager::kTransportAccount,
                     dpx::records::LastErrorText(*target));
  } catch (const dpx::HostError& e) {
    scope.LogWarning("The transport account %s was not removed from the target: %s",
                     DPX_TaxDefinitionManager::kTransportAccount, e.what());
  }
}
