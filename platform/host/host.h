// The simulated host: the ERP's data-interface API over SQLite companies.
// Include this one header to use it.
#pragma once

#include "platform/host/bridge.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/company_store.h"
#include "platform/host/demo_server.h"
#include "platform/host/host_codes.h"
#include "platform/host/host_object.h"
#include "platform/host/object_registry.h"
#include "platform/host/recordset.h"
#include "platform/host/reference_check.h"
#include "platform/host/server_catalogue.h"
#include "platform/host/sql_dialect.h"
