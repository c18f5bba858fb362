#include "engine/db_def.h"

#include "engine/sql_statement.h"

#include <cstdio>
#include <exception>

#include <fmt/format.h>
#include <fmt/printf.h>
#include <xercesc/dom/DOM.hpp>

#include "engine/dom_parser.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/bridge.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"
#include "platform/host/sql_dialect.h"

namespace dpx {

namespace {

constexpr int kObjectUserTable = 153;
constexpr int kObjectUserField = 152;
constexpr int kObjectUserKey = 10151;  // the host's user-keys object (151 is the dunning levels')

std::string Attribute(const xercesc::DOMElement* element, const char16_t* name) {
  const XMLCh* value = element->getAttribute(reinterpret_cast<const XMLCh*>(name));
  return value ? Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(value))) : std::string();
}

std::vector<const xercesc::DOMElement*> Children(const xercesc::DOMNode* parent, const char* name) {
  std::vector<const xercesc::DOMElement*> out;
  if (!parent) return out;
  for (auto* node = parent->getFirstChild(); node; node = node->getNextSibling()) {
    if (node->getNodeType() != xercesc::DOMNode::ELEMENT_NODE) continue;
    const auto* tag = reinterpret_cast<const char16_t*>(node->getNodeName());
    if (Utf16ToUtf8(tag) == name) out.push_back(static_cast<const xercesc::DOMElement*>(node));
  }
  return out;
}

const xercesc::DOMElement* Child(const xercesc::DOMNode* parent, const char* name) {
  auto list = Children(parent, name);
  return list.empty() ? nullptr : list.front();
}

// The host field type of a definition type, and the size of its column.
int HostFieldType(const std::string& type) {
  if (type == "ID" || type == "INT" || type == "LONG" || type == "SHORT") return fieldtype::kNumeric;
  if (type == "FLOAT" || type == "PRICE" || type == "AMOUNT" || type == "QUANTITY") return fieldtype::kFloat;
  if (type == "DATE") return fieldtype::kDate;
  if (type == "MEMO" || type == "TEXT") return fieldtype::kMemo;
  return fieldtype::kAlpha;  // CHAR, FLAG
}

int FieldSize(const UserFieldDef& field) {
  if (field.type == "FLAG") return 1;
  return field.size;
}

// Whether a table's field list (column 0 the field name) has the user field.
bool HasUserField(host::Recordset& fields, const UserFieldDef& field) {
  const std::string name = "U_" + field.name;
  for (fields.MoveFirst(); !fields.EoF(); fields.MoveNext())
    if (fields.Field(0).toText() == name) return true;
  return false;
}

std::string LastErrorText(const std::shared_ptr<host::Company>& company) {
  int code = 0;
  std::string text;
  company->GetLastError(code, text);
  return fmt::sprintf("%d: %s", code, text);
}

}  // namespace

// --- DbVersion ---------------------------------------------------------------

DbVersion::DbVersion(const std::string& text) {
  size_t pos = 0;
  for (int& part : parts_) {
    if (pos > text.size()) break;
    const size_t dot = text.find('.', pos);
    part = static_cast<int>(LeadingInt(text.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos)));
    if (dot == std::string::npos) break;
    pos = dot + 1;
  }
}

std::string DbVersion::GetVersionAsText() const {
  return fmt::format("{}.{:02d}.{:02d}.{:02d}.{:02d}", parts_[0], parts_[1], parts_[2], parts_[3], parts_[4]);
}

bool DbVersion::isZero() const { return *this == DbVersion(); }

// --- Dialect pieces ------------------------------------------------------------

std::string UserTableName(int serverType, const std::string& table) {
  return DPX_SqlStatement::TableName(serverType, table);
}

std::string UserColumn(int serverType, const std::string& column) {
  return DPX_SqlStatement::ColumnName(serverType, column);
}

std::string UserText(int serverType, const std::string& value) {
  return (host::SqlDialect::Family(serverType) == 5 ? "'" : "N'") + DPX_Util::EscapeSqlText(value) + "'";
}

std::string GetNextCodeValue(int32_t /*logValue*/, const std::shared_ptr<host::Company>& company,
                             const std::string& table) {
  DPX_LogScope log("DbDef::GetNextCodeValue");
  if (!company) return "";
  try {
    const int type = company->DbServerType();
    const std::string sql = "SELECT " + UserColumn(type, "Code") + " FROM " + UserTableName(type, table);
    log.LogDbg0("SQL: \"%s\"\n", sql);
    auto rs = company->NewRecordset();
    if (rs->DoQuery(sql) != 0) return "";
    int64_t highest = 0;
    for (rs->MoveFirst(); !rs->EoF(); rs->MoveNext()) {
      int64_t code = 0;
      if (ParseInt64(rs->Field(0).toText(), code) && code > highest) highest = code;
    }
    return fmt::format("{:08d}", highest + 1);
  } catch (const std::exception& e) {
    log.LogError("Failed to read the codes of %s: %s", table, e.what());
    return "";
  }
}

