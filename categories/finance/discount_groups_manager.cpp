// Discount groups: the table family with a reference whose table the row's
// object kind chooses.
#include "categories/finance/discount_groups_manager.h"

#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace rt = dpx::recordtext;

namespace {

constexpr const char* kTable = "OSPG";

// The kinds of object a discount group names.
struct ObjectKind {
  const char* objType;      // ObjType, as the row holds it
  const char* table;        // the objects' table
  const char* keyColumn;    // ObjKey is its key
  const char* shownColumn;  // the name that finds the object in any company
  int32_t objectType;       // the business object the record list reads the name with
  const char* nameProperty;
  const char* label;        // the record list's text for the kind
};

const ObjectKind kKinds[] = {
    {"8", "OITG", "ItmsTypCod", "ItmsGrpNam", 8, "PropertyName", "Item Properties"},
    {"52", "OITB", "ItmsGrpCod", "ItmsGrpNam", 52, "GroupName", "Item Groups"},
    {"43", "OMRC", "FirmCode", "FirmName", 43, "ManufacturerName", "Manufactures"},
};

const ObjectKind* KindOf(const std::string& objType) {
  for (const ObjectKind& kind : kKinds)
    if (objType == kind.objType) return &kind;
  return nullptr;
}

// What an ObjKey may name: an object of one of the kinds.
DPX_DeclaredReferences Declared() {
  DPX_DeclaredReferences declared;
  for (const ObjectKind& kind : kKinds) declared.push_back({kind.table, kind.keyColumn, {kind.shownColumn}});
  return declared;
}

DPX_TableCategoryDefinition Definition() {
  DPX_TableCategoryDefinition d;
  d.table = kTable;
  d.listSql = "SELECT CardCode, ObjType, ObjKey, CardCode, ObjType, ObjKey, Discount FROM OSPG";
  d.counterKeyColumn = "Code";
  d.listTexts = {DPX_ListText::ObjectNameByCode(0, 2, "CardName")};
  d.textColumns = {1, 2};
  d.keyColumns = {"CardCode", "ObjType", "ObjKey"};
  d.columns = {"CardCode", "ObjType", "ObjKey", "Discount"};
  d.columnFlags = {0, 0, 0, 1};
  d.logColumns = {"CardCode", "ObjType"};
  return d;
}

}  // namespace

DPX_DiscountGroupsManager::DPX_DiscountGroupsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}

int32_t DPX_DiscountGroupsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                              std::vector<DPX_DetailRecord> chosen) {
  const size_t before = blocks.size();
  const int32_t result = DPX_TableCategory::readFromDB(blocks, std::move(chosen));
  for (size_t i = before; i < blocks.size(); ++i)
    if (blocks[i].tableName == kTable) addObjectDependencies(blocks[i]);
  return result;
}

void DPX_DiscountGroupsManager::addObjectDependencies(DPX_OperationArgs& block) {
  dpx::DPX_LogScope scope("DPX_DiscountGroupsManager::addObjectDependencies");
  auto base = dpx::records::BaseCompany(block.context ? block.context : m_context);
  auto recordset = base->NewRecordset();
  const int32_t serverType = base->DbServerType();
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    const std::string& xml = item.xml;
    const size_t root = rt::RootElement(xml);
    if (root == rt::npos) continue;
    std::string edited;
    size_t copied = 0;  // xml before this is in edited
    for (size_t row = rt::FindDescendant(xml, root, "row"); row != rt::npos; row = rt::NextSiblingElement(xml, row)) {
      const size_t typeAt = rt::FindChild(xml, row, "ObjType");
      const size_t keyAt = rt::FindChild(xml, row, "ObjKey");
      if (typeAt == rt::npos || keyAt == rt::npos) continue;
      const ObjectKind* kind = KindOf(rt::FirstText(xml, typeAt));
      const std::string key = rt::FirstText(xml, keyAt);
      if (!kind || key.empty()) continue;  // another kind is carried as it stands
      DPX_SqlStatement statement(serverType);
      statement.setTable(kind->table);
      statement.addColumn(kind->shownColumn);
      std::vector<std::string> names;
      try {
        statement.addValue(kind->keyColumn, key, DPX_SqlStatement::kAlpha);
        recordset->DoQuery(statement.buildSelect());
        for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
          names.push_back(recordset->Field(0).toText());
      } catch (const DPX_SqlValueRefused& e) {
        scope.LogWarning("Discount group object %s = '%s' left as it is: %s", kind->table, key, e.what());
      }
      // An object the base lacks has no name to be found by: the row keeps its key.
      if (names.empty()) continue;
      size_t begin, end, after;
      if (!rt::ElementContent(xml, keyAt, begin, end, after)) continue;
      edited.append(xml, copied, keyAt - copied);
      edited += "<ObjKey><dep>" + rt::TextElement("tableName", kind->table) +
                rt::TextElement("fField", kind->keyColumn) + "<fKeyFields>" +
                rt::TextElement("fField", kind->shownColumn) + "</fKeyFields><fKeyValues>" +
                rt::TextElement("fValue", names.front()) + "</fKeyValues></dep></ObjKey>";
      copied = after;
    }
    if (copied == 0) continue;
    edited.append(xml, copied, std::string::npos);
    item.xml = std::move(edited);
  }
}

void DPX_DiscountGroupsManager::adjustListRow(std::vector<std::string>& row, DPX_ListTextObjects& objects) {
  if (row.size() < 3) return;
  // The kind is read as a number here: " 52" and "052" are item groups too.
  const ObjectKind* kind = KindOf(std::to_string(DPX_Util::BSTRToInt(row[1])));
  if (!kind) return;
  row[1] = kind->label;
  ApplyListTexts(m_context, {DPX_ListText::ObjectName(2, kind->objectType, kind->nameProperty)}, row, &objects);
}

void DPX_DiscountGroupsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  if (method != 0)
    for (DPX_OperationArgs& block : blocks)
      if (block.tableName == kTable) {
        block.context = m_context;
        mapDependencyToTarget(block, "ObjKey", "row", Declared());
      }
  DPX_TableCategory::writeData(std::move(blocks), method);
}
