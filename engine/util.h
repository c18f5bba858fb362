// Static helpers every layer of the program uses: status-bar and progress
// output, message boxes with the program's caption, files and folders, value
// and field-type conversions, XML escaping and hand-built business-object XML,
// comparison of server and database names, calls of host objects by member
// name, the company services (superuser check, company list, connect and
// disconnect, localization, the host client's folder) and the notes table.
//
// Paths: a path that was stored on another machine may use "\" as separator,
// so the helpers that take paths apart accept both "/" and "\"; paths the
// program builds itself use "/".
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/host_error.h"
#include "platform/framework/variant.h"

class DPX_CompanyHandle;
class DPX_ConnectionContext;

namespace dpx {
class DPX_LogScope;
class HostApplication;
}  // namespace dpx
namespace dpx::host {
class Company;
class HostObject;
class Recordset;
}  // namespace dpx::host

// Host field types as the host numbers them.
namespace dpx::fieldtype {
constexpr int kAlpha = 0;
constexpr int kMemo = 1;
constexpr int kNumeric = 2;
constexpr int kDate = 3;
constexpr int kFloat = 4;
}  // namespace dpx::fieldtype

class DPX_Util {
 public:
  using CompanyPtr = std::shared_ptr<dpx::host::Company>;
  using ObjectPtr = std::shared_ptr<dpx::host::HostObject>;
  // One entry of a server's company list: company name, database name, version.
  using CompanyList = std::vector<std::vector<std::string>>;

  // --- Status bar and progress -------------------------------------------
  static void SetStatusText();
  static void SetProgress(const std::string& text, uint16_t lower, uint16_t upper);
  static void SetProgressPosition(int32_t position);
  static void ResetProgress();

  // --- Messages: a message box with the program's caption, or the status
  // bar for 5000 ms when box is false. ---------------------------------------
  static void ShowError(const std::string& text, bool box);
  static void ShowWarning(const std::string& text, bool box);
  static void ShowInformation(const std::string& text, bool box);
  static void ShowOperationCompleted(bool box);
  // Yes/No (or Yes/No/Cancel) question; defaultButton 2 or 3 makes that
  // button the default, anything else the first. Returns the answer.
  static int AskQuestion(const std::string& text, bool withCancel, int32_t defaultButton);
  // "Replace All" ... for methods 1 to 4, "" for any other value.
  static std::string GetCopyMethodText(int32_t copyMethod);

  // --- Files and folders -------------------------------------------------
  static dpx::HRESULT GetTempFolder(std::string& folder);
  static bool FileExists(const std::string& path);
  static bool FolderExists(const std::string& path);
  static void GetFileName(const std::string& path, std::string& name);
  static void GetFolderName(const std::string& path, std::string& folder);
  static void GetModuleFolder(std::string& folder);
  // Creates every folder on the way to the last separator of path (the part
  // after it is a file name and is never created). 0 when that folder exists
  // afterwards, 1 otherwise. A bare name is taken relative to the program folder.
  static dpx::HRESULT CreateFolderPath(const std::string& path);
  // 0 when the folder exists afterwards, 1 otherwise.
  static dpx::HRESULT CreateFolder(const std::string& folder);

  // --- Conversions --------------------------------------------------------
  // A value as text for stored selections and messages: numbers in the C
  // locale, dates as "YYYY-MM-DD HH:MM:SS", booleans "Y"/"N".
  static std::string VariantToString(const dpx::Variant& value);
  // A value as the record list shows it. For display only: SQL literals and
  // stored data are built from dpx::Variant::toText, never from this text.
  static std::string VariantToDisplayText(const dpx::Variant& value, bool dateOnly = false);
  static std::string DbFieldTypeName(int32_t fieldType);
  static std::string VariantTypeToDbTypeName(uint16_t vt);
  static uint16_t DbTypeNameToVariantType(const std::string& typeName);
  static void GetNumberSeparators(char& decimal, char& thousands);
  static std::string LongToBSTR(int32_t value);
  static std::string DoubleToBSTR(double value);
  static std::string IntToBSTR(int32_t value);
  static int32_t BSTRToInt(const std::string& text);
  // The five XML entities, and CR as "&#13;" so that a parser gives it back.
  static std::string EscapeXML(const std::string& text);
  // Appends one piece of hand-built business-object XML to out: the
  // declaration, "<BOM>" and the outer element with the first field (element
  // and outer name given), a further field (outer name empty), or the closing
  // tags (element name empty).
  static void WrapInBOM(std::string& out, const std::string& element, const std::string& value,
                        const std::string& outer);
  // Deletes everything up to and including the first "?>"; the new length,
  // or -1 (text unchanged) when there is none.
  static int32_t RemoveUpToMarker(std::string& text);

