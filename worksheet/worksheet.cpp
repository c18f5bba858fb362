// The worksheet's own operations; its file form is DPX_WorksheetManager's.
#include "worksheet/worksheet.h"

#include <algorithm>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "platform/host/company.h"

int DPX_Worksheet::getLeafCount() const {
  return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [](const DPX_WorksheetNode& n) { return n.isLeaf(); }));
}

void DPX_Worksheet::releaseDataInterfaces() {
  for (DPX_WorksheetNode& node : nodes_) node.releaseDataInterface();
}

namespace {

// A base file as the worksheet stores it: relative to the folder of the
// worksheets, "..\<folder>\<file>", which the configuration reader resolves
// against the worksheet file's folder. Both separators are accepted.
std::string RelativeBaseFile(const std::string& path) {
  auto lastSeparator = [](const std::string& text) {
    const size_t backslash = text.rfind('\\');
    return backslash != std::string::npos ? backslash : text.rfind('/');
  };
  const size_t cut = lastSeparator(path);
  if (cut == std::string::npos) return path;
  const std::string file = path.substr(cut + 1);
  const std::string folder = path.substr(0, cut);
  const size_t folderCut = lastSeparator(folder);
  const std::string folderName = folderCut == std::string::npos ? std::string() : folder.substr(folderCut + 1);
  return "..\\" + folderName + (folderName.empty() ? "" : "\\") + file;
}


}  // namespace

void DPX_Worksheet::setConnectionFields(DPX_ConnectionContext& context) {
  const std::shared_ptr<dpx::host::Company> own = context.getCompany();
  const int ownServerType = own ? own->DbServerType() : 0;

  if (const std::shared_ptr<dpx::host::Company> base = context.getBaseCompany()) {
    sourceFile_.clear();
    sourceServerType_ = base->DbServerType();
    sourceServer_ = base->Server();
    sourceServerUseTrusted_ = base->UseTrusted();
    sourceServerUser_ = base->DbUserName();
    sourceDB_ = base->CompanyDB();
    sourceCompanyName_ = DPX_CompanyHandle(base).getCompanyName();
    sourceUser_ = base->UserName();
  } else {
    sourceFile_ = RelativeBaseFile(context.getBaseFile());
    sourceServerType_ = ownServerType;
    sourceServer_.clear();
    sourceServerUser_.clear();
    sourceDB_.clear();
    sourceCompanyName_.clear();
    sourceUser_.clear();
    sourceServerUseTrusted_ = false;
  }

  targetFile_ = context.getTargetFile();
  if (const std::shared_ptr<dpx::host::Company> target = context.getTargetCompany()) {
    targetServerType_ = target->DbServerType();
    targetServer_ = target->Server();
    targetServerUseTrusted_ = target->UseTrusted();
    targetServerUser_ = target->DbUserName();
    targetDB_ = target->CompanyDB();
    targetCompanyName_ = DPX_CompanyHandle(target).getCompanyName();
    targetUser_ = target->UserName();
  } else {
    targetServerType_ = ownServerType;
    targetServer_.clear();
    targetServerUser_.clear();
    targetDB_.clear();
    targetServerUseTrusted_ = false;
    targetCompanyName_ = context.getTargetName();
    targetUser_.clear();
  }

  copyMethod_ = context.getCopyMethod();
  rtcf_ = context.getResponseToCopyFailure();
  frfmudf_ = context.getFailRecordsForMissingFields();
  backup_ = context.getForceBackup();
}
