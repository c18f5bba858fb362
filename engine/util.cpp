// Status, messages, files, conversions and name comparisons of DPX_Util.
#include "engine/util.h"

#include <clocale>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>
#include <fmt/printf.h>

#include "engine/ui_services.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kCaptionStringId = 2041;
constexpr uint32_t kOperationCompletedStringId = 10018;
constexpr uint32_t kFirstCopyMethodStringId = 350;
constexpr uint32_t kStatusTimeoutMs = 5000;

std::string Text(uint32_t id) { return dpx::StringTable::Load(id, dpx::Ui().getLanguage()); }

void Show(const std::string& text, bool box, uint32_t icon, bool boldInStatusBar) {
  if (box) {
    dpx::Ui().messageBox(text, Text(kCaptionStringId), icon | dpx::mb::kSetForeground);
    return;
  }
  dpx::Ui().setStatusText(text, !boldInStatusBar, kStatusTimeoutMs);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

// A path as this machine's file system reads it: "\" of a path written on
// another machine becomes "/".
fs::path NativePath(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return fs::path(p);
}

std::string DateText(const dpx::DateTime& d, bool dateOnly) {
  if (dateOnly) return fmt::format("{:04d}-{:02d}-{:02d}", d.year, d.month, d.day);
  return fmt::format("{:04d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d}", d.year, d.month, d.day, d.hour, d.minute, d.second);
}

}  // namespace

// --- Status bar and progress ------------------------------------------------

void DPX_Util::SetStatusText() { dpx::Ui().setStatusText("", true, 0); }

void DPX_Util::SetProgress(const std::string& text, uint16_t lower, uint16_t upper) {
  dpx::Ui().setProgressRange(text, lower, upper);
}

void DPX_Util::SetProgressPosition(int32_t position) { dpx::Ui().setProgressPos(position); }

void DPX_Util::ResetProgress() {
  dpx::Ui().setProgressPos(0);
  SetStatusText();
}

// --- Messages ---------------------------------------------------------------

void DPX_Util::ShowError(const std::string& text, bool box) { Show(text, box, dpx::mb::kIconError, true); }

void DPX_Util::ShowWarning(const std::string& text, bool box) { Show(text, box, dpx::mb::kIconWarning, false); }

void DPX_Util::ShowInformation(const std::string& text, bool box) {
  Show(text, box, dpx::mb::kIconInformation, false);
}

void DPX_Util::ShowOperationCompleted(bool box) { ShowInformation(Text(kOperationCompletedStringId), box); }

int DPX_Util::AskQuestion(const std::string& text, bool withCancel, int32_t defaultButton) {
  uint32_t flags = dpx::mb::kIconQuestion | dpx::mb::kSetForeground;
  flags |= withCancel ? dpx::mb::kYesNoCancel : dpx::mb::kYesNo;
  if (defaultButton == 2) flags |= dpx::mb::kDefaultButton2;
  if (defaultButton == 3) flags |= dpx::mb::kDefaultButton3;
  return dpx::Ui().messageBox(text, Text(kCaptionStringId), flags);
}

std::string DPX_Util::GetCopyMethodText(int32_t copyMethod) {
  if (copyMethod < 1 || copyMethod > 4) return "";
  return Text(kFirstCopyMethodStringId + static_cast<uint32_t>(copyMethod) - 1);
}

// --- Files and folders --------------------------------------------------------

dpx::HRESULT DPX_Util::GetTempFolder(std::string& folder) {
  folder.clear();
  std::error_code ec;
  std::string temp = fs::temp_directory_path(ec).string();
  if (ec) return dpx::S_OK;
  while (temp.size() > 1 && IsSeparator(temp.back())) temp.pop_back();
  folder = temp;
  return dpx::S_OK;
}

bool DPX_Util::FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::exists(NativePath(path), ec);
}

bool DPX_Util::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(NativePath(path), ec);
}

