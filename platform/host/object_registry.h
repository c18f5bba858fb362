// The one declarative registry of what a simulated company holds: its tables
// (with the host's field type codes and descriptions, which the bridge's
// field list shows), the business-object types over those tables, and the
// demo rows that `duplora-host create-demo` writes. Object types are data,
// not classes: one generic business object serves every type.
//
// Each area registers in a function of its own (registry_*.cpp), and
// ObjectRegistry::Instance() calls them all once. To add a category's types,
// add such a function and its call in object_registry.cpp.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/variant.h"

namespace dpx::host {

class CompanyStore;

// The host's field type codes, as the bridge's field list gives them.
enum FieldType : int {
  db_Alpha = 0,
  db_Memo = 1,
  db_Numeric = 2,
  db_Date = 3,
  db_Float = 4,
};

struct ColumnDef {
  std::string name;
  int type = db_Alpha;       // FieldType
  int size = 0;              // alpha length (0: 100); informative only
  std::string description;   // column 6 of the field list
  bool notNull = false;
};

struct TableDef {
  std::string name;                      // "OUSR", "@DPXSETT"
  std::vector<ColumnDef> columns;
  std::vector<std::string> primaryKey;   // unique key the server enforces (may be empty)
};

// How a business object's value relates to its column.
enum class PropKind {
  Text,      // text <-> text column
  Int,       // integer <-> numeric column (or a text column holding digits)
  Double,    // real <-> float column
  Date,      // date <-> 'YYYYMMDD' text column
  YesNo,     // integer 1 yes / 0 no <-> 'Y'/'N' text column
  TypeLetter,// field type code 0..4 <-> 'A','M','N','D','B' text column
  CardType,  // partner type 0 customer / 1 vendor / 2 lead <-> 'C','S','L';
             // record XML names them "cCustomer", "cSupplier", "cLid"
};

struct PropertyDef {
  std::string property;   // name on the object and element name in record XML
  std::string column;     // column of the table ("" for a property with no column)
  PropKind kind = PropKind::Text;
  bool writeOnly = false; // readable by nobody (passwords); never in XML
  bool readOnly = false;  // host-maintained; ReadXml and put ignore / refuse it
  std::string defaultValue;  // column text written on Add when the value is empty
};

// How a new record's key is given on Add.
enum class KeyPolicy {
  Given,         // the caller's key values; empty key is refused
  NextNumber,    // MAX(key column)+1 in the main table (one numeric key)
  ObjectCounter, // ONNM.AutoKey of the object code, advanced on every Add
};

// A value that must name an existing row: Add and Update refuse a missing
// target, Remove of the target refuses while a row still refers to it.
struct ReferenceDef {
  std::string property;       // property (header or line) holding the reference
  std::string table;          // referenced table
  std::string column;         // referenced column
  bool emptyAllowed = true;   // an empty / zero / -1 value refers to nothing
};

struct LineDef {
  std::string table;                   // line table, e.g. "STC1"
  std::string element;                 // XML element, e.g. "SalesTaxCodes_Lines"
  std::vector<std::string> parentColumns;  // line columns holding the header key, in key order
  std::string lineNumColumn;           // line number column ("" for none)
  std::vector<PropertyDef> properties;
};

struct ObjectTypeDef;

// Hooks for types whose writes do more than a row (user tables create their
// @-table, user fields their U_ column). They run inside the write's savepoint;
// a thrown HostError or a non-zero result undoes the write.
struct ObjectHooks {
  std::function<int(CompanyStore&, const ObjectTypeDef&, const std::map<std::string, Variant>& header, std::string& error)>
      afterAdd, beforeRemove, afterUpdate;
};

struct ObjectTypeDef {
  int type = 0;                          // object type number (12 users, 160 queries...)
  std::string name;                      // readable name for messages: "User", "Query"
  std::string mainTable;                 // "OUSR"
  std::string headerElement;             // XML element of the header table: "Users"
  std::vector<std::string> keyProperties;// key properties in GetByKey order
  std::vector<PropertyDef> properties;   // header properties
  std::vector<LineDef> lines;            // line tables
  KeyPolicy keyPolicy = KeyPolicy::Given;
  // The key property the host numbers (NextNumber / ObjectCounter); "" = the
  // first key property. With numberWithin, numbering restarts for every
  // combination of those key properties (user fields within their table).
  std::string numberedProperty;
  std::vector<std::string> numberWithin;
  // Property sets that must be unique among the type's records besides the
  // key (a user field's table and name).
  std::vector<std::vector<std::string>> uniqueProperties;
  std::string objectCode;                // ONNM.ObjectCode for ObjectCounter ("" = type number)
  std::vector<ReferenceDef> references;  // required references (header or line properties)
  bool hasBrowser = true;                // "Browser" member with ReadXml; false: update is Remove + Add
  // Update of an object that was filled without GetByKey finds the record
  // by the key properties' values (registrations are updated that way).
  bool updateByKey = false;
  ObjectHooks hooks;

