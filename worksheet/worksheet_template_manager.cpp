// The worksheet template: read once, looked up by leaf id, copied into new
// worksheets and stamped onto read ones.
#include "worksheet/worksheet_template_manager.h"

#include <stdexcept>
#include <utility>

#include <fmt/printf.h>

#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "worksheet/worksheet_manager.h"

using dpx::DPX_LogScope;
using dpx::E_FAIL;
using dpx::HRESULT;
using dpx::S_OK;

namespace {

constexpr uint32_t kInvalidData = 10036;

// The substitute that tells the copy "cannot be copied with this method".
constexpr int kSubstituteNotCopied = 33;

bool IsValidSubstitute(int method) { return (method >= 1 && method <= 4) || method == kSubstituteNotCopied; }

// The leaf id of the parent: the id cut before its last '.'; false at the top.
bool CutToParent(std::string& leafId) {
  const size_t dot = leafId.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  leafId.erase(dot);
  return true;
}

}  // namespace

DPX_WorksheetTemplateManager& DPX_WorksheetTemplateManager::instance() {
  static DPX_WorksheetTemplateManager one;
  return one;
}

DPX_WorksheetTemplateManager& DPX_WorksheetTemplateManager::getInstance(DPX_ConnectionContext* context) {
  DPX_WorksheetTemplateManager& one = instance();
  one.context_ = context;
  if (!one.initialized_) one.initialize();
  return one;
}

void DPX_WorksheetTemplateManager::setTemplatePath(const std::string& path) {
  DPX_WorksheetTemplateManager& instance = DPX_WorksheetTemplateManager::instance();
  instance.pathOverride_ = path;
  instance.initialized_ = false;
  instance.template_ = DPX_Worksheet();
  instance.nodeMap_.clear();
  instance.leafKeyMap_.clear();
}

std::string DPX_WorksheetTemplateManager::templatePath() const {
  if (!pathOverride_.empty()) return pathOverride_;
  std::string folder;
  DPX_Util::GetModuleFolder(folder);
  return fmt::sprintf("%s%s", folder, "WorkSheet.tpl");
}

HRESULT DPX_WorksheetTemplateManager::initialize() {
  DPX_LogScope log("DPX_WorksheetTemplateManager::initialize");
  template_ = DPX_Worksheet();
  nodeMap_.clear();
  leafKeyMap_.clear();
  DPX_WorksheetManager reader(context_);
  const HRESULT status = reader.readWorksheet(template_, templatePath());
  if (status < 0) {
    template_ = DPX_Worksheet();
    return status;
  }
  initialized_ = true;
  const std::vector<DPX_WorksheetNode>& nodes = template_.getNodes();
  for (size_t i = 0; i < nodes.size(); ++i) {
    nodeMap_.emplace_back(nodes[i].getLeafId(), i);
    if (nodes[i].isLeaf()) leafKeyMap_.emplace_back(nodes[i].getStringKey(), nodes[i].getLeafId());
  }
  updateFlags();
  validateSubstitutes();
  return status;
}

void DPX_WorksheetTemplateManager::validateSubstitutes() {
  DPX_LogScope log("DPX_WorksheetTemplateManager::validateSubstitutes");
  for (DPX_WorksheetNode& node : template_.getNodes()) {
    if (node.getProhibitedCopyMethods().empty() || IsValidSubstitute(node.getSubstituteCopyMethod())) continue;
    std::string methods;
    for (int m : node.getProhibitedCopyMethods()) methods += (methods.empty() ? "" : ",") + std::to_string(m);
    if (node.getSubstituteCopyMethod() == DPX_WorksheetNode::kNoSubstitute) {
      log.LogError("Node '%s' (%s) of the worksheet template prohibits copy methods %s without a substitute",
                   node.getLeafId(), node.getStringKey(), methods);
    } else {
      log.LogError("Node '%s' (%s) of the worksheet template has the invalid substitute copy method %d",
                   node.getLeafId(), node.getStringKey(), node.getSubstituteCopyMethod());
    }
    // Whatever the file says, a prohibited method must never turn into
    // another operation: without a valid substitute the category is not
    // copied with it.
    node.setSubstituteCopyMethod(DPX_WorksheetNode::kNoSubstitute);
  }
}

const DPX_WorksheetNode* DPX_WorksheetTemplateManager::findNode(const std::string& leafId) const {
  for (const auto& [id, index] : nodeMap_) {
    if (id == leafId) return &template_.getNodes()[index];
  }
  return nullptr;
}

DPX_WorksheetNode* DPX_WorksheetTemplateManager::findNode(const std::string& leafId) {
  return const_cast<DPX_WorksheetNode*>(std::as_const(*this).findNode(leafId));
}

bool DPX_WorksheetTemplateManager::hasNode(const std::string& leafId) const { return findNode(leafId) != nullptr; }

