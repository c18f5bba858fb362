// The GUI's owner of the open worksheet: it holds one worksheet for the life
// of the GUI and opens, renews and saves it through a DPX_WorksheetManager
// made for each operation. The save dialog goes through the UI services.
#pragma once

#include "platform/framework/host_error.h"
#include "worksheet/worksheet.h"

class DPX_ConnectionContext;

class DPX_SelectionManager {
 public:
  explicit DPX_SelectionManager(DPX_ConnectionContext* context);
  ~DPX_SelectionManager();
  DPX_SelectionManager(const DPX_SelectionManager&) = delete;
  DPX_SelectionManager& operator=(const DPX_SelectionManager&) = delete;

  DPX_Worksheet* getWorksheet() { return &worksheet_; }

  // Opens the context's worksheet file, or makes a new worksheet when the
  // context names none. The worksheet manager's result.
  dpx::HRESULT openWorksheet();
  // Why the last open failed, when the worksheet file was the reason.
  const std::string& lastError() const { return lastError_; }
  // Renews the tree from the template and the header from the context; reads no file.
  dpx::HRESULT refreshWorksheet();
  // Saves to the worksheet's file, asking for a file when it has none or
  // saveAs is set. 1 when the user cancels the dialog (nothing is written).
  dpx::HRESULT saveWorksheet(bool saveAs);

  // The file name proposed for a worksheet that was never saved: the base
  // company's name without \ / : * < > ? and the quotation mark, or the
  // base configuration file's name, followed by "_WS.xml"; empty without either.
  static std::string defaultFileName(DPX_ConnectionContext& context);

 private:
  DPX_ConnectionContext* context_;
  DPX_Worksheet worksheet_;
  std::string lastError_;
};