void DPX_Util::GetFileName(const std::string& path, std::string& name) {
  const size_t sep = LastSeparator(path);
  name = sep == std::string::npos ? path : path.substr(sep + 1);
}

void DPX_Util::GetFolderName(const std::string& path, std::string& folder) {
  const size_t sep = LastSeparator(path);
  folder = sep == std::string::npos ? std::string() : path.substr(0, sep);
}

void DPX_Util::GetModuleFolder(std::string& folder) {
  folder = dpx::ProgramFolder().string();
  if (folder.empty() || !IsSeparator(folder.back())) folder += '/';
}

dpx::HRESULT DPX_Util::CreateFolderPath(const std::string& path) {
  std::string full = path;
  // A bare name (no separator after its first character) lives in the
  // program folder.
  const size_t firstSep = path.size() > 1 ? path.find_first_of("/\\", 1) : std::string::npos;
  if (firstSep == std::string::npos && !(path.size() > 0 && IsSeparator(path[0]))) {
    std::string module;
    GetModuleFolder(module);
    full = module + path;
  }
  const size_t last = LastSeparator(full);
  if (last == std::string::npos) return 1;
  const std::string folder = full.substr(0, last);
  if (folder.empty()) return 0;  // the root folder
  std::error_code ec;
  fs::create_directories(NativePath(folder), ec);  // an existing folder is fine
  return FileExists(folder) ? 0 : 1;
}

dpx::HRESULT DPX_Util::CreateFolder(const std::string& folder) {
  CreateFolderPath(folder + "/");
  return FolderExists(folder) ? 0 : 1;
}

// --- Conversions --------------------------------------------------------------

std::string DPX_Util::VariantToString(const dpx::Variant& value) {
  using dpx::VarType;
  switch (value.type()) {
    case VarType::I2: case VarType::UI2: case VarType::Int: case VarType::UInt:
    case VarType::I4: case VarType::UI4: case VarType::I8:
      return fmt::format("{}", value.toInt64());
    case VarType::R4: case VarType::R8:
      return fmt::sprintf("%f", value.toDouble());
    case VarType::Date:
      return DateText(value.toDate(), false);
    case VarType::Text:
      return value.toText();
    case VarType::Bool:
      return value.toBool() ? "Y" : "N";
    case VarType::I1:
      return std::string(1, static_cast<char>(value.toInt64()));
    default:
      return fmt::sprintf("*ERR(vt %d)", static_cast<int>(value.vt()));
  }
}

std::string DPX_Util::VariantToDisplayText(const dpx::Variant& value, bool dateOnly) {
  using dpx::VarType;
  switch (value.type()) {
    case VarType::I2: case VarType::I4: case VarType::I8:
      return fmt::format("{}", value.toInt64());
    case VarType::R8: {
      const double d = value.toDouble();
      if (d == 0.0) return "";
      std::string text = fmt::format("{:.2f}", d);
      char decimal = '.', thousands = ',';
      GetNumberSeparators(decimal, thousands);
      for (char& c : text)
        if (c == '.') c = decimal;
      return text;
    }
    case VarType::Date: {
      const dpx::DateTime d = value.toDate();
      return d.isZero() ? std::string() : DateText(d, dateOnly);
    }
    case VarType::Text:
      return value.toText();
    case VarType::Bool:
      return value.toBool() ? "Y" : "N";
    default:
      return "";
  }
}

std::string DPX_Util::DbFieldTypeName(int32_t fieldType) {
  switch (fieldType) {
    case dpx::fieldtype::kAlpha: return "db_Alpha";
    case dpx::fieldtype::kMemo: return "db_Memo";
    case dpx::fieldtype::kNumeric: return "db_Numeric";
    case dpx::fieldtype::kDate: return "db_Date";
    case dpx::fieldtype::kFloat: return "db_Float";
    default: return "";
  }
}

