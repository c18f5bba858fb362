#include "ui/tree_form_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <fmt/printf.h>

#include "engine/connection_context.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "ui/detail_form_dlg.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"
#include "ui/tree_model.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_node.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;
using dpx::ui::Q;

namespace {

std::string Load(uint32_t id) { return dpx::StringTable::Load(id, DPX_GUIManager::getInstance().getLanguage()); }

// Server types whose databases cannot hold user-defined categories.
bool WithoutUserDefined(const std::shared_ptr<dpx::host::Company>& company) {
  if (!company) return false;
  const int type = company->DbServerType();
  return type == 2 || type == 3 || type == 5;
}

// A dependency id covers the leaf itself and every leaf below it.
bool Covers(const std::string& dependency, const std::string& leafId) {
  return leafId == dependency || (leafId.size() > dependency.size() && leafId.compare(0, dependency.size(), dependency) == 0 &&
                                  leafId[dependency.size()] == '.');
}

}  // namespace

DPX_TreeFormDlg::DPX_TreeFormDlg(QWidget* parent) : QWidget(parent) {
  setObjectName("DPX_TreeFormDlg");
  auto* layout = new QGridLayout(this);
  auto* baseLabel = new QLabel(this);
  baseLabel->setObjectName("902");
  baseEdit_ = new QLineEdit(this);
  baseEdit_->setObjectName("903");
  baseEdit_->setReadOnly(true);
  auto* targetLabel = new QLabel(this);
  targetLabel->setObjectName("904");
  targetEdit_ = new QLineEdit(this);
  targetEdit_->setObjectName("906");
  targetEdit_->setReadOnly(true);
  caption_ = new QLabel(this);
  caption_->setObjectName("905");
  QFont bold = caption_->font();
  bold.setBold(true);
  bold.setUnderline(true);
  caption_->setFont(bold);
  tree_ = new QTreeView(this);
  tree_->setObjectName("901");
  tree_->setHeaderHidden(true);
  model_ = new DPX_TreeModel(this);
  tree_->setModel(model_);
  layout->addWidget(baseLabel, 0, 0);
  layout->addWidget(baseEdit_, 0, 1);
  layout->addWidget(targetLabel, 1, 0);
  layout->addWidget(targetEdit_, 1, 1);
  layout->addWidget(caption_, 2, 0, 1, 2);
  layout->addWidget(tree_, 3, 0, 1, 2);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { onChangeSelectedNode(); });
  auto remember = [this](const QModelIndex& index, bool expanded) {
    if (busy_) return;
    const int item = model_->itemOf(index);
    if (item < 0) return;
    expanded_[model_->items()[static_cast<size_t>(item)].node->getLeafId()] = expanded;
    remarkAll();
  };
  connect(tree_, &QTreeView::expanded, this, [remember](const QModelIndex& i) { remember(i, true); });
  connect(tree_, &QTreeView::collapsed, this, [remember](const QModelIndex& i) { remember(i, false); });
}

DPX_TreeFormDlg::~DPX_TreeFormDlg() = default;

int DPX_TreeFormDlg::stateOf(const std::string& leafId) const {
  auto it = states_.find(leafId);
  return it == states_.end() ? 0 : it->second;
}

int DPX_TreeFormDlg::imageOf(const std::string& leafId) const {
  auto it = images_.find(leafId);
  return it == images_.end() ? 0 : it->second;
}

void DPX_TreeFormDlg::setImage(const std::string& leafId, int image) { images_[leafId] = image; }

void DPX_TreeFormDlg::storeState(const std::string& leafId, int state) {
  auto it = states_.find(leafId);
  if (it != states_.end()) it->second = state;
}

bool DPX_TreeFormDlg::isDisabled(const DPX_WorksheetNode& node) const {
  return (userDefinedDisabled_ && node.isUserDefinedNode()) || (localizationDisabled_ && !node.isLocalizationTransfer());
}

bool DPX_TreeFormDlg::isTableShown() const {
  return currentNode_ && currentNode_->getDataAreaFormat() == DPX_WorksheetNode::kFormatTable && currentEnabled_;
}

bool DPX_TreeFormDlg::isExpanded(int item) const { return tree_->isExpanded(model_->indexOf(item)); }

