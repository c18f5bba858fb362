// Every category, copied as a user copies it (duplora-client, whole category
// picked) by each method on both server types, keeps four promises:
//   1. the copy leaves no reference in the target naming no record that was
//      not dangling before it;
//   2. a second identical copy by methods 2, 3 and 4 adds no row and changes
//      no value;
//   3. every base record of the category has exactly one line in the log;
//   4. a "402" line whose record stands under its key in both companies
//      leaves the base's values in the target's row, apart from keys, the
//      references the registry declares and the fields the line names as
//      written without.
// A fault that is known and not mended yet stands in the table of open
// findings: it is printed, not failed; a row of that table whose fault no
// longer occurs fails the test, so the table only shrinks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "engine/connection_context.h"
#include "engine/di_interface.h"
#include "engine/table_info.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/object_registry.h"
#include "platform/host/reference_check.h"
#include "tests/support/demo_server.h"
#include "tests/support/generated_records.h"
#include "tests/support/test_dir.h"
#include "tools/duplora-client/client.h"

namespace {

using dpx::test::DemoServerFixture;

enum Promise { kNoDanglingReference = 1, kSecondCopyChangesNothing = 2, kOneLinePerRecord = 3, kWrittenAsBase = 4 };

struct OpenFinding {
  const char* key;
  bool generated;  // found on the companies with generated records, not the demo's
  int promise;
  const char* fault;
};

// Known faults of categories, each mended in its category's own work. Remove
// a row when its fault is mended: the test then fails until it is.
const std::vector<OpenFinding> kOpenFindings = {
    {"DPX_TRN_DEFAULTS_100", false, kOneLinePerRecord, "a base user the target has no user for gets no line"},
    {"DPX_TRN_USRDSPSETTINGS_100", false, kOneLinePerRecord, "a base user the target has no user for gets no line"},
    {"DPX_TRN_USRMENUS_100", false, kOneLinePerRecord, "a base user the target has no user for gets no line"},
    {"DPX_TRN_DOCREP_100", false, kSecondCopyChangesNothing, "an update re-creates the layout under a new code"},
    {"DPX_TRN_QUERYLAYOUTS_100", false, kSecondCopyChangesNothing, "an update re-creates the layout under a new code"},
    {"DPX_TRN_DEFAULTLAYOUTS_100", false, kOneLinePerRecord, "records of the list get no line"},
    {"DPX_TRN_DEFAULTSERIES_100", false, kOneLinePerRecord, "records of the list get no line"},
    {"DPX_TRN_UDTCONT_100", false, kOneLinePerRecord, "a record gets two lines, or a line stands for no record"},
    {"DPX_TRN_POSTPER_100", false, kOneLinePerRecord, "a line per period, not per listed period category"},
    {"DPX_TRN_DEFAULTS_100", true, kOneLinePerRecord, "a base user the target has no user for gets no line"},
    {"DPX_TRN_DOCREP_100", true, kOneLinePerRecord,
     "a layout text with & makes a configuration file that cannot be read back: no copy runs"},
    {"DPX_TRN_ACCOUNTS_100", false, kOneLinePerRecord, "lines for accounts the record list does not show"},
    {"DPX_TRN_TAXDEFINITION_100", false, kSecondCopyChangesNothing,
     "the second copy empties a withholding tax's account"},
    {"DPX_TRN_BPGENERALINFO_100", false, kWrittenAsBase, "a partner's project is not the base's after a \"402\""},
    {"DPX_TRN_GLACCTDETERMINATION_100", false, kWrittenAsBase,
     "a period category keeps the target's name under a \"402\""},
    {"DPX_TRN_UDO_100", false, kWrittenAsBase, "an object's type is not the base's under a \"402\""},
    {"DPX_TRN_UDO_100", true, kWrittenAsBase, "an object's type is not the base's under a \"402\""},
    {"DPX_TRN_DOCNUMBERING_100", false, kWrittenAsBase,
     "the series under a \"402\" line's key holds another series' values"},
    {"DPX_TRN_DOCNUMBERING_100", true, kWrittenAsBase,
     "the series under a \"402\" line's key holds another series' values"},
    {"DPX_TRN_USRMENUS_100", false, kWrittenAsBase, "a line's user key names another user in the target"},
};

struct LogLine {
  std::string action, result, baseCode, baseDescription, targetCode, error;
};

std::vector<LogLine> ReadLog(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text = dpx::Utf16LEBytesToUtf8(std::string{std::istreambuf_iterator<char>(in), {}});
  std::vector<LogLine> lines;
  size_t pos = text.find("\r\n");
  if (pos == std::string::npos) return lines;
  for (pos += 2; pos < text.size();) {
    const size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) break;
    std::vector<std::string> cells;
    for (size_t from = pos;;) {
      const size_t bar = text.find('|', from);
      if (bar == std::string::npos || bar > end) {
        cells.push_back(text.substr(from, end - from));
        break;
      }
      cells.push_back(text.substr(from, bar - from));
      from = bar + 1;
    }
    cells.resize(9);
    lines.push_back({cells[1], cells[2], cells[3], cells[4], cells[5], cells[8]});
    pos = end + 2;
  }
  return lines;
}

