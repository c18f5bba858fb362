// Opening and saving worksheets with the companies they name: which base and
// target the context ends up with, when the user is asked, what a change of
// base does to the tree, the file name proposed for a new worksheet, and the
// table names of edited records after a save and reopen.
#include <gtest/gtest.h>

#include <fstream>

#include <fmt/printf.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/category_factory.h"
#include "engine/db_def.h"
#include "engine/di_interface.h"
#include "engine/operation_args.h"
#include "engine/table_info.h"
#include "engine/settings_manager.h"
#include "engine/udt_manager.h"
#include "engine/ui_services.h"
#include "platform/framework/string_table.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"
#include "tests/support/scripted_ui.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet_manager.h"
#include "worksheet/worksheet_template_manager.h"

namespace {

using dpx::test::DemoServerFixture;
using CompanyPtr = std::shared_ptr<dpx::host::Company>;

using dpx::test::ScriptedUi;

// A server with DEMO_BASE, in which the add-on runs, and DEMO_TARGET; the
// program's own template.
class OpenTest : public ::testing::Test {
 protected:
  OpenTest() : server(6, false) {
    DPX_WorksheetTemplateManager::setTemplatePath("");
    context.setCompany(server.base());
    // The program's user tables, with the notes the template refers to.
    EXPECT_EQ(dpx::DbDef(nullptr, context.getCompany(), "DPX", 3).Create(135, false, dpx::DbVersion()), 0);
    DPX_UDTManager(&context).updateTables();
  }

  // A worksheet file whose base and target are the given companies, with one
  // partly selected category whose record was edited.
  std::string worksheetFile(const CompanyPtr& base, const CompanyPtr& target) {
    DPX_ConnectionContext maker;
    maker.setCompany(context.getCompany());
    maker.setBaseCompany(base);
    maker.setTargetCompany(target);
    maker.setCopyMethod(2);
    DPX_Worksheet ws;
    ws.setConnectionFields(maker);
    DPX_WorksheetTemplateManager::getInstance(&maker).getWorksheetTemplate(ws);
    DPX_WorksheetNode& items = ws.getNodes()[itemsIndex(ws)];
    items.setSelected(DPX_WorksheetNode::kSelectedPartly);
    DPX_SelectionObject record;
    record.addKeyField("ItemCode", "A1", "db_Alpha");
    record.addAdditionalDataField("ItemName", "Edited pump", "db_Alpha");
    record.setTableName("OITM");
    items.addSelectionObject(record);
    const std::string path = (server.root() / "w.xml").string();
    EXPECT_EQ(DPX_WorksheetManager(&maker).saveWorksheet(ws, path), dpx::S_OK);
    return path;
  }

  static size_t itemsIndex(const DPX_Worksheet& ws) {
    for (size_t i = 0; i < ws.getNodes().size(); ++i) {
      if (ws.getNodes()[i].getStringKey() == "DPX_TRN_ITEMSLEAF_100") return i;
    }
    ADD_FAILURE() << "no items category in the template";
    return 0;
  }

  dpx::HRESULT open(const std::string& path) {
    context.setWorksheetFile(path);
    return selection.openWorksheet();
  }

