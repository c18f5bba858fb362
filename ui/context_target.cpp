#include "ui/context_target.h"

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/util.h"
#include "platform/host/company.h"

bool DPX_TakeContextTarget(DPX_ConnectionContext* context, DPX_CompanyHandle& handle) {
  const auto target = context->getTargetCompany();
  if (!target) return false;
  handle.setCompany(target);
  if (target->Connected()) {
    if (!target->UseTrusted()) handle.setDbPassword(context->getTargetDbPassword());
    return true;
  }
  const auto base = context->getBaseCompany();
  if (base && !base->UseTrusted() &&
      DPX_Util::SameServer(base->DbServerType(), target->DbServerType(), base->Server(), target->Server()))
    handle.setDbPassword(context->getBaseDbPassword());
  return false;
}
