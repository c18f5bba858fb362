// The category manager base: the stored-record list from a configuration
// file, and the empty default operations.
#include "engine/di_interface.h"

#include <map>

#include <gtest/gtest.h>

#include "engine/configuration_source.h"

namespace {

class CountingManager : public DPX_DIInterface {
 public:
  CountingManager() : DPX_DIInterface(nullptr, "DPX_TRN_TEST_100") {
    m_keyProperties = {"Code"};
    m_properties = {"Code", "Name"};
  }
  bool initialize() override {
    ++initialized;
    return true;
  }
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* collectDetails() override { return &m_tableInfo; }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
  int initialized = 0;
};

class StoredBlocks : public dpx::ConfigurationSource {
 public:
  int32_t getData(const std::string& key, std::vector<DPX_OperationArgs>& records) override {
    records.clear();
    auto it = blocks.find(key);
    if (it == blocks.end()) return dpx::E_FAIL;
    records = it->second;
    return 0;
  }
  std::map<std::string, std::vector<DPX_OperationArgs>> blocks;
};

DPX_OperationArgs Block(std::vector<std::string> xmls) {
  DPX_OperationArgs block;
  block.set("DPX_TRN_TEST_100", "OTST", 1, 300);
  for (auto& xml : xmls) block.dataItems.push_back({xml, false, {}, "", "", "", "", {}});
  return block;
}

TEST(CategoryManagerBase, ReadFromFileListsTheLastStoredBlockOnly) {
  StoredBlocks file;
  CountingManager missing;
  EXPECT_EQ(missing.readFromFile(&file), &missing.getTableInfo());
  EXPECT_EQ(missing.initialized, 0);
  EXPECT_TRUE(missing.getTableInfo().getListRows().empty());

  file.blocks["DPX_TRN_TEST_100"] = {
      Block({"<BOM><BO><OTST><row><Code>OLD</Code><Name>Old</Name></row></OTST></BO></BOM>"}),
      Block({"<BOM><BO><OTST><row><Code>A</Code><Name>Alpha</Name></row></OTST></BO></BOM>",
             "<BOM><BO><OTST><row><Code>B</Code><Name>Beta &amp; Co</Name></row></OTST></BO></BOM>"})};
  CountingManager manager;
  manager.readFromFile(&file);
  EXPECT_EQ(manager.initialized, 1);
  const auto& rows = manager.getTableInfo().getListRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"A", "Alpha"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"B", "Beta & Co"}));

  std::string xml = "<BOM/>";
  manager.adjustXml(1, xml);
  manager.mapReferences("OTST", xml, 2);
  manager.prepareObject(1, nullptr, 3);
  EXPECT_EQ(xml, "<BOM/>");
}

}  // namespace
