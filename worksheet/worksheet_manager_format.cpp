// The worksheet file: reading a file into the worksheet model and writing the
// model as the file's header and body. The category tree is a flat list in
// document order; the file nests it by the nodes' levels.
#include <stdexcept>
#include <vector>

#include <fmt/printf.h>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMElement.hpp>

#include "engine/dom_parser.h"
#include "engine/resource_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/variant.h"
#include "worksheet/worksheet_manager.h"

using dpx::DPX_LogScope;
using dpx::E_FAIL;
using dpx::HRESULT;
using dpx::S_OK;

namespace {

// The category tree has a handful of levels; a file nested far deeper is not
// a worksheet, and reading it must not exhaust the stack.
constexpr int kMaxTreeDepth = 64;

// The progress display of a read runs over a fixed range.
constexpr uint16_t kReadProgressRange = 123;

const char* const kTableNameAttribute = "tableName";


const char* FlagText(bool v) { return v ? "true" : "false"; }

int ReadDataAreaFormat(const std::string& v) {
  if (v == "T") return DPX_WorksheetNode::kFormatTable;
  if (v == "D") return DPX_WorksheetNode::kFormatDetail;
  if (v == "N") return DPX_WorksheetNode::kFormatNoRecords;
  return DPX_WorksheetNode::kFormatNone;
}

int Number(const std::string& text) { return static_cast<int>(dpx::LeadingInt(text)); }

// "1,4" gives 4 then 1: the list is taken apart from its end.
void ReadProhibitedCopyMethods(std::string text, DPX_WorksheetNode& node) {
  for (size_t comma = text.rfind(','); comma != std::string::npos; comma = text.rfind(',')) {
    node.addProhibitedCopyMethod(Number(text.substr(comma + 1)));
    text.erase(comma);
  }
  node.addProhibitedCopyMethod(Number(text));
}

// Puts the cursor on the root element, also when comments or processing
// instructions stand before it.
bool GotoRoot(DPX_DOMParser& dom) {
  xercesc::DOMDocument* document = dom.getDocument();
  if (document == nullptr || document->getDocumentElement() == nullptr) return false;
  dom.setCursor(document->getDocumentElement());
  return true;
}

// Walks the element children of the cursor's element: f runs with the cursor
// on each child; the cursor ends back on the parent.
template <class F>
void ForEachChildElement(DPX_DOMParser& dom, F&& f) {
  if (!dom.move(0, true)) return;
  do {
    f();
  } while (dom.move(1, true));
  dom.move(0, false);
}

}  // namespace

// --- Reading ---------------------------------------------------------------

HRESULT DPX_WorksheetManager::readWorksheet(DPX_Worksheet& worksheet, const std::string& path) {
  DPX_LogScope log("DPX_WorksheetManager::readWorksheet");
  failure_.clear();
  if (!DPX_Util::FileExists(path)) {
    failure_ = "the file does not exist";
    log.LogError("File '%s' not found", path);
    DPX_Util::ShowError(fmt::sprintf(HostText(10008), path), false);
    return E_FAIL;
  }
  DPX_DOMParser dom;
  if (!dom.parseFile(path)) {
    failure_ = dom.firstError().empty() ? "it is not an XML file" : dom.firstError();
    log.LogError("Failed to load worksheet from file '%s'", path);
    log.LogError("%s", dom.getErrors());
    return E_FAIL;
  }
  GotoRoot(dom);
  if (dom.findElement("header") > 0) {
    if (getHeaderDataFromXML(worksheet, dom) < 0) {
      failure_ = "its header cannot be read";
      log.LogError("Failed to read header data for worksheet from file '%s'", path);
      return E_FAIL;
    }
    GotoRoot(dom);
  }
  if (dom.findElement("body") == 0 || !dom.move(0, true)) {
    failure_ = "it holds no category tree (no body with nodes)";
    log.LogError("File '%s' doesn't contain selection data", path);
    return E_FAIL;
  }

  const size_t before = worksheet.getNodes().size();
  HRESULT status = S_OK;
  {
    dpx::WaitCursor wait;
    DPX_Util::SetProgress(HostText(10011), 0, kReadProgressRange);
    try {
      status = getTreeDataFromXML(worksheet, dom);
    } catch (const std::exception& e) {
      log.LogError("Exception occured while reading selection data");
      log.LogError("%s", e.what());
      failure_ = e.what();
      status = E_FAIL;
    }
    DPX_Util::ResetProgress();
  }
  if (status >= 0 && worksheet.getNodes().size() == before) {
    // Not one node could be identified: there is nothing to open.
    failure_ = "not one node of its category tree has a leaf_id";
    log.LogError("File '%s' doesn't contain selection data", path);
    status = E_FAIL;
  }
  if (status < 0) {
    log.LogError("Failed to read selection data for worksheet from file '%s'", path);
    return E_FAIL;
  }
  updateStrings(worksheet);
  return status;
}

