// DPX_Util's access to the notes user table @DPXNOTE: a row maps a note
// number of the category tree to the key of its note text.
#include <exception>

#include <fmt/printf.h>

#include "engine/company_transaction.h"
#include "engine/db_def.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

std::string ReadSql(int serverType, int32_t number) {
  if (serverType == 2) return fmt::sprintf("SELECT U_String FROM @DPXNOTE WHERE U_ID = %d", number);
  if (serverType == 5) return fmt::sprintf("SELECT \"U_String\" FROM @DPXNOTE WHERE \"U_ID\" = %d", number);
  return fmt::sprintf("SELECT U_String FROM [@DPXNOTE] WHERE U_ID = %d", number);
}

std::string DeleteSql(int serverType, int32_t number) {
  if (serverType == 2) return fmt::sprintf("DELETE FROM @DPXNOTE WHERE U_ID = %d", number);
  if (serverType == 5) return fmt::sprintf("DELETE FROM @DPXNOTE WHERE \"U_ID\" = %d", number);
  return fmt::sprintf("DELETE FROM [@DPXNOTE] WHERE U_ID = %d", number);
}

std::string InsertSql(int serverType, const std::string& code, int32_t number, const std::string& key) {
  const char* format =
      serverType == 2 ? "INSERT INTO @DPXNOTE (Code, Name, U_ID, U_String) VALUES('%s', '%s', %d, '%s')"
      : serverType == 5
          ? "INSERT INTO @DPXNOTE (\"Code\", \"Name\", \"U_ID\", \"U_String\") VALUES('%s', '%s', %d, '%s')"
          : "INSERT INTO [@DPXNOTE] (Code, Name, U_ID, U_String) VALUES('%s', '%s', %d, '%s')";
  return fmt::sprintf(format, DPX_Util::EscapeSqlText(code), DPX_Util::EscapeSqlText(code), number, DPX_Util::EscapeSqlText(key));
}

}  // namespace

dpx::HRESULT DPX_Util::GetNoteFromDB(int32_t /*logValue*/, const CompanyPtr& company, int32_t number,
                                     std::string& key) {
  dpx::DPX_LogScope log("DPX_Util::GetNoteFromDB");
  key.clear();
  if (number == 0) return dpx::S_OK;
  dpx::HRESULT hr = dpx::S_OK;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    const std::string sql = ReadSql(company->DbServerType(), number);
    log.LogDbg0("SQL: \"%s\"\n", sql);
    auto rs = company->NewRecordset();
    if (rs->DoQuery(sql) != 0) {
      hr = dpx::E_FAIL;
    } else {
      rs->MoveFirst();
      if (rs->EoF()) return dpx::S_FALSE;
      key = rs->Field(0).toText();
      return dpx::S_OK;
    }
  } catch (const std::exception& e) {
    hr = DPX_Util::StatusOf(e);
  }
  log.LogError("Failed to retrieve note with ID %d from database, HRESULT = 0x%X\n", number,
               static_cast<uint32_t>(hr));
  DPX_Util::LogLastError(log, company);
  return hr;
}

dpx::HRESULT DPX_Util::DeleteNoteFromDB(int32_t /*logValue*/, const CompanyPtr& company, int32_t number) {
  dpx::DPX_LogScope log("DPX_Util::DeleteNoteFromDB");
  if (number == 0) return dpx::S_OK;
  dpx::HRESULT hr = dpx::S_OK;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    const std::string sql = DeleteSql(company->DbServerType(), number);
    log.LogDbg0("SQL: \"%s\"\n", sql);
    if (company->NewRecordset()->DoQuery(sql) == 0) return dpx::S_OK;
    hr = dpx::E_FAIL;
  } catch (const std::exception& e) {
    hr = DPX_Util::StatusOf(e);
  }
  log.LogError("Failed to delete note with ID %d from database, HRESULT = 0x%X\n", number, static_cast<uint32_t>(hr));
  DPX_Util::LogLastError(log, company);
  return hr;
}

dpx::HRESULT DPX_Util::WriteNoteToDB(int32_t logValue, const CompanyPtr& company, int32_t number,
                                     const std::string& key) {
  dpx::DPX_LogScope log("DPX_Util::WriteNoteToDB");
  dpx::HRESULT hr = dpx::S_OK;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    // The old row goes only together with the new one coming in.
    dpx::CompanyTransaction transaction(company);
    std::string existing;
    if (GetNoteFromDB(logValue, company, number, existing) == dpx::S_OK) {
      const dpx::HRESULT deleted = DeleteNoteFromDB(logValue, company, number);
      if (dpx::Failed(deleted)) return deleted;
    }
    const std::string code = dpx::GetNextCodeValue(logValue, company, "@DPXNOTE");
    if (code.empty()) {
      log.LogError("Failed to retrieve new ID for table @DPXNOTE");
      return dpx::E_FAIL;
    }
    const std::string sql = InsertSql(company->DbServerType(), code, number, key);
    log.LogDbg0("SQL: \"%s\"\n", sql);
    if (company->NewRecordset()->DoQuery(sql) != 0) {
      hr = dpx::E_FAIL;
    } else {
      transaction.commit();
      return dpx::S_OK;
    }
  } catch (const std::exception& e) {
    hr = DPX_Util::StatusOf(e);
  }
  log.LogError("Failed to write note with ID %d to database, HRESULT = 0x%X\n", number, static_cast<uint32_t>(hr));
  DPX_Util::LogLastError(log, company);
  return hr;
}