HRESULT DPX_TreeFormDlg::showCurrentWorksheet() {
  DPX_LogScope log("DPX_TreeFormDlg::showCurrentWorksheet");
  selectionView_ = dependencyDisplay_ = undoAvailable_ = userDefinedDisabled_ = localizationDisabled_ = false;
  currentLeafId_.clear();
  currentEnabled_ = false;
  shownNode_ = nullptr;
  states_.clear();
  previousStates_.clear();
  marks_.clear();
  images_.clear();
  expanded_.clear();
  findChild<QLabel*>("902")->setText(Q(Load(2039)));
  findChild<QLabel*>("904")->setText(Q(Load(2040)));
  caption_->setText(Q(Load(405)));
  worksheet_ = nullptr;
  showHeaderData();
  DPX_SelectionManager* selection = DPX_GUIManager::getInstance().getSelectionManager();
  worksheet_ = selection ? selection->getWorksheet() : nullptr;
  if (!worksheet_) return dpx::E_FAIL;

  busy_ = true;
  dpx::WaitCursor wait;
  for (auto& node : worksheet_->getNodes()) {
    if (isDisabled(node)) node.setSelected(DPX_WorksheetNode::kNotSelected);
    states_[node.getLeafId()] = previousStates_[node.getLeafId()] = node.getSelected();
    expanded_[node.getLeafId()] = false;
    marks_[node.getLeafId()] = images_[node.getLeafId()] = 0;
  }
  fillTree();
  // The all-dependencies view outlives a worksheet: its counts start from this one's ticks.
  if (showAllDependencies_) refreshDependencyMarks();
  HRESULT result = dpx::S_OK;
  try {
    if (detailForm_) result = detailForm_->initializeWorksheet(worksheet_);
  } catch (const std::exception& e) {
    log.LogError("The record list cannot show the worksheet: %s", e.what());
    result = dpx::E_FAIL;
  }
  if (dpx::Failed(result)) return result;
  busy_ = false;
  onChangeSelectedNode();
  return result;
}

void DPX_TreeFormDlg::clear() {
  busy_ = true;
  baseEdit_->clear();
  targetEdit_->clear();
  model_->reset({});
  if (detailForm_) detailForm_->clear();
  worksheet_ = nullptr;
  currentNode_ = shownNode_ = nullptr;
  currentLeafId_.clear();
  currentEnabled_ = dependencyDisplay_ = selectionView_ = false;
  busy_ = false;
}

HRESULT DPX_TreeFormDlg::showHeaderData() {
  DPX_LogScope log("DPX_TreeFormDlg::showHeaderData");
  DPX_ConnectionContext* context = DPX_GUIManager::getInstance().getContext();
  if (!context) return dpx::E_FAIL;
  const auto base = context->getBaseCompany();
  const auto target = context->getTargetCompany();
  std::string text;
  if (base) {
    try {
      text = base->CompanyName();
    } catch (const std::exception& e) {
      log.LogWarning("The base company's name cannot be read: %s", e.what());
    }
  } else {
    DPX_Util::GetFileName(context->getBaseFile(), text);
  }
  baseEdit_->setText(Q(text));
  std::string file;
  DPX_Util::GetFileName(context->getTargetFile(), file);
  const std::string name = context->getTargetName();
  targetEdit_->setText(Q(context->getTargetFile().empty() ? name : (name.empty() ? file : name + " / " + file)));

  const bool ud = WithoutUserDefined(base) || WithoutUserDefined(target);
  bool loc = false;
  if (target && target->Connected()) {
    std::string targetLoc, baseLoc;
    DPX_Util::GetLocalization(0, target, targetLoc);
    if (base) {
      DPX_Util::GetLocalization(0, base, baseLoc);
    } else {
      DPX_ConfigurationManager preview(context);
      if (preview.previewConfiguration() == dpx::S_OK) baseLoc = preview.header().localization;
    }
    loc = targetLoc != baseLoc;
  }
  const bool shown = worksheet_ != nullptr;
  const bool newlyDisabled = shown && ((ud && !userDefinedDisabled_) || (loc && !localizationDisabled_));
  const bool changed = shown && (ud != userDefinedDisabled_ || loc != localizationDisabled_);
  userDefinedDisabled_ = ud;
  localizationDisabled_ = loc;
  if (newlyDisabled) {
    for (auto& node : worksheet_->getNodes()) {
      if (!isDisabled(node)) continue;
      node.setSelected(DPX_WorksheetNode::kNotSelected);
      if (detailForm_) detailForm_->selectNodeRecords(&node, false);
      states_[node.getLeafId()] = previousStates_[node.getLeafId()] = 0;
    }
    busy_ = true;
    fillTree();
    busy_ = false;
  }
  if (changed) onChangeSelectedNode();
  return dpx::S_OK;
}

