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

// The header fields that describe one end of a copy (base or target).
struct Connection {
  int& serverType;
  std::string& server;
  bool& useTrusted;
  std::string& serverUser;
  std::string& database;
  std::string& companyName;
  std::string& user;

  // From a company; the company name stays empty when the host cannot tell it.
  void describe(const std::shared_ptr<dpx::host::Company>& company) {
    serverType = company->DbServerType();
    server = company->Server();
    useTrusted = company->UseTrusted();
    serverUser = company->DbUserName();
    database = company->CompanyDB();
    companyName = DPX_CompanyHandle(company).getCompanyName();
    user = company->UserName();
  }
  // No company: only a server type (that of the add-on's company) and a name.
  void clear(int type, const std::string& name) {
    serverType = type;
    server.clear();
    useTrusted = false;
    serverUser.clear();
    database.clear();
    companyName = name;
    user.clear();
  }
};

}  // namespace

void DPX_Worksheet::setConnectionFields(DPX_ConnectionContext& context) {
  const std::shared_ptr<dpx::host::Company> own = context.getCompany();
  const int ownServerType = own ? own->DbServerType() : 0;

  Connection source{sourceServerType_, sourceServer_,      sourceServerUseTrusted_, sourceServerUser_,
                    sourceDB_,         sourceCompanyName_, sourceUser_};
  if (const std::shared_ptr<dpx::host::Company> base = context.getBaseCompany()) {
    sourceFile_.clear();
    source.describe(base);
  } else {
    sourceFile_ = RelativeBaseFile(context.getBaseFile());
    source.clear(ownServerType, "");
  }

  targetFile_ = context.getTargetFile();
  Connection target{targetServerType_, targetServer_,      targetServerUseTrusted_, targetServerUser_,
                    targetDB_,         targetCompanyName_, targetUser_};
  if (const std::shared_ptr<dpx::host::Company> company = context.getTargetCompany()) {
    target.describe(company);
  } else {
    target.clear(ownServerType, context.getTargetName());
  }

  copyMethod_ = context.getCopyMethod();
  rtcf_ = context.getResponseToCopyFailure();
  frfmudf_ = context.getFailRecordsForMissingFields();
  backup_ = context.getForceBackup();
}
