#include "ui/choose_company_form_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <fmt/printf.h>

#include "engine/connection_context.h"
#include "engine/ui_services.h"
#include "platform/host/company.h"
#include "ui/company_list_model.h"
#include "ui/dialog_texts.h"
#include "ui/qt_text.h"
#include "ui/server_login_form_dlg.h"

using dpx::ui::Q;
using dpx::ui::S;

namespace {

constexpr uint32_t kNoValidCompany = 10028;
constexpr uint32_t kNotSuperUser = 10035;

void StatusError(uint32_t textId) { DPX_Util::ShowError(S(dpx::ui::Text(textId)), false); }

}  // namespace

DPX_ChooseCompanyFormDlg::DPX_ChooseCompanyFormDlg(DPX_ConnectionContext* context, DPX_CompanyHandle* callerCompany,
                                                   const std::string& initialCompanyName, QWidget* parent)
    : QDialog(parent), context_(context), callerCompany_(callerCompany), initialCompanyName_(initialCompanyName) {
  setObjectName("DPX_ChooseCompanyFormDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  userCodeEdit_ = DPX_NewControl<QLineEdit>(this, "1023");
  passwordEdit_ = DPX_NewControl<QLineEdit>(this, "1025");
  passwordEdit_->setEchoMode(QLineEdit::Password);
  serverTypeCombo_ = DPX_NewControl<QComboBox>(this, "1028");
  serverEdit_ = DPX_NewControl<QLineEdit>(this, "1029");
  serverEdit_->setReadOnly(true);
  companyList_ = DPX_NewControl<QTableView>(this, "1032");
  model_ = new DPX_CompanyListModel(this);
  companyList_->setModel(model_);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1022"), 0, 0);
  layout->addWidget(userCodeEdit_, 0, 1);
  layout->addWidget(DPX_NewControl<QPushButton>(this, "1026"), 0, 2);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1024"), 1, 0);
  layout->addWidget(passwordEdit_, 1, 1);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1027"), 2, 0);
  layout->addWidget(serverEdit_, 2, 1);
  layout->addWidget(DPX_NewControl<QPushButton>(this, "1030"), 2, 2);
  layout->addWidget(serverTypeCombo_, 3, 1);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1031"), 4, 0, 1, 2);
  layout->addWidget(DPX_NewControl<QPushButton>(this, "1033"), 4, 2);
  layout->addWidget(companyList_, 5, 0, 1, 3);
  layout->addWidget(DPX_AddDialogButtons(this), 6, 0, 1, 3);
  DPX_ApplyTexts(this, 2042,
                 {{"1022", 2043}, {"1024", 2044}, {"1027", 2048}, {"1031", 2049}, {"1026", 2045}, {"1030", 2046},
                  {"1033", 2047}, {"1", 1}, {"2", 2}});

  serverTypes_ = {{4, "MSSQL2005"}, {6, "MSSQL2008"}};
  for (const auto& [type, text] : serverTypes_) serverTypeCombo_->addItem(Q(text), type);
  serverTypeCombo_->model()->sort(0);

  companyList_->setSelectionMode(QAbstractItemView::SingleSelection);
  companyList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  companyList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  companyList_->setShowGrid(true);
  companyList_->verticalHeader()->hide();
  companyList_->horizontalHeader()->setSectionsClickable(true);
  companyList_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  companyList_->setMinimumSize(480, 200);
  const int w = companyList_->minimumWidth();
  companyList_->setColumnWidth(0, static_cast<int>((3 * w / 6) * 0.99));
  companyList_->setColumnWidth(1, static_cast<int>((2 * w / 6) * 0.99));
  companyList_->setColumnWidth(2, static_cast<int>((w / 6) * 0.99));

  if (callerCompany_->getCompany()) {
    userCode_ = callerCompany_->getUserName();
    password_ = callerCompany_->getPassword();
    serverType_ = callerCompany_->getServerType();
    server_ = callerCompany_->getServer();
    companyDb_ = callerCompany_->getCompanyDB();
    companyName_ = callerCompany_->getCompanyName();
    dbUserName_ = callerCompany_->getDbUserName();
    dbPassword_ = callerCompany_->getDbPassword();
    trusted_ = callerCompany_->usesTrustedConnection();
  }
  userCodeEdit_->setText(Q(userCode_));
  // The default superuser's code doubles as its password.
  if (!password_.empty()) passwordEdit_->setText(Q(password_));
  else if (userCode_ == kDefaultSuperUser) passwordEdit_->setText(Q(userCode_));
  showServerType(serverType_);
  serverEdit_->setText(Q(server_));

  std::shared_ptr<dpx::host::Company> own;
  if (dpx::Failed(DPX_ConnectionContext::CreateCompanyInstance(own))) return;
  ownCompany_.setCompany(own);
  created_ = true;

  connect(findChild<QPushButton*>("1026"), &QPushButton::clicked, this, [this] { other(); });
  connect(findChild<QPushButton*>("1030"), &QPushButton::clicked, this, [this] { change(); });
  connect(findChild<QPushButton*>("1033"), &QPushButton::clicked, this, [this] { refresh(); });
  connect(serverTypeCombo_, &QComboBox::currentIndexChanged, this, [this](int index) { serverTypeChanged(index); });
  connect(companyList_, &QTableView::doubleClicked, this, [this] { accept(); });
  connect(companyList_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { sortByColumn(c); });

  if (callerCompany_->getCompany()) {
    ownCompany_.setServerType(serverType_);
    ownCompany_.setServer(server_);
    ownCompany_.setUseTrusted(trusted_);
    if (!trusted_) {
      ownCompany_.setDbUserName(dbUserName_);
      ownCompany_.setDbPassword(dbPassword_);
    }
    listLoaded_ = DPX_Util::GetCompanyList(own, companies_, false) == dpx::S_OK;
  }
  if (!listLoaded_) serverLogin();
  fillCompanyList();
  userCodeEdit_->setFocus();
  initializing_ = false;
}

DPX_ChooseCompanyFormDlg::~DPX_ChooseCompanyFormDlg() = default;

int DPX_ChooseCompanyFormDlg::exec() { return created_ ? QDialog::exec() : QDialog::Rejected; }

void DPX_ChooseCompanyFormDlg::showServerType(int serverType) {
  const auto type = serverTypes_.find(serverType);
  if (type == serverTypes_.end()) return;
  serverTypeCombo_->setCurrentIndex(serverTypeCombo_->findText(Q(type->second)));
}

void DPX_ChooseCompanyFormDlg::fillCompanyList() {
  model_->setCompanies(companies_);
  const auto& rows = model_->companies();
  for (size_t row = 0; row < rows.size(); ++row) {
    const bool chosen = !companyDb_.empty()
                            ? Q(companyDb_).compare(Q(rows[row][1]), Qt::CaseInsensitive) == 0
                            : !initialCompanyName_.empty() &&
                                  Q(initialCompanyName_).compare(Q(rows[row][0]), Qt::CaseInsensitive) == 0;
    if (chosen) {
      companyList_->selectRow(static_cast<int>(row));
      break;
    }
  }
  if (sortColumn_ >= 0) {
    // Sorting again keeps the order of the last sort.
    sortAscending_ = !sortAscending_;
    sortByColumn(sortColumn_);
  }
}

void DPX_ChooseCompanyFormDlg::sortByColumn(int column) {
  if (model_->rowCount() < 2 || column < 0 || column > 2) return;
  sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
  sortColumn_ = column;
  model_->sortRows(column, sortAscending_);
}

bool DPX_ChooseCompanyFormDlg::serverLogin() {
  DPX_Util::CompanyList list;
  DPX_ServerLoginFormDlg login(context_, &ownCompany_, &list, this);
  if (login.exec() != QDialog::Accepted) return false;
  trusted_ = ownCompany_.usesTrustedConnection();
  dbUserName_ = ownCompany_.getDbUserName();
  dbPassword_ = ownCompany_.getDbPassword();
  server_ = ownCompany_.getServer();
  serverEdit_->setText(Q(server_));
  listLoaded_ = true;
  companies_ = std::move(list);
  return true;
}

void DPX_ChooseCompanyFormDlg::other() {
  userCodeEdit_->setFocus();
  userCodeEdit_->clear();
  passwordEdit_->clear();
}

void DPX_ChooseCompanyFormDlg::change() {
  if (serverLogin()) fillCompanyList();
}

void DPX_ChooseCompanyFormDlg::refresh() {
  if (!listLoaded_) {
    change();
    return;
  }
  companies_.clear();
  model_->setCompanies({});
  DPX_Util::GetCompanyList(ownCompany_.getCompany(), companies_, true);
  fillCompanyList();
}

void DPX_ChooseCompanyFormDlg::serverTypeChanged(int index) {
  if (initializing_ || index < 0) return;
  const int chosen = serverTypeCombo_->itemData(index).toInt();
  ownCompany_.setServerType(chosen);
  if (!listLoaded_) {
    serverType_ = chosen;
    return;
  }
  if (serverLogin()) {
    serverType_ = chosen;
    fillCompanyList();
    return;
  }
  ownCompany_.setServerType(serverType_);
  initializing_ = true;
  showServerType(serverType_);
  initializing_ = false;
}

void DPX_ChooseCompanyFormDlg::accept() {
  if (!listLoaded_) {
    StatusError(kNoValidCompany);
    return;
  }
  userCode_ = S(userCodeEdit_->text());
  password_ = S(passwordEdit_->text());
  if (userCode_.empty() && password_.empty()) userCode_ = password_ = kDefaultSuperUser;
  const QModelIndexList selected = companyList_->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    StatusError(kNoValidCompany);
    return;
  }
  companyDb_ = model_->companies()[static_cast<size_t>(selected.first().row())][1];

  ownCompany_.setUserName(userCode_);
  ownCompany_.setPassword(password_);
  ownCompany_.setCompanyDB(companyDb_);
  ownCompany_.setServerType(serverType_);
  ownCompany_.setServer(server_);
  {
    dpx::WaitCursor wait;
    // The connection reports its own failures.
    if (DPX_Util::Connect(ownCompany_, context_) != dpx::S_OK) return;
  }
  bool superUser = false;
  DPX_Util::CheckSuperUser(0, ownCompany_.getCompany(), superUser);
  if (!superUser) {
    DPX_Util::Disconnect(ownCompany_, context_);
    DPX_Util::ShowError(fmt::sprintf(S(dpx::ui::Text(kNotSuperUser)), userCode_), false);
    callerCompany_->setCompany(ownCompany_.getCompany());
    callerCompany_->setDbPassword(dbPassword_);
    return;
  }
  callerCompany_->setCompany(ownCompany_.getCompany());
  callerCompany_->setPassword(password_);
  callerCompany_->setDbPassword(dbPassword_);
  QDialog::accept();
}