void DPX_TreeFormDlg::fillTree() {
  DPX_LogScope log("DPX_TreeFormDlg::FillTree");
  std::vector<DPX_TreeModel::Item> items;
  if (worksheet_) {
    const bool fromFile = worksheet_->isSourceFromFile();
    std::vector<int> lastAtLevel;
    for (auto& node : worksheet_->getNodes()) {
      if (fromFile && !node.isAvailable()) continue;
      if (selectionView_ && stateOf(node.getLeafId()) == 0) continue;
      const int level = std::max(1, node.getLevel());
      // A node whose parent level has no item goes under the nearest one above.
      int parent = -1;
      for (int l = std::min(level - 1, static_cast<int>(lastAtLevel.size())); l >= 1 && parent < 0; --l)
        parent = lastAtLevel[static_cast<size_t>(l - 1)];
      const int index = static_cast<int>(items.size());
      items.push_back({&node, parent, {}});
      if (parent >= 0) items[static_cast<size_t>(parent)].children.push_back(index);
      lastAtLevel.resize(static_cast<size_t>(level), -1);
      lastAtLevel[static_cast<size_t>(level - 1)] = index;
    }
  }
  model_->reset(std::move(items));
  int toSelect = -1;
  const auto& all = model_->items();
  for (size_t i = 0; i < all.size(); ++i) {
    const std::string& id = all[i].node->getLeafId();
    if (id == currentLeafId_) toSelect = static_cast<int>(i);
    if (!all[i].children.empty() && expanded_[id]) tree_->setExpanded(model_->indexOf(static_cast<int>(i)), true);
  }
  if (toSelect < 0 && !model_->roots().empty()) toSelect = model_->roots().front();
  if (toSelect >= 0) {
    const QModelIndex index = model_->indexOf(toSelect);
    tree_->scrollTo(index);
    tree_->setCurrentIndex(index);
  }
  remarkAll();
}

void DPX_TreeFormDlg::setItemState(int item, int state) {
  const auto& entry = model_->items()[static_cast<size_t>(item)];
  DPX_WorksheetNode* node = entry.node;
  node->setSelected(state);
  if (state != 0 && isDisabled(*node)) return;
  const int old = stateOf(node->getLeafId());
  storeState(node->getLeafId(), state);
  if (!entry.children.empty()) {
    for (int child : entry.children) setItemState(child, state);
  } else if ((state == 0 || state == 1) && detailForm_) {
    detailForm_->selectNodeRecords(node, state == 1);
  }
  if (!showAllDependencies_) return;
  // Only a change between unticked and ticked changes what the category needs.
  if (old == 0 && state != 0) addDependentCounts(*node, +1);
  else if (old != 0 && state == 0) addDependentCounts(*node, -1);
  markItemAllDependencies(item);
}

void DPX_TreeFormDlg::updateParentStatus(int item) {
  DPX_LogScope log("DPX_TreeFormDlg::UpdateParentStatus");
  const auto& items = model_->items();
  int result = 0;
  for (int p = items[static_cast<size_t>(item)].parent; p >= 0; p = items[static_cast<size_t>(p)].parent) {
    if (result < 2) {
      int seen = 0, checked = 0;
      result = -1;
      for (int child : items[static_cast<size_t>(p)].children) {
        const int s = stateOf(items[static_cast<size_t>(child)].node->getLeafId());
        ++seen;
        if (s == 2 || (s == 1 && seen > ++checked) || (s == 0 && checked > 0)) {
          result = 2;
          break;
        }
      }
      if (result < 0) result = checked > 0 ? 1 : 0;
    }
    storeState(items[static_cast<size_t>(p)].node->getLeafId(), result);
  }
}

void DPX_TreeFormDlg::afterUserChange() {
  if (!selectionView_) {
    DPX_GUIManager::getInstance().enableMenuOptions();
  } else {
    selectionView_ = false;
    toggleSelectionView();
  }
  remarkAll();
}

