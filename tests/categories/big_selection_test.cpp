// A selection of many picked records: the base is read a chunk of keys at a
// time, so that no statement grows with the selection, and every picked
// record arrives.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "platform/framework/variant.h"
#include "tests/support/copy_fixture.h"
#include "worksheet/configuration_manager.h"

namespace {

using dpx::test::CopyFixture;

TEST(BigSelection, TwentyThousandPickedKeysAreAllCopied) {
  constexpr int kPicked = 20000;
  CopyFixture fx(6);
  // The picked rows, and one row between them that nobody picked.
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OIDX; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                        std::to_string(kPicked) +
                        ") INSERT INTO OIDX (IdexCode, IndexName) SELECT printf('K%05d', i), 'Index ' || i FROM n;"
                        "INSERT INTO OIDX (IdexCode, IndexName) VALUES ('K10000A', 'Not picked');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OIDX;");
  std::vector<DPX_DetailRecord> picked(kPicked);
  for (int i = 0; i < kPicked; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "K%05d", i + 1);
    picked[static_cast<size_t>(i)].addKeyValue("IdexCode", dpx::Variant(std::string(code)));
  }

  RegisterCategoryClasses();
  const std::string key = "DPX_TRN_INDEXES_100";
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager(key)->readFromDB(blocks, std::move(picked));
  // On its way through the configuration file's form, as a copy takes it.
  std::string text;
  for (const DPX_OperationArgs& block : blocks) {
    text += "<table name=\"" + block.tableName + "\">";
    for (const auto& item : block.dataItems) text += item.xml.substr(item.xml.find("<BOM>"));
    text += "</table>";
  }
  factory.createManager(key)->writeData(DPX_ConfigurationManager::splitRecords(key, text), 4);

  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OIDX"), std::to_string(kPicked));
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OIDX WHERE IdexCode = 'K10000A'"), "0");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IndexName FROM OIDX WHERE IdexCode = 'K20000'"), "Index 20000");
  const auto lines = fx.logLines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(kPicked));
  for (const auto& line : lines)
    if (line.find("|402|") == std::string::npos) FAIL() << line;
}

}  // namespace
