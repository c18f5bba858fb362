// The in-memory worksheet: the header (name, file, the base and target
// connections or files, creation user, description, copy options, modified
// flag) and the category tree as a flat list of nodes in document order, a
// parent before its children. The worksheet file, the template, the tree and
// the copy all work on it.
#pragma once

#include <string>
#include <vector>

#include "worksheet/worksheet_node.h"

class DPX_ConnectionContext;

class DPX_Worksheet {
 public:
  DPX_Worksheet() = default;

  const std::string& getWorksheetName() const { return worksheetName_; }
  void setWorksheetName(std::string v) { worksheetName_ = std::move(v); }
  const std::string& getFilePath() const { return filePath_; }
  void setFilePath(std::string v) { filePath_ = std::move(v); }

  int getSourceServerType() const { return sourceServerType_; }
  void setSourceServerType(int v) { sourceServerType_ = v; }
  const std::string& getSourceServer() const { return sourceServer_; }
  void setSourceServer(std::string v) { sourceServer_ = std::move(v); }
  const std::string& getSourceServerUser() const { return sourceServerUser_; }
  void setSourceServerUser(std::string v) { sourceServerUser_ = std::move(v); }
  bool isSourceServerUseTrusted() const { return sourceServerUseTrusted_; }
  void setSourceServerUseTrusted(bool v) { sourceServerUseTrusted_ = v; }
  const std::string& getSourceDB() const { return sourceDB_; }
  void setSourceDB(std::string v) { sourceDB_ = std::move(v); }
  const std::string& getSourceCompanyName() const { return sourceCompanyName_; }
  void setSourceCompanyName(std::string v) { sourceCompanyName_ = std::move(v); }
  const std::string& getSourceUser() const { return sourceUser_; }
  void setSourceUser(std::string v) { sourceUser_ = std::move(v); }
  const std::string& getSourceFile() const { return sourceFile_; }
  void setSourceFile(std::string v) { sourceFile_ = std::move(v); }

  int getTargetServerType() const { return targetServerType_; }
  void setTargetServerType(int v) { targetServerType_ = v; }
  const std::string& getTargetServer() const { return targetServer_; }
  void setTargetServer(std::string v) { targetServer_ = std::move(v); }
  const std::string& getTargetServerUser() const { return targetServerUser_; }
  void setTargetServerUser(std::string v) { targetServerUser_ = std::move(v); }
  bool isTargetServerUseTrusted() const { return targetServerUseTrusted_; }
  void setTargetServerUseTrusted(bool v) { targetServerUseTrusted_ = v; }
  const std::string& getTargetDB() const { return targetDB_; }
  void setTargetDB(std::string v) { targetDB_ = std::move(v); }
  const std::string& getTargetCompanyName() const { return targetCompanyName_; }
  void setTargetCompanyName(std::string v) { targetCompanyName_ = std::move(v); }
  const std::string& getTargetUser() const { return targetUser_; }
  void setTargetUser(std::string v) { targetUser_ = std::move(v); }
  const std::string& getTargetFile() const { return targetFile_; }
  void setTargetFile(std::string v) { targetFile_ = std::move(v); }

  const std::string& getCreationUser() const { return creationUser_; }
  void setCreationUser(std::string v) { creationUser_ = std::move(v); }
  const std::string& getAdditionalDescription() const { return additionalDescription_; }
  void setAdditionalDescription(std::string v) { additionalDescription_ = std::move(v); }

  // 1 to 4; -1 not set.
  int getCopyMethod() const { return copyMethod_; }
  void setCopyMethod(int v) { copyMethod_ = v; }
  // Response to a copy failure, 0 to 2; -1 not set.
  int getRTCF() const { return rtcf_; }
  void setRTCF(int v) { rtcf_ = v; }
  // Fail records for missing user-defined fields.
  bool isFRFMUDF() const { return frfmudf_; }
  void setFRFMUDF(bool v) { frfmudf_ = v; }
  bool isBackup() const { return backup_; }
  void setBackup(bool v) { backup_ = v; }
  bool isApproval() const { return approval_; }
  void setApproval(bool v) { approval_ = v; }
  bool isModified() const { return modified_; }
  void setModified(bool v) { modified_ = v; }

  std::vector<DPX_WorksheetNode>& getNodes() { return nodes_; }
  const std::vector<DPX_WorksheetNode>& getNodes() const { return nodes_; }

  bool isFilePathEmpty() const { return filePath_.empty(); }
  bool isSourceFromFile() const { return !sourceFile_.empty(); }
  bool hasSourceDB() const { return !sourceDB_.empty(); }
  int getLeafCount() const;
  void releaseDataInterfaces();

  // Describes the context's current base and target (companies or files) and
  // copy options in the header, before a save or when a worksheet is made anew.
  void setConnectionFields(DPX_ConnectionContext& context);

 private:
  std::string worksheetName_;
  std::string filePath_;
  int sourceServerType_ = 0;
  std::string sourceServer_;
  std::string sourceServerUser_;
  bool sourceServerUseTrusted_ = false;
  std::string sourceDB_;
  std::string sourceCompanyName_;
  std::string sourceUser_;
  std::string sourceFile_;
  int targetServerType_ = 0;
  std::string targetServer_;
  std::string targetServerUser_;
  bool targetServerUseTrusted_ = false;
  std::string targetDB_;
  std::string targetCompanyName_;
  std::string targetUser_;
  std::string targetFile_;
  std::string creationUser_;
  std::string additionalDescription_;
  int copyMethod_ = -1;
  int rtcf_ = -1;
  bool frfmudf_ = false;
  bool backup_ = false;
  bool approval_ = false;
  bool modified_ = false;
  std::vector<DPX_WorksheetNode> nodes_;
};