void DPX_TreeFormDlg::onCheckItem(int item) {
  DPX_LogScope log("DPX_TreeFormDlg::OnCheckItem");
  if (item < 0 || !worksheet_) return;
  DPX_WorksheetNode* node = model_->items()[static_cast<size_t>(item)].node;
  if (isDisabled(*node)) return;
  previousStates_ = states_;
  if (detailForm_) detailForm_->saveCurrentSelectionStatus();
  const int state = stateOf(node->getLeafId()) == 0 ? 1 : 0;
  setItemState(item, state);
  updateParentStatus(item);
  undoAvailable_ = true;
  worksheet_->setModified(true);
  afterUserChange();
}

HRESULT DPX_TreeFormDlg::onChangeLeafData(int state, int hint) {
  DPX_LogScope log("DPX_TreeFormDlg::onChangeLeafData");
  if (busy_) return dpx::S_OK;
  const int item = model_->itemOf(tree_->currentIndex());
  if (item < 0 || !worksheet_) return dpx::S_FALSE;
  worksheet_->setModified(true);
  const int old = stateOf(model_->items()[static_cast<size_t>(item)].node->getLeafId());
  if ((old == 2 && !hint) || state == old) return dpx::S_OK;
  setItemState(item, state);
  updateParentStatus(item);
  if (selectionView_ && (old == 0) != (state == 0)) {
    selectionView_ = false;
    toggleSelectionView();
  }
  remarkAll();
  return dpx::S_OK;
}

void DPX_TreeFormDlg::selectAll(bool select) {
  if (!worksheet_) return;
  const int target = select ? 1 : 0;
  bool changes = false;
  for (const auto& node : worksheet_->getNodes())
    changes = changes || (stateOf(node.getLeafId()) != target && !(select && isDisabled(node)));
  if (!changes) return;
  previousStates_ = states_;
  if (detailForm_) detailForm_->saveCurrentSelectionStatus();
  const bool view = selectionView_;
  if (view) toggleSelectionView();
  busy_ = true;
  for (int root : model_->roots()) setItemState(root, target);
  busy_ = false;
  worksheet_->setModified(true);
  if (!undoAvailable_) {
    undoAvailable_ = true;
    if (!selectionView_) DPX_GUIManager::getInstance().enableMenuOptions();
  }
  if (view) toggleSelectionView();
  // The warning flag follows the new selection; the images are those of a
  // select-all (no collapsed marks while the all-dependencies view is on).
  remarkTree();
  suppressCollapsedMarks_ = showAllDependencies_;
  selectAllValue_ = select;
  refreshDependencyMarks();
  suppressCollapsedMarks_ = selectAllValue_ = false;
}

void DPX_TreeFormDlg::selectAllDetails(bool select) {
  const int target = select ? 1 : 0;
  const int item = model_->itemOf(tree_->currentIndex());
  if (!isTableShown() || item < 0 || stateOf(currentNode_->getLeafId()) == target) return;
  setItemState(item, target);
  updateParentStatus(item);
  worksheet_->setModified(true);
  afterUserChange();
}

void DPX_TreeFormDlg::undoSelection() {
  if (!undoAvailable_ || !worksheet_) return;
  const bool view = selectionView_;
  if (view) toggleSelectionView();
  // The previous selection becomes the current one, and the current one what
  // the next undo brings back.
  std::swap(states_, previousStates_);
  if (detailForm_) detailForm_->restorePreviousSelectionStatus();
  worksheet_->setModified(true);
  if (view) toggleSelectionView();
  remarkTree();
  refreshDependencyMarks();
}

void DPX_TreeFormDlg::toggleSelectionView() {
  selectionView_ = !selectionView_;
  if (detailForm_) detailForm_->setSelectionView(selectionView_);
  busy_ = true;
  fillTree();
  busy_ = false;
  onChangeSelectedNode();
}

void DPX_TreeFormDlg::toggleShowAllDependencies() {
  showAllDependencies_ = !showAllDependencies_;
  refreshDependencyMarks();
}

bool DPX_TreeFormDlg::selectLeaf(const std::string& leafId) {
  const auto& items = model_->items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].node->getLeafId() != leafId) continue;
    tree_->setCurrentIndex(model_->indexOf(static_cast<int>(i)));
    return true;
  }
  return false;
}

