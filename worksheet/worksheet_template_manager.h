// The category tree's template, "WorkSheet.tpl" in the program folder: a file
// in the worksheet format whose nodes carry the category rules (note, data
// area, single-record selection, localization transfer, prohibited and
// substitute copy methods, dependencies). One instance for the process reads
// it on first use, hands new worksheets a fresh copy of the tree and stamps
// the rules onto the nodes of worksheets read from files.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/framework/host_error.h"
#include "worksheet/worksheet.h"

class DPX_ConnectionContext;

class DPX_WorksheetTemplateManager {
 public:
  // The instance; stores the context and reads the template unless it was
  // read already (after a failed read, every call tries again).
  static DPX_WorksheetTemplateManager& getInstance(DPX_ConnectionContext* context);

  dpx::HRESULT initialize();
  bool isInitialized() const { return initialized_; }

  bool hasNode(const std::string& leafId) const;
  // The template node of leafId; hasNode must hold.
  const DPX_WorksheetNode& getNode(const std::string& leafId) const;
  // The leaf id of the first leaf with that category key; E_FAIL and an empty
  // text when no leaf has it.
  dpx::HRESULT getLeafIdFromStringKey(const std::string& stringKey, std::string& leafId) const;
  // The node's display name and the names of its ancestors from the top,
  // joined by ">" (empty for a top-level node).
  dpx::HRESULT getNodeNameFromID(const std::string& leafId, std::string& name, std::string& path) const;

  // Replaces the worksheet's tree by a fresh copy of the template's.
  dpx::HRESULT getWorksheetTemplate(DPX_Worksheet& worksheet) const;
  // Gives every node of a worksheet read from a file the template's rules for
  // its leaf id. E_FAIL (string 10036 in the status bar) for a node the
  // template lacks.
  dpx::HRESULT updateWorksheetFromTemplate(DPX_Worksheet& worksheet) const;
  dpx::HRESULT updateFlags();
  // Reloads the node names and note texts in the host client's language.
  dpx::HRESULT updateStrings();

  const DPX_Worksheet& getTemplate() const { return template_; }

  // Reads the template from another file from now on and forgets the one read
  // (tests, and tools that bring their own tree).
  static void setTemplatePath(const std::string& path);

 private:
  DPX_WorksheetTemplateManager() = default;
  static DPX_WorksheetTemplateManager& instance();
  std::string templatePath() const;
  // A prohibited list needs a substitute the copy can act on: a copy method
  // (1 to 4) or 33, "cannot be copied with this method".
  void validateSubstitutes();
  const DPX_WorksheetNode* findNode(const std::string& leafId) const;
  DPX_WorksheetNode* findNode(const std::string& leafId);

  DPX_ConnectionContext* context_ = nullptr;
  bool initialized_ = false;
  DPX_Worksheet template_;
  // Leaf id to index into the template's nodes, in node order; the first match wins.
  std::vector<std::pair<std::string, size_t>> nodeMap_;
  // Category key to leaf id, one entry per leaf, in node order.
  std::vector<std::pair<std::string, std::string>> leafKeyMap_;
  std::string pathOverride_;
};