std::string DPX_Util::VariantTypeToDbTypeName(uint16_t vt) {
  switch (static_cast<dpx::VarType>(vt)) {
    case dpx::VarType::I2: case dpx::VarType::I4: case dpx::VarType::Int:
    case dpx::VarType::I8:  // the simulated host reads whole numbers as 64-bit values
      return "db_Numeric";
    case dpx::VarType::R8: return "db_Float";
    case dpx::VarType::Date: return "db_Date";
    case dpx::VarType::Blob: return "db_Memo";
    default: return "db_Alpha";
  }
}

uint16_t DPX_Util::DbTypeNameToVariantType(const std::string& typeName) {
  if (typeName == "db_Numeric") return static_cast<uint16_t>(dpx::VarType::I4);
  if (typeName == "db_Float") return static_cast<uint16_t>(dpx::VarType::R8);
  if (typeName == "db_Date") return static_cast<uint16_t>(dpx::VarType::Date);
  if (typeName == "db_Memo") return static_cast<uint16_t>(dpx::VarType::Blob);
  return static_cast<uint16_t>(dpx::VarType::Text);
}

void DPX_Util::GetNumberSeparators(char& decimal, char& thousands) {
  // The process locale is the user's once the desktop UI has set it; a
  // headless program keeps the C locale.
  const std::lconv* lc = std::localeconv();
  decimal = lc && lc->decimal_point && lc->decimal_point[0] ? lc->decimal_point[0] : '.';
  thousands = lc && lc->thousands_sep && lc->thousands_sep[0] ? lc->thousands_sep[0] : ',';
}

std::string DPX_Util::LongToBSTR(int32_t value) { return fmt::format("{}", value); }

std::string DPX_Util::DoubleToBSTR(double value) { return fmt::sprintf("%f", value); }

std::string DPX_Util::IntToBSTR(int32_t value) { return fmt::format("{}", value); }

int32_t DPX_Util::BSTRToInt(const std::string& text) { return static_cast<int32_t>(dpx::LeadingInt(text)); }

std::string DPX_Util::EscapeXML(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // A parser reads a literal CR as a line end (CR LF as LF): a CR of a
      // value travels as a character reference.
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

void DPX_Util::WrapInBOM(std::string& out, const std::string& element, const std::string& value,
                         const std::string& outer) {
  if (!element.empty() && !outer.empty()) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><";
    out += outer;
    out += ">";
  } else if (element.empty() && !outer.empty()) {
    out += "</";
    out += outer;
    out += "></BOM>";
    return;
  }
  out += "<";
  out += element;
  out += ">";
  out += EscapeXML(value);
  out += "</";
  out += element;
  out += ">";
}

int32_t DPX_Util::RemoveUpToMarker(std::string& text) {
  const size_t pos = text.find("?>");
  if (pos == std::string::npos) return -1;
  text.erase(0, pos + 2);
  return static_cast<int32_t>(text.size());
}

// --- Server and database names -----------------------------------------------

bool DPX_Util::IsLocalServer(const std::string& server) {
  return server == "." || dpx::EqualsIgnoreCase(server, "(local)") || dpx::EqualsIgnoreCase(server, "localhost");
}

bool DPX_Util::SameServer(int32_t typeA, int32_t typeB, const std::string& serverA, const std::string& serverB) {
  if (typeA != typeB) return false;
  if (IsLocalServer(serverA) && IsLocalServer(serverB)) return true;
  return dpx::EqualsIgnoreCase(serverA, serverB);
}

bool DPX_Util::CompareNames(int32_t typeA, int32_t typeB, const std::string& serverA, const std::string& serverB,
                            const std::string& databaseA, const std::string& databaseB) {
  if (!SameServer(typeA, typeB, serverA, serverB)) return false;
  if (typeA == 2 || typeA == 3 || typeA == 5) return databaseA == databaseB;
  return dpx::EqualsIgnoreCase(databaseA, databaseB);
}
