#include "ui/detail_form_dlg.h"

#include <fmt/printf.h>

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "engine/table_info.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "ui/gui_manager.h"
#include "ui/grid_list_ctrl.h"
#include "ui/qt_text.h"
#include "ui/table_model.h"
#include "ui/tree_form_dlg.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_node.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;
using dpx::ui::Q;
using dpx::ui::S;

namespace {

// The label and edit of each field of a details category, in field order.
constexpr int kLabelIds[DPX_DetailFormDlg::kDetailFields] = {1136, 1072, 1073, 1144, 1154, 1156, 1158, 1160, 1162,
                                                            1164, 1166, 1168, 1170, 1172, 1174, 1176, 1178, 1180};
constexpr int kEditIds[DPX_DetailFormDlg::kDetailFields] = {1137, 1070, 1071, 1145, 1155, 1157, 1159, 1161, 1163,
                                                           1165, 1167, 1169, 1171, 1173, 1175, 1177, 1179, 1181};

std::string Load(uint32_t id) { return dpx::StringTable::Load(id, DPX_GUIManager::getInstance().getLanguage()); }

}  // namespace

DPX_DetailFormDlg::DPX_DetailFormDlg(QWidget* parent) : QWidget(parent) {
  setObjectName("DPX_DetailFormDlg");
  auto* layout = new QVBoxLayout(this);
  caption_ = new QLabel(this);
  caption_->setObjectName("906");
  QFont bold = caption_->font();
  bold.setBold(true);
  bold.setUnderline(true);
  caption_->setFont(bold);
  layout->addWidget(caption_);

  grid_ = new CGridListCtrl(this, false);
  grid_->setObjectName("905");
  model_ = new DPX_TableModel(this);
  grid_->setModel(model_);
  model_->onTick = [this](int row, bool ticked) { setRowChecked(row, ticked); };
  model_->onCellEdited = [this](int row, int column) { onCellEdited(row, column); };
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    sortByColumn(section - 1);
  });
  connect(grid_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int section) {
    if (section == 0) toggleAllChecks();
  });
  layout->addWidget(grid_, 1);

  details_ = new QWidget(this);
  auto* form = new QGridLayout(details_);
  for (int i = 0; i < kDetailFields; ++i) {
    auto* label = new QLabel(details_);
    label->setObjectName(QString::number(kLabelIds[i]));
    auto* edit = new QLineEdit(details_);
    edit->setObjectName(QString::number(kEditIds[i]));
    connect(edit, &QLineEdit::editingFinished, this, [this] { saveCurrentDetails(); });
    form->addWidget(label, i, 0);
    form->addWidget(edit, i, 1);
    labels_.push_back(label);
    edits_.push_back(edit);
  }
  form->setRowStretch(kDetailFields, 1);
  layout->addWidget(details_, 1);

  auto* note = new QWidget(this);
  note->setObjectName("note");
  auto* noteLayout = new QHBoxLayout(note);
  noteLayout->setContentsMargins(0, 0, 0, 0);
  noteIcon_ = new QLabel(note);
  noteIcon_->setObjectName("908");
  noteIcon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  noteText_ = new QPlainTextEdit(note);
  noteText_->setObjectName("907");
  noteText_->setReadOnly(true);
  noteText_->setMaximumHeight(70);
  QFont small = noteText_->font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
  noteText_->setFont(small);
  noteLayout->addWidget(noteIcon_, 0, Qt::AlignTop);
  noteLayout->addWidget(noteText_, 1);
  layout->addWidget(note);
  clear();
}

DPX_DetailFormDlg::~DPX_DetailFormDlg() = default;

void DPX_DetailFormDlg::clear() {
  currentNode_ = nullptr;
  enabled_ = false;
  model_->setView(nullptr, false);
  caption_->hide();
  grid_->hide();
  details_->hide();
  for (auto* label : labels_) label->clear();
  for (auto* edit : edits_) edit->clear();
  noteText_->clear();
  findChild<QWidget*>("note")->hide();
}

