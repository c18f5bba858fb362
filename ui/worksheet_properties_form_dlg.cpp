#include "ui/worksheet_properties_form_dlg.h"

#include <cstdlib>
#include <exception>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "engine/sql_statement.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"
#include "ui/context_target.h"
#include "ui/dialog_texts.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"
#include "ui/tree_form_dlg.h"
#include "ui/version_check.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet.h"

using dpx::ui::Q;
using dpx::ui::S;

namespace {

constexpr uint32_t kSelectSourceCompany = 10006;
constexpr uint32_t kSelectSourceFile = 10007;
constexpr uint32_t kChooseOtherTarget = 10031;
constexpr uint32_t kSelectionsRemoved = 10032;
constexpr uint32_t kBaseVersionHigher = 10045;
constexpr uint32_t kLocalizationsDiffer = 10051;
constexpr uint32_t kPartialConfiguration = 10053;

std::string Text(uint32_t id) { return S(dpx::ui::Text(id)); }

// A check that failed: its message in the status bar and the focus on the field.
bool Refuse(uint32_t textId, QWidget* field) {
  DPX_Util::ShowError(Text(textId), false);
  field->setFocus();
  return false;
}

bool Confirmed(uint32_t questionId) { return DPX_Util::AskQuestion(Text(questionId), false, 2) == dpx::mb::kIdYes; }

}  // namespace