HRESULT DPX_WorksheetManager::getHeaderDataFromXML(DPX_Worksheet& ws, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::getHeaderDataFromXML");
  ForEachChildElement(dom, [&] {
    const std::string tag = dom.getNodeName();
    const std::string text = dom.getText();
    if (text == "ERROR") return;
    const bool flag = text == "true";
    if (tag == "worksheetName") ws.setWorksheetName(text);
    else if (tag == "sourceServer") ws.setSourceServer(text);
    else if (tag == "sourceServerType") ws.setSourceServerType(Number(text));
    else if (tag == "sourceServerUser") ws.setSourceServerUser(text);
    else if (tag == "sourceServerUseTrusted") ws.setSourceServerUseTrusted(flag);
    else if (tag == "sourceDB") ws.setSourceDB(text);
    else if (tag == "sourceCompanyName") ws.setSourceCompanyName(text);
    else if (tag == "sourceUser") ws.setSourceUser(text);
    else if (tag == "sourceFile") ws.setSourceFile(text);
    else if (tag == "targetServer") ws.setTargetServer(text);
    else if (tag == "targetServerType") ws.setTargetServerType(Number(text));
    else if (tag == "targetServerUser") ws.setTargetServerUser(text);
    else if (tag == "targetServerUseTrusted") ws.setTargetServerUseTrusted(flag);
    else if (tag == "targetDB") ws.setTargetDB(text);
    else if (tag == "targetCompanyName") ws.setTargetCompanyName(text);
    else if (tag == "targetUser") ws.setTargetUser(text);
    else if (tag == "targetFile") ws.setTargetFile(text);
    else if (tag == "creationUser") ws.setCreationUser(text);
    else if (tag == "additionalDescr") ws.setAdditionalDescription(text);
    else if (tag == "backup") ws.setBackup(flag);
    else if (tag == "approval") ws.setApproval(flag);
    else if (tag == "copyMethod") ws.setCopyMethod(Number(text));
    else if (tag == "RTCF") ws.setRTCF(Number(text));
    else if (tag == "FRFMUDF") ws.setFRFMUDF(flag);
  });
  return S_OK;
}

HRESULT DPX_WorksheetManager::getTreeDataFromXML(DPX_Worksheet& worksheet, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::getTreeDataFromXML");
  return readTreeLevel(worksheet, dom, 1);
}

