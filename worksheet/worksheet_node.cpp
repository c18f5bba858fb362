// The worksheet node: copying, levels, dependencies and the category tests.
#include "worksheet/worksheet_node.h"

#include <algorithm>
#include <stdexcept>

#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/table_info.h"
#include "engine/ui_services.h"
#include "engine/util.h"

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

DPX_WorksheetNode::DPX_WorksheetNode(const DPX_WorksheetNode& other) { copyFrom(other); }

DPX_WorksheetNode& DPX_WorksheetNode::operator=(const DPX_WorksheetNode& other) {
  if (this != &other) {
    DPX_WorksheetNode copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void DPX_WorksheetNode::copyFrom(const DPX_WorksheetNode& other) {
  elementName_ = other.elementName_;
  leafId_ = other.leafId_;
  stringKey_ = other.stringKey_;
  stringId_ = other.stringId_;
  displayName_ = other.displayName_;
  noteNumber_ = other.noteNumber_;
  noteStringId_ = other.noteStringId_;
  noteText_ = other.noteText_;
  selected_ = other.selected_;
  dataAreaFormat_ = other.dataAreaFormat_;
  allowSelection_ = other.allowSelection_;
  localizationTransfer_ = other.localizationTransfer_;
  prohibitedCopyMethods_ = other.prohibitedCopyMethods_;
  substituteCopyMethod_ = other.substituteCopyMethod_;
  dependencies_.clear();
  for (const std::string& id : other.dependencies_) addDependency(id);
  selectionObjects_ = other.selectionObjects_;
  level_ = other.getLevel();
  isLeaf_ = other.isLeaf_;
  available_ = other.available_;
  hasDependencies_ = other.hasDependencies_;
  // The manager is shared, and with it the records it listed: the details
  // stay valid for as long as any node holds the manager.
  dataInterface_ = other.dataInterface_;
  details_ = other.details_;
  detailsTitle_ = other.detailsTitle_;
  dependentCount_ = 0;
}

bool DPX_WorksheetNode::isProhibitedCopyMethod(int method) const {
  return std::find(prohibitedCopyMethods_.begin(), prohibitedCopyMethods_.end(), method) !=
         prohibitedCopyMethods_.end();
}

bool DPX_WorksheetNode::dependsOn(const std::string& leafId) const {
  for (const std::string& d : dependencies_) {
    if (d == leafId) return true;
    if (leafId.size() > d.size() && StartsWith(leafId, d) && leafId[d.size()] == '.') return true;
  }
  return false;
}

void DPX_WorksheetNode::addDependency(const std::string& leafId) {
  if (!dependsOn(leafId)) dependencies_.push_back(leafId);
}

std::string DPX_WorksheetNode::getDependency(int index) const {
  if (index < 0 || index >= getDependencyCount()) {
    throw std::out_of_range("dependency index " + std::to_string(index) + " out of range");
  }
  return dependencies_[static_cast<size_t>(index)];
}

int DPX_WorksheetNode::getLevel() const {
  if (level_ != 0) return level_;
  if (leafId_.size() < 2) return 1;
  return 1 + static_cast<int>(std::count(leafId_.begin() + 1, leafId_.end(), '.'));
}

bool DPX_WorksheetNode::isUserDefinedNode() const {
  switch (stringId_) {
    case 702: case 147: case 148: case 149: case 704: case 705: case 706:
      return true;
    default:
      return false;
  }
}

bool DPX_WorksheetNode::isQueriesNode() const { return stringId_ == 701; }

bool DPX_WorksheetNode::isPrintLayoutNode() const {
  return stringId_ == 707 || stringId_ == 708 || stringId_ == 709;
}

void DPX_WorksheetNode::setDataInterface(std::shared_ptr<DPX_DIInterface> manager) {
  if (manager != dataInterface_) {
    // Records listed by another manager are no longer this node's.
    details_ = nullptr;
    detailsTitle_.clear();
  }
  dataInterface_ = std::move(manager);
}

void DPX_WorksheetNode::releaseDataInterface() {
  // The listed records live in the manager; they go with it.
  details_ = nullptr;
  dataInterface_.reset();
}

int DPX_WorksheetNode::loadDetails(DPX_TableInfo*& details) {
  if (details_ != nullptr) {
    details = details_;
    return 0;
  }
  if (!dataInterface_) throw std::logic_error("node " + leafId_ + " has no category manager to list its records");
  dpx::WaitCursor wait;
  details_ = dataInterface_->collectDetails();
  detailsTitle_ = details_ != nullptr ? details_->getTableName() : std::string();
  details = details_;
  return 1;
}

DPX_SelectionObject* DPX_WorksheetNode::matchSelection(const DPX_DetailRecord& record, bool useFieldValues) {
  const std::vector<std::string>& names = useFieldValues ? record.getNames() : record.getKeyNames();
  const std::vector<dpx::Variant>& values = useFieldValues ? record.getValues() : record.getKeyValues();
  const size_t n = names.size();
  std::vector<std::string> texts;
  texts.reserve(n);
  for (size_t i = 0; i < n; ++i) texts.push_back(i < values.size() ? DPX_Util::VariantToString(values[i]) : std::string());

  for (DPX_SelectionObject& object : selectionObjects_) {
    size_t count = 0;
    for (const DPX_SelectionField& field : object.getKey()) {
      for (size_t i = 0; i < n; ++i) {
        if (field.getFieldName() == names[i] && field.getValue() == texts[i]) ++count;
      }
    }
    if (count == n) return &object;
  }
  return nullptr;
}
