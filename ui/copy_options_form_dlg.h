// "Options": the copy method, the response if a copy fails, the missing-field
// and force-backup switches and the three default folders. OK saves what
// changed into the connection context and the settings row; Cancel after a
// change asks whether to save.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class DPX_ConnectionContext;
class DPX_SettingsManager;

class DPX_CopyOptionsFormDlg : public QDialog {
  Q_OBJECT

 public:
  // The settings object belongs to the caller, which has read it first.
  DPX_CopyOptionsFormDlg(DPX_ConnectionContext* context, DPX_SettingsManager* settings, QWidget* parent);

  // Reads the controls; 1 when nothing differs from what is stored, 0 otherwise.
  int GetChanges();
  // 0 with the chosen folder (ending in "/") in `folder`, 1 when cancelled.
  int BrowseForFolder(std::string& folder, const std::string& initialFolder);

  void accept() override;
  void reject() override;

 private:
  void browse(QLineEdit* edit, std::string& folder);

  DPX_ConnectionContext* context_;
  DPX_SettingsManager* settings_;
  std::array<QRadioButton*, 4> methodRadios_{};
  QComboBox* responseCombo_;
  QCheckBox* ignoreMissingFieldsCheck_;
  QCheckBox* forceBackupCheck_;
  QLineEdit* configurationFolderEdit_;
  QLineEdit* worksheetFolderEdit_;
  QLineEdit* logFolderEdit_;
  // The responses to a failed copy: value and string id, in the order offered.
  static constexpr std::array<std::pair<int32_t, uint32_t>, 3> kResponses{{{0, 2029}, {1, 2028}, {2, 2027}}};
  int32_t copyMethod_ = -1;
  int32_t response_ = -1;
  bool failRecordsForMissingFields_ = false;
  bool forceBackup_ = false;
  std::string configurationFolder_;
  std::string worksheetFolder_;
  std::string logFolder_;
};
