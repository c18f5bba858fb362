// Payment terms (table OCTG, business object 40) with their installments
// (RIT1, ORIT) and cash-discount tables (CDC1, OCDC). The plain tables go
// first, whole, add-or-update by their codes under every copy method and
// without copy-log lines; the terms follow by the copy method, matched by
// name. Terms with a negative number are the host's own: never listed,
// copied or removed.
#pragma once

#include "categories/object_category.h"

class DPX_PaymentTermsManager : public DPX_ObjectCategory {
 public:
  DPX_PaymentTermsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