  // A configuration file with two items among the company's configuration
  // files, and a new worksheet on it saved among the worksheets; the context
  // is left without a base file, as when the worksheet is opened elsewhere.
  std::string fileBaseWorksheet() {
    const auto program = server.root() / "Duplora";
    std::filesystem::create_directories(program / "Company configuration files");
    std::filesystem::create_directories(program / "Worksheets");
    const auto basePath = program / "Company configuration files" / "base.xml";
    std::ofstream(basePath, std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><duploraConfigurationFile version=\"1.0\"><header>"
           "<configurationName>base.xml</configurationName><copyMethod>3</copyMethod><RTCF>1</RTCF>"
           "<FRFMUDF>true</FRFMUDF></header><body><OBJECT string_id=\"DPX_TRN_ITEMSLEAF_100\"><table name=\"OITM\">"
           "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row><ItemCode>A1</ItemCode></row></OITM></BO></BOM>"
           "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row><ItemCode>B2</ItemCode></row></OITM></BO></BOM>"
           "</table></OBJECT></body></duploraConfigurationFile>";
    context.setBaseFile(basePath.string());
    DPX_Worksheet made;
    made.setConnectionFields(context);
    DPX_WorksheetTemplateManager::getInstance(&context).getWorksheetTemplate(made);
    const std::string path = (program / "Worksheets" / "w.xml").string();
    EXPECT_EQ(DPX_WorksheetManager(&context).saveWorksheet(made, path), dpx::S_OK);
    EXPECT_EQ(made.getSourceFile(), "..\\Company configuration files\\base.xml");
    context.setBaseFile("");
    return path;
  }

  DemoServerFixture server;
  DPX_ConnectionContext context;
  ScriptedUi ui;
  DPX_SelectionManager selection{&context};
};

TEST_F(OpenTest, ABaseThatIsTheAddOnsCompanyOpensWithoutAskingAndKeepsTheEditsTableName) {
  const std::string path = worksheetFile(server.base(), nullptr);
  ASSERT_EQ(open(path), dpx::S_OK);
  EXPECT_EQ(ui.companyDialogs.size(), 0u);
  EXPECT_EQ(context.getBaseCompany(), context.getCompany());
  DPX_Worksheet& ws = *selection.getWorksheet();
  EXPECT_FALSE(ws.isModified());
  EXPECT_EQ(ws.getFilePath(), path);
  EXPECT_EQ(context.getCopyMethod(), 2);

  const DPX_WorksheetNode& items = ws.getNodes()[itemsIndex(ws)];
  EXPECT_TRUE(items.isLeaf());
  EXPECT_EQ(items.getDataAreaFormat(), DPX_WorksheetNode::kFormatTable);  // the template's rules are back
  EXPECT_TRUE(items.isAllowSelection());
  ASSERT_EQ(items.getSelectionObjects().size(), 1u);
  const DPX_SelectionObject& record = items.getSelectionObjects()[0];
  EXPECT_EQ(record.getTableName(), "OITM");
  EXPECT_EQ(record.getAdditionalData()[0].getValue(), "Edited pump");

  // Saved again and reopened: still there.
  ASSERT_EQ(selection.saveWorksheet(false), dpx::S_OK);
  EXPECT_TRUE(ui.saveDialogs.empty());
  ASSERT_EQ(open(path), dpx::S_OK);
  EXPECT_EQ(selection.getWorksheet()->getNodes()[itemsIndex(ws)].getSelectionObjects()[0].getTableName(), "OITM");
}

TEST_F(OpenTest, ChoosingABaseOnAnotherDatabaseRenewsTheTreeOnlyWhenTheUserAgrees) {
  const std::string path = worksheetFile(server.target(), nullptr);
  const CompanyPtr elsewhere = server.connect("DEMO_BASE", "clerk", "clerk");

  // No, then the named company: nothing is renewed.
  const CompanyPtr named = server.target();
  ui.companies = {elsewhere, named};
  ui.answers = {dpx::mb::kIdNo};
  ASSERT_EQ(open(path), dpx::S_OK);
  EXPECT_EQ(ui.companyDialogs.size(), 2u);
  EXPECT_EQ(ui.boxTexts(), std::vector<std::string>{dpx::StringTable::Load(10032)});
  DPX_Worksheet& ws = *selection.getWorksheet();
  EXPECT_EQ(context.getBaseCompany(), named);
  EXPECT_FALSE(ws.isModified());
  EXPECT_EQ(ws.getSourceDB(), "DEMO_TARGET");
  EXPECT_FALSE(ws.getNodes()[itemsIndex(ws)].getSelectionObjects().empty());

  // Yes: the tree comes fresh from the template and the worksheet names the chosen company.
  ui.companies = {elsewhere};
  ui.answers = {dpx::mb::kIdYes};
  ASSERT_EQ(open(path), dpx::S_OK);
  EXPECT_EQ(context.getBaseCompany(), elsewhere);
  EXPECT_EQ(ws.getSourceDB(), "DEMO_BASE");
  EXPECT_EQ(ws.getSourceUser(), "clerk");
  EXPECT_TRUE(ws.isModified());
  EXPECT_TRUE(ws.getNodes()[itemsIndex(ws)].getSelectionObjects().empty());

  // Cancel in the question or in the dialog ends the open with 1.
  ui.companies = {elsewhere};
  ui.answers = {dpx::mb::kIdCancel};
  EXPECT_EQ(open(path), dpx::S_FALSE);
  ui.companies = {nullptr};
  EXPECT_EQ(open(path), dpx::S_FALSE);
}

TEST_F(OpenTest, ATargetIsTakenWithoutAskingWhenItIsTheBaseAndNeverChosenAsTheBase) {
  // The target names the base company: it becomes the base company.
  ui.companies = {server.target()};
  ASSERT_EQ(open(worksheetFile(server.target(), server.target())), dpx::S_OK);
  EXPECT_EQ(ui.companyDialogs.size(), 1u);  // for the base only
  EXPECT_EQ(context.getTargetCompany(), context.getBaseCompany());
  EXPECT_EQ(context.getTargetName(), server.target()->CompanyName());

  // The user picks the base as target: told to choose another, asked again.
  const CompanyPtr other = server.connect("DEMO_TARGET", "clerk", "clerk");
  ui.companies = {context.getCompany(), other};
  ui.status.clear();
  ASSERT_EQ(open(worksheetFile(server.base(), other)), dpx::S_OK);
  EXPECT_EQ(ui.companyDialogs.size(), 3u);
  EXPECT_EQ(ui.statusErrors(), std::vector<std::string>{dpx::StringTable::Load(10031)});
  EXPECT_EQ(context.getTargetCompany(), other);
  EXPECT_EQ(context.getBaseCompany(), context.getCompany());
}

TEST_F(OpenTest, AWorksheetWithoutBaseIsInvalid) {
  // A new worksheet while the context has neither a base company nor a base file.
  context.setWorksheetFile("");
  EXPECT_EQ(selection.openWorksheet(), dpx::E_FAIL);
  EXPECT_EQ(ui.statusErrors().back(), dpx::StringTable::Load(10036));
  EXPECT_EQ(selection.getWorksheet()->getCreationUser(), "manager");
  EXPECT_TRUE(selection.getWorksheet()->isFilePathEmpty());

  // A file that names no base.
  DPX_Worksheet ws;
  DPX_WorksheetTemplateManager::getInstance(&context).getWorksheetTemplate(ws);
  const std::string path = (server.root() / "nobase.xml").string();
  ASSERT_EQ(DPX_WorksheetManager(&context).saveWorksheet(ws, path), dpx::S_OK);
  ui.status.clear();
  EXPECT_EQ(open(path), dpx::E_FAIL);
  EXPECT_EQ(ui.statusErrors(), std::vector<std::string>{dpx::StringTable::Load(10036)});
}

TEST_F(OpenTest, ANewWorksheetIsOfferedAFileNameAfterItsBase) {
  DPX_SettingsManager settings(&context);
  settings.setWorksheetFolder((server.root() / "Worksheets").string());
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);