// Reads the elements from the cursor's to its last sibling, and below them;
// returns with the cursor on their parent.
HRESULT DPX_WorksheetManager::readTreeLevel(DPX_Worksheet& worksheet, DPX_DOMParser& dom, int depth) {
  DPX_LogScope log("DPX_WorksheetManager::getTreeDataFromXML");
  if (depth > kMaxTreeDepth)
    throw std::runtime_error(fmt::sprintf("its category tree nests more than %d levels", kMaxTreeDepth));
  std::vector<DPX_WorksheetNode>& nodes = worksheet.getNodes();
  HRESULT status = S_OK;
  do {
    const std::string tag = dom.getNodeName();
    if (tag == "dependencies" || tag == "selection") {
      // These belong to the node read most recently.
      if (nodes.empty()) throw std::runtime_error("'" + tag + "' before the first node");
      status = tag == "dependencies" ? getDependencies(dom, nodes.back()) : getSelection(dom, nodes.back());
      continue;
    }
    DPX_WorksheetNode node;
    std::string value;
    if (!dom.getAttribute("leaf_id", value)) {
      log.LogError("Node '%s' could not be identified", tag);
      continue;
    }
    node.setElementName(tag);
    node.setLeafId(value);
    if (dom.getAttribute("string_id", value)) {
      node.setStringKey(value);
      node.setStringId(keyTable_->getStringId(value));
    }
    if (dom.getAttribute("note", value)) {
      node.setNoteNumber(Number(value));
      if (node.getNoteNumber() > 0) node.setNoteStringId(noteStringId(node.getNoteNumber()));
    }
    if (dom.getAttribute("selected", value)) node.setSelected(Number(value));
    if (dom.getAttribute("data_area_format", value)) node.setDataAreaFormat(ReadDataAreaFormat(value));
    if (dom.getAttribute("allow_selection", value)) node.setAllowSelection(value == "true");
    if (dom.getAttribute("localization_transfer", value)) node.setLocalizationTransfer(value == "true");
    if (dom.getAttribute("prohibited_copyMethods", value)) ReadProhibitedCopyMethods(value, node);
    if (dom.getAttribute("substitute_copyMethod", value)) node.setSubstituteCopyMethod(Number(value));

    nodes.push_back(std::move(node));
    const size_t index = nodes.size() - 1;
    DPX_Util::SetProgressPosition(static_cast<int32_t>(nodes.size()));
    if (dom.move(0, true)) readTreeLevel(worksheet, dom, depth + 1);
    if (nodes.size() == index + 1) nodes[index].setIsLeaf(true);
  } while (dom.move(1, true));
  dom.move(0, false);
  return status;
}

HRESULT DPX_WorksheetManager::getDependencies(DPX_DOMParser& dom, DPX_WorksheetNode& node) {
  DPX_LogScope log("DPX_WorksheetManager::getDependencies");
  node.clearDependencies();
  ForEachChildElement(dom, [&] {
    if (dom.getNodeName() == "leaf_id") node.addDependency(dom.getText());
  });
  return S_OK;
}

HRESULT DPX_WorksheetManager::getSelection(DPX_DOMParser& dom, DPX_WorksheetNode& node) {
  DPX_LogScope log("DPX_WorksheetManager::getSelection");
  node.getSelectionObjects().clear();
  ForEachChildElement(dom, [&] {
    if (dom.getNodeName() != "keyObject") return;
    DPX_SelectionObject object;
    std::string tableName;
    if (dom.getAttribute(kTableNameAttribute, tableName)) object.setTableName(tableName);
    readSelectionObject(dom, object);
    node.addSelectionObject(std::move(object));
  });
  return S_OK;
}

HRESULT DPX_WorksheetManager::readSelectionObject(DPX_DOMParser& dom, DPX_SelectionObject& object) {
  DPX_LogScope log("DPX_WorksheetManager::readSelectionObject");
  object.clearKey();
  object.clearSubsKey();
  object.clearAdditionalData();
  ForEachChildElement(dom, [&] {
    const std::string tag = dom.getNodeName();
    DPX_SelectionField field;
    if (tag == "key") {
      readSelectionField(dom, field);
      object.addKeyField(field);
    } else if (tag == "subsKey") {
      readSelectionField(dom, field);
      object.addSubsKeyField(field);
    } else if (tag == "additionalData") {
      readSelectionField(dom, field);
      object.addAdditionalDataField(field);
    }
  });
  return S_OK;
}

