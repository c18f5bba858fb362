#include "engine/company_transaction.h"

#include <exception>

#include "platform/framework/log_scope.h"
#include "platform/host/company.h"

namespace dpx {

CompanyTransaction::CompanyTransaction(std::shared_ptr<host::Company> company) : company_(std::move(company)) {
  if (!company_) return;
  if (company_->InTransaction()) {
    company_->StartSavepoint();
    savepoint_ = true;
  } else {
    company_->StartTransaction();
    own_ = true;
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
}

void CompanyTransaction::commit() {
  if (savepoint_) {
    savepoint_ = false;
    company_->EndSavepoint(host::kEndCommit);
    return;
  }
  if (!own_) return;
  own_ = false;
  company_->EndTransaction(host::kEndCommit);
}

}  // namespace dpx
