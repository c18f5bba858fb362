#include "ui/qt_ui_services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/duplora_app.h"
#include "ui/gui_manager.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/tree_form_dlg.h"

using dpx::ui::Q;
namespace mb = dpx::mb;

void DPX_QtUiServices::setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) {
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame()) frame->setStatusText(text, normalFont, timeoutMs);
}

void DPX_QtUiServices::setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) {
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame()) frame->setProgressRange(text, lower, upper);
}

void DPX_QtUiServices::setProgressPos(int32_t pos) {
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame()) frame->setProgressPos(pos);
}

int DPX_QtUiServices::messageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = DPX_DuploraApp::MainFrame();
  QMessageBox box(parent);
  box.setObjectName("DPX_MessageBox");
  box.setWindowTitle(Q(caption));
  box.setText(Q(text));
  switch (flags & 0xF0) {
    case mb::kIconError: box.setIcon(QMessageBox::Critical); break;
    case mb::kIconQuestion: box.setIcon(QMessageBox::Question); break;
    case mb::kIconWarning: box.setIcon(QMessageBox::Warning); break;
    case mb::kIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  // The buttons in order, with the answer each gives and its objectName.
  std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
  switch (flags & 0xF) {
    case mb::kYesNoCancel:
      buttons = {{QMessageBox::Yes, mb::kIdYes}, {QMessageBox::No, mb::kIdNo}, {QMessageBox::Cancel, mb::kIdCancel}};
      break;
    case mb::kYesNo: buttons = {{QMessageBox::Yes, mb::kIdYes}, {QMessageBox::No, mb::kIdNo}}; break;
    default: buttons = {{QMessageBox::Ok, mb::kIdOk}}; break;
  }
  for (const auto& [button, answer] : buttons) box.addButton(button)->setObjectName(QString::number(answer));
  const size_t defaultIndex = (flags >> 8) & 0x3;
  if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].first);
  if (buttons.size() > 1 && buttons.back().second == mb::kIdCancel) box.setEscapeButton(QMessageBox::Cancel);
  if (flags & mb::kSetForeground) {
    box.raise();
    box.activateWindow();
  }
  // A box during a long operation shows the normal cursor.
  const bool waiting = waitDepth_ > 0;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const auto& [button, answer] : buttons)
    if (button == clicked) return answer;
  // Closed without a button: Cancel where there is one, else the last button's answer.
  return buttons.back().second;
}

int DPX_QtUiServices::getLanguage() { return DPX_GUIManager::getInstance().getLanguage(); }

DPX_ConfigurationManager* DPX_QtUiServices::getConfigurationManager() {
  return DPX_GUIManager::getInstance().getConfigurationManager();
}

int DPX_QtUiServices::showSaveFileForm(const std::string& caption, const std::string& initialFolder, std::string& path,
                                       const std::string& extension, uint32_t filterStringId) {
  return DPX_GUIManager::getInstance().showSaveFileForm(caption, initialFolder, path, extension, filterStringId, "");
}

int DPX_QtUiServices::showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& companyName) {
  return DPX_GUIManager::getInstance().showChooseCompanyForm(company, companyName);
}

void DPX_QtUiServices::updateCurrentWorksheet() {
  if (DPX_TreeFormDlg* tree = DPX_GUIManager::getInstance().treeForm()) tree->updateCurrentWorksheet();
}

void DPX_QtUiServices::beginWaitCursor() {
  if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void DPX_QtUiServices::endWaitCursor() {
  if (waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
}