// --- DbDef -----------------------------------------------------------------------

DbDef::DbDef(std::shared_ptr<HostApplication> application, std::shared_ptr<host::Company> company,
             std::string addOnId, int language)
    : application_(std::move(application)),
      company_(std::move(company)),
      addOnId_(std::move(addOnId)),
      language_(language) {}

bool DbDef::LoadDefinition(int resourceId, std::vector<UserTableDef>& tables, DbVersion& version,
                           std::string& error) {
  tables.clear();
  const auto path = ProgramFolder() / "udt" / (std::to_string(resourceId) + ".xml");
  DPX_DOMParser parser;
  if (!parser.parseFile(path.string())) {
    error = fmt::format("cannot read the table definition {}: {}", path.string(), parser.getErrors());
    return false;
  }
  const xercesc::DOMElement* root = parser.getDocument() ? parser.getDocument()->getDocumentElement() : nullptr;
  if (!root || Utf16ToUtf8(reinterpret_cast<const char16_t*>(root->getNodeName())) != "database") {
    error = fmt::format("{} is not a table definition", path.string());
    return false;
  }
  version = DbVersion(Attribute(root, u"Version"));
  for (const auto* table : Children(Child(root, "usertables"), "usertable")) {
    UserTableDef def;
    def.name = Attribute(table, u"TableName");
    def.description = Attribute(table, u"TableDescription");
    for (const auto* field : Children(Child(table, "userfields"), "userfield")) {
      UserFieldDef f;
      f.name = Attribute(field, u"Name");
      f.description = Attribute(field, u"Description");
      f.type = Attribute(field, u"Type");
      f.size = static_cast<int>(LeadingInt(Attribute(field, u"Size")));
      def.fields.push_back(f);
    }
    for (const auto* key : Children(Child(table, "userkeys"), "userkey")) {
      UserKeyDef k;
      k.name = Attribute(key, u"Name");
      k.unique = Attribute(key, u"Unique") == "1";
      for (const auto* element : Children(key, "element")) k.elements.push_back(Attribute(element, u"Name"));
      def.keys.push_back(std::move(k));
    }
    if (def.name.empty()) {
      error = fmt::format("{}: a user table without a name", path.string());
      return false;
    }
    tables.push_back(std::move(def));
  }
  return true;
}

std::string DbDef::versionTable() const { return "@" + addOnId_ + "UDTV"; }

bool DbDef::readVersionRow(DbVersion& version, std::string& state) {
  const int type = company_->DbServerType();
  try {
    company_->NewBridge()->GetTableFieldList(versionTable());
  } catch (const HostError&) {
    return false;  // no version table: nothing was ever created
  }
  const std::string sql = "SELECT " + UserColumn(type, "U_Version") + ", " + UserColumn(type, "U_State") + " FROM " +
                          UserTableName(type, versionTable());
  auto rs = company_->NewRecordset();
  rs->DoQuery(sql);
  rs->MoveFirst();
  if (rs->EoF()) return false;
  version = DbVersion(rs->Field(0).toText());
  state = rs->Field(1).toText();
  return true;
}

void DbDef::writeVersionRow(const DbVersion& version, const std::string& state) {
  const int type = company_->DbServerType();
  const std::string table = UserTableName(type, versionTable());
  auto rs = company_->NewRecordset();
  rs->DoQuery("DELETE FROM " + table);
  rs->DoQuery("INSERT INTO " + table + " (" + UserColumn(type, "Code") + ", " + UserColumn(type, "Name") + ", " +
              UserColumn(type, "U_Version") + ", " + UserColumn(type, "U_State") + ") VALUES ('00000000', '00000000', " +
              UserText(type, version.GetVersionAsText()) + ", " + UserText(type, state) + ")");
}

bool DbDef::tableComplete(const UserTableDef& table) {
  std::shared_ptr<host::Recordset> fields;
  try {
    fields = company_->NewBridge()->GetTableFieldList("@" + table.name);
  } catch (const HostError&) {
    return false;
  }
  for (const auto& field : table.fields)
    if (!HasUserField(*fields, field)) return false;
  for (const auto& key : table.keys)
    if (!hasKey(table.name, key)) return false;
  return true;
}

bool DbDef::hasKey(const std::string& table, const UserKeyDef& key) {
  const int type = company_->DbServerType();
  auto rs = company_->NewRecordset();
  rs->DoQuery("SELECT " + UserColumn(type, "KeyName") + " FROM OUKD WHERE " + UserColumn(type, "TableName") + " = " +
              UserText(type, "@" + table) + " AND " + UserColumn(type, "KeyName") + " = " + UserText(type, key.name));
  return rs->RecordCount() > 0;
}

