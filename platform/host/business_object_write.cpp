// Add, Update and Remove of the generic business object: key numbering, the
// refusals a host makes (duplicate key, missing reference, record still
// referenced), and the writes, each in one savepoint so that a refused or
// failed write leaves nothing behind, inside the caller's transaction when
// one is open.
#include <algorithm>

#include "platform/framework/text.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/property_values.h"

namespace dpx::host {

using namespace bo_detail;
using Q = CompanyStore;

namespace {

struct Refusal {
  int code = 0;
  std::string text;
};

std::string Describe(const ObjectTypeDef& t, const PropertyValues& h) {
  std::vector<Variant> key;
  for (const std::string& k : t.keyProperties) {
    auto it = h.find(k);
    key.push_back(it == h.end() ? Variant() : it->second);
  }
  return t.name + " '" + KeyDisplay(key) + "'";
}

Variant ValueOf(const PropertyValues& values, const std::string& property) {
  auto it = values.find(property);
  return it == values.end() ? Variant() : it->second;
}

// " WHERE a = ? AND b = ?" over the given properties.
std::string WhereOf(const ObjectTypeDef& t, const std::vector<std::string>& props, const PropertyValues& values,
                    std::vector<Variant>& params) {
  std::string sql;
  for (size_t i = 0; i < props.size(); ++i) {
    const PropertyDef* p = t.findProperty(props[i]);
    sql += (i ? " AND " : " WHERE ") + Q::Quote(p->column) + " = ?";
    params.push_back(ToColumnValue(*p, ValueOf(values, props[i])));
  }
  return sql;
}

Refusal CheckReferences(CompanyStore& store, const ObjectTypeDef& t, const PropertyValues& header,
                        const std::map<std::string, std::vector<PropertyValues>>& lines) {
  for (const ReferenceDef& ref : t.references) {
    std::vector<std::pair<const PropertyDef*, Variant>> values;
    if (const PropertyDef* p = t.findProperty(ref.property)) {
      values.emplace_back(p, ValueOf(header, ref.property));
    } else {
      for (const LineDef& l : t.lines)
        for (const PropertyDef& p : l.properties)
          if (p.property == ref.property) {
            auto it = lines.find(l.element);
            if (it != lines.end())
              for (const PropertyValues& row : it->second) values.emplace_back(&p, ValueOf(row, ref.property));
          }
    }
    for (auto& [p, v] : values) {
      if (ref.emptyAllowed && IsNoReferenceValue(v)) continue;
      if (IsEmptyPropertyValue(v))
        return {kErrMissingReference, t.name + ": '" + ref.property + "' must name a record of " + ref.table};
      auto r = store.query("SELECT 1 FROM " + Q::Quote(ref.table) + " WHERE " + Q::Quote(ref.column) + " = ? LIMIT 1",
                           {ToColumnValue(*p, v)});
      if (r.rows.empty())
        return {kErrMissingReference, Describe(t, header) + " refers to " + ref.table + "." + ref.column + " = '" +
                                          v.toText() + "', which does not exist"};
    }
  }
  return {};
}

// Unique property sets; `self` (a WHERE on the record's key) excludes the
// record itself on Update.
Refusal CheckUnique(CompanyStore& store, const ObjectTypeDef& t, const PropertyValues& header,
                    const std::vector<Variant>* selfKey) {
  for (const auto& set : t.uniqueProperties) {
    std::vector<Variant> params;
    std::string sql = "SELECT 1 FROM " + Q::Quote(t.mainTable) + WhereOf(t, set, header, params);
    if (selfKey) {
      sql += " AND NOT (";
      for (size_t i = 0; i < t.keyProperties.size(); ++i) {
        const PropertyDef* kp = t.findProperty(t.keyProperties[i]);
        sql += (i ? " AND " : "") + Q::Quote(kp->column) + " = ?";
        params.push_back(ToColumnValue(*kp, (*selfKey)[i]));
      }
      sql += ")";
    }
    if (!store.query(sql + " LIMIT 1", params).rows.empty()) {
      std::string what;
      for (const std::string& p : set) what += (what.empty() ? "" : ", ") + p + " '" + ValueOf(header, p).toText() + "'";
      return {kErrDuplicateKey, "This entry already exists: " + t.name + " with " + what + " (table " + t.mainTable + ")"};
    }
  }
  return {};
}

void InsertRow(CompanyStore& store, const std::string& table, const std::vector<PropertyDef>& props,
               const PropertyValues& values, const std::vector<std::pair<std::string, Variant>>& extra) {
  std::string cols, marks;
  std::vector<Variant> params;
  auto add = [&](const std::string& column, Variant v) {
    cols += (cols.empty() ? "" : ", ") + Q::Quote(column);
    marks += marks.empty() ? "?" : ", ?";
    params.push_back(std::move(v));
  };
  for (auto& [c, v] : extra) add(c, v);
  for (const PropertyDef& p : props) {
    if (p.column.empty()) continue;
    bool taken = false;
    for (auto& [c, _] : extra) taken = taken || EqualsIgnoreCase(c, p.column);
    if (taken) continue;
    add(p.column, ToColumnValue(p, ValueOf(values, p.property)));
  }
  store.exec("INSERT INTO " + Q::Quote(table) + " (" + cols + ") VALUES (" + marks + ")", params);
}

void WriteLines(CompanyStore& store, const ObjectTypeDef& t, const PropertyValues& header,
                const std::map<std::string, std::vector<PropertyValues>>& lines) {
  for (const LineDef& l : t.lines) {
    auto it = lines.find(l.element);
    if (it == lines.end()) continue;
    int lineNum = 0;
    for (const PropertyValues& row : it->second) {
      std::vector<std::pair<std::string, Variant>> extra;
      for (size_t i = 0; i < l.parentColumns.size() && i < t.keyProperties.size(); ++i)
        extra.emplace_back(l.parentColumns[i],
                           ToColumnValue(*t.findProperty(t.keyProperties[i]), ValueOf(header, t.keyProperties[i])));
      if (!l.lineNumColumn.empty()) extra.emplace_back(l.lineNumColumn, Variant(lineNum));
      ++lineNum;
      InsertRow(store, l.table, l.properties, row, extra);
    }
  }
}

void DeleteLines(CompanyStore& store, const ObjectTypeDef& t, const std::vector<Variant>& key) {
  for (const LineDef& l : t.lines) {
    std::string sql = "DELETE FROM " + Q::Quote(l.table);
    std::vector<Variant> params;
    for (size_t i = 0; i < l.parentColumns.size() && i < key.size(); ++i) {
      sql += (i ? " AND " : " WHERE ") + Q::Quote(l.parentColumns[i]) + " = ?";
      params.push_back(ToColumnValue(*t.findProperty(t.keyProperties[i]), key[i]));
    }
    store.exec(sql, params);
  }
}

int Refuse(Company& company, int code, const std::string& text) {
  company.SetLastError(code, text);
  return code;
}

// Every write starts here: it needs a connection, and a test may have asked
// this call (of any type, or of this type) to be refused.
int StartWrite(Company& company, const ObjectTypeDef& t, const char* operation) {
  company.RequireConnected(operation);
  int code;
  std::string text;
  if (company.TakeFault(operation, code, text) ||
      company.TakeFault(std::string(operation) + ":" + std::to_string(t.type), code, text))
    return Refuse(company, code, text);
  if (company.TakeTransactionFault(code, text)) return code;
  return 0;
}

// The end of a write that went through.
int Done(Company& company) {
  company.SetLastError(0, "");
  return 0;
}

}  // namespace

int BusinessObject::Add() {
  const ObjectTypeDef& t = *type_;
  auto refuse = [&](int code, const std::string& text) { return Refuse(*company_, code, text); };
  if (int fault = StartWrite(*company_, t, "Add")) return fault;
  if (t.keyProperties.empty()) return refuse(kErrGeneral, t.name + " records cannot be added");
  CompanyStore& store = company_->store();
  try {
    CompanyStore::Savepoint sp(store);
    // The host gives numbered keys itself, whatever the XML carried.
    if (t.keyPolicy != KeyPolicy::Given) {
      std::string numbered = t.numberedProperty.empty() ? t.keyProperties[0] : t.numberedProperty;
      const PropertyDef* np = t.findProperty(numbered);
      std::vector<Variant> params;
      std::string sql = "SELECT IFNULL(MAX(" + Q::Quote(np->column) + "), 0) + 1 FROM " + Q::Quote(t.mainTable) +
                        WhereOf(t, t.numberWithin, header_, params);
      int64_t next = std::max<int64_t>(1, store.query(sql, params).rows[0][0].toInt64());
      if (t.keyPolicy == KeyPolicy::ObjectCounter) {
        std::string code = t.objectCode.empty() ? std::to_string(t.type) : t.objectCode;
        auto r = store.query("SELECT AutoKey FROM ONNM WHERE ObjectCode = ?", {Variant(code)});
        if (!r.rows.empty()) next = std::max(next, r.rows[0][0].toInt64());
        if (r.rows.empty())
          store.exec("INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES (?, ?, 0)", {Variant(code), Variant(next + 1)});
        else
          store.exec("UPDATE ONNM SET AutoKey = ? WHERE ObjectCode = ?", {Variant(next + 1), Variant(code)});
      }
      header_[numbered] = Variant(static_cast<int32_t>(next));
    }
    for (const std::string& k : t.keyProperties)
      if (IsEmptyPropertyValue(ValueOf(header_, k)))
        return refuse(kErrInvalidValue, t.name + ": the key '" + k + "' is missing");
    std::vector<Variant> params;
    if (!store.query("SELECT 1 FROM " + Q::Quote(t.mainTable) + WhereOf(t, t.keyProperties, header_, params) + " LIMIT 1",
                     params)
             .rows.empty())
      return refuse(kErrDuplicateKey,
                    "This entry already exists: " + Describe(t, header_) + " (table " + t.mainTable + ")");
    Refusal r = CheckUnique(store, t, header_, nullptr);
    if (!r.code) r = CheckReferences(store, t, header_, lines_);
    if (r.code) return refuse(r.code, r.text);
    InsertRow(store, t.mainTable, t.properties, header_, {});
    WriteLines(store, t, header_, lines_);
    if (t.hooks.afterAdd) {
      std::string error;
      int code = t.hooks.afterAdd(store, t, header_, error);
      if (code) return refuse(code, error);
    }
    sp.commit();
  } catch (const HostError& e) {
    return refuse(LastErrorCodeOf(e.code()), e.description());
  }
  return Done(*company_);
}

int BusinessObject::Update() {
  const ObjectTypeDef& t = *type_;
  auto refuse = [&](int code, const std::string& text) { return Refuse(*company_, code, text); };
  if (int fault = StartWrite(*company_, t, "Update")) return fault;
  if (!positioned_ && !t.updateByKey)
    return refuse(kErrNotPositioned, t.name + ": no record fetched; call GetByKey before Update");
  CompanyStore& store = company_->store();
  try {
    if (!positioned_) {
      // Filled without GetByKey: the record is the one its key values name.
      std::vector<Variant> params;
      if (store.query("SELECT 1 FROM " + Q::Quote(t.mainTable) + WhereOf(t, t.keyProperties, header_, params) +
                          " LIMIT 1",
                      params)
              .rows.empty())
        return refuse(kErrRecordNotFound, Describe(t, header_) + " does not exist");
      fetchedKey_.clear();
      for (const std::string& k : t.keyProperties) fetchedKey_.push_back(ValueOf(header_, k));
    }
    CompanyStore::Savepoint sp(store);
    for (size_t i = 0; i < t.keyProperties.size(); ++i) header_[t.keyProperties[i]] = fetchedKey_[i];
    Refusal r = CheckUnique(store, t, header_, t.keyProperties.empty() ? nullptr : &fetchedKey_);
    if (!r.code) r = CheckReferences(store, t, header_, lines_);
    if (r.code) return refuse(r.code, r.text);
    std::string sets;
    std::vector<Variant> params;
    for (const PropertyDef& p : t.properties) {
      if (p.column.empty() || p.readOnly) continue;
      if (std::find(t.keyProperties.begin(), t.keyProperties.end(), p.property) != t.keyProperties.end()) continue;
      Variant v = ValueOf(header_, p.property);
      if (p.writeOnly && IsEmptyPropertyValue(v)) continue;   // a password not given stays
      sets += (sets.empty() ? "" : ", ") + Q::Quote(p.column) + " = ?";
      params.push_back(ToColumnValue(p, v));
    }
    if (!sets.empty()) {
      std::string sql = "UPDATE " + Q::Quote(t.mainTable) + " SET " + sets;
      PropertyValues key;
      for (size_t i = 0; i < t.keyProperties.size(); ++i) key[t.keyProperties[i]] = fetchedKey_[i];
      sql += WhereOf(t, t.keyProperties, key, params);
      if (store.exec(sql, params) == 0)
        return refuse(kErrRecordNotFound, Describe(t, header_) + " no longer exists");
    }
    DeleteLines(store, t, fetchedKey_);
    WriteLines(store, t, header_, lines_);
    if (t.hooks.afterUpdate) {
      std::string error;
      int code = t.hooks.afterUpdate(store, t, header_, error);
      if (code) return refuse(code, error);
    }
    sp.commit();
  } catch (const HostError& e) {
    return refuse(LastErrorCodeOf(e.code()), e.description());
  }
  return Done(*company_);
}

int BusinessObject::Remove() {
  const ObjectTypeDef& t = *type_;
  auto refuse = [&](int code, const std::string& text) { return Refuse(*company_, code, text); };
  if (int fault = StartWrite(*company_, t, "Remove")) return fault;
  if (!positioned_) return refuse(kErrNotPositioned, t.name + ": no record fetched; call GetByKey before Remove");
  if (t.keyProperties.empty()) return refuse(kErrGeneral, t.name + " records cannot be removed");
  CompanyStore& store = company_->store();
  PropertyValues key;
  for (size_t i = 0; i < t.keyProperties.size(); ++i) key[t.keyProperties[i]] = fetchedKey_[i];
  try {
    // The row as stored, for the values other records refer to.
    std::vector<Variant> params;
    auto row = store.query("SELECT * FROM " + Q::Quote(t.mainTable) + WhereOf(t, t.keyProperties, key, params), params);
    if (row.rows.empty()) return refuse(kErrRecordNotFound, Describe(t, key) + " no longer exists");
    for (const auto& in : ObjectRegistry::Instance().referencesTo(t.mainTable)) {
      Variant target;
      for (size_t c = 0; c < row.columns.size(); ++c)
        if (EqualsIgnoreCase(row.columns[c], in.toColumn)) target = row.rows[0][c];
      if (target.isEmpty()) continue;
      auto n = store.query("SELECT COUNT(*) FROM " + Q::Quote(in.fromTable) + " WHERE " + Q::Quote(in.fromColumn) + " = ?",
                           {target});
      int64_t count = n.rows[0][0].toInt64();
      if (count > 0)
        return refuse(kErrStillReferenced, Describe(t, key) + " cannot be removed: " + std::to_string(count) +
                                               " record(s) of " + in.fromTable + " (" + in.type->name +
                                               ") still refer to it in " + in.fromColumn);
    }
    CompanyStore::Savepoint sp(store);
    if (t.hooks.beforeRemove) {
      std::string error;
      PropertyValues all = header_;
      for (auto& [k, v] : key) all[k] = v;
      int code = t.hooks.beforeRemove(store, t, all, error);
      if (code) return refuse(code, error);
    }
    DeleteLines(store, t, fetchedKey_);
    params.clear();
    store.exec("DELETE FROM " + Q::Quote(t.mainTable) + WhereOf(t, t.keyProperties, key, params), params);
    sp.commit();
  } catch (const HostError& e) {
    return refuse(LastErrorCodeOf(e.code()), e.description());
  }
  positioned_ = false;
  return Done(*company_);
}

}  // namespace dpx::host