  // --- Server and database names -----------------------------------------
  static bool IsLocalServer(const std::string& server);
  static bool SameServer(int32_t typeA, int32_t typeB, const std::string& serverA, const std::string& serverB);
  static bool CompareNames(int32_t typeA, int32_t typeB, const std::string& serverA, const std::string& serverB,
                           const std::string& databaseA, const std::string& databaseB);

  // --- Host objects by member name. These never raise: a null object gives
  // E_POINTER, a missing member or a failing call its status. ---------------
  static dpx::HRESULT GetPropertyByName(const ObjectPtr& object, const std::string& name, dpx::Variant& out);
  // Arguments in declaration order.
  static dpx::HRESULT InvokeByName(const ObjectPtr& object, const std::string& name, dpx::Variant& out,
                                   const std::vector<dpx::Variant>& args = {});
  static dpx::HRESULT PutPropertyByName(const ObjectPtr& object, const std::string& name, const dpx::Variant& value);
  // "GetByKey" with the keys (in key order), then "GetAsXML" when found; out
  // is the record XML, or empty when not found or on failure (status).
  static dpx::HRESULT CallGetByKeyAsXML(std::string& out, const ObjectPtr& object, const std::vector<dpx::Variant>& keys);
  // Whether account references must travel by their format codes (the
  // company settings' account segmentation); false on any failure.
  static bool QueryHostFlag(const CompanyPtr& company);
  // The host field type of a field in a table's field list (column 0 name,
  // compared exactly; column 2 type). A name the list lacks gives alpha, so
  // that its values are quoted.
  static int32_t GetFieldType(const std::shared_ptr<dpx::host::Recordset>& fieldList, const std::string& fieldName);

  // After a failing host call: logs the company's last error as
  // "Error code =  %d: %s" when its code is not 0 (true, and its text).
  static bool LogLastError(dpx::DPX_LogScope& log, const CompanyPtr& company, std::string* text = nullptr);
  // The status an exception stands for: a host error's code, E_FAIL otherwise.
  static dpx::HRESULT StatusOf(const std::exception& e);
  // A text for a place between apostrophes in SQL: every "'" doubled.
  static std::string EscapeSqlText(const std::string& text);
  // The host client's current language: the client's own when there is a
  // client that answers, the program's user-interface language otherwise.
  static int HostLanguage(const std::shared_ptr<dpx::HostApplication>& application);

  // --- Company services ---------------------------------------------------
  // 0 after a check (isSuperUser tells the answer), 1 when the user cannot be
  // read, negative on a host failure.
  static dpx::HRESULT CheckSuperUser(int32_t logValue, const CompanyPtr& company, bool& isSuperUser);
  static dpx::HRESULT GetCompanyList(const CompanyPtr& company, CompanyList& list, bool showErrors);
  // 0 on success; the host's result when it refuses (shown in a message box);
  // E_FAIL on an exception (shown in the status bar).
  static dpx::HRESULT Connect(DPX_CompanyHandle& company, DPX_ConnectionContext* context);
  static dpx::HRESULT Disconnect(DPX_CompanyHandle& company, DPX_ConnectionContext* context);
  // Same server type, server (local names count as one) and database.
  static bool SameCompany(const CompanyPtr& a, const CompanyPtr& b);
  // The same company and the same user (case counts).
  static bool SameConnection(const DPX_CompanyHandle& a, const DPX_CompanyHandle& b);
  static bool SameConnection(const CompanyPtr& a, const CompanyPtr& b);
  // CINF.LawsSet: 0 when read, 1 without a row, negative on failure.
  static dpx::HRESULT GetLocalization(int32_t logValue, const CompanyPtr& company, std::string& text);
  // The host client's installation folder on this computer, as the host
  // reports it for the company's server. 0 when found, negative otherwise.
  static dpx::HRESULT GetLocalQuillonFolder(const CompanyPtr& company, std::string& folder);

  // --- Category notes (user table @DPXNOTE) --------------------------------
  // 0 when read (also for note 0, with an empty key), 1 without a row,
  // negative on failure.
  static dpx::HRESULT GetNoteFromDB(int32_t logValue, const CompanyPtr& company, int32_t number, std::string& key);
  static dpx::HRESULT DeleteNoteFromDB(int32_t logValue, const CompanyPtr& company, int32_t number);
  // Replaces the row of the number; not negative on success.
  static dpx::HRESULT WriteNoteToDB(int32_t logValue, const CompanyPtr& company, int32_t number, const std::string& key);
};