HRESULT DPX_DetailFormDlg::initializeWorksheet(DPX_Worksheet* worksheet) {
  DPX_LogScope log("DPX_DetailFormDlg::initializeWorksheet");
  caption_->setText(Q(Load(406)));
  selectionView_ = false;
  views_.clear();
  worksheet_ = worksheet;
  if (!worksheet_ || !worksheet_->isSourceFromFile()) return dpx::S_OK;
  for (auto& node : worksheet_->getNodes()) {
    const int format = node.getDataAreaFormat();
    if (!node.isLeaf() || !node.isAvailable() ||
        (format != DPX_WorksheetNode::kFormatDetail && format != DPX_WorksheetNode::kFormatTable))
      continue;
    viewFor(node);
  }
  return dpx::S_OK;
}

DPX_TableView* DPX_DetailFormDlg::viewFor(DPX_WorksheetNode& node) {
  DPX_LogScope log("DPX_DetailFormDlg::viewFor");
  DPX_TableInfo* description = nullptr;
  int listed = 0;
  DPX_Util::ShowInformation(fmt::sprintf(Load(10072), node.getDisplayName()), false);
  try {
    listed = node.loadDetails(description);
  } catch (const std::exception& e) {
    log.LogError("The records of '%s' cannot be listed: %s", node.getStringKey(), e.what());
  }
  DPX_Util::SetStatusText();
  if (!description) return nullptr;
  // A description kept from before this pane's views were emptied still gets its view.
  if (listed == 1 || views_.count(node.getLeafId()) == 0)
    buildTableView(node, *description, worksheet_ && worksheet_->isSourceFromFile());
  return &views_[node.getLeafId()];
}

void DPX_DetailFormDlg::buildTableView(DPX_WorksheetNode& node, const DPX_TableInfo& description, bool fromFile) {
  DPX_TableView view;
  view.columnNames = description.getHeadings();
  const auto& editable = description.getEditableFlags();
  const auto& types = description.getColumnTypes();
  for (size_t c = 0; c < view.columnNames.size(); ++c) {
    view.readOnly.push_back(c >= editable.size() || editable[c] == 0);
    view.columnTypes.push_back(c < types.size() ? types[c] : dpx::fieldtype::kAlpha);
  }
  const int state = node.getSelected();
  const auto& records = description.getDetailRecords();
  const auto& names = description.getTextList();
  int index = 0;
  for (const auto& cells : description.getListRows()) {
    DPX_TableRow row{cells, index};
    const DPX_SelectionObject* match =
        static_cast<size_t>(index) < records.size() ? node.matchSelection(records[static_cast<size_t>(index)], fromFile)
                                                    : nullptr;
    row.selected = state == DPX_WorksheetNode::kSelectedWhole || (state == DPX_WorksheetNode::kSelectedPartly && match);
    row.savedSelected = row.selected;
    if (match) {
      for (const auto& field : match->getAdditionalData()) {
        for (size_t c = 0; c < names.size() && c < row.cells.size(); ++c)
          if (names[c] == field.getFieldName()) row.cells[c] = field.getValue();
      }
    }
    view.rows.push_back(std::move(row));
    ++index;
  }
  views_[node.getLeafId()] = std::move(view);
}

HRESULT DPX_DetailFormDlg::setCurrentNode(DPX_WorksheetNode* node, bool enabled) {
  saveCurrentDetails();
  clear();
  currentNode_ = node;
  enabled_ = enabled;
  if (!node) return dpx::S_OK;
  switch (node->getDataAreaFormat()) {
    case DPX_WorksheetNode::kFormatNoRecords:
      showNote();
      return dpx::S_OK;
    case DPX_WorksheetNode::kFormatDetail:
      return showDetails();
    case DPX_WorksheetNode::kFormatTable:
      showTable();
      showNote();
      return dpx::S_OK;
    default:
      return dpx::S_OK;
  }
}

