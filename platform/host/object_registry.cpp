// The registry: built once from every area's registration function.
#include "platform/host/object_registry.h"

#include <cstdio>
#include <cstdlib>

#include "platform/framework/text.h"

namespace dpx::host {

const PropertyDef* ObjectTypeDef::findProperty(const std::string& property) const {
  for (const PropertyDef& p : properties)
    if (p.property == property) return &p;
  return nullptr;
}

const PropertyDef* ObjectTypeDef::findByColumn(const std::string& column) const {
  for (const PropertyDef& p : properties)
    if (!p.column.empty() && EqualsIgnoreCase(p.column, column)) return &p;
  return nullptr;
}

std::string ObjectTypeDef::keyColumn(size_t i) const {
  if (i >= keyProperties.size()) return "";
  const PropertyDef* p = findProperty(keyProperties[i]);
  return p ? p->column : "";
}

const ObjectRegistry& ObjectRegistry::Instance() {
  static const ObjectRegistry registry = [] {
    ObjectRegistry r;
    RegisterAdministration(r);
    RegisterUserTables(r);
    RegisterUserKeys(r);
    RegisterQueries(r);
    RegisterAddressSetup(r);
    RegisterCurrencies(r);
    RegisterSalesTax(r);
    RegisterCompanySettings(r);
    RegisterCustomization(r);
    RegisterNumbering(r);
    RegisterPostingPeriods(r);
    RegisterTaxDefinitions(r);
    RegisterMasterData(r);
    RegisterSetupFamilies(r);
    RegisterUserServices(r);
    RegisterChartOfAccounts(r);
    RegisterPrices(r);
    RegisterEntriesAndDefaults(r);
    RegisterRecordsThatNameRecords(r);
    RegisterAccountSettings(r);
    return r;
  }();
  return registry;
}

// A table or type is defined once; the categories that share it extend that definition.
void ObjectRegistry::addTable(TableDef table) {
  for (const TableDef& t : tables_)
    if (t.name == table.name) {
      std::fprintf(stderr, "host registry: table %s is defined twice; extend the first definition\n",
                   table.name.c_str());
      std::abort();
    }
  tables_.push_back(std::move(table));
}
void ObjectRegistry::addType(ObjectTypeDef type) {
  for (const ObjectTypeDef& t : types_)
    if (t.type == type.type) {
      std::fprintf(stderr, "host registry: object type %d is defined twice; extend the first definition\n", type.type);
      std::abort();
    }
  types_.push_back(std::move(type));
}
void ObjectRegistry::addDemoRows(DemoRows rows) { demo_.push_back(std::move(rows)); }

void ObjectRegistry::extendTable(const std::string& table, std::vector<ColumnDef> columns) {
  for (TableDef& t : tables_)
    if (t.name == table) {
      for (ColumnDef& c : columns) t.columns.push_back(std::move(c));
      return;
    }
  std::fprintf(stderr, "host registry: extendTable of unknown table %s\n", table.c_str());
  std::abort();
}

void ObjectRegistry::extendType(int type, std::vector<PropertyDef> properties) {
  for (ObjectTypeDef& t : types_)
    if (t.type == type) {
      for (PropertyDef& p : properties) t.properties.push_back(std::move(p));
      return;
    }
  std::fprintf(stderr, "host registry: extendType of unknown type %d\n", type);
  std::abort();
}

void ObjectRegistry::extendReferences(int type, std::vector<ReferenceDef> references) {
  for (ObjectTypeDef& t : types_)
    if (t.type == type) {
      for (ReferenceDef& ref : references) t.references.push_back(std::move(ref));
      return;
    }
  std::fprintf(stderr, "host registry: extendReferences of unknown type %d\n", type);
  std::abort();
}

ObjectHooks& ObjectRegistry::hooksOf(int type) {
  for (ObjectTypeDef& t : types_)
    if (t.type == type) return t.hooks;
  std::fprintf(stderr, "host registry: hooksOf unknown type %d\n", type);
  std::abort();
}

const TableDef* ObjectRegistry::findTable(const std::string& name) const {
  for (const TableDef& t : tables_)
    if (t.name == name) return &t;
  for (const TableDef& t : tables_)
    if (EqualsIgnoreCase(t.name, name)) return &t;
  return nullptr;
}

const ObjectTypeDef* ObjectRegistry::findType(int type) const {
  for (const ObjectTypeDef& t : types_)
    if (t.type == type) return &t;
  return nullptr;
}

const ObjectTypeDef* ObjectRegistry::findTypeByTable(const std::string& mainTable) const {
  for (const ObjectTypeDef& t : types_)
    if (t.type > 0 && EqualsIgnoreCase(t.mainTable, mainTable)) return &t;
  return nullptr;
}

std::vector<ObjectRegistry::Inbound> ObjectRegistry::referencesTo(const std::string& table) const {
  std::vector<Inbound> out;
  for (const ObjectTypeDef& t : types_) {
    for (const ReferenceDef& ref : t.references) {
      if (!EqualsIgnoreCase(ref.table, table)) continue;
      if (const PropertyDef* p = t.findProperty(ref.property)) {
        out.push_back({&t, t.mainTable, p->column, ref.column});
        continue;
      }
      for (const LineDef& line : t.lines)
        for (const PropertyDef& p : line.properties)
          if (p.property == ref.property) out.push_back({&t, line.table, p.column, ref.column});
    }
  }
  return out;
}

}  // namespace dpx::host