  const PropertyDef* findProperty(const std::string& property) const;   // header, exact name
  const PropertyDef* findByColumn(const std::string& column) const;     // header
  std::string keyColumn(size_t i) const;                                // column of key property i
};

// Demo rows of one table, for the base and the target company. A cell of
// kNull writes NULL.
struct DemoRows {
  std::string table;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> base;
  std::vector<std::vector<std::string>> target;
  // A table of one row per company (OADM, CINF, OADP): that row takes the
  // values of the first demo row instead of rows being inserted.
  bool singleRow = false;
};
inline constexpr const char* kNull = "\x01NULL";

// Single-row records of the company service (no key; GetByKey() with no
// values loads the one row). Not reachable through GetBusinessObject.
constexpr int kTypeAdminInfo = -10;      // OADM
constexpr int kTypeCompanyInfo = -11;    // CINF
constexpr int kTypeCompanySettings = -12;  // CINF, the settings object

class ObjectRegistry {
 public:
  // The registry with every built-in registration made.
  static const ObjectRegistry& Instance();

  void addTable(TableDef table);
  void addType(ObjectTypeDef type);
  void addDemoRows(DemoRows rows);
  // Later additions to a registered table or type (more columns of a host
  // table, more properties of an object). Unknown names are a programming
  // error and abort.
  void extendTable(const std::string& table, std::vector<ColumnDef> columns);
  void extendType(int type, std::vector<PropertyDef> properties);
  void extendReferences(int type, std::vector<ReferenceDef> references);
  // The write hooks of a registered type, for an area that adds a rule.
  ObjectHooks& hooksOf(int type);

  const TableDef* findTable(const std::string& name) const;   // exact, then ignoring ASCII case
  const ObjectTypeDef* findType(int type) const;
  const ObjectTypeDef* findTypeByTable(const std::string& mainTable) const;
  const std::vector<TableDef>& tables() const { return tables_; }
  const std::vector<ObjectTypeDef>& types() const { return types_; }
  const std::vector<DemoRows>& demoRows() const { return demo_; }

  // Every reference (of any type) that points at `table`, with the type and
  // the referencing column, for the Remove check.
  struct Inbound {
    const ObjectTypeDef* type;
    std::string fromTable;
    std::string fromColumn;
    std::string toColumn;
  };
  std::vector<Inbound> referencesTo(const std::string& table) const;

 private:
  std::vector<TableDef> tables_;
  std::vector<ObjectTypeDef> types_;
  std::vector<DemoRows> demo_;
};

// Shorthands for registration tables.
inline ColumnDef Col(const char* name, int type, const char* description, int size = 0) {
  return ColumnDef{name, type, size, description, false};
}
// A key column: the server refuses a row without it.
inline ColumnDef KeyCol(const char* name, int type, const char* description, int size = 0) {
  ColumnDef column = Col(name, type, description, size);
  column.notNull = true;
  return column;
}
inline PropertyDef Prop(const char* property, const char* column, PropKind kind = PropKind::Text) {
  return PropertyDef{property, column, kind, false, false, ""};
}

// Registration functions of the areas (registry_*.cpp).
void RegisterAdministration(ObjectRegistry& r);   // OADM, CINF, ONNM, OUSR (12), users' tables
void RegisterUserTables(ObjectRegistry& r);       // OUTB (153), CUFD (152): the program makes @DPXSETT/@DPXNOTE through them
void RegisterUserKeys(ObjectRegistry& r);         // OUKD (10151), UKD1: keys of user tables (DPXNOTI1 of @DPXNOTE)
void RegisterQueries(ObjectRegistry& r);          // OQCN (134), OUQR (160)
void RegisterAddressSetup(ObjectRegistry& r);     // OADF, indexes, transaction codes
void RegisterCurrencies(ObjectRegistry& r);       // OCRN (37) and currency settings
void RegisterSalesTax(ObjectRegistry& r);         // OSTT (127), OSTC (128) with lines STC1
void RegisterCompanySettings(ObjectRegistry& r);  // more of OADM and CINF; OADP, ADP1, OHLD, HLD1, ADM1, OCTG
void RegisterCustomization(ObjectRegistry& r);    // CSHS (219), OUDO (206), OUDP, OUBR, OUPT (214)
void RegisterNumbering(ObjectRegistry& r);        // NNM1 (series service 35), OPID, document rows of ONNM
void RegisterPostingPeriods(ObjectRegistry& r);   // OACP, OFPR (the company service's period operations)
void RegisterTaxDefinitions(ObjectRegistry& r);   // OSTA (126), OVTG (5), ODDG (117), OWHT (178), OIND, OACT
void RegisterMasterData(ObjectRegistry& r);       // partners, items, item groups, warehouses, credit cards and what they name
void RegisterSetupFamilies(ObjectRegistry& r);    // the smaller setup objects and tables, dunning, payment terms
void RegisterUserServices(ObjectRegistry& r);     // RDOC, CPRF, CUMI (services 232, 41, 2002); OALT, ALT1, OCRY, OCST
void RegisterChartOfAccounts(ObjectRegistry& r);  // accounts (1), OACG, segments (142, 143), budgets (77, 91, 78), report templates
void RegisterPrices(ObjectRegistry& r);           // special prices, catalog numbers, item prices, discount groups, alternative items
void RegisterEntriesAndDefaults(ObjectRegistry& r);  // journal entries (30), cost accounting, trees (66), forecasts (198), defaults (93), NNM2, RTYP, RDFL
// OPYM (147), OFRM, OSLP (53), OHEM (171), the employee lookups, ODSC (3), DSC1 (231), price list bases, OTER (200)
void RegisterRecordsThatNameRecords(ObjectRegistry& r);
void RegisterAccountSettings(ObjectRegistry& r);  // accounts of OACP; inventory, account and bank settings of OADM, CINF
// The account properties of a period category (OACP columns of their names).
const std::vector<std::string>& PeriodCategoryAccounts();

}  // namespace dpx::host
