// The recordset (object type 300): runs one SQL text of the company's dialect
// and holds the rows of a SELECT. Fields are read by zero-based position;
// numeric columns come back as integers, float columns as reals, date columns
// as dates, text as text, NULL as an empty value.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/bound_sql.h"
#include "platform/host/company_store.h"
#include "platform/host/host_object.h"

namespace dpx::host {

class Company;

class Recordset : public HostObject {
 public:
  explicit Recordset(std::shared_ptr<Company> company);

  // Runs SELECT, INSERT, UPDATE or DELETE. 0 on success; a statement that
  // the server rejects, or SQL of another server type, raises HostError.
  // After a SELECT the recordset stands on the first row.
  int DoQuery(const std::string& sql);
  // The same with the values bound to the "?" of the text: the text is
  // translated and prepared once and kept for the next call.
  int DoQuery(const BoundSql& statement);
  int RecordCount() const;
  void MoveFirst();
  void MoveNext();
  bool EoF() const;
  bool BoF() const;
  int FieldCount() const;
  // Value of field `index` in the current row. Raises HostError past the end
  // or for an index out of range.
  Variant Field(int index) const;
  std::string FieldName(int index) const;
  // Host field type of a field (db_Alpha...), -1 when the server cannot tell.
  int FieldType(int index) const;
  // Every row as record XML, without declaration or whitespace:
  // <BOM><BO><AdmInfo><Object>oRecordset</Object></AdmInfo><TABLE><row>
  // <COL>value</COL>...</row>...</TABLE></BO></BOM>. TABLE is the table
  // of the FROM clause without "@" (or "Recordset" when there is none);
  // dates are YYYYMMDD; NULL gives an empty element.
  std::string GetAsXML() const;

  // Rows of a result made by the host itself (company list, field list).
  void SetResult(QueryResult result, std::string tableName);
  const QueryResult& result() const { return result_; }

  // By name: DoQuery(sql), RecordCount, MoveFirst, MoveNext, EoF, BoF,
  // FieldCount, Field(i) / Fields(i) (the value), FieldName(i), GetAsXML.
  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return "Recordset"; }

 private:
  int run(const std::string& sql, const std::vector<Variant>& values, bool bound);

  std::shared_ptr<Company> company_;
  QueryResult result_;
  std::string tableName_;
  int pos_ = 0;
};

}  // namespace dpx::host