void DPX_TreeFormDlg::onChangeSelectedNode() {
  DPX_LogScope log("DPX_TreeFormDlg::OnChangeSelectedNode");
  if (busy_) return;
  const int item = model_->itemOf(tree_->currentIndex());
  if (item >= 0) {
    currentNode_ = model_->items()[static_cast<size_t>(item)].node;
    currentLeafId_ = currentNode_->getLeafId();
    currentHasDependencies_ = currentNode_->hasDependencies();
    currentEnabled_ = !isDisabled(*currentNode_);
  } else {
    currentNode_ = shownNode_ = nullptr;
    currentLeafId_.clear();
    currentEnabled_ = currentHasDependencies_ = dependencyDisplay_ = false;
  }
  if (detailForm_) detailForm_->setCurrentNode(currentNode_, currentEnabled_);
  DPX_GUIManager::getInstance().enableMenuOptions();
}

void DPX_TreeFormDlg::hideDependencies() {
  if (!dependencyDisplay_) return;
  dependencyDisplay_ = false;
  shownNode_ = nullptr;
  remarkAll();
}

void DPX_TreeFormDlg::showDependencies() {
  hideDependencies();
  if (!currentNode_) return;
  shownNode_ = currentNode_;
  dependencyDisplay_ = true;
  remarkAll();
  bool all = true;
  for (int i = 1; i <= 7; ++i) all = all && shownNode_->dependsOn(fmt::sprintf("%d", i));
  if (all) {
    DPX_Util::ShowInformation(Load(10040), true);
  } else if (dependencyCount_ == 0) {
    DPX_Util::ShowInformation(Load(10039), false);
  } else {
    DPX_Util::ShowInformation(fmt::sprintf(Load(10038), dependencyCount_), false);
    if (hiddenDependencyCount_ > 0) DPX_Util::ShowWarning(Load(10041), true);
  }
}

void DPX_TreeFormDlg::remarkTree() {
  dependencyCount_ = hiddenDependencyCount_ = 0;
  unselectedDependencies_ = false;
  for (int root : model_->roots()) markItem(root);
  if (dependencyDisplay_ && shownNode_ && worksheet_ && (selectionView_ || worksheet_->isSourceFromFile())) {
    std::map<const DPX_WorksheetNode*, bool> inTree;
    for (const auto& item : model_->items()) inTree[item.node] = true;
    for (const auto& node : worksheet_->getNodes()) {
      if (!node.isLeaf() || stateOf(node.getLeafId()) != 0 || inTree.count(&node)) continue;
      if (!shownNode_->dependsOn(node.getLeafId())) continue;
      ++dependencyCount_;
      ++hiddenDependencyCount_;
    }
  }
  model_->refresh();
}

void DPX_TreeFormDlg::markItem(int item) {
  const auto& items = model_->items();
  const auto& entry = items[static_cast<size_t>(item)];
  const DPX_WorksheetNode* node = entry.node;
  const int state = stateOf(node->getLeafId());
  int image = 0;
  if (node->isLeaf() && state != 0 && node->hasDependencies()) {
    for (const std::string& dependency : node->getDependencies()) {
      if (stateOf(dependency) == 1) continue;
      unselectedDependencies_ = true;
      image = 1;
      for (int p = entry.parent; p >= 0; p = items[static_cast<size_t>(p)].parent) {
        const std::string& id = items[static_cast<size_t>(p)].node->getLeafId();
        if (!isExpanded(p) && marks_[id] == 0) marks_[id] = images_[id] = 2;
      }
      break;
    }
  }
  if (dependencyDisplay_ && shownNode_ && node != shownNode_ && state != 1) {
    if (node->isLeaf()) {
      if (shownNode_->dependsOn(node->getLeafId())) {
        image = 3;
        ++dependencyCount_;
      }
    } else if (!isExpanded(item)) {
      bool below = shownNode_->dependsOn(node->getLeafId());
      for (const std::string& d : shownNode_->getDependencies())
        below = below || (Covers(node->getLeafId(), d) && d != node->getLeafId() && stateOf(d) != 1);
      if (below) image = 4;
    }
  }
  marks_[node->getLeafId()] = images_[node->getLeafId()] = image;
  for (int child : entry.children) markItem(child);
}

void DPX_TreeFormDlg::remarkAll() {
  remarkTree();
  if (showAllDependencies_) markAllDependencies();
}

void DPX_TreeFormDlg::refreshDependencyMarks() {
  if (!worksheet_) return;
  dpx::WaitCursor wait;
  for (auto& node : worksheet_->getNodes()) node.resetDependentCount();
  if (showAllDependencies_) {
    for (const auto& node : worksheet_->getNodes())
      if (stateOf(node.getLeafId()) != 0) addDependentCounts(node, +1);
  }
  markAllDependencies();
}