struct ClientRun {
  int code = -1;
  std::string out;
  std::string logPath;
};

// The copy as duplora-client runs it, in this process.
ClientRun Copy(const std::filesystem::path& server, const std::string& key, int method) {
  dpx::client::Options options;
  options.command = "copy";
  options.server = server.string();
  options.user = options.password = "manager";
  options.base = "DEMO_BASE";
  options.target = "DEMO_TARGET";
  options.method = method;
  options.categories = {key};
  std::ostringstream out, err;
  ClientRun run;
  run.code = dpx::client::Run(options, out, err);
  run.out = out.str() + err.str();
  const std::string marker = "Copy log: ";
  const size_t at = run.out.find(marker);
  if (at != std::string::npos) run.logPath = run.out.substr(at + marker.size(), run.out.find('\n', at) - at - marker.size());
  return run;
}

std::shared_ptr<dpx::host::Company> Connect(const std::filesystem::path& server, int type, const std::string& db) {
  auto company = dpx::host::CreateCompany();
  company->SetServer(server.string());
  company->SetCompanyDB(db);
  company->SetDbServerType(type);
  company->SetUseTrusted(true);
  company->SetUserName("manager");
  company->SetPassword("manager");
  if (company->Connect() != 0) throw std::runtime_error("cannot connect to " + db);
  return company;
}

std::set<std::string> Dangling(const std::filesystem::path& server, int type) {
  std::set<std::string> out;
  auto target = Connect(server, type, "DEMO_TARGET");
  for (const auto& d : dpx::host::ReferenceCheck::Run(target->store())) out.insert(d.text());
  return out;
}

// Every row of every table of the target but the program's own and the
// host's bookkeeping, as "table: cell|cell|...".
std::multiset<std::string> Snapshot(const std::filesystem::path& server, int type) {
  auto target = Connect(server, type, "DEMO_TARGET");
  auto& store = target->store();
  std::multiset<std::string> rows;
  for (const auto& t : store.query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name").rows) {
    const std::string table = t[0].toText();
    if (table.rfind("@DPX", 0) == 0) continue;
    for (const auto& row : store.query("SELECT * FROM " + dpx::host::CompanyStore::Quote(table)).rows) {
      std::string line = table + ":";
      for (const auto& cell : row) line += "|" + cell.toText();
      rows.insert(line);
    }
  }
  return rows;
}

struct BaseList {
  size_t records = 0;
  std::string table;  // the table the category lists its records from
};

