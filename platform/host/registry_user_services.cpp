// Registry: what the per-user and service categories copy. Report layouts
// (RDOC, service 232), the users' column preferences (CPRF, service 41) and
// user menus (CUMI, service 2002); alerts (OALT, object code 80) with their
// recipients (ALT1); countries (OCRY) with their states (OCST).
//
// Demo users: in the base manager 1 (superuser), clerk 2, auditor 3 and
// oneil 4; in the target manager 1, clerk 2, temp 3 and auditor 4.
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

ColumnDef Key(ColumnDef column) {
  column.notNull = true;
  return column;
}

void RegisterLayouts(ObjectRegistry& r) {
  r.addTable({"RDOC",
              {Key(Col("DocCode", db_Alpha, "Document Code", 20)), Col("DocName", db_Alpha, "Name", 100),
               Col("Author", db_Alpha, "Author", 50), Col("Notes", db_Alpha, "Remarks", 254),
               Col("TypeCode", db_Alpha, "Type Code", 20), Col("Body", db_Memo, "Layout")},
              {"DocCode"}});
  // "Invoice & <Co>" is in both under other codes; "System" layouts of
  // both kinds, one of them a query layout the query kind lists.
  r.addDemoRows({"RDOC",
                 {"DocCode", "DocName", "Author", "Notes", "TypeCode", "Body"},
                 {{"INV11", "Invoice & <Co>", "clerk", "Our invoice", "INV1", "<Page><Field>DocTotal</Field></Page>"},
                  {"DLN12", "O'Brien's delivery", "auditor", "", "DLN2", "<Page/>"},
                  {"INV13", "System invoice", "System", "", "INV1", ""},
                  {"USRP4", "System query print", "System", "Query print", "USRP", ""},
                  {"USRT5", "Sales query layout", "clerk", "Sales", "USRT1", "<Page><Query>Sales</Query></Page>"}},
                 {{"INV17", "Invoice & <Co>", "manager", "Old invoice", "INV1", "<Page/>"},
                  {"RCT12", "Target only layout", "manager", "", "RCT1", ""},
                  {"INV13", "System invoice", "System", "", "INV1", ""},
                  {"USRT9", "Target query layout", "manager", "", "USRT1", ""}}});
}

void RegisterPreferencesAndMenus(ObjectRegistry& r) {
  r.addTable({"CPRF",
              {Key(Col("FormID", db_Alpha, "Form", 20)), Key(Col("UserSign", db_Numeric, "User")),
               Key(Col("ItemID", db_Alpha, "Item", 50)), Key(Col("ColID", db_Alpha, "Column", 50)),
               Col("Width", db_Numeric, "Width")},
              {"FormID", "UserSign", "ItemID", "ColID"}});
  r.addDemoRows({"CPRF",
                 {"FormID", "UserSign", "ItemID", "ColID", "Width"},
                 {{"139", "2", "38", "1", "120"}, {"139", "2", "38", "3", "80"}, {"134", "2", "5", "-1", "60"},
                  {"139", "3", "38", "1", "90"}, {"150", "4", "5", "-1", "70"}, {"139", "1", "38", "1", "100"}},
                 {{"139", "4", "38", "1", "40"}, {"150", "4", "5", "-1", "55"}, {"139", "2", "38", "2", "33"}}});
  r.addTable({"CUMI",
              {Key(Col("UserSign", db_Numeric, "User")), Key(Col("Position", db_Numeric, "Position")),
               Col("Entry", db_Memo, "Menu Entry")},
              {"UserSign", "Position"}});
  r.addDemoRows({"CUMI",
                 {"UserSign", "Position", "Entry"},
                 {{"2", "0", "<MenuItem><Name>Orders &amp; &lt;quotes&gt;</Name><Link>2050</Link></MenuItem>"},
                  {"2", "1", "<MenuItem><Name>Clerk's report</Name><Link>3010</Link></MenuItem>"},
                  {"3", "0", "<MenuItem><Name>Audit</Name><Link>4000</Link></MenuItem>"},
                  {"4", "0", "<MenuItem><Name>O'Neil</Name><Link>4100</Link></MenuItem>"},
                  {"1", "0", "<MenuItem><Name>Administration</Name><Link>1000</Link></MenuItem>"}},
                 {{"4", "0", "<MenuItem><Name>Old audit</Name><Link>1</Link></MenuItem>"},
                  {"4", "1", "<MenuItem><Name>Older audit</Name><Link>2</Link></MenuItem>"}}});
  // Permissions that differ between the companies.
  r.addDemoRows({"HOST_USERPERM",
                 {"UserCode", "PermId", "Value"},
                 {{"auditor", "142", "1"}, {"auditor", "203", "2"}},
                 {{"auditor", "142", "2"}}});
}

