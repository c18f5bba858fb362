// The companies of a database server as the company choice lists them: one
// row per company with its name, database name and version.
#pragma once

#include <QAbstractTableModel>

#include "engine/util.h"

class DPX_CompanyListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setCompanies(DPX_Util::CompanyList companies);
  const DPX_Util::CompanyList& companies() const { return companies_; }
  // Orders the rows by one column's texts, ignoring case.
  void sortRows(int column, bool ascending);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  DPX_Util::CompanyList companies_;
};