BaseList BaseRecords(const std::filesystem::path& server, int type, const std::string& key) {
  RegisterCategoryClasses();
  DPX_ConnectionContext context;
  auto base = Connect(server, type, "DEMO_BASE");
  context.setCompany(base);
  context.setBaseCompany(base);
  DPX_CategoryFactory factory(&context);
  auto manager = factory.createManager(key);
  if (!manager) return {};
  manager->initialize();
  DPX_TableInfo* details = manager->collectDetails();
  if (!details) return {};
  return {details->getListRows().size(), details->getTableName()};
}

// The columns of a table whose target value may differ from the base's
// without a fault: its keys, the references the registry declares (the copy
// translates them to the target's keys), and what the host keeps itself.
std::set<std::string> TranslatedColumns(const dpx::host::TableDef& table) {
  const auto& registry = dpx::host::ObjectRegistry::Instance();
  std::set<std::string> out(table.primaryKey.begin(), table.primaryKey.end());
  for (const auto& type : registry.types()) {
    if (type.mainTable != table.name) continue;
    for (const auto& ref : type.references)
      if (const auto* property = type.findProperty(ref.property)) out.insert(property->column);
    for (const auto& property : type.properties)
      if (property.readOnly) out.insert(property.column);
    for (size_t i = 0; i < type.keyProperties.size(); ++i) out.insert(type.keyColumn(i));
    if (!type.numberedProperty.empty())
      if (const auto* property = type.findProperty(type.numberedProperty)) out.insert(property->column);
  }
  return out;
}

// The columns a line names as written without ("Written without F 'V'"),
// F being the property of the table's type or its column.
std::set<std::string> LeftOutColumns(const std::string& table, const std::string& error) {
  std::set<std::string> out;
  const auto* type = dpx::host::ObjectRegistry::Instance().findTypeByTable(table);
  const std::string marker = "Written without ";
  for (size_t at = error.find(marker); at != std::string::npos; at = error.find(marker, at + 1)) {
    const size_t from = at + marker.size();
    const size_t quote = error.find(" '", from);
    if (quote == std::string::npos) break;
    const std::string field = error.substr(from, quote - from);
    out.insert(field);
    if (type)
      if (const auto* property = type->findProperty(field)) out.insert(property->column);
  }
  return out;
}

using Row = std::map<std::string, std::string>;

// The row of `table` whose one key column holds `code`; false when none does.
bool RowByKey(dpx::host::CompanyStore& store, const dpx::host::TableDef& table, const std::string& code, Row& row) {
  using Q = dpx::host::CompanyStore;
  if (code.empty() || table.primaryKey.size() != 1 || !store.tableExists(table.name)) return false;
  const auto result = store.query("SELECT * FROM " + Q::Quote(table.name) + " WHERE CAST(" +
                                      Q::Quote(table.primaryKey[0]) + " AS TEXT) = ?",
                                  {dpx::Variant(code)});
  if (result.rows.size() != 1) return false;
  for (size_t i = 0; i < result.columns.size(); ++i) row[result.columns[i]] = result.rows[0][i].toText();
  return true;
}


struct Reporter {
  std::string key;
  bool generated = false;
  std::set<int> seen;
  void fault(int promise, const std::string& where, const std::string& what) {
    for (const OpenFinding& f : kOpenFindings)
      if (key == f.key && generated == f.generated && f.promise == promise) {
        seen.insert(promise);
        std::printf("open finding: %s promise %d (%s): %s [%s]\n", key.c_str(), promise, f.fault, what.c_str(),
                    where.c_str());
        return;
      }
    ADD_FAILURE() << key << " promise " << promise << " " << where << ": " << what;
  }
  ~Reporter() {
    for (const OpenFinding& f : kOpenFindings)
      if (key == f.key && generated == f.generated && !seen.count(f.promise))
        ADD_FAILURE() << "open finding no longer occurs, remove its row: " << f.key << " promise " << f.promise
                      << " (" << f.fault << ")";
  }
};

