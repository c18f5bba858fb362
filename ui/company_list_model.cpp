#include "ui/company_list_model.h"

#include <algorithm>

#include "ui/qt_text.h"

namespace {
// Headings of the columns: company name, database name, version.
constexpr uint32_t kHeadings[] = {2051, 2050, 2052};
}  // namespace

void DPX_CompanyListModel::setCompanies(DPX_Util::CompanyList companies) {
  beginResetModel();
  companies_ = std::move(companies);
  for (auto& entry : companies_) entry.resize(std::size(kHeadings));
  endResetModel();
}

void DPX_CompanyListModel::sortRows(int column, bool ascending) {
  const size_t c = static_cast<size_t>(column);
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<std::vector<std::string>> keys;
  for (const QModelIndex& index : before) keys.push_back(companies_[static_cast<size_t>(index.row())]);
  std::stable_sort(companies_.begin(), companies_.end(), [&](const auto& a, const auto& b) {
    const int order = dpx::ui::Q(a[c]).compare(dpx::ui::Q(b[c]), Qt::CaseInsensitive);
    return ascending ? order < 0 : order > 0;
  });
  QModelIndexList after;
  for (qsizetype i = 0; i < before.size(); ++i) {
    const auto row = std::find(companies_.begin(), companies_.end(), keys[static_cast<size_t>(i)]) - companies_.begin();
    after.push_back(index(static_cast<int>(row), before[i].column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int DPX_CompanyListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(companies_.size());
}

int DPX_CompanyListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::size(kHeadings));
}

QVariant DPX_CompanyListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return dpx::ui::Q(companies_[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())]);
}

QVariant DPX_CompanyListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(std::size(kHeadings)))
    return {};
  return dpx::ui::Text(kHeadings[section]);
}
