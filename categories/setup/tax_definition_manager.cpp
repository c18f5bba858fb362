// Tax definitions. The seven tables, their keys and references are one
// table of data driving the reading and writing loops.
#include "categories/setup/tax_definition_manager.h"

#include <algorithm>
#include <functional>
#include <map>

#include "categories/category_support.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr const char* kIndicators = "OIND";
constexpr int32_t kIndicatorsObjectCode = 135;

// A reference a record carries to another table.
struct TaxReference {
  const char* field;
  const char* parent;      // line element holding the field, "" for the header row
  const char* table;
  const char* keyColumn;
  const char* shownBy;     // the column that names the row in any company
  int32_t fieldType;
  bool accountFormatOnly;  // travels only when the companies' account-format flag is set
};

struct TaxTable {
  const char* table;
  int32_t objectType;
  std::vector<std::string> keyColumns;
  std::vector<std::string> matchProperties;
  std::vector<std::string> matchColumns;
  std::vector<std::string> listColumns;
  std::vector<TaxReference> references;
  bool mapAfterCompare = false;
};

TaxReference Account(const char* field) { return {field, "", "OACT", "AcctCode", "FormatCode", 0, true}; }

const std::vector<TaxTable>& Tables() {
  static const std::vector<TaxTable> tables = {
      {"OSTT", 127, {"AbsId"}, {"Name"}, {"Name"}, {"Numerator", "Name"}, {}},
      {"OSTA", 126, {"Code", "Type"}, {"Code", "Type"}, {"Code", "Type"}, {"Code", "Type"},
       {{"Type", "", "OSTT", "AbsId", "Name", 2, false}, Account("AOrPTaxAccount"), Account("AOrRTaxAccount"),
        Account("DeferredTaxAccount"), Account("UseTaxAccount")}},
      {"OSTC", 128, {"Code"}, {"Code"}, {"Code"}, {"Code", "Name"},
       {{"STATaxOnTaxType", "SalesTaxCodes_Lines", "OSTT", "AbsId", "Name", 0, false},
        {"STAType", "SalesTaxCodes_Lines", "OSTT", "AbsId", "Name", 0, false}}},
      {"OVTG", 5, {"Code"}, {"Code"}, {"Code"}, {"Code", "Name"},
       {Account("AquisitionTax"), Account("DeferredTaxAcc"), Account("NonDeductAcc"), Account("TaxAccount")}},
      {"ODDG", 117, {"Numerator"}, {"GroupCode", "GroupName"}, {"DdgCode", "DdgName"}, {"GroupCode", "GroupName"}, {}},
      {"OWHT", 178, {"WTCode"}, {"WTCode"}, {"WTCode"}, {"WTCode", "WTName"}, {Account("Account")}, true},
  };
  return tables;
}

const TaxTable* FindTable(const std::string& name) {
  for (const TaxTable& t : Tables())
    if (name == t.table) return &t;
  return nullptr;
}

// The account properties an added record gets the transport account in:
// those naming an account (authorities, VAT groups), or the one left empty
// (withholding taxes).
struct TransportAccounts {
  int32_t objectType;
  std::vector<const char*> properties;
  bool replaceNamed;  // true: a named account is replaced; false: an empty one is filled
};

const std::vector<TransportAccounts>& TransportRules() {
  static const std::vector<TransportAccounts> rules = {
      {126, {"AOrPTaxAccount", "AOrRTaxAccount", "DeferredTaxAccount", "NonDeductibleAccount", "UseTaxAccount"}, true},
      {5, {"AquisitionTax", "DeferredTaxAcc", "NonDeductAcc", "TaxAccount"}, true},
      {178, {"Account"}, false},
  };
  return rules;
}

// The account the record's first row names in the property, "" for none.
std::string AccountOf(const std::string& xml, const char* property) {
  namespace rt = dpx::recordtext;
  const size_t root = rt::RootElement(xml);
  if (root == rt::npos) return {};
  const size_t row = rt::FindDescendant(xml, root, "row");
  if (row == rt::npos) return {};
  std::string value;
  if (!rt::ElementValue(xml, property, row, rt::ElementEnd(xml, row), value)) return {};
  return value;
}

// The texts that identify the record in any company.
std::vector<std::string> MatchTexts(dpx::host::HostObject& object, const TaxTable& t) {
  std::vector<std::string> texts;
  for (const std::string& property : t.matchProperties) texts.push_back(dpx::records::PropertyText(object, property));
  return texts;
}