HRESULT DPX_WorksheetManager::readSelectionField(DPX_DOMParser& dom, DPX_SelectionField& field) {
  DPX_LogScope log("DPX_WorksheetManager::readSelectionField");
  ForEachChildElement(dom, [&] {
    const std::string tag = dom.getNodeName();
    if (tag == "fieldName") field.setFieldName(dom.getText());
    else if (tag == "value") field.setValue(dom.getText());
    else if (tag == "type") field.setType(dom.getText());
  });
  return S_OK;
}

HRESULT DPX_WorksheetManager::updateStrings(DPX_Worksheet& worksheet) {
  DPX_LogScope log("DPX_WorksheetManager::updateStrings");
  const int language = dpx::Ui().getLanguage();
  for (DPX_WorksheetNode& node : worksheet.getNodes()) {
    std::string text;
    if (DPX_ResourceManager::loadString(static_cast<int32_t>(node.getStringId()), language, text) == 0) {
      node.setDisplayName(text);
    }
    text.clear();
    if (DPX_ResourceManager::loadString(static_cast<int32_t>(node.getNoteStringId()), language, text) == 0) {
      node.setNoteText(text);
    }
  }
  return S_OK;
}

// --- Writing ---------------------------------------------------------------

HRESULT DPX_WorksheetManager::writeHeaderDataToXML(const DPX_Worksheet& ws, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::writeHeaderDataToXML");
  auto serverType = [](const std::string& server, int type) {
    return server.empty() ? std::string() : fmt::sprintf("%d", type);
  };
  const std::pair<const char*, std::string> elements[] = {
      {"worksheetName", ws.getWorksheetName()},
      {"sourceServer", ws.getSourceServer()},
      {"sourceServerType", serverType(ws.getSourceServer(), ws.getSourceServerType())},
      {"sourceServerUser", ws.getSourceServerUser()},
      {"sourceServerUseTrusted", FlagText(ws.isSourceServerUseTrusted())},
      {"sourceDB", ws.getSourceDB()},
      {"sourceCompanyName", ws.getSourceCompanyName()},
      {"sourceUser", ws.getSourceUser()},
      {"sourceFile", ws.getSourceFile()},
      {"targetServer", ws.getTargetServer()},
      {"targetServerType", serverType(ws.getTargetServer(), ws.getTargetServerType())},
      {"targetServerUser", ws.getTargetServerUser()},
      {"targetServerUseTrusted", FlagText(ws.isTargetServerUseTrusted())},
      {"targetDB", ws.getTargetDB()},
      {"targetCompanyName", ws.getTargetCompanyName()},
      {"targetUser", ws.getTargetUser()},
      {"targetFile", ws.getTargetFile()},
      {"creationUser", ws.getCreationUser()},
      {"additionalDescr", ws.getAdditionalDescription()},
      {"backup", FlagText(ws.isBackup())},
      {"approval", FlagText(ws.isApproval())},
      {"copyMethod", fmt::sprintf("%d", ws.getCopyMethod())},
      {"RTCF", fmt::sprintf("%d", ws.getRTCF())},
      {"FRFMUDF", FlagText(ws.isFRFMUDF())},
  };
  for (const auto& [name, text] : elements) {
    const HRESULT hr = addXmlElement(dom, name, text, false);
    if (hr < 0) return hr;
  }
  return S_OK;
}

HRESULT DPX_WorksheetManager::writeTreeDataToXML(const DPX_Worksheet& worksheet, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::writeTreeDataToXML");
  // The levels of the node elements open above the cursor. A node closes
  // every open element of its own level or deeper and becomes the child of
  // the next one up (or of the body).
  std::vector<int> open;
  HRESULT status = S_OK;
  int count = 0;
  for (const DPX_WorksheetNode& node : worksheet.getNodes()) {
    ++count;
    const int level = node.getLevel();
    while (!open.empty() && open.back() >= level) {
      dom.move(0, false);
      open.pop_back();
    }
    status = writeTreeNodeToXML(node, dom);
    if (status < 0) return status;
    open.push_back(level);
    DPX_Util::SetProgressPosition(count);
  }
  return status;
}

