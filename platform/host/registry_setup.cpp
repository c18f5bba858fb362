// Registry: address formats (OADF), indexes (OIDX), transaction codes (OTRC)
// and currencies (OCRN, type 37).
#include "platform/host/object_registry.h"

namespace dpx::host {

void RegisterAddressSetup(ObjectRegistry& r) {
  r.addTable({"OADF",
              {Col("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 20),
               Col("Format", db_Memo, "Address Format")},
              {"Code"}});
  r.addDemoRows({"OADF",
                 {"Code", "Name", "Format"},
                 {{"1", "Standard", "Street, City"}, {"2", "O'Brien & <Co>", "Block, City"},
                  {"3", "Base only", "City"}},
                 {{"1", "Target only", "Zip City"}, {"2", "Standard", "Street, Zip City"}}});
  r.addTable({"OIDX",
              {Col("IdexCode", db_Alpha, "Index Code", 8), Col("IndexName", db_Alpha, "Index Name", 30)},
              {"IdexCode"}});
  r.addDemoRows({"OIDX",
                 {"IdexCode", "IndexName"},
                 {{"CPI", "Consumer prices"}, {"B&L", "Bread & <Loaf>"}, {"OWN", "Owner's index"}},
                 {{"CPI", "Consumer price index"}, {"TGT", "Target only"}}});
  r.addTable({"OTRC",
              {Col("TrnsCode", db_Alpha, "Transaction Code", 4), Col("TrnsCodDsc", db_Alpha, "Description", 30)},
              {"TrnsCode"}});
  r.addDemoRows({"OTRC",
                 {"TrnsCode", "TrnsCodDsc"},
                 {{"OB", "Opening balance"}, {"R&D", "Research & <Development>"}, {"ADJ", "Year's adjustment"}},
                 {{"OB", "Opening balances"}, {"TG", "Target only"}}});
}

void RegisterCurrencies(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OCRN",
              {Col("CurrCode", db_Alpha, "Currency Code", 3), Col("CurrName", db_Alpha, "Currency", 20),
               Col("ChkName", db_Alpha, "International Description", 20),
               Col("Chk100Name", db_Alpha, "Hundredth Name", 20), Col("DocCurrCod", db_Alpha, "ISO Code", 3),
               Col("FrgnName", db_Alpha, "Foreign Name", 20), Col("RoundSys", db_Numeric, "Rounding"),
               Col("Locked", db_Alpha, "Locked", 1)},
              {"CurrCode"}});
  ObjectTypeDef currencies;
  currencies.type = 37;
  currencies.name = "Currency";
  currencies.mainTable = "OCRN";
  currencies.headerElement = "Currencies";
  currencies.keyProperties = {"Code"};
  currencies.properties = {Prop("Code", "CurrCode"),
                           Prop("Name", "CurrName"),
                           Prop("InternationalDescription", "ChkName"),
                           Prop("HundredthName", "Chk100Name"),
                           Prop("DocumentsCode", "DocCurrCod"),
                           Prop("ForeignName", "FrgnName"),
                           Prop("Rounding", "RoundSys", K::Int),
                           PropertyDef{"Locked", "Locked", K::YesNo, false, false, "N"}};
  r.addType(std::move(currencies));
  r.addDemoRows({"OCRN",
                 {"CurrCode", "CurrName", "ChkName", "Chk100Name", "DocCurrCod", "FrgnName", "RoundSys", "Locked"},
                 {{"USD", "US Dollar", "Dollar", "Cent", "USD", kNull, "0", "N"},
                  {"EUR", "Euro", "Euro", "Cent", "EUR", kNull, "0", "N"},
                  {"GBP", "Pound's & <Sterling>", "Pound", "Penny", "GBP", kNull, "0", "N"}},
                 {{"USD", "Dollar (US)", "Dollar", "Cent", "USD", kNull, "0", "N"},
                  {"CHF", "Swiss Franc", "Franc", "Rappen", "CHF", kNull, "0", "N"}}});
}

}  // namespace dpx::host