// The removal pass of one table. A base record the add will refuse (an
// account it keeps that the target lacks) would leave the target without
// the record it has: that record of the target stays, with a line saying why.
void RemoveUnlessRefused(DPX_DIInterface& manager, DPX_OperationArgs& block, const TaxTable& t,
                         const std::function<void()>& mapReferences) {
  std::vector<const char*> keptAccounts;  // the accounts an add keeps as the record names them
  for (const TransportAccounts& rule : TransportRules())
    if (rule.objectType == t.objectType && !rule.replaceNamed) keptAccounts = rule.properties;
  auto target = dpx::records::TargetCompany(manager.getContext());
  std::map<std::vector<std::string>, std::string> refused;  // the record's texts -> the account the target lacks
  if (!keptAccounts.empty()) {
    mapReferences();
    auto recordset = target->NewRecordset();
    for (const DPX_OperationArgs::DataItem& item : block.dataItems) {
      const std::string xml = dpx::recordtext::WithoutDependencyRecords(item.xml);
      std::string missing;
      for (const char* property : keptAccounts) {
        const std::string account = AccountOf(xml, property);
        if (account.empty()) continue;
        DPX_SqlStatement select(target->DbServerType());
        select.setTable("OACT");
        select.addColumn("AcctCode");
        select.addValue("AcctCode", account, DPX_SqlStatement::kAlpha);
        recordset->DoQuery(select.buildSelect());
        if (recordset->RecordCount() < 1) {
          missing = account;
          break;
        }
      }
      if (missing.empty()) continue;
      try {
        refused.emplace(MatchTexts(*target->GetBusinessObjectFromXML(xml, 0), t), missing);
      } catch (const dpx::HostError&) {
        // A record the host cannot read matches no record of the target.
      }
    }
  }
  if (refused.empty()) {
    manager.removeTargetRecords(block, t.keyColumns, t.listColumns, "");
    return;
  }
  auto existing = target->NewBusinessObject(t.objectType);
  manager.removeTargetRecords(block, t.keyColumns, t.listColumns, "", [&](const std::vector<dpx::Variant>& keys) {
    if (!dpx::records::GetByKey(*existing, keys)) return false;
    const auto found = refused.find(MatchTexts(*existing, t));
    if (found == refused.end()) return false;
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(manager.getContext()));
    line.start(manager.getCategoryKey(), 0);
    line.targetCode(dpx::records::PropertyText(*existing, t.listColumns[0]));
    line.targetDescription(dpx::records::PropertyText(*existing, t.listColumns[1]));
    line.fail("Kept: the base's record would be refused, the target has no account '" + found->second + "'");
    line.write(true);
    return true;
  });
}

}  // namespace

DPX_TaxDefinitionManager::DPX_TaxDefinitionManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {}

DPX_TableInfo* DPX_TaxDefinitionManager::readFromFile(dpx::ConfigurationSource*) { return &m_tableInfo; }

DPX_TableInfo* DPX_TaxDefinitionManager::collectDetails() { return &m_tableInfo; }

int32_t DPX_TaxDefinitionManager::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord>) {
  dpx::DPX_LogScope scope("DPX_TaxDefinitionManager::readFromDB");
  const bool byFormatCode = DPX_Util::QueryHostFlag(dpx::records::BaseCompany(m_context));

  DPX_OperationArgs indicators = readBaseTable(kIndicators, "", 0);
  if (!indicators.dataItems.empty()) blocks.push_back(std::move(indicators));
  for (const TaxTable& t : Tables()) {
    DPX_OperationArgs block = readBaseRecords(t.objectType, t.table, t.keyColumns, "");
    if (block.dataItems.empty()) continue;
    for (const TaxReference& ref : t.references) {
      if (ref.accountFormatOnly && !byFormatCode) continue;
      resolveDependency(block, ref.field, ref.fieldType, ref.table, ref.keyColumn, ref.shownBy, "row", ref.parent);
    }
    blocks.push_back(std::move(block));
  }
  return 0;
}

