// Registry: document numbering (series in NNM1, the default series of each
// document in ONNM, period indicators in OPID) and posting periods
// (categories in OACP, their periods in OFPR). Series and periods have no
// business object: the series service and the company service's period
// operations read and write these tables.
#include <string>

#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

// One category's periods as the host derives them: sub-period type 0 one
// year, 1 quarters, 2 months; only the first `count` of them.
std::vector<std::vector<std::string>> PeriodRows(const std::string& category, int year, int type, int count) {
  const int months = type == 0 ? 12 : type == 1 ? 3 : 1;
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < count; ++i) {
    const int first = 1 + i * months, last = first + months - 1;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int lastDay = days[last - 1] + (last == 2 && year % 4 == 0 ? 1 : 0);
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    const std::string from = std::to_string(year) + two(first) + "01";
    const std::string to = std::to_string(year) + two(last) + two(lastDay);
    const std::string code = type == 0 ? category : category + "-" + (type == 1 ? "Q" + std::to_string(i + 1) : two(i + 1));
    rows.push_back({category, std::to_string(i), code, code + " & <" + category + ">", from, to, from, to, from, to,
                    "0", std::to_string(year)});
  }
  return rows;
}

template <class T>
void Append(std::vector<T>& to, const std::vector<T>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

void RegisterNumbering(ObjectRegistry& r) {
  r.addTable({"NNM1",
              {Col("ObjectCode", db_Alpha, "Document", 20), Col("Series", db_Numeric, "Series"),
               Col("SeriesName", db_Alpha, "Name", 8), Col("InitialNum", db_Numeric, "First No."),
               Col("NextNumber", db_Numeric, "Next No."), Col("LastNum", db_Numeric, "Last No."),
               Col("GroupCode", db_Numeric, "Group"), Col("Locked", db_Alpha, "Locked", 1),
               Col("Indicator", db_Alpha, "Period Indicator", 10), Col("Prefix", db_Alpha, "Prefix", 20),
               Col("Suffix", db_Alpha, "Suffix", 20), Col("Remarks", db_Alpha, "Remarks", 60),
               Col("DocumentSubType", db_Alpha, "Document Subtype", 2)},
              {"Series"}});
  r.addTable({"OPID", {Col("Code", db_Numeric, "Code"), Col("Indicator", db_Alpha, "Period Indicator", 10)}, {"Code"}});

  r.addDemoRows({"OPID",
                 {"Code", "Indicator"},
                 {{"1", "Default"}, {"2", "FY2024"}},
                 {{"1", "Default"}, {"3", "Target's <FY>"}}});
  // Documents 13 and 22 in both companies, matched by initial number; a
  // base-only default series of document 17; a series the category never
  // copies (document 68).
  r.addDemoRows({"NNM1",
                 {"ObjectCode", "Series", "SeriesName", "InitialNum", "NextNumber", "LastNum", "GroupCode", "Locked",
                  "Indicator", "Prefix", "Suffix", "Remarks"},
                 {{"13", "1", "Primary", "1", "120", kNull, "1", "N", "Default", "AR-", "-B", "Base's invoices"},
                  {"13", "2", "Export", "5000", "5000", "5999", "1", "N", "Default", kNull, kNull, "O'Brien & <Co>"},
                  {"22", "3", "Primary", "1", "50", kNull, "1", "N", "Default", "PO-", kNull, kNull},
                  {"22", "4", "Import", "9000", "9005", kNull, "1", "N", "Default", kNull, kNull, kNull},
                  {"17", "5", "Orders", "100", "100", kNull, "1", "N", "Default", kNull, kNull, kNull},
                  {"68", "6", "Primary", "1", "1", kNull, "1", "N", "Default", kNull, kNull, kNull}},
                 {{"13", "1", "Primary", "1", "80", kNull, "1", "N", "Default", kNull, kNull, kNull},
                  {"22", "2", "Primary", "1", "30", kNull, "1", "N", "Default", kNull, kNull, kNull},
                  {"22", "7", "Target", "8000", "8010", kNull, "1", "N", "Default", kNull, kNull, "Target only"}}});
  r.addDemoRows({"ONNM",
                 {"ObjectCode", "AutoKey", "DfltSeries"},
                 {{"13", "1", "1"}, {"17", "1", "5"}, {"22", "1", "3"}, {"184", "3", "0"}, {"135", "1", "0"}},
                 {{"13", "1", "1"}, {"17", "1", "0"}, {"22", "1", "2"}, {"184", "4", "0"}, {"135", "1", "0"}}});
  // The other documents of the name table have their ONNM row too, with no default series.
  DemoRows documents{"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {}, {}};
  for (const char* code : {"14", "15", "16", "18", "19", "20", "21", "23", "24", "25", "30", "46", "59", "60", "67",
                           "69", "162", "202", "203", "204"}) {
    documents.base.push_back({code, "1", "0"});
    documents.target.push_back({code, "1", "0"});
  }
  r.addDemoRows(std::move(documents));
}

void RegisterPostingPeriods(ObjectRegistry& r) {
  r.addTable({"OACP",
              {Col("PeriodCat", db_Alpha, "Period Category", 10), Col("PeriodName", db_Alpha, "Period Name", 20),
               Col("BeginningofFinancialYear", db_Date, "Beginning of Financial Year"),
               Col("SubPeriodType", db_Numeric, "Sub-Periods"), Col("NumberOfPeriods", db_Numeric, "No. of Periods")},
              {"PeriodCat"}});
  r.addTable({"OFPR",
              {Col("PeriodCat", db_Alpha, "Period Category", 10), Col("PeriodIndex", db_Numeric, "Period"),
               Col("Code", db_Alpha, "Period Code", 20), Col("Name", db_Alpha, "Period Name", 40),
               Col("RefDateFrom", db_Date, "Posting Date From"), Col("RefDateTo", db_Date, "Posting Date To"),
               Col("DueDateFrom", db_Date, "Due Date From"), Col("DueDateTo", db_Date, "Due Date To"),
               Col("TaxDateFrom", db_Date, "Document Date From"), Col("TaxDateTo", db_Date, "Document Date To"),
               Col("Status", db_Numeric, "Period Status"), Col("Year", db_Numeric, "Fiscal Year")},
              {"PeriodCat", "PeriodIndex"}});
  // A category only in the base; one the target holds under another code
  // (same year start and sub-period type); one both hold under one code.
  // Each category holds all its periods, as a real company's does.
  // Their accounts (the account settings' columns): by format code the
  // base's _SYS01 is the target's _SYS11.
  r.addDemoRows({"OACP",
                 {"PeriodCat", "PeriodName", "BeginningofFinancialYear", "SubPeriodType", "NumberOfPeriods",
                  "DebitorsFollowUpAccount", "StockAccount", "InvoicePaymentBP"},
                 {{"2024", "Year 2024", "20240101", "2", "12", "_SYS01", "_SYS02", "C200"},
                  {"2025Q", "Quarters & <2025>", "20250101", "1", "4", "_SYS03", kNull, kNull},
                  {"BASE26", "Base's year", "20260101", "0", "1", kNull, kNull, kNull}},
                 {{"FY24", "Fiscal '24", "20240101", "2", "12", "_SYS11", kNull, kNull},
                  {"2025Q", "Q 2025", "20250101", "1", "4", kNull, kNull, kNull}}});
  DemoRows periods{"OFPR",
                   {"PeriodCat", "PeriodIndex", "Code", "Name", "RefDateFrom", "RefDateTo", "DueDateFrom", "DueDateTo",
                    "TaxDateFrom", "TaxDateTo", "Status", "Year"},
                   {},
                   {}};
  Append(periods.base, PeriodRows("2024", 2024, 2, 12));
  Append(periods.base, PeriodRows("2025Q", 2025, 1, 4));
  Append(periods.base, PeriodRows("BASE26", 2026, 0, 1));
  Append(periods.target, PeriodRows("FY24", 2024, 2, 12));
  Append(periods.target, PeriodRows("2025Q", 2025, 1, 4));
  r.addDemoRows(std::move(periods));
}

}  // namespace dpx::host
