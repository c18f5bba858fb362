// Worksheet files: reading a file into the worksheet model and writing it
// back, opening a worksheet (template merge, base and target company logins,
// the base configuration file, the category managers of the tree) and
// saving it. Made on the stack for each operation; keeps no state.
//
// The file: UTF-16LE with byte-order mark, the declaration, and the root
// "twinlyWorksheet" (version "1.0") with a "header" of 24 elements and a
// "body" whose node elements nest like the category tree. A selected record
// is a "keyObject" holding "key", "subsKey" and "additionalData" fields; its
// table name is kept in the attribute "tableName", which older readers ignore.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/host_error.h"
#include "worksheet/worksheet.h"

class DPX_ConnectionContext;
class DPX_ResourceManager;
class DPX_DOMParser;

// The text of a string id in the host client's current language.
std::string HostText(uint32_t id);

class DPX_WorksheetManager {
 public:
  explicit DPX_WorksheetManager(DPX_ConnectionContext* context);

  // Opens the worksheet's file (mode 0) or renews its tree from the template
  // and the context (any other mode, or no file path). 0 success, 1 the user
  // cancelled a company choice, negative failure.
  dpx::HRESULT openWorksheet(DPX_Worksheet& worksheet, unsigned char mode);
  // Writes the worksheet to path. A failed save leaves the old file, the
  // worksheet's path and its modified flag as they were.
  dpx::HRESULT saveWorksheet(DPX_Worksheet& worksheet, const std::string& path);
  // Node names and note texts in the host client's language.
  dpx::HRESULT updateStrings(DPX_Worksheet& worksheet);
  // The category manager (and, for a file base, the records) of every leaf with
  // data. A category that cannot be read is logged and passed over, the others
  // still get theirs, and the status bar shows "Could not read dataset".
  dpx::HRESULT updateDetails(DPX_Worksheet& worksheet);
  static std::string formatComError(const dpx::HostError& error);
  // Why the last open, read or save failed, naming what was wrong with the
  // file; empty when nothing failed or no reason is known.
  const std::string& lastError() const { return failure_; }

  // --- The file format ----------------------------------------------------
  dpx::HRESULT readWorksheet(DPX_Worksheet& worksheet, const std::string& path);
  dpx::HRESULT getHeaderDataFromXML(DPX_Worksheet& worksheet, DPX_DOMParser& dom);
  dpx::HRESULT getTreeDataFromXML(DPX_Worksheet& worksheet, DPX_DOMParser& dom);
  dpx::HRESULT getDependencies(DPX_DOMParser& dom, DPX_WorksheetNode& node);
  dpx::HRESULT getSelection(DPX_DOMParser& dom, DPX_WorksheetNode& node);
  dpx::HRESULT readSelectionObject(DPX_DOMParser& dom, DPX_SelectionObject& object);
  dpx::HRESULT readSelectionField(DPX_DOMParser& dom, DPX_SelectionField& field);
  dpx::HRESULT writeHeaderDataToXML(const DPX_Worksheet& worksheet, DPX_DOMParser& dom);
  dpx::HRESULT writeTreeDataToXML(const DPX_Worksheet& worksheet, DPX_DOMParser& dom);
  dpx::HRESULT writeTreeNodeToXML(const DPX_WorksheetNode& node, DPX_DOMParser& dom);
  dpx::HRESULT writeSelectionObjectToXML(const DPX_SelectionObject& object, DPX_DOMParser& dom);
  dpx::HRESULT writeSelectionObjectToXML(const DPX_SelectionField& field, DPX_DOMParser& dom);
  dpx::HRESULT addXmlElement(DPX_DOMParser& dom, const std::string& name, const std::string& text, bool moveToNew);
  dpx::HRESULT addXmlAttribute(DPX_DOMParser& dom, const std::string& name, const std::string& value);

 private:
  dpx::HRESULT readTreeLevel(DPX_Worksheet& worksheet, DPX_DOMParser& dom, int depth);
  // The string id of the note key in row `number` of the notes table of the
  // company the add-on runs in; 0 when it cannot be read.
  uint32_t noteStringId(int number);
  dpx::HRESULT loginBaseCompany(DPX_Worksheet& worksheet);
  dpx::HRESULT loginTargetCompany(DPX_Worksheet& worksheet);

  DPX_ConnectionContext* context_;
  DPX_ResourceManager* keyTable_;
  std::string failure_;
};
