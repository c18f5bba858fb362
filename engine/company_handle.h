// A holder of one host company object for the login paths: they fill in the
// connection properties through it and read them back. The host company's
// passwords can be written but not read, so the handle keeps copies.
#pragma once

#include <memory>
#include <string>

namespace dpx::host {
class Company;
}

class DPX_CompanyHandle {
 public:
  DPX_CompanyHandle() = default;
  explicit DPX_CompanyHandle(std::shared_ptr<dpx::host::Company> company) : company_(std::move(company)) {}

  std::shared_ptr<dpx::host::Company> getCompany() const { return company_; }
  void setCompany(std::shared_ptr<dpx::host::Company> company) { company_ = std::move(company); }

  // The company's properties; empty texts when no company is held.
  std::string getServer() const;
  std::string getCompanyDB() const;
  std::string getUserName() const;
  std::string getDbUserName() const;
  // Also empty when the host fails to tell (for example when not connected).
  std::string getCompanyName() const;
  std::string getDbPassword() const { return dbPassword_; }
  // The user password kept by setPassword.
  std::string getPassword() const { return password_; }
  // 0 and false when no company is held.
  int getServerType() const;
  bool usesTrustedConnection() const;

  // Put the property on the held company; nothing without one.
  void setServer(const std::string& server);
  void setCompanyDB(const std::string& database);
  void setUserName(const std::string& user);
  void setDbUserName(const std::string& user);
  void setServerType(int serverType);
  void setUseTrusted(bool trusted);
  // Keep a copy first (always), then put the property on the held company.
  void setDbPassword(const std::string& password);
  void setPassword(const std::string& password);

 private:
  std::shared_ptr<dpx::host::Company> company_;
  std::string dbPassword_;
  std::string password_;
};
