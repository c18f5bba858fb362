// What the record list of a category shows: the column headings and types of
// the category's DB columns, which columns the user may edit, one row of key
// texts and one DPX_DetailRecord per listed base record, and the table name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/detail_record.h"

class DPX_ConnectionContext;

class DPX_TableInfo {
 public:
  void setTableName(std::string tableName) { tableName_ = std::move(tableName); }
  const std::string& getTableName() const { return tableName_; }
  void setContext(DPX_ConnectionContext* context) { context_ = context; }
  DPX_ConnectionContext* getContext() const { return context_; }

  // Replaces headings, editable flags and column types.
  void setColumns(std::vector<std::string> headings, std::vector<int32_t> editableFlags,
                  std::vector<int32_t> columnTypes);
  // Appends the host's description and field type of each column of the
  // table (from the field list of the company the add-on runs in). A column
  // the host does not list gets its own name as heading and the alpha type,
  // so headings and types stay parallel to the columns. Returns 1.
  int32_t readFieldTypes(const std::string& tableName, const std::vector<std::string>& columns,
                         std::vector<std::string>& headings, std::vector<int32_t>& types);
  void addListRow(std::vector<std::string> row) { listRows_.push_back(std::move(row)); }
  void addRow(DPX_DetailRecord record) { detailRecords_.push_back(std::move(record)); }
  void setTextList(std::vector<std::string> names) { textList_ = std::move(names); }

  const std::vector<std::string>& getHeadings() const { return headings_; }
  const std::vector<int32_t>& getEditableFlags() const { return editableFlags_; }
  const std::vector<std::vector<std::string>>& getListRows() const { return listRows_; }
  const std::vector<int32_t>& getColumnTypes() const { return columnTypes_; }
  const std::vector<std::string>& getTextList() const { return textList_; }
  const std::vector<DPX_DetailRecord>& getDetailRecords() const { return detailRecords_; }

 private:
  std::vector<std::string> headings_;
  std::vector<int32_t> editableFlags_;
  std::vector<std::vector<std::string>> listRows_;
  std::vector<int32_t> columnTypes_;
  std::vector<std::string> textList_;
  std::vector<DPX_DetailRecord> detailRecords_;
  std::string tableName_;
  DPX_ConnectionContext* context_ = nullptr;
};
