// The recordset: dialect translation, then the company database.
#include "platform/host/recordset.h"

#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"
#include "platform/host/sql_dialect.h"

namespace dpx::host {

Recordset::Recordset(std::shared_ptr<Company> company) : company_(std::move(company)) {}

int Recordset::DoQuery(const std::string& sql) { return run(sql, {}, false); }

int Recordset::DoQuery(const BoundSql& statement) { return run(statement.text, statement.values, true); }

int Recordset::run(const std::string& sql, const std::vector<Variant>& values, bool bound) {
  company_->RequireConnected("DoQuery");
  int code;
  std::string text;
  if (company_->TakeFault("DoQuery", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, "Recordset", text);
  }
  if (company_->TakeSqlFault(sql, values, text)) {
    company_->SetLastError(kErrGeneral, text);
    throw HostError(kHrSqlError, "Recordset", text);
  }
  const size_t verb = sql.find_first_not_of(" \t\r\n");
  const bool reads = verb != std::string::npos && EqualsIgnoreCase(std::string_view(sql).substr(verb, 6), "SELECT");
  if (!reads && company_->TakeTransactionFault(code, text))
    throw HostError(kHrInjected, "Recordset", text);
  std::string table;
  try {
    if (bound) {
      result_ = company_->store().query(company_->TranslatedSql(sql, table), values);
    } else {
      result_ = company_->store().query(SqlDialect::Translate(company_->DbServerType(), sql, &table));
    }
  } catch (const HostError& e) {
    result_ = QueryResult();
    pos_ = 0;
    company_->SetLastError(LastErrorCodeOf(e.code()), e.description());
    throw;
  }
  tableName_ = std::move(table);
  pos_ = 0;
  return 0;
}

void Recordset::SetResult(QueryResult result, std::string tableName) {
  result_ = std::move(result);
  tableName_ = std::move(tableName);
  pos_ = 0;
}

int Recordset::RecordCount() const { return static_cast<int>(result_.rows.size()); }
void Recordset::MoveFirst() { pos_ = 0; }
void Recordset::MoveNext() {
  if (pos_ < RecordCount()) ++pos_;
}
bool Recordset::EoF() const { return pos_ >= RecordCount(); }
bool Recordset::BoF() const { return RecordCount() == 0 || pos_ == 0; }
int Recordset::FieldCount() const { return static_cast<int>(result_.columns.size()); }

Variant Recordset::Field(int index) const {
  if (index < 0 || index >= FieldCount())
    throw HostError(E_INVALIDARG, "Recordset", "Field index " + std::to_string(index) + " out of range");
  if (EoF()) throw HostError(kHrNoCurrentRow, "Recordset", "No current row");
  return result_.rows[static_cast<size_t>(pos_)][static_cast<size_t>(index)];
}

std::string Recordset::FieldName(int index) const {
  if (index < 0 || index >= FieldCount())
    throw HostError(E_INVALIDARG, "Recordset", "Field index " + std::to_string(index) + " out of range");
  return result_.columns[static_cast<size_t>(index)];
}

int Recordset::FieldType(int index) const {
  if (index < 0 || index >= FieldCount()) return -1;
  return result_.types[static_cast<size_t>(index)];
}

namespace {
// An element name from a column or table name: letters, digits, "_", "-"
// and "." stay; anything else becomes "_" ("@" is dropped at the front).
std::string ElementName(const std::string& name) {
  std::string s = name;
  if (!s.empty() && s[0] == '@') s.erase(0, 1);
  for (char& c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' ||
          static_cast<unsigned char>(c) >= 0x80))
      c = '_';
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '-' || s[0] == '.') s = "_" + s;
  return s;
}
}  // namespace

std::string Recordset::GetAsXML() const {
  std::string table = ElementName(tableName_.empty() ? "Recordset" : tableName_);
  std::string xml = "<BOM><BO><AdmInfo><Object>oRecordset</Object></AdmInfo><" + table + ">";
  std::vector<std::string> names;
  for (const std::string& c : result_.columns) names.push_back(ElementName(c));
  for (const auto& row : result_.rows) {
    xml += "<row>";
    for (size_t i = 0; i < row.size(); ++i) {
      // NULL is no value, as in a business object's XML; an empty text is one.
      if (row[i].isEmpty()) {
        xml += "<" + names[i] + " nil=\"true\"/>";
        continue;
      }
      xml += "<" + names[i] + ">";
      xml += RecordXml::Escape(row[i].toText());
      xml += "</" + names[i] + ">";
    }
    xml += "</row>";
  }
  xml += "</" + table + "></BO></BOM>";
  return xml;
}

HRESULT Recordset::get(const std::string& name, Variant& out) {
  if (name == "RecordCount") out = Variant(RecordCount());
  else if (name == "EoF" || name == "EOF") out = Variant(EoF());
  else if (name == "BoF" || name == "BOF") out = Variant(BoF());
  else if (name == "FieldCount") out = Variant(FieldCount());
  else return HostObject::get(name, out);
  return S_OK;
}

HRESULT Recordset::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  try {
    if (name == "DoQuery") {
      if (args.size() != 1) return E_INVALIDARG;
      out = Variant(DoQuery(args[0].toText()));
    } else if (name == "MoveFirst") {
      MoveFirst();
    } else if (name == "MoveNext") {
      MoveNext();
    } else if (name == "Field" || name == "Fields") {
      if (args.size() != 1) return E_INVALIDARG;
      out = Field(args[0].toInt32());
    } else if (name == "FieldName") {
      if (args.size() != 1) return E_INVALIDARG;
      out = Variant(FieldName(args[0].toInt32()));
    } else if (name == "GetAsXML") {
      out = Variant(GetAsXML());
    } else {
      return get(name, out);
    }
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

bool Recordset::hasMember(const std::string& name) const {
  static const char* names[] = {"DoQuery", "MoveFirst", "MoveNext", "Field", "Fields", "FieldName", "GetAsXML",
                                "RecordCount", "EoF", "EOF", "BoF", "BOF", "FieldCount"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

}  // namespace dpx::host
