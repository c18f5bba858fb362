// Registry: saved queries (OUQR, type 160) and their categories (OQCN, 134).
// Category -2 is the host's system category; -1 means "no category".
#include "platform/host/object_registry.h"

namespace dpx::host {

void RegisterQueries(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OQCN",
              {Col("CategoryId", db_Numeric, "Category ID"), Col("CatName", db_Alpha, "Category Name", 100),
               Col("PermMask", db_Alpha, "Authorization Groups", 20)},
              {"CategoryId"}});
  ObjectTypeDef categories;
  categories.type = 134;
  categories.name = "Query Category";
  categories.mainTable = "OQCN";
  categories.headerElement = "QueryCategories";
  categories.keyProperties = {"Code"};
  categories.keyPolicy = KeyPolicy::NextNumber;
  categories.properties = {Prop("Code", "CategoryId", K::Int), Prop("Name", "CatName"), Prop("Permissions", "PermMask")};
  categories.uniqueProperties = {{"Name"}};
  r.addType(std::move(categories));

  r.addTable({"OUQR",
              {Col("IntrnalKey", db_Numeric, "Internal Key"), Col("QCategory", db_Numeric, "Query Category"),
               Col("QName", db_Alpha, "Query Name", 100), Col("QString", db_Memo, "Query"),
               Col("QType", db_Alpha, "Query Type", 1)},
              {"IntrnalKey", "QCategory"}});
  ObjectTypeDef queries;
  queries.type = 160;
  queries.name = "Query";
  queries.mainTable = "OUQR";
  queries.headerElement = "UserQueries";
  queries.keyProperties = {"InternalKey", "QueryCategory"};
  queries.keyPolicy = KeyPolicy::NextNumber;
  queries.numberedProperty = "InternalKey";
  queries.properties = {Prop("InternalKey", "IntrnalKey", K::Int), Prop("QueryCategory", "QCategory", K::Int),
                        Prop("QueryDescription", "QName"), Prop("Query", "QString"),
                        PropertyDef{"QueryType", "QType", K::Text, false, false, "W"}};
  queries.references = {{"QueryCategory", "OQCN", "CategoryId", true}};
  queries.uniqueProperties = {{"QueryCategory", "QueryDescription"}};
  r.addType(std::move(queries));

  // Rows that show the copy cases: a category and queries only in the base,
  // "General" in both under different numbers, some only in the target,
  // names with an apostrophe, "&" and "<".
  r.addDemoRows({"OQCN",
                 {"CategoryId", "CatName", "PermMask"},
                 {{"-2", "System", kNull}, {"1", "General", kNull}, {"2", "Marketing & <Events>", kNull},
                  {"3", "Sales", kNull}, {"4", "Owner's reports", kNull}},
                 {{"-2", "System", kNull}, {"1", "Purchasing", kNull}, {"2", "General", kNull},
                  {"7", "Sales", kNull}, {"8", "Target only", kNull}}});
  r.addDemoRows({"OUQR",
                 {"IntrnalKey", "QCategory", "QName", "QString", "QType"},
                 {{"1", "1", "Open orders", "SELECT DocEntry FROM ORDR WHERE DocStatus = 'O'", "W"},
                  {"2", "2", "Customers & <prospects>", "SELECT CardCode FROM OCRD WHERE CardType <> 'S'", "W"},
                  {"3", "4", "O'Neil's query", "SELECT 'it''s' FROM OADM", "W"},
                  {"6", "3", "Sales by month", "SELECT 1", "W"},
                  {"4", "-2", "System query", "SELECT 1", "W"},
                  {"5", "1", "Base only query", "SELECT ItemCode FROM OITM", "W"}},
                 {{"1", "2", "Open orders", "SELECT DocEntry FROM ORDR", "W"},
                  {"2", "8", "Target only query", "SELECT 2", "W"},
                  {"4", "7", "Sales by month", "SELECT 1", "W"},
                  {"3", "-2", "System query", "SELECT 1", "W"}}});
}

}  // namespace dpx::host
