// The demo server: two companies whose rows show the cases a copy meets.
#include "platform/host/demo_server.h"

#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/object_registry.h"
#include "platform/host/server_catalogue.h"

namespace dpx::host {

namespace {

void WriteDemoRows(CompanyStore& store, bool base) {
  for (const DemoRows& d : ObjectRegistry::Instance().demoRows()) {
    std::string cols, marks;
    for (const std::string& c : d.columns) {
      cols += (cols.empty() ? "" : ", ") + CompanyStore::Quote(c);
      marks += marks.empty() ? "?" : ", ?";
    }
    std::string sql = "INSERT OR REPLACE INTO " + CompanyStore::Quote(d.table) + " (" + cols + ") VALUES (" + marks + ")";
    if (d.singleRow) {
      sql = "UPDATE " + CompanyStore::Quote(d.table) + " SET ";
      for (size_t i = 0; i < d.columns.size(); ++i) sql += (i ? ", " : "") + CompanyStore::Quote(d.columns[i]) + " = ?";
    }
    for (const auto& row : base ? d.base : d.target) {
      std::vector<Variant> params;
      for (const std::string& v : row) params.push_back(v == kNull ? Variant() : Variant(v));
      store.exec(sql, params);
      if (d.singleRow) break;
    }
  }
}

// A user table with fields, made the way the program makes them: through
// the user-table and user-field objects.
void AddUserTable(Company& c, const std::string& name, const std::string& description,
                  const std::vector<std::pair<std::string, int>>& fields, int tableType = 0) {
  auto table = c.NewBusinessObject(153);
  table->SetProperty("TableName", Variant(name));
  table->SetProperty("TableDescription", Variant(description));
  table->SetProperty("TableType", Variant(tableType));
  if (table->Add() != 0) throw HostError(E_FAIL, "DemoServer", c.GetLastErrorDescription());
  for (auto& [field, type] : fields) {
    auto f = c.NewBusinessObject(152);
    f->SetProperty("TableName", Variant("@" + name));
    f->SetProperty("Name", Variant(field));
    f->SetProperty("Description", Variant(field + " of " + description));
    f->SetProperty("Type", Variant(type));
    f->SetProperty("EditSize", Variant(type == db_Alpha ? 30 : 11));
    if (f->Add() != 0) throw HostError(E_FAIL, "DemoServer", c.GetLastErrorDescription());
  }
}

std::shared_ptr<Company> Open(const std::filesystem::path& dir, const std::string& db, int serverType) {
  auto c = CreateCompany();
  c->SetServer(dir.string());
  c->SetCompanyDB(db);
  c->SetDbServerType(serverType);
  c->SetUseTrusted(true);
  c->SetUserName(DemoServer::kSuperUser);
  c->SetPassword(DemoServer::kSuperPassword);
  if (c->Connect() != 0) throw HostError(E_FAIL, "DemoServer", c->GetLastErrorDescription());
  return c;
}

}  // namespace

void DemoServer::Create(const std::filesystem::path& dir, const DemoServerOptions& options, bool force) {
  std::error_code ec;
  if (ServerCatalogue::Exists(dir)) {
    if (!force) throw HostError(E_FAIL, "DemoServer", "A database server already exists in " + dir.string());
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      std::string ext = entry.path().extension().string();
      std::string name = entry.path().filename().string();
      if (ext == ".company" || name.rfind(ServerCatalogue::kCatalogueFile, 0) == 0 ||
          name.find(".company-") != std::string::npos)
        std::filesystem::remove(entry.path(), ec);
    }
  }
  ServerCatalogue::CreateServer(dir);
  ServerCatalogue catalogue(dir);
  struct Spec {
    std::string db, name, localization;
    bool base;
  };
  for (const Spec& s : {Spec{options.baseDb, "Demo Base Ltd.", "US", true},
                        Spec{options.targetDb, "Demo Target & Sons", "GB", false}}) {
    catalogue.createCompany({s.db, s.name, 930100, s.localization, options.serverType});
    catalogue.addUser(s.db, kSuperUser, "Manager", kSuperPassword, true);
    catalogue.addUser(s.db, kOrdinaryUser, "Clerk O'Hara", kOrdinaryPassword, false);
    if (!options.demoRows) continue;
    auto company = Open(dir, s.db, options.serverType);
    CompanyStore& store = company->store();
    store.begin();
    WriteDemoRows(store, s.base);
    store.exec("UPDATE OADM SET MainCurncy = 'USD', SysCurrncy = 'USD', CurrPeriod = '2026'");
    store.commit();
    // Users: one in both companies under different internal keys, one only
    // in each company.
    if (s.base) {
      catalogue.addUser(s.db, "auditor", "Auditor & <Reviews>", "auditor", false);
      catalogue.addUser(s.db, "oneil", "O'Neil (base only)", "oneil", false);
    } else {
      catalogue.addUser(s.db, "temp", "Temp & <Seasonal> (target only)", "temp", false);
      catalogue.addUser(s.db, "auditor", "Auditor & <Reviews>", "auditor", false);
    }
    if (s.base) {
      AddUserTable(*company, "CARS", "Company cars", {{"Color", db_Alpha}, {"Seats", db_Numeric}, {"Bought", db_Date}});
      AddUserTable(*company, "BASEONLY", "Base's only table", {{"Note", db_Memo}});
      store.exec("INSERT INTO \"@CARS\" (Code, Name, U_Color, U_Seats, U_Bought) VALUES "
                 "('C1', 'Van & <trailer>', 'White', 3, '20240131'), ('C2', 'Boss''s car', 'Black', 5, '20230615')");
      // A name that merely begins like the program's notes table, a table
      // with a host object, and a field the host marks as its own.
      AddUserTable(*company, "DPXNOTEX", "Notes & <extra>", {{"Text", db_Alpha}});
      store.exec("INSERT INTO \"@DPXNOTEX\" (Code, Name, U_Text) VALUES ('N1', 'O''Neil''s note', 'x')");
      AddUserTable(*company, "TRIPS", "Trips (document)", {{"Driver", db_Alpha}}, 3);
      AddUserTable(*company, "SYSFLD", "Has a system field", {{"Own", db_Alpha}});
      store.exec("UPDATE CUFD SET SYS = 'Y' WHERE TableID = '@SYSFLD'");
      // Users in departments and branches: one by a name the target has under another code.
      store.exec("UPDATE OUSR SET Department = 2, Branch = 3 WHERE USER_CODE = 'auditor'");
      store.exec("UPDATE OUSR SET Department = 3, Branch = 2 WHERE USER_CODE = 'oneil'");
      // Defaults groups: "SALES" is in both companies, the base's "BASEGRP" only in the base.
      store.exec("UPDATE OUSR SET DfltsGroup = 'SALES' WHERE USER_CODE IN ('clerk', 'auditor')");
      store.exec("UPDATE OUSR SET DfltsGroup = 'BASEGRP' WHERE USER_CODE = 'oneil'");
    } else {
      AddUserTable(*company, "CARS", "Company cars", {{"Seats", db_Numeric}, {"Color", db_Alpha}});
      AddUserTable(*company, "TGTONLY", "Target only table", {{"Flag", db_Alpha}});
      store.exec("INSERT INTO \"@CARS\" (Code, Name, U_Color, U_Seats) VALUES ('C9', 'Truck', 'Red', 2)");
      store.exec("INSERT INTO \"@TGTONLY\" (Code, Name, U_Flag) VALUES ('T1', 'Target row', 'Y')");
      store.exec("UPDATE OUSR SET Department = 4, Branch = 5 WHERE USER_CODE = 'auditor'");
      store.exec("UPDATE OUSR SET DfltsGroup = 'TGTGRP' WHERE USER_CODE = 'auditor'");
    }
    company->Disconnect();
  }
}

}  // namespace dpx::host