  dpx::host::ServerCatalogue catalogue(server.serverDir());
  catalogue.createCompany({"ACME_DB", "ACME: Test/1", 930100, "US", 6});
  catalogue.addUser("ACME_DB", "manager", "Manager", "manager", true);

  const struct {
    const char* baseDb;      // base company, or none
    const char* baseFile;    // otherwise the base configuration file
    const char* proposed;
  } cases[] = {{"ACME_DB", "", "ACME Test1_WS.xml"},
               {nullptr, "C:\\cfg\\base.xml", "base.xml_WS.xml"},
               {nullptr, "/srv/cfg/base.xml", "base.xml_WS.xml"},
               {nullptr, "", ""}};
  for (const auto& c : cases) {
    context.setBaseCompany(c.baseDb ? server.connect(c.baseDb) : nullptr);
    context.setBaseFile(c.baseFile);
    context.setWorksheetFile("");
    ui.saveDialogs.clear();
    EXPECT_EQ(selection.saveWorksheet(false), 1) << c.proposed;  // cancelled: nothing saved
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].folder, (server.root() / "Worksheets").string());
    EXPECT_EQ(ui.saveDialogs[0].proposedPath, c.proposed);
  }
  EXPECT_FALSE(std::filesystem::exists(server.root() / "Worksheets" / "ACME Test1_WS.xml"));

  // Save as: the dialog starts in the worksheet's folder with its path; the chosen file is written.
  context.setWorksheetFile((server.root() / "old" / "w.xml").string());
  ui.saveDialogs.clear();
  const std::string chosen = (server.root() / "new.xml").string();
  ui.saveAs = {chosen};
  ASSERT_EQ(selection.saveWorksheet(true), dpx::S_OK);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].folder, (server.root() / "old").string());
  EXPECT_EQ(ui.saveDialogs[0].proposedPath, (server.root() / "old" / "w.xml").string());
  EXPECT_EQ(context.getWorksheetFile(), chosen);
  EXPECT_TRUE(std::filesystem::exists(chosen));
}

