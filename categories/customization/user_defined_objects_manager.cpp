// User-defined object registrations in a document of their own.
#include "categories/customization/user_defined_objects_manager.h"

#include "categories/list_text.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/host_object.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kRegistrationType = 206;
constexpr const char* kRoot = "UDO";

using ObjectPtr = DPX_UserDefinedObjectsManager::ObjectPtr;

// The record list's type column: "Master Data" for object type 1, "Document" otherwise.
const DPX_ListText kTypeText = DPX_ListText::StringTable(1, {{{"1"}, 36}}, 37);

dpx::Variant Get(const ObjectPtr& object, const std::string& name) {
  dpx::Variant value;
  const dpx::HRESULT hr = DPX_Util::GetPropertyByName(object, name, value);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, object->typeName(), "Property '" + name + "' cannot be read");
  return value;
}

void Put(const ObjectPtr& object, const std::string& name, const dpx::Variant& value) {
  const dpx::HRESULT hr = DPX_Util::PutPropertyByName(object, name, value);
  if (dpx::Failed(hr))
    throw dpx::HostError(hr, object->typeName(), "Property '" + name + "' cannot be set to '" + value.toText() + "'");
}

void Call(const ObjectPtr& object, const std::string& name, const std::vector<dpx::Variant>& args = {}) {
  dpx::Variant ignored;
  const dpx::HRESULT hr = object->invoke(name, args, ignored);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, object->typeName(), "Call of " + name + " failed");
}

ObjectPtr Collection(const ObjectPtr& registration, const std::string& name) {
  ObjectPtr lines;
  const dpx::HRESULT hr = registration->getObject(name, lines);
  if (dpx::Failed(hr) || !lines) throw dpx::HostError(hr, registration->typeName(), "No line collection " + name);
  return lines;
}

std::string IntText(const ObjectPtr& object, const std::string& name) {
  return DPX_Util::IntToBSTR(Get(object, name).toInt32());
}

// One line collection of the document: its lines in order, each element
// holding the given properties (true: an integer). "Count" follows "Code"
// in a child-table line.
struct LineField {
  const char* name;
  bool integer;
};
void WriteLines(std::string& xml, const ObjectPtr& registration, const std::string& collection,
                const std::string& linePrefix, std::initializer_list<LineField> fields, bool withCount) {
  const ObjectPtr lines = Collection(registration, collection);
  xml += "<" + collection + ">";
  for (int32_t i = 0; i < Get(lines, "Count").toInt32(); ++i) {
    Call(lines, "SetCurrentLine", {dpx::Variant(i)});
    const std::string tag = linePrefix + std::to_string(i);
    xml += "<" + tag + ">";
    for (const LineField& field : fields) {
      const std::string value = field.integer ? IntText(lines, field.name) : Get(lines, field.name).toText();
      DPX_Util::WrapInBOM(xml, field.name, value, "");
      if (withCount && std::string(field.name) == "Code")
        DPX_Util::WrapInBOM(xml, "Count", std::to_string(Get(lines, "Count").toInt32()), "");
    }
    xml += "</" + tag + ">";
  }
  xml += "</" + collection + ">";
}

// Adds one line per element child of `collection` below the document's
// root (cursor there), setting the named properties; a line without Code is
// left out, and the others keep their positions for SetCurrentLine.
struct SetField {
  const char* name;
  bool integer;
};
void ReadLines(DPX_DOMParser& parser, const ObjectPtr& registration, const std::string& collection,
               std::initializer_list<SetField> fields) {
  auto* root = parser.getCursor();
  if (parser.findElement(collection) == 0) {
    parser.setCursor(root);
    return;
  }
  const ObjectPtr lines = Collection(registration, collection);
  int32_t position = 0;
  if (dpx::records::FirstChildElement(parser)) {
    do {
      if (!DPX_DIInterface::getChildText(parser, "Code").empty()) {
        Call(lines, "Add");
        for (const SetField& field : fields) {
          const std::string text = DPX_DIInterface::getChildText(parser, field.name);
          Put(lines, field.name, field.integer ? dpx::Variant(DPX_Util::BSTRToInt(text)) : dpx::Variant(text));
        }
        Call(lines, "SetCurrentLine", {dpx::Variant(position)});
      }
      ++position;
    } while (dpx::records::NextSiblingElement(parser));
  }
  parser.setCursor(root);
}