const DPX_WorksheetNode& DPX_WorksheetTemplateManager::getNode(const std::string& leafId) const {
  const DPX_WorksheetNode* node = findNode(leafId);
  if (node == nullptr) throw std::out_of_range("no template node '" + leafId + "'");
  return *node;
}

HRESULT DPX_WorksheetTemplateManager::getLeafIdFromStringKey(const std::string& stringKey, std::string& leafId) const {
  leafId.clear();
  for (const auto& [key, id] : leafKeyMap_) {
    if (key == stringKey) {
      leafId = id;
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT DPX_WorksheetTemplateManager::getNodeNameFromID(const std::string& leafId, std::string& name,
                                                        std::string& path) const {
  DPX_LogScope log("DPX_WorksheetTemplateManager::getNodeNameFromID");
  name.clear();
  path.clear();
  const DPX_WorksheetNode* node = findNode(leafId);
  if (node == nullptr) {
    log.LogError("Node '%s' not found in worksheet template!", leafId);
    return E_FAIL;
  }
  name = node->getDisplayName();
  std::string id = leafId;
  while (CutToParent(id)) {
    const DPX_WorksheetNode* ancestor = findNode(id);
    if (ancestor == nullptr) {
      log.LogError("Node '%s' not found in worksheet template!", id);
      return E_FAIL;
    }
    path = path.empty() ? ancestor->getDisplayName() : fmt::sprintf("%s>%s", ancestor->getDisplayName(), path);
  }
  return S_OK;
}

HRESULT DPX_WorksheetTemplateManager::getWorksheetTemplate(DPX_Worksheet& worksheet) const {
  std::vector<DPX_WorksheetNode>& nodes = worksheet.getNodes();
  nodes.clear();
  nodes.reserve(template_.getNodes().size());
  for (const DPX_WorksheetNode& node : template_.getNodes()) nodes.push_back(node);
  return S_OK;
}

HRESULT DPX_WorksheetTemplateManager::updateWorksheetFromTemplate(DPX_Worksheet& worksheet) const {
  DPX_LogScope log("DPX_WorksheetTemplateManager::updateWorksheetFromTemplate");
  for (DPX_WorksheetNode& node : worksheet.getNodes()) {
    const DPX_WorksheetNode* rules = findNode(node.getLeafId());
    if (rules == nullptr) {
      log.LogError("Node '%s' not found in worksheet template!", node.getLeafId());
      DPX_Util::ShowError(HostText(kInvalidData), false);
      return E_FAIL;
    }
    node.setStringKey(rules->getStringKey());
    node.setStringId(rules->getStringId());
    node.setNoteNumber(rules->getNoteNumber());
    node.setNoteStringId(rules->getNoteStringId());
    node.setDataAreaFormat(rules->getDataAreaFormat());
    node.setAllowSelection(rules->isAllowSelection());
    node.setLocalizationTransfer(rules->isLocalizationTransfer());
    // A worksheet file can carry rules of its own; only the template's count,
    // so a file never stops or changes the copy of a category.
    node.getProhibitedCopyMethods() = rules->getProhibitedCopyMethods();
    node.setSubstituteCopyMethod(rules->getSubstituteCopyMethod());
    node.setLevel(rules->getLevel());
    for (const std::string& id : rules->getDependencies()) node.addDependency(id);
    node.setHasDependencies(rules->hasDependencies());
    if (node.isLeaf() && node.getSelected() == DPX_WorksheetNode::kSelectedPartly && !rules->isAllowSelection()) {
      // Picks on a category that is copied only as a whole would be read as
      // anything but what the user chose: nothing of it is copied.
      const std::string message = fmt::sprintf(
          "The worksheet picks single records of %s, which is copied only as a whole; the category is not copied",
          node.getStringKey());
      log.LogWarning("%s", message);
      DPX_Util::ShowError(message, false);
      node.setSelected(DPX_WorksheetNode::kNotSelected);
      node.getSelectionObjects().clear();
    }
  }
  return S_OK;
}

HRESULT DPX_WorksheetTemplateManager::updateFlags() {
  DPX_LogScope log("DPX_WorksheetTemplateManager::updateFlags");
  std::vector<DPX_WorksheetNode>& nodes = template_.getNodes();
  for (size_t i = 0; i < nodes.size(); ++i) {
    nodes[i].setHasDependencies(nodes[i].getDependencyCount() > 0);
    std::string id = nodes[i].getLeafId();
    while (CutToParent(id)) {
      DPX_WorksheetNode* ancestor = findNode(id);
      if (ancestor == nullptr) {
        log.LogError("Node '%s' not found in worksheet template!", id);
        continue;
      }
      if (nodes[i].isLocalizationTransfer()) ancestor->setLocalizationTransfer(true);
    }
  }
  return S_OK;
}

HRESULT DPX_WorksheetTemplateManager::updateStrings() {
  DPX_WorksheetManager manager(context_);
  return manager.updateStrings(template_);
}
