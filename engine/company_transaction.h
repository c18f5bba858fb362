// A transaction of a host company for one multi-statement write: opened when
// the caller has none open, committed by commit(), rolled back when it ends
// without commit. Inside a transaction the caller already opened it is a
// savepoint of that transaction: a roll-back undoes only this write, and the
// caller's commit or roll-back decides about the rest.
#pragma once

#include <memory>

namespace dpx::host {
class Company;
}

namespace dpx {

class CompanyTransaction {
 public:
  // Raises HostError when the transaction cannot be opened.
  explicit CompanyTransaction(std::shared_ptr<host::Company> company);
  ~CompanyTransaction();
  CompanyTransaction(const CompanyTransaction&) = delete;
  CompanyTransaction& operator=(const CompanyTransaction&) = delete;

  // Raises HostError when the commit fails.
  void commit();

 private:
  std::shared_ptr<host::Company> company_;
  bool own_ = false;
  bool savepoint_ = false;
};

}  // namespace dpx
