// The setup categories that differ from one another only in their tables,
// lists and constants: one row each in a definition table, served by the
// business-object family or the table family, with no class of their own.
// Each row's class name is the one the category factory knows the category by.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "categories/object_category.h"
#include "categories/table_category.h"
#include "engine/category_factory.h"

struct DPX_ObjectCategoryRow {
  const char* key;
  const char* className;
  DPX_ObjectCategoryDefinition definition;
};

struct DPX_TableCategoryRow {
  const char* key;
  const char* className;
  DPX_TableCategoryDefinition definition;
};

// Thirteen categories whose records are host business objects over one table.
const std::vector<DPX_ObjectCategoryRow>& SetupObjectCategories();
// Eleven categories whose records are rows of one host table.
const std::vector<DPX_TableCategoryRow>& SetupTableCategories();

// One creator per row, under the row's class name.
void RegisterSetupObjectCategories();
void RegisterSetupTableCategories();

// Registers a creator of the family class `Family` with the row's definition
// for every row (rows of static storage: the creators keep a reference).
template <class Family, class Rows>
void RegisterDefinitionRows(const Rows& rows) {
  for (const auto& row : rows)
    DPX_CategoryFactory::registerClass(row.className,
                                       [&row](DPX_ConnectionContext* context, const std::string& key, int32_t) {
                                         return std::make_unique<Family>(context, key, row.definition);
                                       });
}