void DPX_TaxDefinitionManager::writeIndicators(DPX_OperationArgs& block, uint8_t method) {
  block.setWithValues(m_categoryKey, kIndicators, m_context, 1, DPX_OperationArgs::kTableRows);
  const std::vector<std::string> list = {"Code", "Name"};
  if (method == 0) {
    deleteTargetRows(block, list, "", 0);
    return;
  }
  buildObjectXml(block, "Name", list, "Name", method);
  switch (method) {
    case 2:
      updateTargetRows(block);
      break;
    case 3:
      addTargetRows(block, kIndicatorsObjectCode, "Code");
      break;
    default:
      copyTableRecords(block, kIndicatorsObjectCode, "Code");
      break;
  }
}

void DPX_TaxDefinitionManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_TaxDefinitionManager::writeData");
  const bool byFormatCode = DPX_Util::QueryHostFlag(dpx::records::TargetCompany(m_context));
  // Removing in reading order would remove tax types while authorities and
  // codes still name them, and the target refuses that.
  if (method == 0) std::reverse(blocks.begin(), blocks.end());

  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == kIndicators) {
      writeIndicators(block, method);
      continue;
    }
    const TaxTable* t = FindTable(block.tableName);
    if (!t) continue;  // not a table of this category
    block.setWithValues(m_categoryKey, t->table, m_context, 0, t->objectType);
    auto mapReferences = [&] {
      for (const TaxReference& ref : t->references) {
        if (ref.accountFormatOnly && !byFormatCode) {
          // Read by format code, yet the target names accounts otherwise: its default.
          for (DPX_OperationArgs::DataItem& item : block.dataItems)
            dpx::records::LeaveOutDependencyRecords(item.xml, ref.field, dpx::records::kAccountsNamedOtherwise,
                                                    item.leftOut);
          continue;
        }
        mapDependencyToTarget(block, ref.field, "row", {{ref.table, ref.keyColumn, {ref.shownBy}}}, "", ref.parent);
      }
    };
    if (method == 0) {
      RemoveUnlessRefused(*this, block, *t, mapReferences);
      continue;
    }
    if (!t->mapAfterCompare) mapReferences();
    if (t->matchProperties.size() == 1)
      compareWithTarget(block, t->matchProperties[0], t->matchColumns[0], t->keyColumns, t->listColumns, method);
    else
      compareRecordsWithTarget(block, t->matchProperties, t->matchColumns, t->keyColumns, t->listColumns, method);
    if (t->mapAfterCompare) mapReferences();
    dpx::categories::WriteObjectsByMethod(*this, block, method);
  }
}

void DPX_TaxDefinitionManager::prepareObject(int32_t objectType, const std::shared_ptr<dpx::host::BusinessObject>& object,
                                             int32_t operation) {
  if (operation == 2) return;  // an update keeps the accounts it has
  createTransportAccount();
  for (const TransportAccounts& rule : TransportRules()) {
    if (rule.objectType != objectType) continue;
    for (const char* property : rule.properties) {
      dpx::Variant value;
      const bool absent = dpx::Failed(DPX_Util::GetPropertyByName(object, property, value));
      const bool empty = absent || value.toText().empty();
      if (rule.replaceNamed == empty) continue;
      if (dpx::Failed(DPX_Util::PutPropertyByName(object, property, dpx::Variant(kTransportAccount))))
        throw dpx::HostError(dpx::E_FAIL, "DPX_TaxDefinitionManager", std::string("No access to property ") + property);
    }
  }
}

void DPX_TaxDefinitionManager::createTransportAccount() {
  dpx::DPX_LogScope scope("DPX_TaxDefinitionManager::createTransportAccount");
  try {
    auto target = dpx::records::TargetCompany(m_context);
    const bool quoted = target->DbServerType() == 5;
    auto recordset = target->NewRecordset();
    recordset->DoQuery(quoted ? "SELECT \"AcctCode\" FROM OACT WHERE \"AcctCode\" = 'DXTRANSACCT'"
                              : "SELECT AcctCode FROM OACT WHERE AcctCode = 'DXTRANSACCT'");
    if (recordset->RecordCount() > 0) return;
    recordset->DoQuery(quoted ? "INSERT INTO OACT (\"AcctCode\", \"AcctName\") VALUES ('DXTRANSACCT', 'Duplora transport account')"
                              : "INSERT INTO OACT (AcctCode, AcctName) VALUES ('DXTRANSACCT', 'Duplora transport account')");
  } catch (const std::exception& e) {
    // The add that follows names the account all the same; the target says then whether it can do without.
    scope.LogWarning("The transport account could not be made in the target: %s", e.what());
  }
}