TEST_F(OpenTest, RenewingThrowsAwayTheSelectionsAndTakesTheContextsBaseAndTarget) {
  ASSERT_EQ(open(worksheetFile(server.base(), nullptr)), dpx::S_OK);
  DPX_Worksheet& ws = *selection.getWorksheet();
  ASSERT_FALSE(ws.getNodes()[itemsIndex(ws)].getSelectionObjects().empty());

  const CompanyPtr target = server.target();
  context.setTargetCompany(target);
  context.setCopyMethod(4);
  ASSERT_EQ(selection.refreshWorksheet(), dpx::S_OK);
  EXPECT_TRUE(ws.getNodes()[itemsIndex(ws)].getSelectionObjects().empty());
  EXPECT_EQ(ws.getNodes()[itemsIndex(ws)].getSelected(), 0);
  EXPECT_EQ(ws.getTargetDB(), "DEMO_TARGET");
  EXPECT_EQ(ws.getTargetCompanyName(), target->CompanyName());
  EXPECT_EQ(ws.getCopyMethod(), 4);
  EXPECT_EQ(ui.companyDialogs.size(), 0u);
}

TEST_F(OpenTest, AFailedSaveIsShownAndTheWorksheetStaysModified) {
  DPX_Worksheet& ws = *selection.getWorksheet();
  ws.setModified(true);
  const std::string path = (server.root() / "no such folder" / "w.xml").string();
  context.setWorksheetFile(path);
  EXPECT_EQ(selection.saveWorksheet(false), dpx::E_FAIL);
  EXPECT_EQ(ui.statusErrors(), std::vector<std::string>{fmt::sprintf(dpx::StringTable::Load(10017), path)});
  EXPECT_TRUE(ws.isModified());
  EXPECT_TRUE(ws.isFilePathEmpty());
}

TEST(WorksheetHeader, ABaseFileIsStoredRelativeToTheWorksheetsFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Data\\Company configuration files\\base.xml", "..\\Company configuration files\\base.xml"},
      {"C:\\A\\B\\base.xml", "..\\B\\base.xml"},
      {"C:\\base.xml", "..\\base.xml"},
      {"/srv/duplora/cfg/base.xml", "..\\cfg\\base.xml"},
      {"base.xml", "base.xml"},
  };
  for (const auto& [baseFile, stored] : cases) {
    DPX_ConnectionContext context;
    context.setBaseFile(baseFile);
    DPX_Worksheet ws;
    ws.setConnectionFields(context);
    EXPECT_EQ(ws.getSourceFile(), stored) << baseFile;
    EXPECT_FALSE(ws.hasSourceDB());
  }
}

TEST(WorksheetManager, ComErrorsAreFormattedForTheLog) {
  EXPECT_EQ(DPX_WorksheetManager::formatComError(dpx::HostError(dpx::E_FAIL, "Host", "It broke")),
            "Com Error\nCode = -2147467259\nCode meaning = Unspecified error\nSource = Host\nDescription = It broke\n");
  const std::string text = DPX_WorksheetManager::formatComError(dpx::HostError(static_cast<dpx::HRESULT>(0x80040210u), "", ""));
  EXPECT_NE(text.find("Code meaning = IDispatch error #16\n"), std::string::npos) << text;
}

}  // namespace

