// Registry: the company's settings beyond the display settings. More
// properties of the administration record (OADM) and of the company
// information (CINF); the print preferences (OADP, one row per company, and
// its per-document rows ADP1); holidays (OHLD, HLD1); the company's address
// lines per period (ADM1); payment terms (OCTG), which the default payment
// terms of the administration record name.
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

struct Setting {
  const char* property;
  PropKind kind;
  const char* column;  // null: a column of the property's own name
};

// Properties of a single-row record and their columns.
void AddSettings(ObjectRegistry& r, const char* table, int type, std::initializer_list<Setting> settings) {
  std::vector<ColumnDef> columns;
  std::vector<PropertyDef> properties;
  for (const Setting& s : settings) {
    const char* column = s.column ? s.column : s.property;
    const int fieldType = s.kind == PropKind::Int ? db_Numeric : s.kind == PropKind::Double ? db_Float : db_Alpha;
    columns.push_back(Col(column, fieldType, s.property));
    properties.push_back(Prop(s.property, column, s.kind));
  }
  r.extendTable(table, std::move(columns));
  r.extendType(type, std::move(properties));
}

}  // namespace

void RegisterCompanySettings(ObjectRegistry& r) {
  using K = PropKind;
  constexpr K T = K::Text, I = K::Int, D = K::Double;

  // Company details. The columns the record list reads keep the host's
  // column names; every other property has a column of its own name.
  AddSettings(r, "OADM", kTypeAdminInfo,
              {{"PrintingHeader", T, "PrintHeadr"}, {"ManagingDirector", T, nullptr},
               {"PhoneNumber1", T, "Phone1"}, {"PhoneNumber2", T, "Phone2"}, {"FaxNumber", T, "Fax"},
               {"eMail", T, "E_Mail"}, {"AddressinForeignLanguage", T, "CmpnyAddrF"},
               {"LetterHeaderinForeignLangu", T, nullptr}, {"ManagingDirectorForeignLan", T, nullptr},
               {"PhoneNumber1ForeignLang", T, "Phone1F"}, {"PhoneNumber2ForeignLang", T, "Phone2F"},
               {"FaxNumberForeignLang", T, "FaxF"}, {"UseTax", I, nullptr}, {"DefaultTaxCode", T, nullptr},
               {"TaxOffice", T, nullptr}, {"FederalTaxID", T, "TaxIdNum"}, {"FederalTaxID2", T, "TaxIdNum2"},
               {"FederalTaxID3", T, "TaxIdNum3"}, {"AdditionalIdNumber", T, "FreeZoneNo"},
               {"FileNumberinIncomeTax", T, nullptr}, {"WithholdingTaxDdctOffice", T, nullptr},
               {"HolidaysName", T, nullptr}, {"UniqueTaxPayerRef", T, nullptr}, {"EmployerReference", T, nullptr},
               {"State", T, nullptr}, {"OrganizationNumber", T, nullptr}, {"BPTypeCode", T, nullptr},
               {"PBSGroupNumber", T, nullptr}, {"PBSNumber", T, nullptr}, {"MinimumAmountfor347Report", D, nullptr},
               {"CustomerIdNumber", T, nullptr}, {"ISRBillerID", T, nullptr}, {"ISRType", I, nullptr},
               {"WithTax", D, nullptr}, {"TaxPercentage", D, nullptr}, {"TaxCollection", I, nullptr},
               {"AdvancesonCorpIncomeTax", D, nullptr}});
  // General settings.
  AddSettings(r, "OADM", kTypeAdminInfo,
              {{"CommitmentRestriction", I, nullptr}, {"RestrictSales", I, nullptr},
               {"RestrictDelNotesPO", I, nullptr}, {"RestrictOrders", I, nullptr}, {"SetCommissionbySE", I, nullptr},
               {"SetCommissionbyItem", I, nullptr}, {"SetCommissionbyCustomer", I, nullptr},
               {"ConsiderDelNotesinSalesR", I, nullptr}, {"DefaultCustomerPaymentTerms", I, nullptr},
               {"DefaultVendorPaymentTerms", I, nullptr}, {"CreditDepositType", I, nullptr},
               {"DefaultDunningTerm", T, nullptr}, {"DocConfirmation", I, nullptr},
               {"DisplayBookkeepingWindow", I, nullptr}, {"ExcelFolderPath", T, nullptr},
               {"CreditRestriction", I, nullptr}});
  // Document settings.
  AddSettings(r, "OADM", kTypeAdminInfo,
              {{"CalculateGrossProfitperTra", I, nullptr}, {"PriceListforCostPrice", I, nullptr},
               {"GrossProfitAfterSale", I, nullptr}, {"BaseField", I, nullptr},
               {"DisplayPriceforPriceOnly", I, nullptr}, {"AlertTypeforWHStock", I, nullptr},
               {"AlertbyWarehouse", I, nullptr}, {"RoundingMethod", I, nullptr}, {"RoundTaxAmounts", I, nullptr},
               {"DisplayRoundingRemark", I, nullptr}, {"AdressFromWH", I, nullptr}, {"OrderBlock", T, nullptr},
               {"AllowFuturePostingDate", I, nullptr}, {"CalculateTaxinSalesQuotati", I, nullptr},
               {"AllowClosedSalesQuotations", I, nullptr}, {"ChangedExistingOrders", I, nullptr},
               {"SplitPO", I, nullptr}, {"PurchaseOrderConfirmed", I, nullptr}, {"FCCheckAccount", I, nullptr},
               {"MultiCurrencyCheck", I, nullptr}, {"BlockSystemCurrencyEditing", I, nullptr},
               {"BlockPostingDateEditing", I, nullptr}, {"BlockTaxDate", I, nullptr},
               {"CreateAutoVATLineinJDT", I, nullptr}, {"CalculateRowDiscount", I, nullptr}});
  // Chart-of-accounts settings (the currencies are registered with OADM).
  AddSettings(r, "OADM", kTypeAdminInfo,
              {{"CreditBalancewithMinusSign", I, nullptr}, {"CalculateBudget", I, nullptr},
               {"BlockBudget", I, nullptr}, {"BudgetAlert", I, nullptr}, {"BlockPurchaseOrders", I, nullptr},
               {"BlockDelNotesforPurchase", I, nullptr}, {"BlockBookkeeping", I, nullptr},
               {"WholdingTaxDedHierarchy", I, nullptr}});
  AddSettings(r, "CINF", kTypeCompanyInfo,
              {{"BISRBankCountry", T, nullptr}, {"BISRBankNo", T, nullptr}, {"BISRBankAccount", T, nullptr},
               {"BISRBranch", T, nullptr}, {"BlockStockNegativeQuantity", I, nullptr},
               {"BaseDateForExchangeRate", I, nullptr}, {"EnableExpensesManagement", I, nullptr},
               {"DefaultDaysForOrdCanc", I, nullptr}, {"EnableCheckQuantityInRDR", I, nullptr},
               {"MaxNumberOfDocumentsInPmt", I, nullptr}, {"DisplayTransactionsByDflt", I, nullptr},
               {"DefaultStampTax", T, nullptr}});

  // Payment terms. The administration record's default payment terms must
  // name existing ones (-1 and 0 name none).
  r.addTable({"OCTG",
              {Col("GroupNum", db_Numeric, "Payment Terms Code"), Col("PymntGroup", db_Alpha, "Payment Terms", 100),
               Col("ExtraDays", db_Numeric, "Additional Days")},
              {"GroupNum"}});
  r.addDemoRows({"OCTG",
                 {"GroupNum", "PymntGroup", "ExtraDays"},
                 {{"1", "Immediate", "0"}, {"3", "Net 30", "30"}, {"4", "Base's 60 & <more>", "60"}},
                 {{"1", "Immediate", "0"}, {"7", "Net 30", "30"}}});
  r.extendReferences(kTypeAdminInfo, {{"DefaultCustomerPaymentTerms", "OCTG", "GroupNum", true},
                                       {"DefaultVendorPaymentTerms", "OCTG", "GroupNum", true}});

  // Print preferences: one row per company (made with the company), and one
  // row per document type.
  r.addTable({"OADP",
              {Col("WordPath", db_Alpha, "Word Folder", 254), Col("BitmapPath", db_Alpha, "Pictures Folder", 254),
               Col("AttachPath", db_Alpha, "Attachments Folder", 254), Col("ExtPath", db_Alpha, "Extensions Folder", 254),
               Col("MaxLineNum", db_Numeric, "Lines per Page"), Col("V_Compress", db_Numeric, "Vertical Compression"),
               Col("TopMrgn", db_Numeric, "Top Margin"), Col("BtmMrgn", db_Numeric, "Bottom Margin"),
               Col("MaxWordLin", db_Numeric, "Lines per Word Page"), Col("SNType", db_Numeric, "Serial Numbers"),
               Col("PrintMeta", db_Alpha, "Print Metafile", 1), Col("PrnCompany", db_Alpha, "Print Company", 1),
               Col("MnhlNote", db_Alpha, "Remarks Note", 1), Col("DraftNote", db_Alpha, "Draft Note", 1),
               Col("PrintRcpt", db_Alpha, "Print Receipt", 1), Col("ShortRcpt", db_Alpha, "Short Receipt", 1)},
              {}});
  DemoRows oadp{"OADP",
                {"WordPath", "BitmapPath", "AttachPath", "ExtPath", "MaxLineNum", "V_Compress", "TopMrgn", "BtmMrgn",
                 "MaxWordLin", "SNType", "PrintMeta", "PrnCompany", "MnhlNote", "DraftNote", "PrintRcpt", "ShortRcpt"},
                {{"C:\\Owner's & <Docs>", "C:\\Pictures", "C:\\Attachments", kNull, "60", "1", "5", "5", kNull, "2",
                  "Y", "Y", "N", "Y", "N", "Y"}},
                {{"D:\\Word", "D:\\Bitmaps", kNull, "D:\\Ext", "40", "0", "0", "0", "30", "0", "N", "N", "Y", "N", "Y",
                  "N"}}};
  oadp.singleRow = true;
  r.addDemoRows(std::move(oadp));
  r.addTable({"ADP1", {Col("ObjType", db_Alpha, "Document Type", 20), Col("PrintId", db_Alpha, "Print", 20)},
              {"ObjType"}});
  r.addDemoRows({"ADP1",
                 {"ObjType", "PrintId"},
                 {{"13", "Y"}, {"17", "N"}, {"22", "Y"}},
                 {{"13", "N"}, {"15", "Y"}}});

  // Holidays and their periods. A period is one row per holiday, start and
  // end date: a changed end date is a period of its own.
  r.addTable({"OHLD",
              {Col("HldCode", db_Alpha, "Holiday Code", 20), Col("WndFrm", db_Numeric, "Weekend From"),
               Col("WndTo", db_Numeric, "Weekend To")},
              {"HldCode"}});
  r.addDemoRows({"OHLD",
                 {"HldCode", "WndFrm", "WndTo"},
                 {{"2026", "7", "1"}, {"O'Brien & <Co>", "6", "7"}},
                 {{"2026", "6", "7"}, {"Target only", "7", "1"}}});
  r.addTable({"HLD1",
              {Col("HldCode", db_Alpha, "Holiday Code", 20), Col("StrDate", db_Date, "Start Date"),
               Col("EndDate", db_Date, "End Date"), Col("Rmrks", db_Alpha, "Remarks", 50)},
              {"HldCode", "StrDate", "EndDate"}});
  r.addDemoRows({"HLD1",
                 {"HldCode", "StrDate", "EndDate", "Rmrks"},
                 {{"2026", "20261224", "20261226", "Christmas"}, {"2026", "20260101", "20260101", "New Year"}},
                 {{"2026", "20261224", "20261225", "Christmas"}, {"2026", "20260101", "20260101", "New Year's Day"}}});
  r.addDemoRows({"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {{"186", "1", "0"}}, {{"186", "1", "0"}}});

  // The company's address lines, one set per period.
  r.addTable({"ADM1",
              {Col("Code", db_Numeric, "Code"), Col("CurrPeriod", db_Alpha, "Period", 10),
               Col("Street", db_Alpha, "Street", 100), Col("City", db_Alpha, "City", 100),
               Col("ZipCode", db_Alpha, "Zip Code", 20)},
              {"Code"}});
  r.addDemoRows({"ADM1",
                 {"Code", "CurrPeriod", "Street", "City", "ZipCode"},
                 {{"1", "2026", "1 O'Neil & <Main> Street", "Springfield", "12345"},
                  {"2", "2025", "Old Street", "Springfield", "12345"}},
                 {{"1", "2026", "Target Road", "Shelbyville", "54321"}, {"5", "2025", "Target Lane", "Shelbyville", "54321"}}});

  // Settings that differ between the demo companies.
  DemoRows oadm{"OADM",
                {"CompnyAddr", "CmpnyAddrF", "Phone1", "E_Mail", "PrintHeadr", "TaxIdNum", "ManagingDirector",
                 "UseTax", "MinimumAmountfor347Report", "DefaultCustomerPaymentTerms", "DefaultVendorPaymentTerms",
                 "ExcelFolderPath", "CommitmentRestriction", "PriceListforCostPrice", "OrderBlock",
                 "CalculateRowDiscount", "BlockBudget", "CreditBalancewithMinusSign", "CompanyColor", "DateTemplate",
                 "TimeTemplate", "DateSeparator", "PriceAccuracy"},
                {{"1 Main Street\r\nSpringfield", "1 Hauptstrasse\r\nSpringfeld", "555-0100", "office@base.example",
                  "Base & <Sons> Ltd.", "US-123", "Ann O'Neil", "1", "3005.5", "3", "-1", "C:\\Base's Excel", "1", "2",
                  "Y", "1", "2", "1", "3", "2", "1", "/", "3"}},
                {{"Target Road 7", kNull, "555-0999", "office@target.example", "Target", "GB-999", "Bob", "0", "0",
                  "7", "1", "D:\\Excel", "0", "1", "N", "0", "0", "0", "5", "4", "0", ".", "2"}}};
  oadm.singleRow = true;
  r.addDemoRows(std::move(oadm));
  DemoRows cinf{"CINF",
                {"BISRBankCountry", "BISRBankNo", "MinimumBaseAmountPerDoc", "BlockStockNegativeQuantity",
                 "DefaultDaysForOrdCanc", "DefaultStampTax", "EnableBillOfExchange"},
                {{"CH", "BISR-1", "100.25", "1", "30", "Stamp & <Co>", "1"}},
                {{"GB", kNull, "0", "0", "10", kNull, "0"}}};
  cinf.singleRow = true;
  r.addDemoRows(std::move(cinf));
}

}  // namespace dpx::host