// Promise 4 for one copy: every "402" line whose record stands under its key
// in both companies has the base's values in the target's row, apart from
// the translated columns and the fields the line names as left out.
void CheckWrittenAsBase(Reporter& report, const std::filesystem::path& server, int type, const std::string& table,
                        const std::vector<LogLine>& lines, const std::string& where) {
  const auto* def = dpx::host::ObjectRegistry::Instance().findTable(table);
  if (!def) return;
  auto base = Connect(server, type, "DEMO_BASE");
  auto target = Connect(server, type, "DEMO_TARGET");
  const auto translated = TranslatedColumns(*def);
  bool numbered = false;
  for (const auto& column : def->columns)
    if (def->primaryKey.size() == 1 && column.name == def->primaryKey[0]) numbered = column.type == dpx::host::db_Numeric;
  const auto* objectType = dpx::host::ObjectRegistry::Instance().findTypeByTable(table);
  for (const LogLine& line : lines) {
    if (line.result != "402" || line.action == "404") continue;
    Row from, to;
    if (!RowByKey(base->store(), *def, line.baseCode, from)) continue;
    // A numbered key names another record in the target unless the line
    // gives the target's own.
    if (line.targetCode.empty() && numbered) continue;
    if (!RowByKey(target->store(), *def, line.targetCode.empty() ? line.baseCode : line.targetCode, to)) continue;
    const auto leftOut = LeftOutColumns(table, line.error);
    for (const auto& [column, value] : from) {
      if (translated.count(column) || leftOut.count(column)) continue;
      auto it = to.find(column);
      if (it == to.end() || it->second == value) continue;
      // An empty value takes the host's default on Add.
      if (const auto* property = objectType ? objectType->findByColumn(column) : nullptr;
          value.empty() && property && property->defaultValue == it->second)
        continue;
      report.fault(kWrittenAsBase, where,
                   table + " '" + line.baseCode + "' " + column + ": base '" + value + "', target '" + it->second + "'");
    }
  }
}

// One category on one pair of companies: the demo's, or the demo's with
// generated records.
class CopyIntegrityTest : public ::testing::TestWithParam<std::tuple<std::string, bool>> {};

void CheckCopies(Reporter& report, const std::filesystem::path& prepared, int type, const char* companies) {
  dpx::test::TestDir scratch;
  std::array<size_t, 5> written{};
  const auto before = Dangling(prepared, type);
  const BaseList list = BaseRecords(prepared, type, report.key);
  const size_t records = list.records;
  for (int method = 1; method <= 4; ++method) {
    const std::filesystem::path server = scratch.path() / ("m" + std::to_string(method));
    std::filesystem::copy(prepared, server, std::filesystem::copy_options::recursive);
    const std::string where = std::string(companies) + ", server type " + std::to_string(type) + ", method " +
                              std::to_string(method);
    ClientRun first = Copy(server, report.key, method);
    if (first.code != 0 && first.code != 3) {
      report.fault(kOneLinePerRecord, where, "the copy could not run: " + first.out);
      continue;
    }
    for (const std::string& d : Dangling(server, type))
      if (!before.count(d)) report.fault(kNoDanglingReference, where, d);

    // Methods 2 and 3 leave the records of the other kind without a line, so
    // between them they give each record its one line.
    std::string shown;
    const std::vector<LogLine> lines = ReadLog(first.logPath);
    CheckWrittenAsBase(report, server, type, list.table, lines, where);
    for (const LogLine& line : lines) {
      if (line.action == "404") continue;  // the removal pass of Replace All
      ++written[method];
      shown += " [" + line.action + " " + line.result + " '" + line.baseCode + "' " + line.error + "]";
    }
    // A settings category lists no records; it is copied whole.
    if (records > 0 && (method == 1 || method == 4) && written[method] != records)
      report.fault(kOneLinePerRecord, where,
                   std::to_string(records) + " base records, " + std::to_string(written[method]) + " lines:" + shown);
    if (records > 0 && method == 3 && written[2] + written[3] != records)
      report.fault(kOneLinePerRecord, where,
                   std::to_string(records) + " base records, " + std::to_string(written[2]) + " lines by method 2 and " +
                       std::to_string(written[3]) + " by method 3");

    if (method == 1) continue;
    const auto once = Snapshot(server, type);
    ClientRun second = Copy(server, report.key, method);
    const auto twice = Snapshot(server, type);
    std::vector<std::string> gone, added;
    std::set_difference(once.begin(), once.end(), twice.begin(), twice.end(), std::back_inserter(gone));
    std::set_difference(twice.begin(), twice.end(), once.begin(), once.end(), std::back_inserter(added));
    for (const std::string& row : gone) report.fault(kSecondCopyChangesNothing, where, "second copy changed or removed " + row);
    for (const std::string& row : added) report.fault(kSecondCopyChangesNothing, where, "second copy wrote " + row);
  }
}