void DPX_TreeFormDlg::addDependentCounts(const DPX_WorksheetNode& node, int delta) {
  if (!worksheet_) return;
  for (const std::string& dependency : node.getDependencies()) {
    for (auto& leaf : worksheet_->getNodes())
      if (leaf.isLeaf() && Covers(dependency, leaf.getLeafId())) leaf.addDependentCount(delta);
  }
}

void DPX_TreeFormDlg::markAllDependencies() {
  for (size_t i = 0; i < model_->items().size(); ++i) markItemAllDependencies(static_cast<int>(i));
  model_->refresh();
}

int DPX_TreeFormDlg::leafImage(int item) const {
  const DPX_WorksheetNode* node = model_->items()[static_cast<size_t>(item)].node;
  const int state = stateOf(node->getLeafId());
  const auto mark = marks_.find(node->getLeafId());
  const int kept = mark == marks_.end() ? 0 : mark->second;
  // Needed by a ticked category and not fully ticked itself.
  if (showAllDependencies_ ? state != 1 && node->getDependentCount() > 0 : kept == 3) return 3;
  if (state == 1 && kept == 1 && !selectAllValue_) return 1;
  return 0;
}

void DPX_TreeFormDlg::markItemAllDependencies(int item) {
  const auto& entry = model_->items()[static_cast<size_t>(item)];
  if (entry.node->isLeaf()) setImage(entry.node->getLeafId(), leafImage(item));
  else markCollapsedItem(item);
}

void DPX_TreeFormDlg::markCollapsedItem(int item) {
  const auto& items = model_->items();
  int image = 0;
  if (!suppressCollapsedMarks_ && !isExpanded(item)) {
    bool dependency = false, warning = false;
    std::vector<int> pending{item};
    while (!pending.empty()) {
      const int i = pending.back();
      pending.pop_back();
      const auto& entry = items[static_cast<size_t>(i)];
      if (entry.node->isLeaf()) {
        const int leaf = leafImage(i);
        dependency = dependency || leaf == 3;
        warning = warning || (leaf == 1 && stateOf(entry.node->getLeafId()) != 0);
      }
      pending.insert(pending.end(), entry.children.begin(), entry.children.end());
    }
    if (dependency) image = 4;
    else if (warning && !selectAllValue_) image = 2;
  }
  setImage(items[static_cast<size_t>(item)].node->getLeafId(), image);
}

HRESULT DPX_TreeFormDlg::updateCurrentWorksheet() {
  DPX_LogScope log("DPX_TreeFormDlg::updateCurrentWorksheet");
  if (!worksheet_) return dpx::S_OK;
  for (auto& node : worksheet_->getNodes()) node.setSelected(stateOf(node.getLeafId()));
  return detailForm_ ? detailForm_->updateWorksheet() : dpx::S_OK;
}

bool DPX_TreeFormDlg::hasQueriesOrLayoutsSelected() const {
  if (!worksheet_) return false;
  bool any = false;
  for (const auto& node : worksheet_->getNodes()) {
    if (stateOf(node.getLeafId()) == 0) continue;
    any = true;
    if (node.isLeaf() && !node.isQueriesNode() && !node.isPrintLayoutNode()) return false;
  }
  return any;
}

bool DPX_TreeFormDlg::getUncopyableCategories(std::vector<std::string>& names) const {
  names.clear();
  DPX_ConnectionContext* context = DPX_GUIManager::getInstance().getContext();
  if (!worksheet_ || !context) return false;
  const int method = context->getCopyMethod();
  for (const auto& node : worksheet_->getNodes()) {
    if (stateOf(node.getLeafId()) == 0) continue;
    for (int prohibited : node.getProhibitedCopyMethods())
      if (prohibited == method && node.getSubstituteCopyMethod() == 33) names.push_back(node.getDisplayName());
  }
  return !names.empty();
}

bool DPX_TreeFormDlg::allSelectedHaveLocalizationTransfer() const {
  if (!worksheet_) return true;
  for (const auto& node : worksheet_->getNodes())
    if (node.isLeaf() && stateOf(node.getLeafId()) != 0 && !node.isLocalizationTransfer()) return false;
  return true;
}

void DPX_TreeFormDlg::getCurrentNodeName(std::string& name) const {
  name = currentNode_ ? currentNode_->getDisplayName() : std::string();
}
