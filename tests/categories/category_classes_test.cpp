// Every category class that registers with the factory is made for its own
// keys and is of the class its row names (or, for a row of a definition
// table, the family base with that row's definition): a misspelt class name
// would lose its categories quietly at run time.
#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "categories/category_classes.h"
#include "categories/setup/referenced_first_category.h"
#include "categories/setup/setup_category_tables.h"
#include "engine/category_factory.h"
#include "engine/connection_context.h"
#include "engine/di_interface.h"

namespace {

std::string Demangled(const char* name) {
  int status = 0;
  char* text = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  std::string out = status == 0 && text ? text : name;
  std::free(text);
  return out;
}

// The table of the definition-table row of a class, "" when no row has it.
template <class Rows>
std::string DefinitionTableOf(const Rows& rows, const std::string& className) {
  for (const auto& row : rows)
    if (row.className == className) return row.definition.table;
  return "";
}

TEST(CategoryClasses, EveryRegisteredClassIsMadeForItsKeys) {
  RegisterCategoryClasses();
  DPX_ConnectionContext context;
  DPX_CategoryFactory factory(&context);
  int made = 0;
  for (const DPX_CategoryFactory::Category& row : DPX_CategoryFactory::categories()) {
    if (!DPX_CategoryFactory::isRegistered(row.className)) continue;
    SCOPED_TRACE(row.key);
    std::unique_ptr<DPX_DIInterface> manager = factory.createManager(row.key);
    ASSERT_NE(manager, nullptr);
    const DPX_DIInterface& object = *manager;
    if (const auto* objects = dynamic_cast<const DPX_ObjectCategory*>(manager.get());
        objects && Demangled(typeid(object).name()) == "DPX_ObjectCategory") {
      EXPECT_EQ(objects->definition().table, DefinitionTableOf(SetupObjectCategories(), row.className));
    } else if (const auto* tables = dynamic_cast<const DPX_TableCategory*>(manager.get());
               tables && Demangled(typeid(object).name()) == "DPX_TableCategory") {
      EXPECT_EQ(tables->definition().table, DefinitionTableOf(SetupTableCategories(), row.className));
    } else if (const auto* referenced = dynamic_cast<const DPX_ReferencedFirstCategory*>(manager.get())) {
      std::string table;
      for (const DPX_ReferencedFirstRow& first : ReferencedFirstCategories())
        if (first.className == std::string(row.className)) table = first.definition.records.table;
      EXPECT_EQ(referenced->definition().table, table);
    } else {
      EXPECT_EQ(Demangled(typeid(object).name()), row.className);
    }
    EXPECT_EQ(manager->getCategoryKey(), row.key);
    ++made;
  }
  EXPECT_GE(made, 5);
  for (const char* name : {"DPX_QueryManager", "DPX_AddressFormatManager", "DPX_IndexesManager",
                           "DPX_TransactionCodeManager", "DPX_CurrencySettingsManager"})
    EXPECT_TRUE(DPX_CategoryFactory::isRegistered(name)) << name;
}

TEST(CategoryClasses, EveryDefinitionTableRowIsTheFactorysCategory) {
  RegisterCategoryClasses();
  auto check = [](const auto& rows, size_t expected) {
    EXPECT_EQ(rows.size(), expected);
    for (const auto& row : rows) {
      SCOPED_TRACE(row.key);
      const DPX_CategoryFactory::Category* category = DPX_CategoryFactory::findCategory(row.key);
      ASSERT_NE(category, nullptr);
      EXPECT_STREQ(category->className, row.className);
      EXPECT_TRUE(DPX_CategoryFactory::isRegistered(row.className));
    }
  };
  check(SetupObjectCategories(), 13u);
  check(SetupTableCategories(), 11u);
  check(ReferencedFirstCategories(), 2u);
}

}  // namespace
