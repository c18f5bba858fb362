#include "engine/category_factory.h"

#include <set>

#include <gtest/gtest.h>

#include "engine/di_interface.h"
#include "engine/resource_manager.h"

namespace {

// A stand-in manager that remembers how the factory made it.
class StandInManager : public DPX_DIInterface {
 public:
  StandInManager(DPX_ConnectionContext* context, std::string key, int32_t mode = DPX_CategoryFactory::kNoMode)
      : DPX_DIInterface(context, std::move(key)), mode(mode) {}
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* collectDetails() override { return nullptr; }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
  int32_t mode;
};

DPX_ConnectionContext* SomeContext() {
  static int dummy = 0;  // only the pointer travels
  return reinterpret_cast<DPX_ConnectionContext*>(&dummy);
}

TEST(CategoryFactory, TableHoldsEveryKeyOnceWithItsClass) {
  const auto rows = DPX_CategoryFactory::categories();
  ASSERT_EQ(rows.size(), 94u);
  std::set<std::string> keys, classes;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.key);
    EXPECT_TRUE(keys.insert(row.key).second);
    classes.insert(row.className);
    // Every category key has its text in the key table.
    EXPECT_NE(DPX_ResourceManager::getInstance().getStringId(row.key), 0u);
    EXPECT_EQ(DPX_CategoryFactory::findCategory(row.key), &row);
  }
  EXPECT_EQ(classes.size(), 90u);

  struct Mode {
    const char* key;
    const char* className;
    int32_t mode;
  };
  const Mode modes[] = {
      {"DPX_TRN_FSUDF_100", "DPX_FormattedSearchManager", 1},
      {"DPX_TRN_FSSTDF_100", "DPX_FormattedSearchManager", 0},
      {"DPX_TRN_DOCREP_100", "DPX_PrintLayoutsManager", 1},
      {"DPX_TRN_QUERYLAYOUTS_100", "DPX_PrintLayoutsManager", 2},
      {"DPX_TRN_MANUALJOURNALENTRIES_100", "DPX_ManualJournalEntriesManager", 0},
      {"DPX_TRN_OPENINGBALANCES_100", "DPX_ManualJournalEntriesManager", 1},
      {"DPX_TRN_STOCKPOSTINGS_100", "DPX_ManualJournalEntriesManager", 2},
      {"DPX_TRN_INITIALQUANTITIES_100", "DPX_InitialQuantitiesManager", DPX_CategoryFactory::kNoMode},
      {"DPX_TRN_RELTNSHPS_40", "DPX_RelationshipsManager", DPX_CategoryFactory::kNoMode},
      {"DPX_TRN_COMMISIONGROUPS_100", "DPX_CommissionGroupsManager", DPX_CategoryFactory::kNoMode},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(m.key);
    const auto* row = DPX_CategoryFactory::findCategory(m.key);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->className, m.className);
    EXPECT_EQ(row->mode, m.mode);
  }
}

TEST(CategoryFactory, UnknownKeysAndUnavailableClassesGiveNoManager) {
  DPX_CategoryFactory factory(SomeContext());
  for (const char* key : {"", "DPX_TRN_NOSUCH_100", "dpx_trn_queries_100", "DPX_TRN_Queries_100",
                          "DPX_TRN_QUERIES_100 ", "DPX_TRN_ITEMS_100" /* a group, not a category */}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(DPX_CategoryFactory::findCategory(key), nullptr);
    EXPECT_EQ(factory.createManager(key), nullptr);
  }
  // A key of the table whose class has not registered.
  DPX_CategoryFactory::unregisterClass("DPX_BOMManager");
  EXPECT_EQ(factory.createManager("DPX_TRN_BILLOFMATERIALS_100"), nullptr);
}

TEST(CategoryFactory, RegisteredClassMakesItsKeysWithTheirModes) {
  // Stand in for a class with modes and for one without.
  ASSERT_TRUE(DPX_CategoryFactory::registerClass("DPX_PrintLayoutsManager",
                                                 &DPX_CategoryFactory::MakeWithMode<StandInManager>));
  ASSERT_TRUE(DPX_CategoryFactory::registerClass("DPX_QueryManager", &DPX_CategoryFactory::Make<StandInManager>));
  EXPECT_FALSE(DPX_CategoryFactory::registerClass("DPX_NoSuchManager", &DPX_CategoryFactory::Make<StandInManager>));
  EXPECT_FALSE(DPX_CategoryFactory::registerClass("DPX_QueryManager", nullptr));

  DPX_CategoryFactory factory(SomeContext());
  struct Case {
    const char* key;
    int32_t mode;
  };
  for (const Case& c : {Case{"DPX_TRN_DOCREP_100", 1}, Case{"DPX_TRN_QUERYLAYOUTS_100", 2},
                        Case{"DPX_TRN_QUERIES_100", DPX_CategoryFactory::kNoMode}}) {
    SCOPED_TRACE(c.key);
    auto manager = factory.createManager(c.key);
    auto* standIn = dynamic_cast<StandInManager*>(manager.get());
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(standIn->getCategoryKey(), c.key);
    EXPECT_EQ(standIn->getContext(), SomeContext());
    EXPECT_EQ(standIn->mode, c.mode);
  }
  // Keys match exactly, case included.
  EXPECT_EQ(factory.createManager("DPX_TRN_DocRep_100"), nullptr);
  // Each call makes a new manager.
  EXPECT_NE(factory.createManager("DPX_TRN_QUERIES_100").get(), nullptr);

  DPX_CategoryFactory::unregisterClass("DPX_PrintLayoutsManager");
  DPX_CategoryFactory::unregisterClass("DPX_QueryManager");
  EXPECT_EQ(factory.createManager("DPX_TRN_QUERIES_100"), nullptr);
}

}  // namespace
