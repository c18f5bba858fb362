// Every category class that registers with the factory is made for its own
// keys and is of the class its row names: a misspelt class name would lose
// its categories quietly at run time.
#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "categories/category_classes.h"
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
    EXPECT_EQ(Demangled(typeid(object).name()), row.className);
    EXPECT_EQ(manager->getCategoryKey(), row.key);
    ++made;
  }
  EXPECT_GE(made, 5);
  for (const char* name : {"DPX_QueryManager", "DPX_AddressFormatManager", "DPX_IndexesManager",
                           "DPX_TransactionCodeManager", "DPX_CurrencySettingsManager"})
    EXPECT_TRUE(DPX_CategoryFactory::isRegistered(name)) << name;
}

}  // namespace
