#include "ui/copy_options_form_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "ui/dialog_texts.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"

using dpx::ui::Q;
using dpx::ui::S;

namespace {

constexpr uint32_t kSaveChanges = 10002;
constexpr uint32_t kSaveFailed = 10004;
constexpr uint32_t kBrowseTitle = 401;
constexpr const char* kMethodRadios[] = {"1037", "1038", "1039", "1182"};

}  // namespace

DPX_CopyOptionsFormDlg::DPX_CopyOptionsFormDlg(DPX_ConnectionContext* context, DPX_SettingsManager* settings,
                                               QWidget* parent)
    : QDialog(parent), context_(context), settings_(settings) {
  setObjectName("DPX_CopyOptionsFormDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  int row = 0;
  layout->addWidget(DPX_NewControl<QLabel>(this, "1036"), row++, 0, 1, 3);
  for (size_t i = 0; i < methodRadios_.size(); ++i) {
    methodRadios_[i] = DPX_NewControl<QRadioButton>(this, kMethodRadios[i]);
    layout->addWidget(methodRadios_[i], row++, 0, 1, 3);
  }
  layout->addWidget(DPX_NewControl<QLabel>(this, "1041"), row, 0);
  responseCombo_ = DPX_NewControl<QComboBox>(this, "1042");
  layout->addWidget(responseCombo_, row++, 1, 1, 2);
  ignoreMissingFieldsCheck_ = DPX_NewControl<QCheckBox>(this, "1043");
  layout->addWidget(ignoreMissingFieldsCheck_, row++, 0, 1, 3);
  forceBackupCheck_ = DPX_NewControl<QCheckBox>(this, "1076");
  layout->addWidget(forceBackupCheck_, row++, 0, 1, 3);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1040"), row++, 0, 1, 3);
  auto folderLine = [&](const char* label, const char* edit, const char* button, std::string& folder) {
    auto* e = DPX_NewControl<QLineEdit>(this, edit);
    e->setReadOnly(true);
    e->setMinimumWidth(320);
    auto* b = DPX_NewControl<QPushButton>(this, button);
    connect(b, &QPushButton::clicked, this, [this, e, &folder] { browse(e, folder); });
    layout->addWidget(DPX_NewControl<QLabel>(this, label), row, 0);
    layout->addWidget(e, row, 1);
    layout->addWidget(b, row++, 2);
    return e;
  };
  configurationFolderEdit_ = folderLine("1044", "1045", "1046", configurationFolder_);
  worksheetFolderEdit_ = folderLine("1047", "1048", "1049", worksheetFolder_);
  logFolderEdit_ = folderLine("1050", "1051", "1052", logFolder_);
  layout->addWidget(DPX_AddDialogButtons(this), row, 0, 1, 3);
  DPX_ApplyTexts(this, 2020,
                 {{"1036", 2021}, {"1037", 2022}, {"1038", 2023}, {"1039", 2024}, {"1182", 2025}, {"1041", 2026},
                  {"1043", 2030}, {"1076", 217}, {"1040", 2058}, {"1044", 2005}, {"1047", 2006}, {"1050", 2007},
                  {"1046", 8}, {"1049", 8}, {"1052", 8}, {"1", 1}, {"2", 2}});

  copyMethod_ = context_->getCopyMethod();
  for (size_t i = 0; i < methodRadios_.size(); ++i) methodRadios_[i]->setChecked(copyMethod_ == static_cast<int>(i + 1));
  for (const auto& [value, textId] : kResponses) {
    responseCombo_->addItem(dpx::ui::Text(textId), value);
  }
  responseCombo_->setCurrentIndex(responseCombo_->findData(context_->getResponseToCopyFailure()));
  // The box offers to ignore missing fields; the stored flag fails the records.
  failRecordsForMissingFields_ = context_->getFailRecordsForMissingFields();
  ignoreMissingFieldsCheck_->setChecked(!failRecordsForMissingFields_);
  forceBackup_ = context_->getForceBackup();
  forceBackupCheck_->setChecked(forceBackup_);
  configurationFolder_ = settings_->getConfigurationFolder();
  worksheetFolder_ = settings_->getWorksheetFolder();
  logFolder_ = settings_->getLogFileFolder();
  configurationFolderEdit_->setText(Q(configurationFolder_));
  worksheetFolderEdit_->setText(Q(worksheetFolder_));
  logFolderEdit_->setText(Q(logFolder_));
  methodRadios_[0]->setFocus();
}

int DPX_CopyOptionsFormDlg::GetChanges() {
  for (size_t i = 0; i < methodRadios_.size(); ++i) {
    if (methodRadios_[i]->isChecked()) {
      copyMethod_ = static_cast<int32_t>(i + 1);
      break;
    }
  }
  response_ = -1;
  const QString text = responseCombo_->currentText();
  if (!text.isEmpty()) {
    for (const auto& [value, textId] : kResponses) {
      if (dpx::ui::Text(textId) == text) {
        response_ = value;
        break;
      }
    }
  }
  failRecordsForMissingFields_ = !ignoreMissingFieldsCheck_->isChecked();
  forceBackup_ = forceBackupCheck_->isChecked();
  configurationFolder_ = S(configurationFolderEdit_->text());
  logFolder_ = S(logFolderEdit_->text());
  const bool differs = copyMethod_ != context_->getCopyMethod() || response_ != context_->getResponseToCopyFailure() ||
                       failRecordsForMissingFields_ != context_->getFailRecordsForMissingFields() ||
                       forceBackup_ != context_->getForceBackup() ||
                       configurationFolder_ != settings_->getConfigurationFolder() ||
                       worksheetFolder_ != settings_->getWorksheetFolder() ||
                       logFolder_ != settings_->getLogFileFolder();
  return differs ? 0 : 1;
}

void DPX_CopyOptionsFormDlg::accept() {
  if (GetChanges() == 1) {
    QDialog::accept();
    return;
  }
  context_->setCopyMethod(copyMethod_);
  context_->setResponseToCopyFailure(response_);
  context_->setFailRecordsForMissingFields(failRecordsForMissingFields_);
  context_->setForceBackup(forceBackup_);
  settings_->setCopyMethod(copyMethod_);
  settings_->setResponseToCopyFailure(response_);
  settings_->setFailRecordsForMissingFields(failRecordsForMissingFields_);
  settings_->setForceBackup(forceBackup_);
  settings_->setConfigurationFolder(configurationFolder_);
  settings_->setWorksheetFolder(worksheetFolder_);
  settings_->setLogFileFolder(logFolder_);
  if (dpx::Failed(settings_->saveSettingsToDatabase())) {
    DPX_Util::ShowError(S(dpx::ui::Text(kSaveFailed)), false);
    return;
  }
  DPX_Util::ShowOperationCompleted(false);
  QDialog::accept();
}

void DPX_CopyOptionsFormDlg::reject() {
  if (GetChanges() == 1) {
    QDialog::reject();
    return;
  }
  switch (DPX_Util::AskQuestion(S(dpx::ui::Text(kSaveChanges)), true, 2)) {
    case dpx::mb::kIdYes: accept(); break;
    case dpx::mb::kIdNo: QDialog::reject(); break;
    default: break;
  }
}

int DPX_CopyOptionsFormDlg::BrowseForFolder(std::string& folder, const std::string& initialFolder) {
  std::string chosen;
  if (DPX_GUIManager::getInstance().browseForFolder(this, S(dpx::ui::Text(kBrowseTitle)), initialFolder, chosen) !=
          dpx::S_OK ||
      chosen.empty())
    return 1;
  if (chosen.back() != '/') chosen += '/';
  folder = chosen;
  return 0;
}

void DPX_CopyOptionsFormDlg::browse(QLineEdit* edit, std::string& folder) {
  if (BrowseForFolder(folder, S(edit->text())) == 0) edit->setText(Q(folder));
}
