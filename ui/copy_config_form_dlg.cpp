#include "ui/copy_config_form_dlg.h"

#include <cstdlib>
#include <exception>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/connection_context.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "ui/context_target.h"
#include "ui/dialog_texts.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"
#include "ui/tree_form_dlg.h"
#include "ui/version_check.h"
#include "worksheet/configuration_manager.h"

using dpx::ui::Q;
using dpx::ui::S;

namespace {

constexpr uint32_t kSelectTarget = 10063;
constexpr uint32_t kChooseOtherTarget = 10031;
constexpr uint32_t kBaseVersionHigher = 10045;
constexpr uint32_t kLocalizationsDiffer = 10051;

std::string Text(uint32_t id) { return S(dpx::ui::Text(id)); }

}  // namespace

DPX_CopyConfigFormDlg::DPX_CopyConfigFormDlg(DPX_ConnectionContext* context, QWidget* parent)
    : QDialog(parent), context_(context), guiManager_(&DPX_GUIManager::getInstance()) {
  setObjectName("DPX_CopyConfigFormDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  targetEdit_ = DPX_NewControl<QLineEdit>(this, "1053");
  targetEdit_->setMinimumWidth(280);
  methodLabel_ = DPX_NewControl<QLabel>(this, "1054");
  auto* choose = DPX_NewControl<QPushButton>(this, "1019");
  auto* options = DPX_NewControl<QPushButton>(this, "1035");
  layout->addWidget(DPX_NewControl<QLabel>(this, "1021"), 0, 0);
  layout->addWidget(targetEdit_, 0, 1);
  layout->addWidget(choose, 0, 2);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1052"), 1, 0);
  layout->addWidget(methodLabel_, 1, 1);
  layout->addWidget(options, 1, 2);
  layout->addWidget(DPX_AddDialogButtons(this), 2, 0, 1, 3);
  connect(choose, &QPushButton::clicked, this, &DPX_CopyConfigFormDlg::OnBnClickedTarget);
  connect(options, &QPushButton::clicked, this, &DPX_CopyConfigFormDlg::OnBnClickedOptions);
  DPX_ApplyTexts(this, 2060, {{"1021", 2061}, {"1019", 8}, {"1052", 2062}, {"1035", 2015}, {"1", 1}, {"2", 2}});

  targetEdit_->setText(Q(context_->getTargetName()));
  if (DPX_TakeContextTarget(context_, target_)) targetEdit_->setText(Q(target_.getCompanyName()));
  methodLabel_->setText(Q(DPX_Util::GetCopyMethodText(context_->getCopyMethod())));
}

void DPX_CopyConfigFormDlg::OnBnClickedTarget() {
  if (!target_.getCompany()) {
    std::shared_ptr<dpx::host::Company> company;
    if (dpx::Failed(DPX_ConnectionContext::CreateCompanyInstance(company))) return;
    const auto base = context_->getBaseCompany();
    const auto from = base ? base : context_->getCompany();
    target_.setCompany(company);
    if (from) {
      target_.setServerType(from->DbServerType());
      target_.setServer(from->Server());
      target_.setUseTrusted(from->UseTrusted());
      target_.setDbUserName(from->DbUserName());
      target_.setUserName(from->UserName());
      if (base) target_.setDbPassword(context_->getBaseDbPassword());
    }
  }
  if (guiManager_->showChooseCompanyForm(target_, S(targetEdit_->text())) == dpx::S_OK)
    targetEdit_->setText(Q(target_.getCompanyName()));
}

void DPX_CopyConfigFormDlg::OnBnClickedOptions() {
  const int32_t method = context_->getCopyMethod();
  guiManager_->showOptionsForm();
  if (context_->getCopyMethod() != method)
    methodLabel_->setText(Q(DPX_Util::GetCopyMethodText(context_->getCopyMethod())));
}

bool DPX_CopyConfigFormDlg::checkTarget() {
  dpx::DPX_LogScope log("DPX_CopyConfigFormDlg::OnOK");
  const auto chosen = target_.getCompany();
  const auto base = context_->getBaseCompany();
  if (base && DPX_Util::SameCompany(base, chosen)) {
    DPX_Util::ShowError(Text(kChooseOtherTarget), false);
    targetEdit_->setFocus();
    return false;
  }
  DPX_ConfigurationManager* configuration = guiManager_->getConfigurationManager();
  int64_t baseVersion = 0;
  int64_t targetVersion = 0;
  try {
    if (base) baseVersion = base->Version();
    else if (configuration) baseVersion = std::atol(configuration->header().dbVersion.c_str());
    targetVersion = chosen->Version();
  } catch (const std::exception& e) {
    log.LogError("A company's version cannot be read: %s", e.what());
    DPX_Util::ShowError(e.what(), false);
    return false;
  }
  if (dpx::ui::BaseVersionIsHigher(baseVersion, targetVersion)) {
    DPX_Util::ShowError(Text(kBaseVersionHigher), false);
    return false;
  }
  DPX_TreeFormDlg* tree = guiManager_->treeForm();
  if (!tree || !tree->allSelectedHaveLocalizationTransfer()) {
    std::string targetLocalization, baseLocalization;
    DPX_Util::GetLocalization(0, chosen, targetLocalization);
    if (base) DPX_Util::GetLocalization(0, base, baseLocalization);
    else if (configuration) baseLocalization = configuration->header().localization;
    if (targetLocalization != baseLocalization &&
        DPX_Util::AskQuestion(Text(kLocalizationsDiffer), false, 2) != dpx::mb::kIdYes)
      return false;
  }
  return true;
}

void DPX_CopyConfigFormDlg::accept() {
  const std::string text = S(targetEdit_->text());
  if (text.empty()) {
    DPX_Util::ShowError(Text(kSelectTarget), false);
    targetEdit_->setFocus();
    return;
  }
  const auto held = target_.getCompany();
  const bool keep = held && held->Connected() &&
                    Q(target_.getCompanyName()).compare(Q(text), Qt::CaseInsensitive) == 0;
  if (!keep) {
    if (guiManager_->showChooseCompanyForm(target_, text) != dpx::S_OK || !target_.getCompany()) return;
    targetEdit_->setText(Q(target_.getCompanyName()));
  }
  const auto chosen = target_.getCompany();
  const auto current = context_->getTargetCompany();
  const bool noConnectedTarget = !current || !current->Connected();
  const bool otherCompany = !DPX_Util::SameCompany(chosen, current);
  const bool otherConnection = !DPX_Util::SameConnection(chosen, current);
  if ((noConnectedTarget || otherCompany) && !checkTarget()) return;
  targetChanged_ = !current || otherCompany;
  if (noConnectedTarget || otherConnection) {
    context_->disconnectTargetCompany();
    context_->setTargetCompany(chosen);
    context_->setTargetDbPassword(target_.getDbPassword());
  }
  context_->setTargetName(S(targetEdit_->text()));
  QDialog::accept();
}