void DbDef::createKey(const std::string& table, const UserKeyDef& key) {
  auto object = company_->NewBusinessObject(kObjectUserKey);
  object->SetProperty("TableName", Variant("@" + table));
  object->SetProperty("KeyName", Variant(key.name));
  object->SetProperty("Unique", Variant(int32_t{key.unique ? 1 : 0}));
  for (const std::string& element : key.elements) {
    const int line = object->AddLine("UserKeysMD_Elements");
    object->SetLineProperty("UserKeysMD_Elements", line, "ColumnAlias", Variant(element));
  }
  if (object->Add() != 0)
    throw HostError(DPX_E_CREATE_FAILED, "DbDef",
                    fmt::format("user key {} of @{}: {}", key.name, table, LastErrorText(company_)));
}

void DbDef::CheckVersion(int& result) {
  DPX_LogScope log("DbDef::CheckVersion");
  std::vector<UserTableDef> tables;
  DbVersion fileVersion;
  std::string error;
  if (!LoadDefinition(kDefinitionResource, tables, fileVersion, error)) throw HostError(E_FAIL, "DbDef", error);

  DbVersion dbVersion;
  std::string state;
  if (!readVersionRow(dbVersion, state)) {
    result = 1;
    return;
  }
  if (state == "U") {
    result = 4;
    return;
  }
  if (dbVersion > fileVersion) {
    result = dbVersion.major() == fileVersion.major() ? 2 : 3;
    return;
  }
  if (dbVersion < fileVersion) {
    result = 1;
    return;
  }
  for (const auto& table : tables) {
    if (!tableComplete(table)) {
      log.LogInfo("User table @%s is incomplete.", table.name);
      result = 1;
      return;
    }
  }
  result = 0;
}

void DbDef::createTable(const std::string& name, const std::string& description) {
  auto object = company_->NewBusinessObject(kObjectUserTable);
  object->SetProperty("TableName", Variant(name));
  object->SetProperty("TableDescription", Variant(description));
  if (object->Add() != 0)
    throw HostError(DPX_E_CREATE_FAILED, "DbDef", fmt::format("user table @{}: {}", name, LastErrorText(company_)));
}

void DbDef::createField(const std::string& table, const UserFieldDef& field) {
  auto object = company_->NewBusinessObject(kObjectUserField);
  object->SetProperty("TableName", Variant("@" + table));
  object->SetProperty("Name", Variant(field.name));
  object->SetProperty("Description", Variant(field.description));
  object->SetProperty("Type", Variant(int32_t{HostFieldType(field.type)}));
  object->SetProperty("EditSize", Variant(int32_t{FieldSize(field)}));
  if (object->Add() != 0)
    throw HostError(DPX_E_CREATE_FAILED, "DbDef",
                    fmt::format("user field U_{} of @{}: {}", field.name, table, LastErrorText(company_)));
}

HRESULT DbDef::Create(int resourceId, bool /*dropUnknown*/, const DbVersion& version) {
  DPX_LogScope log("DbDef::Create");
  std::vector<UserTableDef> tables;
  DbVersion fileVersion;
  std::string error;
  if (!LoadDefinition(resourceId, tables, fileVersion, error)) {
    log.LogError("%s", error);
    throw HostError(DPX_E_CREATE_FAILED, "DbDef", error);
  }
  const DbVersion target = version.isZero() ? fileVersion : version;
  try {
    // The version table first, so that an interrupted run is seen next time.
    const UserTableDef versionDef{versionTable().substr(1), "User table versions",
                                  {{"Version", "Version", "CHAR", 20}, {"State", "Upgrade state", "CHAR", 1}},
                                  {}};
    if (!tableComplete(versionDef)) {
      try {
        company_->NewBridge()->GetTableFieldList(versionTable());
      } catch (const HostError&) {
        createTable(versionDef.name, versionDef.description);
      }
      for (const auto& field : versionDef.fields) createField(versionDef.name, field);
    }
    writeVersionRow(target, "U");
    for (const auto& table : tables) {
      std::shared_ptr<host::Recordset> fields;
      try {
        fields = company_->NewBridge()->GetTableFieldList("@" + table.name);
      } catch (const HostError&) {
        log.LogInfo("Creating user table @%s.", table.name);
        createTable(table.name, table.description);
        fields = company_->NewBridge()->GetTableFieldList("@" + table.name);
      }
      for (const auto& field : table.fields)
        if (!HasUserField(*fields, field)) createField(table.name, field);
      for (const auto& key : table.keys)
        if (!hasKey(table.name, key)) createKey(table.name, key);
    }
    writeVersionRow(target, "C");
  } catch (const HostError& e) {
    log.LogError("%s", e.what());
    if (e.code() == DPX_E_CREATE_FAILED) throw;
    throw HostError(DPX_E_CREATE_FAILED, "DbDef", e.what());
  }
  return S_OK;
}

void DbDef::GetDBVersion(DbVersion& version) {
  std::string state;
  version = DbVersion();
  readVersionRow(version, state);
}

void DbDef::GetFileVersion(DbVersion& version) {
  std::vector<UserTableDef> tables;
  std::string error;
  version = DbVersion();
  LoadDefinition(kDefinitionResource, tables, version, error);
}

}  // namespace dpx