// The document's root element ("UDO"), cursor on it; false when the record cannot be read.
bool OpenDocument(DPX_DOMParser& parser, const std::string& xml) {
  if (!parser.loadXML(xml)) return false;
  parser.resetCursor();
  return dpx::records::FirstChildElement(parser);
}

}  // namespace

DPX_UserDefinedObjectsManager::DPX_UserDefinedObjectsManager(DPX_ConnectionContext* context,
                                                             const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"Code"};
  m_keyProperties = {"Name"};
  m_columns = {"Name", "TYPE"};
  m_properties = {"Name", "ObjectType"};
  m_listColumns = {"Code", "Name"};
  m_columnFlags = {0, 0};
}

bool DPX_UserDefinedObjectsManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OUDO", m_columns, m_columnFlags);
  return true;
}

DPX_TableInfo* DPX_UserDefinedObjectsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_UserDefinedObjectsManager::collectDetails");
  initialize();
  auto recordset = listObjectKeys("OUDO", m_keyColumns);
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> texts =
        readRecordKeys(kRegistrationType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (texts.empty()) continue;
    ApplyListTexts(m_context, {kTypeText}, texts);
    m_tableInfo.addListRow(texts);
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_UserDefinedObjectsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  std::vector<DPX_OperationArgs> blocks;
  if (!configuration) return &m_tableInfo;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  initialize();
  for (const DPX_OperationArgs::DataItem& item : blocks.back().dataItems) {
    DPX_DOMParser parser;
    if (!OpenDocument(parser, item.xml)) continue;
    const std::string code = getChildText(parser, "Code");
    DPX_DetailRecord record;
    record.addKeyValue("Code", dpx::Variant(code));
    m_tableInfo.addRow(record);
    // The stored type as it stands: "1", "3" or empty.
    m_tableInfo.addListRow({code, getChildText(parser, "ObjectType")});
  }
  return &m_tableInfo;
}

int32_t DPX_UserDefinedObjectsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                  std::vector<DPX_DetailRecord> chosen) {
  DPX_OperationArgs block = chosen.empty() ? readAllObjects() : readChosenObjects(chosen);
  if (!block.dataItems.empty()) blocks.push_back(std::move(block));
  return 0;
}

bool DPX_UserDefinedObjectsManager::appendRegistration(DPX_OperationArgs& block, dpx::host::Company& base,
                                                       const std::string& code) {
  auto registration = base.GetBusinessObject(kRegistrationType);
  std::string reason = "not found";
  bool found = false;
  try {
    found = dpx::records::GetByKey(*registration, {dpx::Variant(code)});
  } catch (const dpx::HostError& e) {
    reason = e.what();
  }
  if (!found) {
    dpx::DPX_LogScope scope("DPX_UserDefinedObjectsManager::readFromDB");
    scope.LogError("Registration '%s' cannot be read from the base (%s); it is left out", code, reason);
    return false;
  }
  DPX_OperationArgs::DataItem item;
  item.xml = writeObjectXml(registration);
  block.dataItems.push_back(std::move(item));
  return true;
}

DPX_OperationArgs DPX_UserDefinedObjectsManager::readAllObjects() {
  auto base = dpx::records::BaseCompany(m_context);
  auto recordset = base->NewRecordset();
  const std::string sql = "SELECT Code FROM OUDO";
  recordset->DoQuery(base->DbServerType() == 5 ? DPX_SqlStatement::parse(sql) : sql);
  DPX_OperationArgs block;
  block.context = m_context;
  if (recordset->RecordCount() < 1) return block;
  block.set(m_categoryKey, "OUDO", 0, kRegistrationType);
  // All codes first: reading the registrations runs other statements.
  std::vector<std::string> codes;
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) codes.push_back(recordset->Field(0).toText());
  for (const std::string& code : codes) appendRegistration(block, *base, code);
  return block;
}

