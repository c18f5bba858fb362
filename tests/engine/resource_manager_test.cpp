#include "engine/resource_manager.h"

#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "platform/framework/string_table.h"
#include "tests/support/test_dir.h"

namespace {

TEST(ResourceManager, KeysYieldTheirIdsOnlyWhenSpelledExactly) {
  struct Case {
    std::string key;
    uint32_t id;
  };
  const Case cases[] = {
      {"DPX_TRN_ITEMS_100", 801},
      {"dpx_trn_items_100", 0},
      {"DPX_TRN_ITEMS_100 ", 0},
      {" DPX_TRN_ITEMS_100", 0},
      {"DPX_TRN_INITIALQUANTITIES_100", 822},
      {"DPX_TRN_INITIAL QUANTITIES_100", 0},
      {"DPX_TRN_CUSTOMIZATION_100", 700},
      {"DPX_TRN_UDF_100", 147},
      {"DPX_TRN_ITEMGROUPS1_100", 220},
      {"DPX_TRN_WAREHOUSES1_100", 223},
      {"DPX_TRN_USRMENUS_100", 831},
      {"DPX_TRN_RELTNSHPS_40", 211},
      {"DPX_TRN_RELTNSHPS_100", 0},
      {"DPX_TRN_COMMISIONGROUPS_100", 754},
      {"DPX_LMS_NOTE1_0", 163},
      {"DPX_LMS_NOTE10_0", 166},
      {"DPX_LMS_NOTE11_0", 0},
      {"DPX_LMS_NOTE22_0", 0},
      {"DPX_LMS_NOTE25_0", 10064},
      {"DPX_LMS_NOTE30_0", 20001},
      {"", DPX_ResourceManager::kTerminatorId},
  };
  const auto& rm = DPX_ResourceManager::getInstance();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(rm.getStringId(c.key), c.id);
  }
}

TEST(ResourceManager, TableHasEveryRowOnceAndTheTerminatorLast) {
  const auto& rows = DPX_ResourceManager::getInstance().rows();
  ASSERT_EQ(rows.size(), 169u);
  EXPECT_EQ(rows.back().key, "");
  EXPECT_EQ(rows.back().stringId, DPX_ResourceManager::kTerminatorId);
  std::set<std::string> keys;
  int notes = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const auto& row = rows[i];
    SCOPED_TRACE(row.key);
    EXPECT_TRUE(keys.insert(row.key).second) << "duplicate key";
    EXPECT_TRUE(row.value.empty());
    EXPECT_NE(row.stringId, 0u);
    const bool category = row.key.starts_with("DPX_TRN_") && (row.key.ends_with("_100") || row.key == "DPX_TRN_RELTNSHPS_40");
    const bool note = row.key.starts_with("DPX_LMS_NOTE") && row.key.ends_with("_0");
    EXPECT_TRUE(category || note);
    notes += note ? 1 : 0;
    // Categories come first, notes after them.
    EXPECT_EQ(note, i >= 140);
  }
  EXPECT_EQ(notes, 28);
}

TEST(ResourceManager, LoadStringRefusesMissingTextsAndLeavesTheTextAlone) {
  dpx::test::TestDir dir;
  {
    std::ofstream out(dir / "1033.txt");
    out << "801\tItems\n172\tFirst line\\r\\nsecond line\n500\t\n";
  }
  dpx::StringTable::SetFolder(dir.path());
  std::string text = "unchanged";
  EXPECT_EQ(DPX_ResourceManager::loadString(0, dpx::kHostLanguageEnglish, text), 1);
  EXPECT_EQ(DPX_ResourceManager::loadString(-1, dpx::kHostLanguageEnglish, text), 1);
  EXPECT_EQ(DPX_ResourceManager::loadString(500, dpx::kHostLanguageEnglish, text), 1);  // empty text
  EXPECT_EQ(DPX_ResourceManager::loadString(9999, dpx::kHostLanguageEnglish, text), 1);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(DPX_ResourceManager::loadString(801, dpx::kHostLanguageEnglish, text), 0);
  EXPECT_EQ(text, "Items");
  EXPECT_EQ(DPX_ResourceManager::loadString(172, dpx::kHostLanguageEnglish, text), 0);
  EXPECT_EQ(text, "First line\r\nsecond line");
  // The empty key's id, read as a signed id, loads nothing.
  EXPECT_EQ(DPX_ResourceManager::loadString(static_cast<int32_t>(DPX_ResourceManager::kTerminatorId),
                                            dpx::kHostLanguageEnglish, text),
            1);
  dpx::StringTable::SetFolder({});
}

// The program's own English table holds a text for every key of the table.
TEST(ResourceManager, EveryKeyHasItsEnglishText) {
  dpx::StringTable::SetFolder({});
  const auto& rows = DPX_ResourceManager::getInstance().rows();
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    std::string text;
    EXPECT_EQ(DPX_ResourceManager::loadString(static_cast<int32_t>(rows[i].stringId), dpx::kHostLanguageEnglish, text),
              0)
        << rows[i].key;
    EXPECT_FALSE(text.empty()) << rows[i].key;
  }
  struct Case {
    const char* key;
    const char* text;
  };
  const Case cases[] = {
      {"DPX_TRN_ITEMS_100", "Items"},
      {"DPX_TRN_ITEMSLEAF_100", "Items"},
      {"DPX_TRN_UDF_100", "User-Defined Fields"},
      {"DPX_TRN_PRTONADDSETTINGS_100", "Print Preferences - 'Add button...' Settings"},
      {"DPX_LMS_NOTE10_0",
       "The content of this category includes:\r\n- Tables column header descriptions\r\n- Font size settings\r\n- "
       "Certain fields from the 'Display' tab located in Administration ---> System Initialization --> General "
       "Settings"},
  };
  const auto& rm = DPX_ResourceManager::getInstance();
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(DPX_ResourceManager::loadString(static_cast<int32_t>(rm.getStringId(c.key)), dpx::kHostLanguageEnglish,
                                              text),
              0);
    EXPECT_EQ(text, c.text) << c.key;
  }
}

}  // namespace