HRESULT DPX_WorksheetManager::writeTreeNodeToXML(const DPX_WorksheetNode& node, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::writeTreeNodeToXML");
  HRESULT hr = addXmlElement(dom, node.getElementName(), "", true);
  if (hr < 0) return hr;
  const std::pair<const char*, std::string> attributes[] = {
      {"leaf_id", node.getLeafId()},
      {"string_id", node.getStringKey()},
      {"selected", fmt::sprintf("%d", node.getSelected())},
  };
  for (const auto& [name, value] : attributes) {
    hr = addXmlAttribute(dom, name, value);
    if (hr < 0) {
      log.LogError("Failed to add attribute '%s' with value '%s': '%s'", name, value, dom.getErrors());
      return hr;
    }
  }
  if (node.getSelectionObjects().empty()) return S_OK;
  hr = addXmlElement(dom, "selection", "", true);
  if (hr < 0) return hr;
  for (const DPX_SelectionObject& object : node.getSelectionObjects()) {
    hr = writeSelectionObjectToXML(object, dom);
    if (hr < 0) return hr;
  }
  dom.move(0, false);
  return S_OK;
}

HRESULT DPX_WorksheetManager::writeSelectionObjectToXML(const DPX_SelectionObject& object, DPX_DOMParser& dom) {
  DPX_LogScope log("DPX_WorksheetManager::writeSelectionObjectToXML");
  HRESULT hr = addXmlElement(dom, "keyObject", "", true);
  if (hr < 0) return hr;
  if (!object.getTableName().empty()) {
    hr = addXmlAttribute(dom, kTableNameAttribute, object.getTableName());
    if (hr < 0) return hr;
  }
  const std::pair<const char*, const DPX_SelectionObject::Fields*> parts[] = {
      {"key", &object.getKey()},
      {"subsKey", &object.getSubsKey()},
      {"additionalData", &object.getAdditionalData()},
  };
  for (const auto& [name, fields] : parts) {
    for (const DPX_SelectionField& field : *fields) {
      hr = addXmlElement(dom, name, "", true);
      if (hr >= 0) hr = writeSelectionObjectToXML(field, dom);
      if (hr < 0) return hr;
      dom.move(0, false);
    }
  }
  dom.move(0, false);
  return S_OK;
}

HRESULT DPX_WorksheetManager::writeSelectionObjectToXML(const DPX_SelectionField& field, DPX_DOMParser& dom) {
  HRESULT hr = addXmlElement(dom, "fieldName", field.getFieldName(), false);
  if (hr >= 0) hr = addXmlElement(dom, "value", field.getValue(), false);
  if (hr >= 0) hr = addXmlElement(dom, "type", field.getType(), false);
  return hr;
}

HRESULT DPX_WorksheetManager::addXmlElement(DPX_DOMParser& dom, const std::string& name, const std::string& text,
                                            bool moveToNew) {
  DPX_LogScope log("DPX_WorksheetManager::addXmlElement");
  try {
    return dom.addElement(name, text, "", "", moveToNew) ? S_OK : E_FAIL;
  } catch (const std::exception& e) {
    log.LogError("Failed to add element '%s': %s", name, e.what());
    return E_FAIL;
  }
}

HRESULT DPX_WorksheetManager::addXmlAttribute(DPX_DOMParser& dom, const std::string& name, const std::string& value) {
  DPX_LogScope log("DPX_WorksheetManager::addXmlAttribute");
  try {
    return dom.addAttribute(name, value) ? S_OK : E_FAIL;
  } catch (const std::exception& e) {
    log.LogError("Failed to add attribute '%s': %s", name, e.what());
    return E_FAIL;
  }
}