void DPX_DetailFormDlg::showTable() {
  DPX_LogScope log("DPX_DetailFormDlg::ShowTable");
  DPX_TableView* view = viewFor(*currentNode_);
  if (!view) return;
  model_->setView(view, selectionView_);
  allChecked_ = false;
  for (int r : model_->shownRows()) allChecked_ = allChecked_ || view->rows[static_cast<size_t>(r)].selected;
  grid_->setColumnWidth(0, 24);
  const int columns = std::max(1, view->columnCount());
  // The grid is hidden while the pane changes category: it spans the pane's width.
  const QMargins margins = layout()->contentsMargins();
  const int gridWidth = std::max(width() - margins.left() - margins.right(), 400);
  int columnWidth = (gridWidth - 40) / columns;
  columnWidth = columnWidth < 60 ? 60 : static_cast<int>(columnWidth * 0.99);
  for (int c = 1; c <= view->columnCount(); ++c) grid_->setColumnWidth(c, columnWidth);
  caption_->show();
  grid_->show();
}

HRESULT DPX_DetailFormDlg::showDetails() {
  DPX_LogScope log("DPX_DetailFormDlg::ShowDetails");
  DPX_TableView* view = viewFor(*currentNode_);
  if (!view) return dpx::S_OK;
  if (view->columnCount() > kDetailFields) {
    log.LogDbg0("too many fields");
    return dpx::E_FAIL;
  }
  const DPX_TableRow* first = view->rows.empty() ? nullptr : &view->rows.front();
  for (int i = 0; i < view->columnCount(); ++i) {
    labels_[static_cast<size_t>(i)]->setText(Q(view->columnNames[static_cast<size_t>(i)]));
    QLineEdit* edit = edits_[static_cast<size_t>(i)];
    edit->setText(first ? Q(DPX_TableView::cellText(*first, i)) : QString());
    edit->setReadOnly(view->isReadOnly(i));
  }
  for (int i = 0; i < kDetailFields; ++i) {
    labels_[static_cast<size_t>(i)]->setVisible(i < view->columnCount());
    edits_[static_cast<size_t>(i)]->setVisible(i < view->columnCount());
  }
  caption_->show();
  details_->show();
  return dpx::S_OK;
}

void DPX_DetailFormDlg::showNote() {
  if (!currentNode_ || currentNode_->getNoteText().empty()) return;
  QString text = Q(currentNode_->getNoteText());
  text.replace("&gt;", ">");
  noteText_->setPlainText(text);
  QWidget* note = findChild<QWidget*>("note");
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  layout->removeWidget(note);
  // A category without records has its note at the top of the pane.
  if (currentNode_->getDataAreaFormat() == DPX_WorksheetNode::kFormatNoRecords) layout->insertWidget(0, note);
  else layout->addWidget(note);
  note->show();
}

void DPX_DetailFormDlg::saveCurrentDetails() {
  if (!currentNode_ || currentNode_->getDataAreaFormat() != DPX_WorksheetNode::kFormatDetail) return;
  auto it = views_.find(currentNode_->getLeafId());
  if (it == views_.end() || it->second.rows.empty()) return;
  DPX_TableRow& first = it->second.rows.front();
  for (size_t i = 0; i < edits_.size() && i < first.cells.size(); ++i) {
    const std::string text = S(edits_[i]->text());
    if (text == first.cells[i]) continue;
    first.cells[i] = text;
    if (worksheet_ && !worksheet_->isModified() && tree_) tree_->onChangeLeafData(first.selected ? 1 : 0, 0);
    break;
  }
}

DPX_TableView* DPX_DetailFormDlg::currentView() {
  if (!currentNode_) return nullptr;
  auto it = views_.find(currentNode_->getLeafId());
  return it == views_.end() ? nullptr : &it->second;
}

void DPX_DetailFormDlg::refillGrid() {
  model_->refill();
  allChecked_ = false;
  if (DPX_TableView* view = currentView())
    for (int r : model_->shownRows()) allChecked_ = allChecked_ || view->rows[static_cast<size_t>(r)].selected;
}

