// The business-object setup categories as one definition table: commission
// groups, relationships, sales stages, landed costs, business-partner
// priorities, locations, length and weight units, customs groups,
// manufacturers, shipping types, contract templates and package types.
// A record is matched with the target's by its compare pair (mostly a name;
// landed costs by their code).
#include <string>
#include <utility>

#include "categories/setup/setup_category_tables.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// One row: the key column and the property kept with a listed record; the
// columns with their properties, in list order; the column flags; the copy
// log's two properties; and the compare pair (column = property).
DPX_ObjectCategoryRow Row(const char* key, const char* className, int32_t type, const char* table,
                          const char* keyColumn, const char* keyProperty, const Pairs& columns,
                          std::vector<int32_t> flags, std::vector<std::string> listProperties,
                          const char* matchColumn, const char* matchProperty) {
  DPX_ObjectCategoryDefinition d;
  d.objectType = type;
  d.table = table;
  d.matchColumn = matchColumn;
  d.matchProperty = matchProperty;
  d.keyColumns = {keyColumn};
  d.keyProperties = {keyProperty};
  for (const auto& [column, property] : columns) {
    d.columns.push_back(column);
    d.properties.push_back(property);
  }
  d.columnFlags = std::move(flags);
  d.listProperties = std::move(listProperties);
  return {key, className, std::move(d)};
}

// The own rules of a row.
// A number of the listed row (at `index`) shows as string-table text number + base.
DPX_ObjectCategoryRow ListText(DPX_ObjectCategoryRow row, int32_t index, int32_t base) {
  row.definition.listTexts = {DPX_ListText::StringOffset(static_cast<size_t>(index), base)};
  return row;
}
// The records that the list, a whole-category read and the removal pass select.
DPX_ObjectCategoryRow KeyQuery(DPX_ObjectCategoryRow row, const char* sql) {
  row.definition.keyQuery = sql;
  row.definition.removalSql = sql;
  return row;
}
// An element taken out of the record XML before the record is added or updated.
DPX_ObjectCategoryRow Removing(DPX_ObjectCategoryRow row, const char* element) {
  row.definition.removedElement = element;
  return row;
}

std::vector<DPX_ObjectCategoryRow> BuildRows() {
  return {
      Row("DPX_TRN_COMMISIONGROUPS_100", "DPX_CommissionGroupsManager", 65, "OCOG", "GroupCode",
          "CommissionGroupName",
          {{"GroupCode", "CommissionGroupCode"}, {"GroupName", "CommissionGroupName"},
           {"Commission", "CommissionPercentage"}},
          {0, 1, 0}, {"CommissionGroupName", "CommissionPercentage"}, "GroupName", "CommissionGroupName"),
      Row("DPX_TRN_RELTNSHPS_40", "DPX_RelationshipsManager", 212, "OORL", "OrlCode", "RelationshipDescription",
          {{"OrlCode", "RelationshipCode"}, {"OrlDesc", "RelationshipDescription"}}, {0, 1},
          {"RelationshipDescription", "RelationshipDescription"}, "OrlDesc", "RelationshipDescription"),
      Row("DPX_TRN_SALESSTAGES_100", "DPX_SalesStagesManager", 101, "OOST", "Num", "Name",
          {{"Num", "SequenceNo"}, {"Descript", "Name"}}, {0, 1}, {"Name", "Name"}, "Descript", "Name"),
      // Landed costs go by their code; the allocation method (0 to 5) shows as its name.
      ListText(Row("DPX_TRN_LANDEDCOSTS_100", "DPX_LandedCostsManager", 48, "OALC", "AlcCode", "Code",
                   {{"AlcCode", "Code"}, {"AlcName", "Name"}, {"OhType", "AllocationBy"}}, {0, 1, 0},
                   {"Code", "Name"}, "AlcCode", "Code"),
               2, 30),
      Row("DPX_TRN_BPPRIORITIES_100", "DPX_BPPrioritiesManager", 150, "OBPP", "PrioCode", "PriorityDescription",
          {{"PrioDesc", "PriorityDescription"}}, {1}, {"PriorityDescription", "PriorityDescription"}, "PrioDesc",
          "PriorityDescription"),
      Row("DPX_TRN_LOCATIONS_100", "DPX_LocationsManager", 144, "OLCT", "Code", "Name",
          {{"Code", "Code"}, {"Location", "Name"}}, {0, 1}, {"Name", "Name"}, "Location", "Name"),
      Row("DPX_TRN_UOMLENGTHWIDTH_100", "DPX_LengthWidthManager", 50, "OLGT", "UnitCode", "UnitDisplay",
          {{"UnitDisply", "UnitDisplay"}, {"UnitName", "UnitName"}, {"SizeInMM", "UnitLengthinmm"}}, {0, 0, 0},
          {"UnitDisplay", "UnitName"}, "UnitDisply", "UnitDisplay"),
      Row("DPX_TRN_UOMWEIGHT_100", "DPX_WeightManager", 51, "OWGT", "UnitCode", "UnitDisplay",
          {{"UnitDisply", "UnitDisplay"}, {"UnitName", "UnitName"}, {"WightInMG", "UnitWeightinmg"}}, {0, 0, 0},
          {"UnitDisplay", "UnitName"}, "UnitDisply", "UnitDisplay"),
      // The host's own customs group -1 is never listed, read or removed.
      KeyQuery(Row("DPX_TRN_CUSTOMGROUPS_100", "DPX_CustomGroupsManager", 56, "OARG", "CstGrpCode", "Name",
                   {{"CstGrpName", "Name"}, {"GroupNum", "Number"}, {"Custom", "Customs"}, {"BuyTax", "Purchase"},
                    {"OtherTax", "Other"}},
                   {1, 0, 0, 0, 0}, {"Name", "Number"}, "CstGrpName", "Name"),
               "SELECT CstGrpCode FROM OARG WHERE CstGrpCode <> -1"),
      Row("DPX_TRN_MANUFACTURERS_100", "DPX_ManufacturersManager", 43, "OMRC", "FirmCode", "ManufacturerName",
          {{"FirmCode", "Code"}, {"FirmName", "ManufacturerName"}}, {0, 1}, {"ManufacturerName", "ManufacturerName"},
          "FirmName", "ManufacturerName"),
      Row("DPX_TRN_SHIPPINGTYPES_100", "DPX_ShippingTypesManager", 49, "OSHP", "TrnspCode", "Name",
          {{"TrnspCode", "Code"}, {"TrnspName", "Name"}}, {0, 1}, {"Name", "Name"}, "TrnspName", "Name"),
      // A template's attachment entry only means something in the base.
      Removing(Row("DPX_TRN_TEMPLATES_100", "DPX_TemplatesManager", 170, "OCTT", "TmpltName", "TemplateName",
                   {{"TmpltName", "TemplateName"}, {"Descriptio", "Description"}}, {1, 1},
                   {"TemplateName", "Description"}, "TmpltName", "TemplateName"),
               "AttachmentEntry"),
      Row("DPX_TRN_PACKAGETYPES_100", "DPX_PackageTypeManager", 205, "OPKG", "PkgCode", "Type",
          {{"PkgCode", "Code"}, {"PkgType", "Type"}}, {0, 1}, {"Type", "Type"}, "PkgType", "Type"),
  };
}

}  // namespace

const std::vector<DPX_ObjectCategoryRow>& SetupObjectCategories() {
  static const std::vector<DPX_ObjectCategoryRow> rows = BuildRows();
  return rows;
}

void RegisterSetupObjectCategories() { RegisterDefinitionRows<DPX_ObjectCategory>(SetupObjectCategories()); }
