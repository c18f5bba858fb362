// Result codes of refused host calls (the company's last error carries one of
// them with a text), and the status codes that raised host errors carry.
// Refusals are negative; 0 is success. -2035 is never used for a refusal:
// the copy engine counts it as success.
#pragma once

#include "platform/framework/host_error.h"

namespace dpx::host {

// Last-error codes (results of Connect, Add, Update, Remove...).
constexpr int kErrGeneral = -1;
constexpr int kErrDuplicateKey = -10;        // Add: a record with that key exists
constexpr int kErrMissingReference = -11;    // Add/Update: a referenced record does not exist
constexpr int kErrStillReferenced = -12;     // Remove: other records refer to this one
constexpr int kErrNotPositioned = -13;       // Update/Remove before a successful GetByKey
constexpr int kErrInvalidValue = -14;        // a property value the field cannot hold, a missing key
constexpr int kErrRecordNotFound = -15;      // the positioned record vanished
constexpr int kErrCompanyFull = -16;         // the company database has no room left on its disk
constexpr int kErrCompanyIoError = -17;      // the company database's disk failed a read or write
constexpr int kErrInjected = -99;            // a fault a test asked for (Company::InjectFault)
constexpr int kErrLoginFailed = -100;        // wrong user code or password
constexpr int kErrCompanyNotFound = -101;    // no such company database on the server
constexpr int kErrServerNotFound = -102;     // the server folder holds no catalogue
constexpr int kErrServerType = -103;         // the company is not of the requested server type
constexpr int kErrDbLoginFailed = -104;      // wrong database user or password
constexpr int kErrAlreadyConnected = -105;
constexpr int kErrNotConnected = -106;

// Codes of raised host errors (HostError::code()).
constexpr HRESULT kHrSqlError = static_cast<HRESULT>(0x80040501u);       // SQL rejected by the server
constexpr HRESULT kHrDialectError = static_cast<HRESULT>(0x80040502u);   // SQL of another server type
constexpr HRESULT kHrNotConnected = static_cast<HRESULT>(0x80040504u);   // call needs a connected company
constexpr HRESULT kHrUnknownObject = static_cast<HRESULT>(0x80040505u);  // unknown object type or table
constexpr HRESULT kHrInvalidXml = static_cast<HRESULT>(0x80040506u);     // record XML that cannot be read
constexpr HRESULT kHrNoCurrentRow = static_cast<HRESULT>(0x80040507u);   // field access past the end
constexpr HRESULT kHrInjected = static_cast<HRESULT>(0x80040508u);       // a fault a test asked for
constexpr HRESULT kHrCompanyBusy = static_cast<HRESULT>(0x80040509u);    // another connection holds the database
constexpr HRESULT kHrCompanyReadOnly = static_cast<HRESULT>(0x8004050Au);  // the database takes no writes
constexpr HRESULT kHrCompanyFull = static_cast<HRESULT>(0x8004050Bu);      // the database's disk is full
constexpr HRESULT kHrCompanyIoError = static_cast<HRESULT>(0x8004050Cu);   // the database's disk failed

// The last-error code of a raised host error: the disk's own failures keep
// their kind, so that a caller can tell them from a refused statement.
inline int LastErrorCodeOf(HRESULT code) {
  if (code == kHrCompanyFull) return kErrCompanyFull;
  if (code == kHrCompanyIoError) return kErrCompanyIoError;
  return kErrGeneral;
}

}  // namespace dpx::host
