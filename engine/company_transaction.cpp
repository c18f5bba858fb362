#include "engine/company_transaction.h"

#include <exception>
#include <map>
#include <mutex>

#include "platform/framework/log_scope.h"
#include "platform/host/company.h"

namespace dpx {

namespace {

// The holders of transactions, by company object. The program runs its
// copy on one thread, but a lock costs nothing here.
std::mutex holdersLock;
std::map<const host::Company*, int>& Holders() {
  static std::map<const host::Company*, int> holders;
  return holders;
}

}  // namespace

bool CompanyTransaction::Held(const host::Company& company) {
  std::lock_guard<std::mutex> lock(holdersLock);
  return Holders().count(&company) != 0;
}

void CompanyTransaction::Hold(const host::Company& company) {
  std::lock_guard<std::mutex> lock(holdersLock);
  ++Holders()[&company];
}

void CompanyTransaction::Release(const host::Company& company) {
  std::lock_guard<std::mutex> lock(holdersLock);
  auto it = Holders().find(&company);
  if (it == Holders().end()) return;
  if (--it->second == 0) Holders().erase(it);
}

CompanyTransaction::CompanyTransaction(std::shared_ptr<host::Company> company) : company_(std::move(company)) {
  if (!company_) return;
  if (company_->InTransaction()) {
    company_->StartSavepoint();
    savepoint_ = true;
  } else {
    company_->StartTransaction();
    own_ = true;
    Hold(*company_);
  }
}

CompanyTransaction::~CompanyTransaction() {
  if (!own_ && !savepoint_) return;
  try {
    if (savepoint_)
      company_->EndSavepoint(host::kEndRollback);
    else
      company_->EndTransaction(host::kEndRollback);
  } catch (const std::exception& e) {
    DPX_LogScope log("CompanyTransaction::~CompanyTransaction");
    log.LogError("Roll-back failed: %s", e.what());
  }
  if (own_) Release(*company_);
}

void CompanyTransaction::commit() {
  if (savepoint_) {
    savepoint_ = false;
    company_->EndSavepoint(host::kEndCommit);
    return;
  }
  if (!own_) return;
  // Until the commit went through the transaction is this one's to end: a
  // commit that fails is rolled back here, never left open.
  company_->EndTransaction(host::kEndCommit);
  own_ = false;
  Release(*company_);
}

}  // namespace dpx