void DPX_DetailFormDlg::setRowChecked(int viewRow, bool ticked) { setRowsChecked({viewRow}, ticked); }

void DPX_DetailFormDlg::setRowsChecked(const std::vector<int>& viewRows, bool ticked) {
  DPX_TableView* view = currentView();
  if (!view) return;
  bool changes = false;
  for (int r : viewRows)
    changes = changes || (r >= 0 && r < view->rowCount() && view->rows[static_cast<size_t>(r)].selected != ticked);
  if (!changes) return;
  if (!enabled_) {
    model_->refresh();  // the boxes stay clear
    return;
  }
  if (currentNode_->isAllowSelection()) {
    for (int r : viewRows)
      if (r >= 0 && r < view->rowCount()) view->rows[static_cast<size_t>(r)].selected = ticked;
  } else {
    selectNodeRecords(currentNode_, ticked);
  }
  // The tree hears once, however many rows changed: a heading double click on
  // a long table stays one pass over its rows.
  int n = 0;
  for (const auto& r : view->rows) n += r.selected ? 1 : 0;
  const int state = n == 0 ? 0 : (n == view->rowCount() ? 1 : 2);
  const int hint = ticked && n == view->rowCount() ? 2 : (!ticked && n == 0 ? 1 : 0);
  if (tree_) tree_->onChangeLeafData(state, hint);
  if (selectionView_ && state != 0) refillGrid();
  else model_->refresh();
}

void DPX_DetailFormDlg::selectNodeRecords(DPX_WorksheetNode* node, bool selected) {
  if (!node) return;
  auto it = views_.find(node->getLeafId());
  if (it == views_.end()) return;
  DPX_TableView& view = it->second;
  if (node->getDataAreaFormat() == DPX_WorksheetNode::kFormatDetail) {
    if (!view.rows.empty()) view.rows.front().selected = selected;
    return;
  }
  if (node->getDataAreaFormat() != DPX_WorksheetNode::kFormatTable) return;
  for (auto& row : view.rows) row.selected = selected;
  if (node != currentNode_) return;
  allChecked_ = selected && !view.rows.empty();
  if (view.sortColumn == DPX_TableView::kCheckColumn) model_->refill();
  else model_->refresh();
}

void DPX_DetailFormDlg::toggleAllChecks() {
  DPX_TableView* view = currentView();
  if (!view || view->rows.empty()) return;
  allChecked_ = !allChecked_;
  // Every row shown, not a first part of them: no tick stays hidden.
  const bool target = allChecked_;
  const std::vector<int> rows = model_->shownRows();  // a copy: the refill after the tick changes the list
  setRowsChecked(rows, target);
  allChecked_ = target;
}

void DPX_DetailFormDlg::sortByColumn(int column) {
  DPX_TableView* view = currentView();
  if (!view || view->rowCount() < 2 || column < -1 || column >= view->columnCount()) return;
  const bool ascending = column != view->sortColumn ? true : !view->sortAscending;
  view->sortRules.clear();
  view->setSort(column, ascending);
  applySortRules();
}

void DPX_DetailFormDlg::applySortRules() { model_->refill(); }

void DPX_DetailFormDlg::applyFilterRules() {
  DPX_TableView* view = currentView();
  if (!view) return;
  view->filterActive = !view->filterRules.empty();
  view->markFilteredRows();
  refillGrid();
}

void DPX_DetailFormDlg::clearFilter() {
  DPX_TableView* view = currentView();
  if (!view) return;
  view->filterActive = false;
  refillGrid();
}

void DPX_DetailFormDlg::onCellEdited(int viewRow, int column) {
  DPX_TableView* view = currentView();
  if (!view) return;
  if (view->rowCount() > 1 && view->sortColumn == column) model_->refill();
  if (worksheet_ && !worksheet_->isModified() && tree_)
    tree_->onChangeLeafData(view->rows[static_cast<size_t>(viewRow)].selected ? 1 : 0, 0);
}

