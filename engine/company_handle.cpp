#include "engine/company_handle.h"

#include "platform/framework/host_error.h"
#include "platform/host/company.h"

std::string DPX_CompanyHandle::getServer() const { return company_ ? company_->Server() : std::string(); }

std::string DPX_CompanyHandle::getCompanyDB() const { return company_ ? company_->CompanyDB() : std::string(); }

std::string DPX_CompanyHandle::getUserName() const { return company_ ? company_->UserName() : std::string(); }

std::string DPX_CompanyHandle::getDbUserName() const { return company_ ? company_->DbUserName() : std::string(); }

std::string DPX_CompanyHandle::getCompanyName() const {
  if (!company_) return "";
  try {
    return company_->CompanyName();
  } catch (const dpx::HostError&) {
    return "";  // the dialogs show an empty name rather than fail
  }
}

int DPX_CompanyHandle::getServerType() const { return company_ ? company_->DbServerType() : 0; }

bool DPX_CompanyHandle::usesTrustedConnection() const { return company_ && company_->UseTrusted(); }

void DPX_CompanyHandle::setServerType(int serverType) {
  if (company_) company_->SetDbServerType(serverType);
}

void DPX_CompanyHandle::setUseTrusted(bool trusted) {
  if (company_) company_->SetUseTrusted(trusted);
}

void DPX_CompanyHandle::setServer(const std::string& server) {
  if (company_) company_->SetServer(server);
}

void DPX_CompanyHandle::setCompanyDB(const std::string& database) {
  if (company_) company_->SetCompanyDB(database);
}

void DPX_CompanyHandle::setUserName(const std::string& user) {
  if (company_) company_->SetUserName(user);
}

void DPX_CompanyHandle::setDbUserName(const std::string& user) {
  if (company_) company_->SetDbUserName(user);
}

void DPX_CompanyHandle::setDbPassword(const std::string& password) {
  dbPassword_ = password;
  if (company_) company_->SetDbPassword(password);
}

void DPX_CompanyHandle::setPassword(const std::string& password) {
  password_ = password;
  if (company_) company_->SetPassword(password);
}
