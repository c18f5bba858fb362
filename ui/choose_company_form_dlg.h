// "Choose Company": the companies of one database server, the host user's code
// and password, and the log-on to the chosen company. Only a superuser is let
// through: then the caller's company handle holds the connected company. The
// server and its login come from the caller's handle or from "Server Login".
#pragma once

#include <map>
#include <string>

#include <QDialog>

#include "engine/company_handle.h"
#include "engine/util.h"

class QComboBox;
class QLineEdit;
class QTableView;
class DPX_CompanyListModel;
class DPX_ConnectionContext;

class DPX_ChooseCompanyFormDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kDefaultSuperUser = "trellis";

  DPX_ChooseCompanyFormDlg(DPX_ConnectionContext* context, DPX_CompanyHandle* callerCompany,
                           const std::string& initialCompanyName, QWidget* parent);
  ~DPX_ChooseCompanyFormDlg() override;

  // Rejected at once when the dialog could not make its company object.
  int exec() override;
  void accept() override;

  // The header click on a column: ascending, or the other way round when the
  // column was the last one sorted.
  void sortByColumn(int column);
  DPX_CompanyListModel* model() const { return model_; }

 private:
  void fillCompanyList();
  // Server Login on the dialog's company object; true after its OK.
  bool serverLogin();
  void other();
  void change();
  void refresh();
  void serverTypeChanged(int index);
  void showServerType(int serverType);

  bool initializing_ = true;
  bool created_ = false;
  DPX_ConnectionContext* context_;
  DPX_CompanyHandle* callerCompany_;
  DPX_CompanyHandle ownCompany_;
  DPX_Util::CompanyList companies_;
  std::map<int, std::string> serverTypes_;
  bool listLoaded_ = false;
  int sortColumn_ = -1;
  bool sortAscending_ = true;
  QLineEdit* userCodeEdit_;
  QLineEdit* passwordEdit_;
  QComboBox* serverTypeCombo_;
  QLineEdit* serverEdit_;
  QTableView* companyList_;
  DPX_CompanyListModel* model_;
  std::string initialCompanyName_;
  std::string userCode_;
  std::string password_;
  int serverType_ = 6;
  std::string server_;
  std::string companyDb_;
  std::string companyName_;
  std::string dbUserName_;
  std::string dbPassword_;
  bool trusted_ = false;
};
