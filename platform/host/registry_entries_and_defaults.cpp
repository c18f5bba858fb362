// Registry: journal entries and what the users keep as defaults.
//
// Journal entries (OJDT, type 30) with their lines (JDT1); the profit
// centres (OPRC), distribution rules (OOCR) and the rules' lines (OCR1) that
// entries and product trees name; product trees (OITT, type 66) and sales
// forecasts (OFCT, type 198); defaults groups (OUDG, type 93), which a
// user's "Defaults" names; the default series per user and document (NNM2)
// and the default report per document type (RTYP) and per user and partner
// (RDFL).
//
// The host numbers an entry (the highest TransId + 1), takes its Number from
// its series' next number, which it advances, and refuses an entry whose
// lines do not balance. An added entry is a manual one (TransType '30').
#include <cmath>
#include <string>

#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/object_registry.h"
#include "platform/host/registry_rules.h"

namespace dpx::host {

namespace {

using K = PropKind;

// What the host does after an entry's rows are written: the balance and the
// accounts of its lines, the system-currency amounts it was not given, its
// type and its number.
int CheckAndNumberEntry(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                        std::string& error) {
  const Variant id(HeaderText(header, "JdtNum"));
  auto sums = store.query("SELECT IFNULL(SUM(Debit), 0), IFNULL(SUM(Credit), 0) FROM JDT1 WHERE TransId = ?", {id});
  const double debit = sums.rows[0][0].toDouble(), credit = sums.rows[0][1].toDouble();
  if (std::fabs(debit - credit) > 0.005) {
    error = "Journal entry: the lines do not balance (debit " + sums.rows[0][0].toText() + ", credit " +
            sums.rows[0][1].toText() + ")";
    return kErrInvalidValue;
  }
  auto accounts = store.query("SELECT IFNULL(Account, '') FROM JDT1 WHERE TransId = ? AND (Account IS NULL OR "
                              "Account NOT IN (SELECT AcctCode FROM OACT)) LIMIT 1",
                              {id});
  if (!accounts.rows.empty())
    return RequireRow(store, "OACT", "AcctCode", accounts.rows[0][0].toText(), "Account", error);
  store.exec("UPDATE JDT1 SET DebitSys = IFNULL(DebitSys, Debit), CreditSys = IFNULL(CreditSys, Credit) "
             "WHERE TransId = ?",
             {id});
  store.exec("UPDATE OJDT SET TransType = '30' WHERE TransId = ?", {id});
  const std::string series = HeaderText(header, "Series");
  if (series.empty()) return 0;
  auto next = store.query("SELECT NextNumber, ObjectCode FROM NNM1 WHERE Series = ?", {Variant(series)});
  if (next.rows.empty()) return 0;  // the reference check refused it already
  if (next.rows[0][1].toText() != "30") {
    error = "Series " + series + " is not a series of journal entries";
    return kErrInvalidValue;
  }
  store.exec("UPDATE OJDT SET Number = ? WHERE TransId = ?", {next.rows[0][0], id});
  store.exec("UPDATE NNM1 SET NextNumber = IFNULL(NextNumber, 0) + 1 WHERE Series = ?", {Variant(series)});
  return 0;
}

void RegisterJournalEntries(ObjectRegistry& r) {
  r.addTable({"OJDT",
              {KeyCol("TransId", db_Numeric, "Transaction No."), Col("TransType", db_Alpha, "Transaction Type", 20),
               Col("CreateDate", db_Date, "Posting Date"), Col("Ref1", db_Alpha, "Ref. 1", 100),
               Col("Ref2", db_Alpha, "Ref. 2", 100), Col("TransCode", db_Alpha, "Transaction Code", 4),
               Col("Indicator", db_Alpha, "Indicator", 2), Col("Project", db_Alpha, "Project", 20),
               Col("Number", db_Numeric, "Number"), Col("Memo", db_Alpha, "Remarks", 254),
               Col("Series", db_Numeric, "Series")},
              {"TransId"}});
  r.addTable({"JDT1",
              {KeyCol("TransId", db_Numeric, "Transaction No."), KeyCol("LineNum", db_Numeric, "Row"),
               Col("Account", db_Alpha, "G/L Account", 15), Col("Debit", db_Float, "Debit"),
               Col("Credit", db_Float, "Credit"), Col("DebitSys", db_Float, "Debit (SC)"),
               Col("CreditSys", db_Float, "Credit (SC)"), Col("LineMemo", db_Alpha, "Row Details", 50)},
              {"TransId", "LineNum"}});
  ObjectTypeDef entries;
  entries.type = 30;
  entries.name = "Journal Entry";
  entries.mainTable = "OJDT";
  entries.headerElement = "JournalEntries";
  entries.keyProperties = {"JdtNum"};
  entries.keyPolicy = KeyPolicy::NextNumber;
  entries.properties = {Prop("JdtNum", "TransId", K::Int),    Prop("ReferenceDate", "CreateDate", K::Date),
                        Prop("Reference", "Ref1"),            Prop("Reference2", "Ref2"),
                        Prop("TransactionCode", "TransCode"), Prop("Indicator", "Indicator"),
                        Prop("ProjectCode", "Project"),       Prop("Number", "Number", K::Int),
                        Prop("Memo", "Memo"),                 Prop("Series", "Series", K::Int)};
  entries.lines = {LineDef{"JDT1",
                           "JournalEntries_Lines",
                           {"TransId"},
                           "LineNum",
                           {Prop("AccountCode", "Account"), Prop("Debit", "Debit", K::Double),
                            Prop("Credit", "Credit", K::Double), Prop("DebitSys", "DebitSys", K::Double),
                            Prop("CreditSys", "CreditSys", K::Double), Prop("LineMemo", "LineMemo")}}};
  entries.references = {{"Series", "NNM1", "Series", true}};
  entries.hooks.afterAdd = CheckAndNumberEntry;
  r.addType(std::move(entries));

  r.addTable({"OPRC", {KeyCol("PrcCode", db_Alpha, "Profit Centre", 8), Col("PrcName", db_Alpha, "Name", 30)},
              {"PrcCode"}});
  r.addTable({"OOCR", {KeyCol("OcrCode", db_Alpha, "Distribution Rule", 8), Col("OcrName", db_Alpha, "Name", 30)},
              {"OcrCode"}});
  r.addTable({"OCR1",
              {KeyCol("OcrCode", db_Alpha, "Distribution Rule", 8), KeyCol("PrcCode", db_Alpha, "Profit Centre", 8)},
              {"OcrCode", "PrcCode"}});
}

// A product tree is an item's: the item must be there when the tree is written.
int CheckTreeItem(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                  std::string& error) {
  return RequireRow(store, "OITM", "ItemCode", HeaderText(header, "TreeCode"), "Item", error);
}

void RegisterTreesAndForecasts(ObjectRegistry& r) {
  // "Qauntity" is how the host spells the column.
  r.addTable({"OITT",
              {KeyCol("Code", db_Alpha, "Product No.", 50), Col("TreeType", db_Numeric, "BOM Type"),
               Col("Qauntity", db_Float, "Quantity")},
              {"Code"}});
  ObjectTypeDef trees;
  trees.type = 66;
  trees.name = "Product Tree";
  trees.mainTable = "OITT";
  trees.headerElement = "ProductTrees";
  trees.keyProperties = {"TreeCode"};
  trees.properties = {Prop("TreeCode", "Code"), Prop("TreeType", "TreeType", K::Int),
                      Prop("Quantity", "Qauntity", K::Double)};
  trees.hooks.afterAdd = CheckTreeItem;
  trees.hooks.afterUpdate = CheckTreeItem;
  r.addType(std::move(trees));

  r.addTable({"OFCT",
              {KeyCol("AbsID", db_Numeric, "Internal Number"), Col("Code", db_Alpha, "Forecast Code", 20),
               Col("Name", db_Alpha, "Forecast Name", 100), Col("StartDate", db_Date, "Start Date"),
               Col("EndDate", db_Date, "End Date")},
              {"AbsID"}});
  ObjectTypeDef forecasts;
  forecasts.type = 198;
  forecasts.name = "Sales Forecast";
  forecasts.mainTable = "OFCT";
  forecasts.headerElement = "SalesForecast";
  forecasts.keyProperties = {"Numerator"};
  forecasts.keyPolicy = KeyPolicy::NextNumber;
  forecasts.properties = {Prop("Numerator", "AbsID", K::Int), Prop("ForecastCode", "Code"),
                          Prop("ForecastName", "Name"), Prop("ForecastStartDate", "StartDate", K::Date),
                          Prop("ForecastEndDate", "EndDate", K::Date)};
  forecasts.uniqueProperties = {{"ForecastCode"}};
  r.addType(std::move(forecasts));
}

void RegisterDefaults(ObjectRegistry& r) {
  r.addTable({"OUDG", {KeyCol("Code", db_Alpha, "Code", 8), Col("Name", db_Alpha, "Name", 100)}, {"Code"}});
  ObjectTypeDef groups;
  groups.type = 93;
  groups.name = "Defaults Group";
  groups.mainTable = "OUDG";
  groups.headerElement = "UserDefaultGroups";
  groups.keyProperties = {"Code"};
  groups.properties = {Prop("Code", "Code"), Prop("Name", "Name")};
  r.addType(std::move(groups));
  // A user's defaults are those of a group the company has, or none.
  r.extendReferences(12, {{"Defaults", "OUDG", "Code", true}});

  r.addTable({"NNM2",
              {KeyCol("ObjectCode", db_Alpha, "Document", 20), KeyCol("DocSubType", db_Alpha, "Document Subtype", 2),
               KeyCol("UserSign", db_Numeric, "User"), Col("Series", db_Numeric, "Series")},
              {"ObjectCode", "DocSubType", "UserSign"}});
  r.addTable({"RTYP", {KeyCol("CODE", db_Alpha, "Document Type", 20), Col("DEFLT_REP", db_Alpha, "Default Report", 20)},
              {"CODE"}});
  // "DoumntDode" is how the host spells the column.
  r.addTable({"RDFL",
              {KeyCol("DoumntDode", db_Alpha, "Document Type", 20), KeyCol("UserId", db_Numeric, "User"),
               KeyCol("CardCode", db_Alpha, "BP Code", 15), Col("DfltReport", db_Alpha, "Default Report", 20)},
              {"DoumntDode", "UserId", "CardCode"}});
}

// Demo rows. Accounts _SYS01 and _SYS03 are in both companies; the entries'
// series "JE" is 8 in the base and 9 in the target, whose next number (1) is
// below its entry 950. Users are manager 1, clerk 2, auditor 3 and oneil 4 in
// the base; manager 1, clerk 2, temp 3 and auditor 4 in the target (their
// groups are set where the demo server makes them).
void AddDemoRows(ObjectRegistry& r) {
  r.addDemoRows({"NNM1",
                 {"ObjectCode", "Series", "SeriesName", "InitialNum", "NextNumber", "GroupCode", "Locked", "Indicator"},
                 {{"30", "8", "JE", "1", "5", "1", "N", "Default"}},
                 {{"30", "9", "JE", "1", "1", "1", "N", "Default"}}});
  r.addDemoRows({"OJDT",
                 {"TransId", "TransType", "CreateDate", "Ref1", "Ref2", "Number", "Memo", "Series"},
                 {{"1", "30", "20260105", "R-1", "O'Brien & <Co>", "1", "Rent & <office>", "8"},
                  {"2", "-2", "20260101", "OB-1", kNull, "2", "Opening balance", "8"},
                  {"3", "58", "20260110", "SP-1", kNull, "3", "Stock posting", "8"},
                  {"4", "30", "20260120", "R-2", kNull, "4", "O'Neil's accrual", "8"}},
                 {{"950", "30", "20251231", "T-950", kNull, "950", "Target's entry", "9"}}});
  r.addDemoRows({"JDT1",
                 {"TransId", "LineNum", "Account", "Debit", "Credit", "DebitSys", "CreditSys", "LineMemo"},
                 {{"1", "0", "_SYS01", "100", "0", "100", "0", "Rent"},
                  {"1", "1", "_SYS03", "0", "100", "0", "100", "Rent & <office>"},
                  {"2", "0", "_SYS01", "500", "0", "500", "0", kNull},
                  {"2", "1", "_SYS03", "0", "500", "0", "500", kNull},
                  {"3", "0", "_SYS01", "70", "0", "70", "0", kNull},
                  {"3", "1", "_SYS03", "0", "70", "0", "70", kNull},
                  {"4", "0", "_SYS01", "40", "0", "40", "0", kNull},
                  {"4", "1", "_SYS03", "0", "40", "0", "40", kNull}},
                 {{"950", "0", "_SYS01", "9", "0", "9", "0", kNull}, {"950", "1", "_SYS03", "0", "9", "0", "9", kNull}}});
  r.addDemoRows({"OPRC",
                 {"PrcCode", "PrcName"},
                 {{"PC1", "Sales & <Marketing>"}, {"PC2", "O'Brien's centre"}},
                 {{"PC1", "Sales (old)"}, {"PC9", "Target only"}}});
  r.addDemoRows({"OOCR",
                 {"OcrCode", "OcrName"},
                 {{"DR1", "Split <50/50>"}, {"DR2", "Base's rule"}},
                 {{"DR1", "Split"}, {"DR9", "Target's rule"}}});
  r.addDemoRows({"OCR1",
                 {"OcrCode", "PrcCode"},
                 {{"DR1", "PC1"}, {"DR1", "PC2"}, {"DR2", "PC2"}},
                 {{"DR1", "PC1"}, {"DR9", "PC9"}}});
  r.addDemoRows({"OITT",
                 {"Code", "TreeType", "Qauntity"},
                 {{"I001", "1", "2"}, {"I002", "2", "1"}},
                 {{"I001", "4", "5"}}});
  r.addDemoRows({"OFCT",
                 {"AbsID", "Code", "Name", "StartDate", "EndDate"},
                 {{"1", "F2026", "Forecast & <2026>", "20260101", "20261231"},
                  {"2", "Q1", "O'Neil's Q1", "20260101", "20260331"}},
                 {{"5", "F2026", "Old forecast", "20260101", "20261231"}}});
  r.addDemoRows({"OUDG",
                 {"Code", "Name"},
                 {{"SALES", "Sales & <Desk>"}, {"BASEGRP", "O'Brien's group"}},
                 {{"SALES", "Sales (old)"}, {"TGTGRP", "Target's group"}}});
  r.addDemoRows({"NNM2",
                 {"ObjectCode", "DocSubType", "UserSign", "Series"},
                 {{"13", "--", "2", "1"}, {"22", "--", "3", "3"}, {"17", "--", "4", "5"}},
                 {{"22", "--", "4", "2"}, {"13", "--", "3", "1"}}});
  r.addDemoRows({"RTYP",
                 {"CODE", "DEFLT_REP"},
                 {{"INV1", "INV11"}, {"DLN2", "DLN12"}},
                 {{"INV1", "INV13"}, {"RCT1", "RCT12"}}});
  r.addDemoRows({"RDFL",
                 {"DoumntDode", "UserId", "CardCode", "DfltReport"},
                 {{"INV1", "3", "C200", "INV11"}, {"INV1", "2", "C200", "INV13"}},
                 {{"INV1", "4", "C200", "INV13"}, {"RCT1", "3", "C200", "RCT12"}}});
}

}  // namespace

void RegisterEntriesAndDefaults(ObjectRegistry& r) {
  RegisterJournalEntries(r);
  RegisterTreesAndForecasts(r);
  RegisterDefaults(r);
  AddDemoRows(r);
}

}  // namespace dpx::host