DPX_WorksheetPropertiesFormDlg::DPX_WorksheetPropertiesFormDlg(DPX_ConnectionContext* context, QWidget* parent)
    : QDialog(parent), context_(context), guiManager_(&DPX_GUIManager::getInstance()) {
  setObjectName("DPX_WorksheetPropertiesFormDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  auto button = [this](const char* id, void (DPX_WorksheetPropertiesFormDlg::*handler)()) {
    auto* b = DPX_NewControl<QPushButton>(this, id);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  baseCompanyRadio_ = DPX_NewControl<QRadioButton>(this, "1011");
  baseFileRadio_ = DPX_NewControl<QRadioButton>(this, "1012");
  baseCompanyEdit_ = DPX_NewControl<QLineEdit>(this, "1013");
  baseFileEdit_ = DPX_NewControl<QLineEdit>(this, "1014");
  targetCompanyEdit_ = DPX_NewControl<QLineEdit>(this, "1017");
  targetFileEdit_ = DPX_NewControl<QLineEdit>(this, "1018");
  baseCompanyEdit_->setReadOnly(true);
  baseFileEdit_->setReadOnly(true);
  baseFileEdit_->setMinimumWidth(320);
  auto* baseLabel = DPX_NewControl<QLabel>(this, "902");
  auto* targetLabel = DPX_NewControl<QLabel>(this, "904");
  baseLabel->setText("Base:");
  targetLabel->setText("Target:");
  layout->addWidget(baseLabel, 0, 0, 1, 3);
  layout->addWidget(baseCompanyRadio_, 1, 0);
  layout->addWidget(baseCompanyEdit_, 1, 1);
  layout->addWidget(button("1015", &DPX_WorksheetPropertiesFormDlg::chooseBaseCompany), 1, 2);
  layout->addWidget(baseFileRadio_, 2, 0);
  layout->addWidget(baseFileEdit_, 2, 1);
  layout->addWidget(button("1016", &DPX_WorksheetPropertiesFormDlg::chooseBaseFile), 2, 2);
  layout->addWidget(targetLabel, 3, 0, 1, 3);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1021"), 4, 0);
  layout->addWidget(targetCompanyEdit_, 4, 1);
  layout->addWidget(button("1019", &DPX_WorksheetPropertiesFormDlg::chooseTargetCompany), 4, 2);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1022"), 5, 0);
  layout->addWidget(targetFileEdit_, 5, 1);
  layout->addWidget(button("1020", &DPX_WorksheetPropertiesFormDlg::chooseTargetFile), 5, 2);
  layout->addWidget(button("1035", &DPX_WorksheetPropertiesFormDlg::showOptions), 6, 0);
  layout->addWidget(DPX_AddDialogButtons(this), 6, 1, 1, 2);
  connect(baseCompanyRadio_, &QRadioButton::toggled, this, &DPX_WorksheetPropertiesFormDlg::enableBaseButtons);

  setForceBackupByServerType();
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  configurationFolder_ = settings.getConfigurationFolder();
  DPX_ApplyTexts(this, 2008,
                 {{"1011", 2010}, {"1012", 2011}, {"1021", 2013}, {"1022", 2014}, {"1015", 8}, {"1016", 8},
                  {"1019", 8}, {"1020", 8}, {"1035", 2015}, {"1", 1}, {"2", 2}});

  const auto base = context_->getBaseCompany();
  if (base) {
    baseCompany_.setCompany(base);
    if (!base->UseTrusted()) baseCompany_.setDbPassword(context_->getBaseDbPassword());
    baseCompanyEdit_->setText(Q(baseCompany_.getCompanyName()));
    baseCompanyRadio_->setChecked(true);
  } else if (!context_->getBaseFile().empty()) {
    baseFileEdit_->setText(Q(context_->getBaseFile()));
    baseFileRadio_->setChecked(true);
  } else {
    baseCompanyRadio_->setChecked(true);
  }
  targetCompanyEdit_->setText(Q(context_->getTargetName()));
  if (DPX_TakeContextTarget(context_, targetCompany_))
    targetCompanyEdit_->setText(Q(targetCompany_.getCompanyName()));
  targetFileEdit_->setText(Q(context_->getTargetFile()));
  enableBaseButtons();
}

void DPX_WorksheetPropertiesFormDlg::setForceBackupByServerType() {
  dpx::DPX_LogScope log("DPX_WorksheetPropertiesFormDlg::setForceBackupByServerType");
  const auto company = context_->getCompany();
  if (!company) return;
  try {
    const int type = company->DbServerType();
    // Servers of these types keep no backup history the copy could check.
    const bool noBackupHistory = type == 2 || type == 3 || type == 5;
    DPX_SqlStatement statement(type);
    statement.setTable("@DPXSETT");
    statement.addValue("U_FBACKUP", noBackupHistory ? "N" : "Y", DPX_SqlStatement::kAlpha);
    if (company->NewRecordset()->DoQuery(statement.buildUpdate()) != 0)
      log.LogError("The force-backup setting cannot be updated: %s", company->GetLastErrorDescription());
  } catch (const std::exception& e) {
    log.LogError("The force-backup setting cannot be updated: %s", e.what());
  }
}

void DPX_WorksheetPropertiesFormDlg::enableBaseButtons() {
  findChild<QPushButton*>("1015")->setEnabled(baseCompanyRadio_->isChecked());
  findChild<QPushButton*>("1016")->setEnabled(baseFileRadio_->isChecked());
}

void DPX_WorksheetPropertiesFormDlg::chooseBaseCompany() {
  if (!baseCompany_.getCompany()) {
    const auto target = targetCompany_.getCompany();
    if (target && target->Connected()) baseCompany_ = targetCompany_;
    else baseCompany_.setCompany(context_->getCompany());
  }
  if (guiManager_->showChooseCompanyForm(baseCompany_, "") == dpx::S_OK)
    baseCompanyEdit_->setText(Q(baseCompany_.getCompanyName()));
}

void DPX_WorksheetPropertiesFormDlg::chooseTargetCompany() {
  if (!targetCompany_.getCompany()) {
    const auto base = baseCompany_.getCompany();
    if (base && base->Connected()) targetCompany_ = baseCompany_;
    else targetCompany_.setCompany(context_->getCompany());
  }
  if (guiManager_->showChooseCompanyForm(targetCompany_, S(targetCompanyEdit_->text())) == dpx::S_OK)
    targetCompanyEdit_->setText(Q(targetCompany_.getCompanyName()));
}

void DPX_WorksheetPropertiesFormDlg::chooseBaseFile() {
  std::string path = S(baseFileEdit_->text());
  if (guiManager_->showOpenFileForm(Text(2032), configurationFolder_, path, "xml", 2031, Text(1)) == dpx::S_OK &&
      !path.empty())
    baseFileEdit_->setText(Q(path));
}

void DPX_WorksheetPropertiesFormDlg::chooseTargetFile() {
  std::string path = S(targetFileEdit_->text());
  if (path.empty()) {
    std::string name;
    if (baseCompanyRadio_->isChecked()) name = S(baseCompanyEdit_->text());
    else DPX_Util::GetFileName(S(baseFileEdit_->text()), name);
    if (!name.empty()) path = name + "_config.xml";
  }
  if (guiManager_->showSaveFileForm(Text(2033), configurationFolder_, path, "xml", 2031, Text(1)) == dpx::S_OK &&
      !path.empty())
    targetFileEdit_->setText(Q(path));
}

void DPX_WorksheetPropertiesFormDlg::showOptions() {
  if (guiManager_->showOptionsForm() != dpx::S_OK) return;
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  configurationFolder_ = settings.getConfigurationFolder();
}

void DPX_WorksheetPropertiesFormDlg::accept() {
  const bool baseIsCompany = baseCompanyRadio_->isChecked();
  const std::string baseFile = S(baseFileEdit_->text());
  const std::string targetFile = S(targetFileEdit_->text());
  const std::string baseName = S(baseCompanyEdit_->text());
  const std::string targetText = S(targetCompanyEdit_->text());
  const bool targetIsCompany = !targetText.empty();
  const auto target = targetCompany_.getCompany();
  const bool targetValid = targetIsCompany && target && target->Connected() &&
                           Q(targetText).compare(Q(targetCompany_.getCompanyName()), Qt::CaseInsensitive) == 0;
  const bool baseConnectionChanged = !DPX_Util::SameConnection(context_->getBaseCompany(), baseCompany_.getCompany());
  const bool targetConnectionChanged = !DPX_Util::SameConnection(context_->getTargetCompany(), target);

  if (!guiManager_->isWorksheetOpen()) {
    baseChanged_ = targetChanged_ = true;
  } else {
    if ((context_->getBaseCompany() != nullptr) != baseIsCompany) baseChanged_ = true;
    else if (baseIsCompany) baseChanged_ = !DPX_Util::SameCompany(context_->getBaseCompany(), baseCompany_.getCompany());
    else baseChanged_ = baseFile != context_->getBaseFile();
    if (targetFile != context_->getTargetFile()) targetChanged_ = true;
    else if (targetValid) targetChanged_ = !DPX_Util::SameCompany(context_->getTargetCompany(), target);
    else targetChanged_ = targetText != context_->getTargetName();
  }
  if (!baseChanged_ && !targetChanged_ && !baseConnectionChanged && !targetConnectionChanged) {
    QDialog::reject();
    return;
  }

  if (baseIsCompany && baseName.empty()) {
    Refuse(kSelectSourceCompany, baseCompanyEdit_);
    return;
  }
  if (!baseIsCompany && baseFile.empty()) {
    Refuse(kSelectSourceFile, baseFileEdit_);
    return;
  }
  if (baseIsCompany && targetValid && DPX_Util::SameCompany(baseCompany_.getCompany(), target)) {
    Refuse(kChooseOtherTarget, targetCompanyEdit_);
    return;
  }
  if (!checkChoice(baseIsCompany, targetValid, targetConnectionChanged)) return;

  commitBase(baseIsCompany, baseConnectionChanged);
  commitTarget(targetIsCompany, targetValid, targetConnectionChanged);
  context_->setTargetName(targetText);
  QDialog::accept();
}

bool DPX_WorksheetPropertiesFormDlg::checkChoice(bool baseIsCompany, bool targetValid, bool targetConnectionChanged) {
  dpx::DPX_LogScope log("DPX_WorksheetPropertiesFormDlg::OnBnClickedOk");
  const std::string baseFile = S(baseFileEdit_->text());
  const bool checkFile = baseChanged_ && !baseIsCompany;
  const bool checkVersion = targetValid && (targetConnectionChanged || baseChanged_);
  DPX_TreeFormDlg* tree = guiManager_->treeForm();
  const bool checkLocalization = checkVersion && (!guiManager_->isWorksheetOpen() || !tree ||
                                                  !tree->allSelectedHaveLocalizationTransfer());
  int64_t baseVersion = 0;
  std::string baseLocalization;
  bool partial = false;
  if (checkFile || checkVersion || checkLocalization) {
    if (baseIsCompany) {
      try {
        baseVersion = baseCompany_.getCompany()->Version();
      } catch (const std::exception& e) {
        log.LogError("The base company's version cannot be read: %s", e.what());
        DPX_Util::ShowError(e.what(), false);
        return false;
      }
      DPX_Util::GetLocalization(0, baseCompany_.getCompany(), baseLocalization);
    } else {
      DPX_ConfigurationManager::Header header;
      DPX_ConfigurationManager* open = guiManager_->getConfigurationManager();
      if (open && baseFile == context_->getBaseFile()) {
        header = open->header();
      } else {
        // The header of a file the worksheet does not use yet.
        const std::string previous = context_->getBaseFile();
        context_->setBaseFile(baseFile);
        DPX_ConfigurationManager preview(context_);
        const dpx::HRESULT hr = preview.previewConfiguration();
        context_->setBaseFile(previous);
        if (dpx::Failed(hr)) return false;
        header = preview.header();
      }
      baseVersion = std::atol(header.dbVersion.c_str());
      baseLocalization = header.localization;
      partial = header.partialConfiguration;
    }
  }
  if (checkVersion) {
    int64_t targetVersion = 0;
    try {
      targetVersion = targetCompany_.getCompany()->Version();
    } catch (const std::exception& e) {
      log.LogError("The target company's version cannot be read: %s", e.what());
    }
    if (dpx::ui::BaseVersionIsHigher(baseVersion, targetVersion)) return Refuse(kBaseVersionHigher, targetCompanyEdit_);
  }
  if (guiManager_->isWorksheetOpen() && baseChanged_) {
    DPX_SelectionManager* selection = guiManager_->getSelectionManager();
    const DPX_Worksheet* worksheet = selection ? selection->getWorksheet() : nullptr;
    if (worksheet && (!worksheet->isFilePathEmpty() || worksheet->isModified()) && !Confirmed(kSelectionsRemoved))
      return false;
  }
  if (checkLocalization) {
    std::string targetLocalization;
    DPX_Util::GetLocalization(0, targetCompany_.getCompany(), targetLocalization);
    if (baseLocalization != targetLocalization && !Confirmed(kLocalizationsDiffer)) return false;
  }
  if (checkFile && partial && !Confirmed(kPartialConfiguration)) return false;
  return true;
}

void DPX_WorksheetPropertiesFormDlg::release(DPX_CompanyHandle& handle) {
  const auto company = handle.getCompany();
  if (!company || !company->Connected()) return;
  // The company the program runs in, and what the context took, stay connected.
  if (company == context_->getCompany() || company == context_->getBaseCompany() ||
      company == context_->getTargetCompany())
    return;
  DPX_Util::Disconnect(handle, context_);
}

void DPX_WorksheetPropertiesFormDlg::commitBase(bool baseIsCompany, bool baseConnectionChanged) {
  const auto chosen = baseCompany_.getCompany();
  const auto target = targetCompany_.getCompany();
  if (baseIsCompany) {
    context_->setBaseFile("");
    if (!baseConnectionChanged) return;
    if (context_->getBaseCompany() && !DPX_Util::SameConnection(context_->getBaseCompany(), target))
      context_->disconnectBaseCompany();
    context_->setBaseCompany(chosen);
    context_->setBaseDbPassword(baseCompany_.getDbPassword());
    return;
  }
  context_->setBaseFile(S(baseFileEdit_->text()));
  if (context_->getBaseCompany() && !DPX_Util::SameCompany(context_->getBaseCompany(), target))
    context_->disconnectBaseCompany();
  else
    context_->setBaseCompany(nullptr);
  context_->setBaseDbPassword("");
  if (baseConnectionChanged && !DPX_Util::SameCompany(chosen, target)) release(baseCompany_);
}

void DPX_WorksheetPropertiesFormDlg::commitTarget(bool targetIsCompany, bool targetValid,
                                                  bool targetConnectionChanged) {
  context_->setTargetFile(S(targetFileEdit_->text()));
  if (targetIsCompany && targetValid) {
    if (!targetConnectionChanged) return;
    context_->disconnectTargetCompany();
    context_->setTargetCompany(targetCompany_.getCompany());
    context_->setTargetDbPassword(targetCompany_.getDbPassword());
    return;
  }
  context_->disconnectTargetCompany();
  context_->setTargetDbPassword("");
  if (targetConnectionChanged && targetCompany_.getCompany() != baseCompany_.getCompany()) release(targetCompany_);
}