DPX_OperationArgs DPX_UserDefinedObjectsManager::readChosenObjects(const std::vector<DPX_DetailRecord>& chosen) {
  auto base = dpx::records::BaseCompany(m_context);
  DPX_OperationArgs block;
  block.context = m_context;
  block.set(m_categoryKey, "OUDO", 0, kRegistrationType);
  for (const DPX_DetailRecord& record : chosen)
    if (record.getKeyCount() > 0) appendRegistration(block, *base, record.getKeyValue(0).toText());
  return block;
}

std::string DPX_UserDefinedObjectsManager::writeObjectXml(const ObjectPtr& registration) {
  std::string xml;
  DPX_Util::WrapInBOM(xml, "CanCancel", IntText(registration, "CanCancel"), kRoot);
  for (const char* flag : {"CanClose", "CanCreateDefaultForm", "CanDelete", "CanFind", "CanLog", "CanYearTransfer"})
    DPX_Util::WrapInBOM(xml, flag, IntText(registration, flag), "");
  for (const char* text : {"Code", "ExtensionName", "LogTableName"})
    DPX_Util::WrapInBOM(xml, text, Get(registration, text).toText(), "");
  DPX_Util::WrapInBOM(xml, "ManageSeries", IntText(registration, "ManageSeries"), "");
  DPX_Util::WrapInBOM(xml, "Name", Get(registration, "Name").toText(), "");
  // Only master data (1) and documents (3) carry their type.
  const int32_t type = Get(registration, "ObjectType").toInt32();
  if (type == 1 || type == 3) DPX_Util::WrapInBOM(xml, "ObjectType", std::to_string(type), "");
  DPX_Util::WrapInBOM(xml, "OverwriteDllfile", IntText(registration, "OverwriteDllfile"), "");
  DPX_Util::WrapInBOM(xml, "TableName", Get(registration, "TableName").toText(), "");
  WriteLines(xml, registration, "ChildTables", "CT_",
             {{"Code", false}, {"LogTableName", false}, {"SonNumber", true}, {"TableName", false}}, true);
  WriteLines(xml, registration, "FindColumns", "FiC_",
             {{"Code", false}, {"ColumnAlias", false}, {"ColumnDescription", false}}, false);
  WriteLines(xml, registration, "FormColumns", "FoC_",
             {{"Code", false}, {"FormColumnAlias", false}, {"FormColumnDescription", false}, {"SonNumber", true}},
             false);
  DPX_Util::WrapInBOM(xml, "", "", kRoot);
  return xml;
}

ObjectPtr DPX_UserDefinedObjectsManager::readObjectXml(const DPX_OperationArgs::DataItem& record) {
  auto target = dpx::records::TargetCompany(m_context);
  ObjectPtr registration = target->GetBusinessObject(kRegistrationType);
  DPX_DOMParser parser;
  if (!OpenDocument(parser, record.xml))
    throw dpx::HostError(dpx::E_INVALIDARG, "DPX_UserDefinedObjectsManager",
                         "The registration cannot be read: " + parser.getErrors());
  for (const char* flag : {"CanCancel", "CanClose", "CanCreateDefaultForm", "CanDelete", "CanFind", "CanLog",
                           "CanYearTransfer", "ManageSeries", "OverwriteDllfile"})
    Put(registration, flag, dpx::Variant(DPX_Util::BSTRToInt(getChildText(parser, flag))));
  for (const char* text : {"Code", "ExtensionName", "LogTableName", "Name"})
    Put(registration, text, dpx::Variant(getChildText(parser, text)));
  Put(registration, "ObjectType", dpx::Variant(DPX_Util::BSTRToInt(getChildText(parser, "ObjectType"))));
  Put(registration, "TableName", dpx::Variant(getChildText(parser, "TableName")));
  ReadLines(parser, registration, "ChildTables", {{"LogTableName", false}, {"TableName", false}});
  ReadLines(parser, registration, "FindColumns", {{"ColumnAlias", false}, {"ColumnDescription", false}});
  ReadLines(parser, registration, "FormColumns",
            {{"FormColumnAlias", false}, {"FormColumnDescription", false}, {"SonNumber", true}});
  return registration;
}