void RegisterAlerts(ObjectRegistry& r) {
  r.addTable({"OALT",
              {Key(Col("Code", db_Numeric, "Code")), Col("Name", db_Alpha, "Name", 100),
               Col("Type", db_Alpha, "Type", 1), Col("Priority", db_Numeric, "Priority"),
               Col("QueryId", db_Numeric, "Query")},
              {"Code"}});
  r.addTable({"ALT1",
              {Key(Col("Code", db_Numeric, "Alert")), Key(Col("UserSign", db_Numeric, "Recipient"))},
              {"Code", "UserSign"}});
  // A system alert (Type 'S') with recipients in both; "Open orders &
  // <late>" in both under other codes; "O'Neil's alert" names "Sales by
  // month" (query 6 in the base, 4 in the target) and a recipient the
  // target lacks.
  r.addDemoRows({"OALT",
                 {"Code", "Name", "Type", "Priority", "QueryId"},
                 {{"1", "Stock low", "S", "2", kNull},
                  {"2", "Open orders & <late>", "U", "1", "1"},
                  {"3", "O'Neil's alert", "U", "0", "6"},
                  {"4", "Base only alert", "U", "1", kNull}},
                 {{"1", "Stock low", "S", "2", kNull},
                  {"5", "Open orders & <late>", "U", "0", "1"},
                  {"6", "Target only alert", "U", "1", "2"}}});
  r.addDemoRows({"ALT1",
                 {"Code", "UserSign"},
                 {{"1", "1"}, {"2", "2"}, {"2", "3"}, {"3", "4"}, {"3", "3"}, {"4", "2"}},
                 {{"1", "1"}, {"1", "2"}, {"5", "2"}, {"6", "4"}}});
  r.addDemoRows({"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {{"80", "5", "0"}}, {{"80", "7", "0"}}});
}

void RegisterCountries(ObjectRegistry& r) {
  r.addTable({"OCRY",
              {Key(Col("Code", db_Alpha, "Code", 3)), Col("Name", db_Alpha, "Name", 100),
               Col("ReportCode", db_Alpha, "Report Code", 3), Col("IsEC", db_Alpha, "EU Member", 1),
               Col("TaxIdDigts", db_Numeric, "Tax ID Digits")},
              {"Code"}});
  r.addTable({"OCST",
              {Key(Col("Code", db_Alpha, "Code", 3)), Key(Col("Country", db_Alpha, "Country", 3)),
               Col("Name", db_Alpha, "Name", 100)},
              {"Code", "Country"}});
  // The United Kingdom is "UK" in the base and "GB" in the target.
  r.addDemoRows({"OCRY",
                 {"Code", "Name", "ReportCode", "IsEC", "TaxIdDigts"},
                 {{"US", "United States", "US", "N", "9"},
                  {"UK", "United Kingdom", "GB", "N", "9"},
                  {"DE", "Germany", "DE", "Y", "11"},
                  {"IE", "Ireland & <O'Neills>", "IE", "Y", "8"}},
                 {{"US", "USA (old)", "US", "N", "9"},
                  {"GB", "United Kingdom", "GB", "N", "9"},
                  {"FR", "France", "FR", "Y", "11"}}});
  r.addDemoRows({"OCST",
                 {"Code", "Country", "Name"},
                 {{"NY", "US", "New York"},
                  {"CA", "US", "California"},
                  {"ENG", "UK", "England"},
                  {"BY", "DE", "Bavaria"}},
                 {{"NY", "US", "N.Y. (old)"}, {"TX", "US", "Texas"}, {"SCT", "GB", "Scotland"}, {"IDF", "FR", "Ile"}}});
}

}  // namespace

void RegisterUserServices(ObjectRegistry& r) {
  RegisterLayouts(r);
  RegisterPreferencesAndMenus(r);
  RegisterAlerts(r);
  RegisterCountries(r);
}

}  // namespace dpx::host
