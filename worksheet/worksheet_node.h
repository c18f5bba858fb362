// One node of the worksheet's category tree: a group or a data category.
// It carries its identity (dotted leaf id, category key, string id), the
// template's rules for it (selection allowed, localization transfer,
// prohibited and substitute copy methods, dependencies), the user's choice
// (selected state and picked records) and, while the worksheet is open, the
// category's manager and its listed records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "worksheet/selection_object.h"

class DPX_DIInterface;
class DPX_TableInfo;
class DPX_DetailRecord;

class DPX_WorksheetNode {
 public:
  // Selected states.
  static constexpr int kNotSelected = 0;
  static constexpr int kSelectedWhole = 1;
  static constexpr int kSelectedPartly = 2;
  // Data-area formats read from the template's T, D and N.
  static constexpr int kFormatNone = 0;
  static constexpr int kFormatNoRecords = 1;  // N
  static constexpr int kFormatDetail = 2;     // D
  static constexpr int kFormatTable = 3;      // T
  // The substitute copy method of a node whose template names none.
  static constexpr int kNoSubstitute = -1;

  DPX_WorksheetNode() = default;
  // A copy takes every text, number, flag and list; dependencies are added
  // one by one (an id covered by an earlier one is not repeated); the level
  // becomes the source's getLevel(); the category manager and its records are
  // shared with the source; the dependent count starts at 0.
  DPX_WorksheetNode(const DPX_WorksheetNode& other);
  DPX_WorksheetNode& operator=(const DPX_WorksheetNode& other);
  DPX_WorksheetNode(DPX_WorksheetNode&&) noexcept = default;
  DPX_WorksheetNode& operator=(DPX_WorksheetNode&&) noexcept = default;
  ~DPX_WorksheetNode() = default;

  const std::string& getElementName() const { return elementName_; }
  void setElementName(std::string v) { elementName_ = std::move(v); }
  const std::string& getLeafId() const { return leafId_; }
  void setLeafId(std::string v) { leafId_ = std::move(v); }
  const std::string& getStringKey() const { return stringKey_; }
  void setStringKey(std::string v) { stringKey_ = std::move(v); }
  uint32_t getStringId() const { return stringId_; }
  void setStringId(uint32_t v) { stringId_ = v; }
  const std::string& getDisplayName() const { return displayName_; }
  void setDisplayName(std::string v) { displayName_ = std::move(v); }
  int getNoteNumber() const { return noteNumber_; }
  void setNoteNumber(int v) { noteNumber_ = v; }
  uint32_t getNoteStringId() const { return noteStringId_; }
  void setNoteStringId(uint32_t v) { noteStringId_ = v; }
  const std::string& getNoteText() const { return noteText_; }
  void setNoteText(std::string v) { noteText_ = std::move(v); }
  int getSelected() const { return selected_; }
  void setSelected(int v) { selected_ = v; }
  int getDataAreaFormat() const { return dataAreaFormat_; }
  void setDataAreaFormat(int v) { dataAreaFormat_ = v; }
  bool isAllowSelection() const { return allowSelection_; }
  void setAllowSelection(bool v) { allowSelection_ = v; }
  bool isLocalizationTransfer() const { return localizationTransfer_; }
  void setLocalizationTransfer(bool v) { localizationTransfer_ = v; }

  std::vector<int>& getProhibitedCopyMethods() { return prohibitedCopyMethods_; }
  const std::vector<int>& getProhibitedCopyMethods() const { return prohibitedCopyMethods_; }
  void addProhibitedCopyMethod(int method) { prohibitedCopyMethods_.push_back(method); }
  bool isProhibitedCopyMethod(int method) const;
  int getSubstituteCopyMethod() const { return substituteCopyMethod_; }
  void setSubstituteCopyMethod(int v) { substituteCopyMethod_ = v; }

  // Dependencies: leaf ids of the categories this one needs. A dependency d
  // covers d itself and every node below it (d = 1.2 covers 1.2.5, not 1.25).
  bool dependsOn(const std::string& leafId) const;
  void addDependency(const std::string& leafId);
  // Throws std::out_of_range for an index outside the list.
  std::string getDependency(int index) const;
  int getDependencyCount() const { return static_cast<int>(dependencies_.size()); }
  std::vector<std::string> getDependencies() const { return dependencies_; }
  void clearDependencies() { dependencies_.clear(); }

  std::vector<DPX_SelectionObject>& getSelectionObjects() { return selectionObjects_; }
  const std::vector<DPX_SelectionObject>& getSelectionObjects() const { return selectionObjects_; }
  void addSelectionObject(DPX_SelectionObject object) { selectionObjects_.push_back(std::move(object)); }

  // The stored level, or 1 + the number of '.' in the leaf id when none is stored.
  int getLevel() const;
  void setLevel(int v) { level_ = v; }
  bool isLeaf() const { return isLeaf_; }
  void setIsLeaf(bool v) { isLeaf_ = v; }
  bool isAvailable() const { return available_; }
  void setAvailable(bool v) { available_ = v; }
  bool hasDependencies() const { return hasDependencies_; }
  void setHasDependencies(bool v) { hasDependencies_ = v; }

  // Categories the program treats specially by their string id.
  bool isUserDefinedNode() const;
  bool isQueriesNode() const;
  bool isPrintLayoutNode() const;

  // The category's manager, made for the record list. Copies of a node share
  // it; it is deleted when the last node holding it releases it.
  DPX_DIInterface* getDataInterface() const { return dataInterface_.get(); }
  const std::shared_ptr<DPX_DIInterface>& getSharedDataInterface() const { return dataInterface_; }
  void setDataInterface(std::shared_ptr<DPX_DIInterface> manager);
  void releaseDataInterface();

  // The listed records of the category: the manager's table description.
  DPX_TableInfo* getDetails() const { return details_; }
  void setDetails(DPX_TableInfo* details) { details_ = details; }
  const std::string& getDetailsTitle() const { return detailsTitle_; }
  void setDetailsTitle(std::string v) { detailsTitle_ = std::move(v); }
  // Hands out the listed records; the first call lists them through the
  // manager (result 1), later calls hand out what was listed (result 0).
  int loadDetails(DPX_TableInfo*& details);
  // The selection object that stands for a listed record: every one of the
  // record's key columns (or, with useFieldValues, its field columns) has a
  // key field of the same name and value text. Null when none does.
  DPX_SelectionObject* matchSelection(const DPX_DetailRecord& record, bool useFieldValues);

  int getDependentCount() const { return dependentCount_; }
  void addDependentCount(int delta) { dependentCount_ += delta; }
  void resetDependentCount() { dependentCount_ = 0; }

 private:
  void copyFrom(const DPX_WorksheetNode& other);

  std::string elementName_;
  std::string leafId_;
  std::string stringKey_;
  uint32_t stringId_ = 0;
  std::string displayName_;
  int noteNumber_ = 0;
  uint32_t noteStringId_ = 0;
  std::string noteText_;
  int selected_ = kNotSelected;
  int dataAreaFormat_ = kFormatNone;
  bool allowSelection_ = false;
  bool localizationTransfer_ = false;
  std::vector<int> prohibitedCopyMethods_;
  int substituteCopyMethod_ = kNoSubstitute;
  std::vector<std::string> dependencies_;
  std::vector<DPX_SelectionObject> selectionObjects_;
  int level_ = 0;
  bool isLeaf_ = false;
  bool available_ = true;
  bool hasDependencies_ = false;
  std::shared_ptr<DPX_DIInterface> dataInterface_;
  DPX_TableInfo* details_ = nullptr;
  std::string detailsTitle_;
  int dependentCount_ = 0;
};
