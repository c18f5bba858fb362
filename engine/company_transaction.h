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

  // Raises HostError when the commit fails; nothing of the transaction stays
  // open then.
  void commit();

  // Whether a transaction that this program opened and still holds (one of
  // these, or a batch of target writes) is open on the company. A company in
  // a transaction that none holds was left so by a write that failed to end
  // it, and no later write may join it.
  static bool Held(const host::Company& company);
  // A holder of a transaction on the company, for writers that open their own.
  static void Hold(const host::Company& company);
  static void Release(const host::Company& company);

 private:
  std::shared_ptr<host::Company> company_;
  bool own_ = false;
  bool savepoint_ = false;
};

}  // namespace dpx
