// Registry: sales tax types (OSTT, type 127) and sales tax codes (OSTC, type
// 128, with their lines in STC1 that name tax types).
#include "platform/host/object_registry.h"

namespace dpx::host {

void RegisterSalesTax(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OSTT", {Col("AbsId", db_Numeric, "Internal Number"), Col("Name", db_Alpha, "Name", 50)}, {"AbsId"}});
  ObjectTypeDef types;
  types.type = 127;
  types.name = "Sales Tax Type";
  types.mainTable = "OSTT";
  types.headerElement = "SalesTaxTypes";
  types.keyProperties = {"Numerator"};
  types.keyPolicy = KeyPolicy::NextNumber;
  types.properties = {Prop("Numerator", "AbsId", K::Int), Prop("Name", "Name")};
  types.uniqueProperties = {{"Name"}};
  r.addType(std::move(types));

  r.addTable({"OSTC",
              {Col("Code", db_Alpha, "Tax Code", 8), Col("Name", db_Alpha, "Description", 100),
               Col("Rate", db_Float, "Rate")},
              {"Code"}});
  r.addTable({"STC1",
              {Col("STCCode", db_Alpha, "Tax Code", 8), Col("LineNum", db_Numeric, "Line"),
               Col("STAType", db_Numeric, "Tax Type"), Col("STATaxOnT", db_Numeric, "Tax on Tax Type"),
               Col("EfctivRate", db_Float, "Effective Rate")},
              {"STCCode", "LineNum"}});
  ObjectTypeDef codes;
  codes.type = 128;
  codes.name = "Sales Tax Code";
  codes.mainTable = "OSTC";
  codes.headerElement = "SalesTaxCodes";
  codes.keyProperties = {"Code"};
  codes.properties = {Prop("Code", "Code"), Prop("Name", "Name"), Prop("Rate", "Rate", K::Double)};
  codes.lines = {LineDef{"STC1",
                         "SalesTaxCodes_Lines",
                         {"STCCode"},
                         "LineNum",
                         {Prop("STAType", "STAType", K::Int), Prop("STATaxOnTaxType", "STATaxOnT", K::Int),
                          Prop("EffectiveRate", "EfctivRate", K::Double)}}};
  codes.references = {{"STAType", "OSTT", "AbsId", false}, {"STATaxOnTaxType", "OSTT", "AbsId", true}};
  r.addType(std::move(codes));

  r.addDemoRows({"OSTT",
                 {"AbsId", "Name"},
                 {{"1", "State"}, {"2", "County & <City>"}, {"3", "Base's own"}},
                 {{"1", "County & <City>"}, {"2", "State"}, {"4", "Target only"}}});
  r.addDemoRows({"OSTC",
                 {"Code", "Name", "Rate"},
                 {{"NY", "New York", "8.875"}, {"BASE", "O'Hare & <Co>", "1.5"}},
                 {{"NY", "New York (old)", "8.5"}, {"TGT", "Target only", "2"}}});
  r.addDemoRows({"STC1",
                 {"STCCode", "LineNum", "STAType", "STATaxOnT", "EfctivRate"},
                 {{"NY", "0", "1", kNull, "4"}, {"NY", "1", "2", "1", "4.875"}, {"BASE", "0", "3", kNull, "1.5"}},
                 {{"NY", "0", "2", kNull, "8.5"}, {"TGT", "0", "4", kNull, "2"}}});
}

}  // namespace dpx::host