void DPX_UserDefinedObjectsManager::findTargetObject(DPX_OperationArgs& block,
                                                     const std::vector<std::string>& listColumns, uint8_t method) {
  if (method == 0) return;
  auto target = dpx::records::TargetCompany(m_context);
  auto recordset = target->NewRecordset();
  for (size_t i = 0; i < block.dataItems.size();) {
    DPX_OperationArgs::DataItem& item = block.dataItems[i];
    DPX_DOMParser parser;
    const bool readable = OpenDocument(parser, item.xml);
    const std::string code = readable ? getChildText(parser, "Code") : std::string();
    // The code goes through the statement builder, so a code with "'" is found.
    DPX_SqlStatement statement(target->DbServerType());
    statement.setTable("OUDO");
    statement.addColumn("Code");
    statement.addColumn("Name");
    statement.addValue("Code", code, DPX_SqlStatement::kAlpha);
    recordset->DoQuery(statement.buildSelect());
    const bool exists = recordset->RecordCount() > 0;
    if ((exists && method == 3) || (!exists && method == 2)) {
      block.dataItems.erase(block.dataItems.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    item.exists = exists;
    item.baseCode = code;
    item.baseDescription = readable && listColumns.size() > 1 ? getChildText(parser, listColumns[1]) : std::string();
    ++i;
  }
}

void DPX_UserDefinedObjectsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_UserDefinedObjectsManager::writeData");
  for (const DPX_OperationArgs& stored : blocks) {
    DPX_OperationArgs block = stored;
    block.context = m_context;
    block.set(m_categoryKey, "OUDO", 0, kRegistrationType);
    findTargetObject(block, m_listColumns, method);
    for (const DPX_OperationArgs::DataItem& record : block.dataItems) {
      switch (method) {
        case 0:
          break;
        case 2:
          updateObject(record);
          break;
        case 3:
          addObject(record);
          break;
        default:  // Replace All's write pass and Add and Update
          record.exists ? updateObject(record) : addObject(record);
          break;
      }
    }
    if (method == 0) removeTargetRecords(block, m_keyColumns, m_listColumns, "");
  }
}

void DPX_UserDefinedObjectsManager::addObject(const DPX_OperationArgs::DataItem& record) { writeObject(record, true); }

void DPX_UserDefinedObjectsManager::updateObject(const DPX_OperationArgs::DataItem& record) {
  writeObject(record, false);
}

void DPX_UserDefinedObjectsManager::writeObject(const DPX_OperationArgs::DataItem& record, bool add) {
  dpx::DPX_LogScope scope(add ? "DPX_UserDefinedObjectsManager::addObject" : "DPX_UserDefinedObjectsManager::updateObject");
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, add ? 3 : 2, record.baseCode, record.baseDescription);
  try {
    ObjectPtr registration = readObjectXml(record);
    dpx::Variant result;
    const dpx::HRESULT hr = registration->invoke(add ? "Add" : "Update", {}, result);
    if (dpx::Failed(hr)) throw dpx::HostError(hr, registration->typeName(), add ? "Add failed" : "Update failed");
    if (result.toInt32() == 0) {
      line.result("402");
    } else {
      const std::string text = dpx::records::LastErrorText(*dpx::records::TargetCompany(m_context));
      line.fail(text.empty() ? "Refused by the target" : text);
    }
  } catch (const dpx::HostError& e) {
    // A value the host would not take fails this registration only.
    line.fail(e.description().empty() ? std::string(e.what()) : e.description());
    scope.LogError("Registration %s not written: %s", record.baseCode, e.what());
  }
  line.write(true);
}