HRESULT DPX_DetailFormDlg::saveCurrentSelectionStatus() {
  for (auto& [id, view] : views_)
    for (auto& row : view.rows) row.savedSelected = row.selected;
  return dpx::S_OK;
}

HRESULT DPX_DetailFormDlg::restorePreviousSelectionStatus() {
  bool currentChanged = false;
  for (auto& [id, view] : views_) {
    for (auto& row : view.rows) {
      if (row.selected == row.savedSelected) continue;
      std::swap(row.selected, row.savedSelected);
      currentChanged = currentChanged || (currentNode_ && id == currentNode_->getLeafId());
    }
  }
  if (currentChanged && currentNode_->getDataAreaFormat() == DPX_WorksheetNode::kFormatTable)
    setCurrentNode(currentNode_, enabled_);
  return dpx::S_OK;
}

HRESULT DPX_DetailFormDlg::updateWorksheet() {
  DPX_LogScope log("DPX_DetailFormDlg::updateWorksheet");
  saveCurrentDetails();
  if (!worksheet_) return dpx::S_OK;
  const bool fromFile = worksheet_->isSourceFromFile();
  for (auto& node : worksheet_->getNodes()) {
    const int format = node.getDataAreaFormat();
    if (!node.isLeaf() || node.getSelected() == DPX_WorksheetNode::kNotSelected ||
        (format != DPX_WorksheetNode::kFormatDetail && format != DPX_WorksheetNode::kFormatTable) ||
        (fromFile && !node.isAvailable()))
      continue;
    // A whole category that was never listed has nothing to say.
    if (node.getSelected() == DPX_WorksheetNode::kSelectedWhole && !node.getDetails()) continue;
    if (!viewFor(node)) continue;
    writeSelectionObjects(node, *node.getDetails());
  }
  return dpx::S_OK;
}

void DPX_DetailFormDlg::writeSelectionObjects(DPX_WorksheetNode& node, const DPX_TableInfo& description) {
  const int state = node.getSelected();
  node.getSelectionObjects().clear();
  if (state == DPX_WorksheetNode::kNotSelected) return;
  auto it = views_.find(node.getLeafId());
  if (it == views_.end() || it->second.rows.empty()) return;
  const auto& listed = description.getListRows();
  const auto& records = description.getDetailRecords();
  const auto& names = description.getTextList();
  const auto& types = description.getColumnTypes();
  static const std::vector<std::string> kNone;
  for (const auto& row : it->second.rows) {
    if (!row.selected) continue;
    const size_t r = static_cast<size_t>(row.index);
    const auto& original = r < listed.size() ? listed[r] : kNone;
    std::vector<size_t> edited;
    for (size_t c = 0; c < row.cells.size(); ++c)
      if (c >= original.size() || row.cells[c] != original[c]) edited.push_back(c);
    if (edited.empty() && state == DPX_WorksheetNode::kSelectedWhole) continue;
    if (r >= records.size()) continue;
    const DPX_DetailRecord& record = records[r];
    DPX_SelectionObject object;
    object.setTableName(node.getDetailsTitle());
    for (size_t k = 0; k < record.getKeyCount(); ++k) {
      const dpx::Variant value = record.getKeyValue(k);
      object.addKeyField(record.getKeyName(k), DPX_Util::VariantToString(value),
                         DPX_Util::VariantTypeToDbTypeName(value.vt()));
    }
    for (size_t v = 0; v < record.getValueCount(); ++v) {
      const dpx::Variant value = record.getValue(v);
      object.addSubsKeyField(record.getText(v), DPX_Util::VariantToString(value),
                             DPX_Util::VariantTypeToDbTypeName(value.vt()));
    }
    for (size_t c : edited) {
      DPX_SelectionField field(c < names.size() ? names[c] : std::string(), row.cells[c], "");
      if (c < types.size()) field.setTypeFromFieldType(types[c]);
      object.addAdditionalDataField(field);
    }
    node.addSelectionObject(std::move(object));
  }
}
