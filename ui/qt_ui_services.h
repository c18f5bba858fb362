// The engine's user-interface services in the desktop window: status text and
// progress in the main frame's status bar (repainted at once, since long
// operations run on this thread), message boxes, the host language, the file
// and company dialogs through the GUI controller, and the wait cursor.
#pragma once

#include "engine/ui_services.h"

class DPX_QtUiServices : public dpx::UiServices {
 public:
  void setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) override;
  void setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) override;
  void setProgressPos(int32_t pos) override;
  int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  int getLanguage() override;
  DPX_ConfigurationManager* getConfigurationManager() override;
  int showSaveFileForm(const std::string& caption, const std::string& initialFolder, std::string& path,
                       const std::string& extension, uint32_t filterStringId) override;
  int showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& companyName) override;
  void updateCurrentWorksheet() override;
  void beginWaitCursor() override;
  void endWaitCursor() override;

 private:
  int waitDepth_ = 0;
};
