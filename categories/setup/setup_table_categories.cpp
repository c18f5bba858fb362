// The table-row setup categories as one definition table: credit vendors,
// payment blocks, projects, partners, competitors, customer and vendor
// groups, business-partner properties, inventory cycles, item properties and
// predefined texts. A row is matched with the target's by its match columns;
// where the host numbers the table, an updated row takes the key of the
// target row its match found and a new row the target's highest key + 1, and
// the host's next number (ONNM) moves past it.
#include <string>
#include <utility>

#include "categories/setup/setup_category_tables.h"

namespace {

struct Lists {
  std::vector<std::string> keyColumns;
  std::vector<std::string> columns;
  std::vector<int32_t> columnFlags;
  std::vector<std::string> logColumns;
};

// One row: the list query (key columns, then columns), the lists, the columns
// a row is matched by, the key column with the ONNM object code (-1: none)
// and whether new keys are given in it.
DPX_TableCategoryRow Row(const char* key, const char* className, const char* table, const char* listSql,
                         Lists lists, std::vector<std::string> matchColumns, const char* keyColumn,
                         int32_t objectCode, bool newKeys) {
  DPX_TableCategoryDefinition d;
  d.table = table;
  d.listSql = listSql;
  d.counterObjectType = objectCode;
  d.counterKeyColumn = keyColumn;
  d.matchColumns = std::move(matchColumns);
  d.newKeys = newKeys;
  d.keyColumns = std::move(lists.keyColumns);
  d.columns = std::move(lists.columns);
  d.columnFlags = std::move(lists.columnFlags);
  d.logColumns = std::move(lists.logColumns);
  return {key, className, std::move(d)};
}

// The own rules of a row.
// The rows the removal pass deletes, in the plain form and as server type 5 reads it.
DPX_TableCategoryRow Removing(DPX_TableCategoryRow row, const char* filter, const char* quotedFilter = "") {
  row.definition.deleteFilter = filter;
  row.definition.deleteFilterQuoted = quotedFilter;
  return row;
}
// The rows a copy of the whole category reads.
DPX_TableCategoryRow ReadingAll(DPX_TableCategoryRow row, const char* sql) {
  row.definition.readAllSql = sql;
  return row;
}
// The rows target records still name stay in the removal pass.
DPX_TableCategoryRow KeptWhileNamed(DPX_TableCategoryRow row, std::vector<DPX_NamingColumn> naming) {
  row.definition.keptWhileNamed = std::move(naming);
  return row;
}
// A number of the listed row (at `index`) shows as string-table text number + base.
DPX_TableCategoryRow ListText(DPX_TableCategoryRow row, int32_t index, int32_t base) {
  row.definition.listTexts = {DPX_ListText::StringOffset(static_cast<size_t>(index), base)};
  return row;
}

// Customer ('C') and vendor ('S') groups share one table and its numbering;
// the group type is part of every match, so a customer group never stands in
// for a vendor group of the same name.
DPX_TableCategoryRow Groups(const char* key, const char* className, const char* type) {
  const std::string where = std::string("WHERE GroupType = '") + type + "'";
  const std::string listSql = "SELECT GroupCode, GroupCode, GroupName FROM OCRG " + where;
  const std::string readAllSql = "SELECT * FROM OCRG " + where;
  return KeptWhileNamed(
      ReadingAll(Removing(Row(key, className, "OCRG", listSql.c_str(),
                              {{"GroupCode"}, {"GroupCode", "GroupName"}, {0, 1}, {"GroupCode", "GroupName"}},
                              {"GroupName", "GroupType"}, "GroupCode", 10, true),
                          where.c_str()),
                 readAllSql.c_str()),
      {{"GroupCode", "OCRD", "GroupCode"}});
}

std::vector<DPX_TableCategoryRow> BuildRows() {
  return {
      Row("DPX_TRN_CREDITSUPPLIERS_100", "DPX_CreditVendorsManager", "OPVL", "SELECT Code, Name, ConsolNum FROM OPVL",
          {{"Code"}, {"Name", "ConsolNum"}, {1, 1}, {"Code", "Name"}}, {"ConsolNum"}, "Code", 115, true),
      // Payment blocks have no next number of their own; the payment
      // methods' counter is left alone.
      Row("DPX_TRN_PAYMENTBLOCKS_100", "DPX_PaymentBlockManager", "OPYB", "SELECT AbsEntry, PayBlock FROM OPYB",
          {{"AbsEntry"}, {"PayBlock"}, {1}, {"AbsEntry", "PayBlock"}}, {"PayBlock"}, "AbsEntry", -1, true),
      // Projects keep their code; the removal pass keeps the projects that
      // business partners use (the write pass then updates them).
      KeptWhileNamed(Row("DPX_TRN_PROJECTS_100", "DPX_ProjectManager", "OPRJ",
                         "SELECT PrjCode, PrjCode, PrjName FROM OPRJ",
                         {{"PrjCode"}, {"PrjCode", "PrjName"}, {0, 1}, {"PrjCode", "PrjName"}}, {"PrjCode"},
                         "PrjCode", 63, false),
                     {{"PrjCode", "OCRD", "ProjectCod"}}),
      Row("DPX_TRN_PARTNERS_100", "DPX_PartnersManager", "OPRT",
          "SELECT PrtId, Name, RelatnType, RelatCard, Memo FROM OPRT",
          {{"PrtId"}, {"Name", "RelatnType", "RelatCard", "Memo"}, {1, 0, 0, 1}, {"Name", "Memo"}}, {"Name"}, "PrtId",
          108, true),
      Row("DPX_TRN_COMPETITORS_100", "DPX_CompetitorsManager", "OCMT", "SELECT CompetId, Name, ThreatLevl, Memo FROM OCMT",
          {{"CompetId"}, {"Name", "ThreatLevl", "Memo"}, {1, 0, 1}, {"Name", "Memo"}}, {"Name"}, "CompetId", 109, true),
      Groups("DPX_TRN_CUSTOMERGROUPS_100", "DPX_CustomerGroupsManager", "C"),
      Groups("DPX_TRN_SUPPLIERGROUPS_100", "DPX_VendorGroupsManager", "S"),
      // Business-partner properties are matched by their name, as the
      // groups are: a property added once is found by the next copy.
      Row("DPX_TRN_BPPROPERTIES_100", "DPX_BPPropertiesManager", "OCQG", "SELECT GroupCode, GroupCode, GroupName FROM OCQG",
          {{"GroupCode"}, {"GroupCode", "GroupName"}, {0, 1}, {"GroupName", "GroupName"}}, {"GroupName"}, "GroupCode",
          44, true),
      // The frequency (0 to 8) shows as its name.
      // Item groups and items name their cycles.
      KeptWhileNamed(ListText(Row("DPX_TRN_INVENTORYCYCLES_100", "DPX_InventoryCyclesManager", "OCYC",
                                  "SELECT Code, Name, Frequency, NextDate, Hour FROM OCYC",
                                  {{"Code"}, {"Name", "Frequency", "NextDate", "Hour"}, {1, 0, 0, 0}, {"Code", "Name"}},
                                  {"Name"}, "Code", 146, true),
                              1, 21),
                     {{"Code", "OITB", "CycleCode"}, {"Code", "OITM", "OrderIntervals"}, {"Code", "ITM5", "CycleCode"}}),
      Row("DPX_TRN_ITEMPROPERTIES_100", "DPX_ItemPropertiesManager", "OITG",
          "SELECT ItmsTypCod, ItmsTypCod, ItmsGrpNam FROM OITG",
          {{"ItmsTypCod"}, {"ItmsTypCod", "ItmsGrpNam"}, {0, 1}, {"ItmsTypCod", "ItmsGrpNam"}}, {"ItmsTypCod"},
          "ItmsTypCod", 8, false),
      Row("DPX_TRN_PREDEFINEDTEXT_100", "DPX_PredefinedTextManager", "OPDT", "SELECT TextCode, TextCode, Text FROM OPDT",
          {{"TextCode"}, {"TextCode", "Text"}, {0, 1}, {"TextCode", "Text"}}, {"TextCode"}, "AbsEntry", 215, true),
  };
}

}  // namespace

const std::vector<DPX_TableCategoryRow>& SetupTableCategories() {
  static const std::vector<DPX_TableCategoryRow> rows = BuildRows();
  return rows;
}

void RegisterSetupTableCategories() { RegisterDefinitionRows<DPX_TableCategory>(SetupTableCategories()); }