namespace {

// A category manager that lists one row per record the configuration file
// holds for its category.
class FileListingManager : public DPX_DIInterface {
 public:
  FileListingManager(DPX_ConnectionContext* context, const std::string& key) : DPX_DIInterface(context, key) {}
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override {
    std::vector<DPX_OperationArgs> blocks;
    if (configuration == nullptr || configuration->getData(getCategoryKey(), blocks) < 0) return &getTableInfo();
    getTableInfo().setTableName("OITM");
    for (const DPX_OperationArgs& block : blocks) {
      for (size_t i = 0; i < block.dataItems.size(); ++i) getTableInfo().addListRow({std::to_string(i)});
    }
    return &getTableInfo();
  }
  DPX_TableInfo* collectDetails() override { return &getTableInfo(); }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
};

TEST_F(OpenTest, AFileBaseIsReadBesideTheWorksheetAndOnlyLeavesWithDataGetManagers) {
  const char* const kItems = "DPX_TRN_ITEMSLEAF_100";
  const std::string itemsClass = DPX_CategoryFactory::findCategory(kItems)->className;
  ASSERT_FALSE(DPX_CategoryFactory::isRegistered(itemsClass));
  ASSERT_TRUE(DPX_CategoryFactory::registerClass(itemsClass, &DPX_CategoryFactory::Make<FileListingManager>));

  const std::string path = fileBaseWorksheet();

  // Opened elsewhere: the file is found from the worksheet's folder.
  DPX_ConfigurationManager configuration(&context);
  ui.configurationManager = &configuration;
  ASSERT_EQ(open(path), dpx::S_OK);
  DPX_CategoryFactory::unregisterClass(itemsClass);

  const DPX_Worksheet& ws = *selection.getWorksheet();
  EXPECT_EQ(context.getCopyMethod(), 3);  // the file's options
  EXPECT_TRUE(context.getFailRecordsForMissingFields());
  int withManager = 0;
  for (const DPX_WorksheetNode& node : ws.getNodes()) {
    const bool items = node.getStringKey() == kItems;
    if (node.getDataInterface() != nullptr) ++withManager;
    if (items) {
      ASSERT_NE(node.getDetails(), nullptr);
      EXPECT_EQ(node.getDetails()->getListRows().size(), 2u);
      EXPECT_EQ(node.getDetailsTitle(), "OITM");
      EXPECT_TRUE(node.isAvailable());
    } else if (node.isLeaf()) {
      EXPECT_FALSE(node.isAvailable()) << node.getStringKey();
    }
  }
  EXPECT_EQ(withManager, 1);  // no other class is registered; leaves without data are not even tried
}

// A category whose records cannot be read from the file.
class UnreadableManager : public FileListingManager {
 public:
  using FileListingManager::FileListingManager;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource*) override {
    throw dpx::HostError(dpx::E_FAIL, "Host", "the file's block cannot be read");
  }
};

TEST_F(OpenTest, ACategoryThatCannotBeReadIsReportedAndTheCategoriesAfterItStillLoad) {
  const char* const kQueries = "DPX_TRN_QUERIES_100";  // the first category of the tree
  const char* const kItems = "DPX_TRN_ITEMSLEAF_100";
  const std::string queriesClass = DPX_CategoryFactory::findCategory(kQueries)->className;
  const std::string itemsClass = DPX_CategoryFactory::findCategory(kItems)->className;
  ASSERT_FALSE(DPX_CategoryFactory::isRegistered(queriesClass));
  ASSERT_FALSE(DPX_CategoryFactory::isRegistered(itemsClass));
  ASSERT_TRUE(DPX_CategoryFactory::registerClass(queriesClass, &DPX_CategoryFactory::Make<UnreadableManager>));
  ASSERT_TRUE(DPX_CategoryFactory::registerClass(itemsClass, &DPX_CategoryFactory::Make<FileListingManager>));

  const std::string path = fileBaseWorksheet();
  DPX_ConfigurationManager configuration(&context);
  ui.configurationManager = &configuration;
  const dpx::HRESULT opened = open(path);
  DPX_CategoryFactory::unregisterClass(queriesClass);
  DPX_CategoryFactory::unregisterClass(itemsClass);

  // The worksheet opens, the user is told that records are missing, and the
  // failure did not cost the later categories their records.
  EXPECT_EQ(opened, dpx::S_OK);
  EXPECT_EQ(ui.statusErrors(), std::vector<std::string>{dpx::StringTable::Load(10020)});
  EXPECT_EQ(ui.waitCursorDepth, 0);
  for (const DPX_WorksheetNode& node : selection.getWorksheet()->getNodes()) {
    if (node.getStringKey() == kQueries) {
      EXPECT_EQ(node.getDetails(), nullptr);
    } else if (node.getStringKey() == kItems) {
      ASSERT_NE(node.getDetails(), nullptr);
      EXPECT_EQ(node.getDetails()->getListRows().size(), 2u);
    }
  }
}

}  // namespace