TEST_P(CopyIntegrityTest, CopiesKeepTheirPromises) {
  const auto& [key, generated] = GetParam();
  Reporter report{key, generated, {}};
  for (int type : {5, 6}) {
    DemoServerFixture demo(type);
    if (generated) dpx::test::GeneratedRecords::Add(*demo.base(), *demo.target());
    CheckCopies(report, demo.serverDir(), type, generated ? "generated records" : "demo companies");
  }
}

std::vector<std::string> CopyableKeys() {
  RegisterCategoryClasses();
  std::vector<std::string> keys;
  for (const auto& row : DPX_CategoryFactory::categories())
    if (DPX_CategoryFactory::isRegistered(row.className)) keys.push_back(row.key);
  return keys;
}

std::string TestName(const ::testing::TestParamInfo<std::tuple<std::string, bool>>& info) {
  std::string name;
  for (char c : std::get<0>(info.param)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name + (std::get<1>(info.param) ? "_generated" : "_demo");
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, CopyIntegrityTest,
                         ::testing::Combine(::testing::ValuesIn(CopyableKeys()), ::testing::Values(false)), TestName);

// The categories whose copies of generated records have been run through
// and their faults entered above; every category joins as it is.
const std::vector<std::string> kGeneratedKeys = {
    "DPX_TRN_QUERIES_100",        "DPX_TRN_UDT_100",            "DPX_TRN_CREDITCARDS_100",
    "DPX_TRN_INDEXES_100",        "DPX_TRN_DEFAULTS_100",       "DPX_TRN_DOCREP_100",
    "DPX_TRN_UOMLENGTHWIDTH_100", "DPX_TRN_COATITLES_100",      "DPX_TRN_DOCNUMBERING_100",
    "DPX_TRN_COMPETITORS_100",    "DPX_TRN_CURRENCYSETTINGS_100", "DPX_TRN_SALESEMPLOYEES_100",
    "DPX_TRN_PARTNERS_100",       "DPX_TRN_UDO_100",            "DPX_TRN_SEGMENTCODES_100",
    "DPX_TRN_LOCATIONS_100",      "DPX_TRN_ACCTSEGMENTATION_100", "DPX_TRN_DUNNINGLEVELS_100",
    "DPX_TRN_BPCATALOGNUMBERS_100", "DPX_TRN_CCPAYMNTMETHODS_100", "DPX_TRN_PRICEHIERARCHIES_100",
    "DPX_TRN_UDF_100",            "DPX_TRN_PRICELISTDEFS_100",  "DPX_TRN_BILLOFMATERIALS_100",
    "DPX_TRN_FSSTDF_100",         "DPX_TRN_PAYMENTTERMS_100",   "DPX_TRN_COMMISIONGROUPS_100",
    "DPX_TRN_LANDEDCOSTS_100",    "DPX_TRN_CMPDETAILS_100",     "DPX_TRN_UOMWEIGHT_100",
    "DPX_TRN_ITEMPROPERTIES_100", "DPX_TRN_FORECASTS_100",
};

INSTANTIATE_TEST_SUITE_P(GeneratedRecords, CopyIntegrityTest,
                         ::testing::Combine(::testing::ValuesIn(kGeneratedKeys), ::testing::Values(true)), TestName);

}  // namespace
