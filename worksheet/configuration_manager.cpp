// The configuration manager's reader side: the SAX handler that fills the
// in-memory file, opening a configuration file or the skeleton, the header
// preview, and what a parsed file tells the worksheet.
#include "worksheet/configuration_manager.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include <unistd.h>

#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>

#include "engine/connection_context.h"
#include "engine/sax_parser.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/framework/variant.h"
#include "worksheet/component_logger.h"
#include "worksheet/worksheet.h"

namespace {

constexpr uint32_t kStrLoadingConfiguration = 10012;
constexpr uint32_t kStrInvalidPath = 10015;
constexpr uint32_t kStrXmlError = 10024;
constexpr uint16_t kLoadProgressSteps = 123;

std::string ToUtf8(const XMLCh* text) {
  if (!text) return {};
  return dpx::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text)));
}

std::string ToUtf8(const XMLCh* text, size_t length) {
  if (!text) return {};
  return dpx::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// The local name of an element or attribute; the qualified name when the
// reader gives no local name.
std::string NameOf(const XMLCh* localname, const XMLCh* qname) {
  std::string name = ToUtf8(localname);
  return name.empty() ? ToUtf8(qname) : name;
}

// Cuts a path at its last separator ("\" first, else "/"); false when it has none.
bool CutLastElement(std::string& path) {
  size_t pos = path.rfind('\\');
  if (pos == std::string::npos) pos = path.rfind('/');
  if (pos == std::string::npos) return false;
  path.erase(pos);
  return true;
}

// Why the records of a file cannot be kept, from the errno of the failed step.
std::string SpillFailure(const std::string& path) {
  return fmt::sprintf("the temporary folder has no room for the records of '%s': %s", path, std::strerror(errno));
}

const char* const kHeaderNames[] = {"configurationName", "dbVersion", "localization", "creationUser",
                                    "creationDate", "additionalDescr", "partialConfiguration", "backup",
                                    "approval", "copyMethod", "RTCF", "FRFMUDF"};

int Line(const xercesc::Locator* where) { return where ? static_cast<int>(where->getLineNumber()) : 0; }
int Column(const xercesc::Locator* where) { return where ? static_cast<int>(where->getColumnNumber()) : 0; }

}  // namespace

DPX_ConfigurationManager::DPX_ConfigurationManager(DPX_ConnectionContext* context) : context_(context) {
  CreateLogger();
}

DPX_ConfigurationManager::~DPX_ConfigurationManager() = default;

dpx::HRESULT DPX_ConfigurationManager::CreateLogger() {
  logger_ = std::make_shared<dpx::ComponentLogger>();
  return dpx::S_OK;
}

void DPX_ConfigurationManager::setLogger(std::shared_ptr<dpx::ComponentLogger> logger) { logger_ = std::move(logger); }

void DPX_ConfigurationManager::log(int level, const char* method, const std::string& message) const {
  if (logger_) logger_->Log(dpx::Ui().getLanguage(), "DPX", level, method, message);
}

const DPX_ConfigurationManager::Object* DPX_ConfigurationManager::findObject(const std::string& stringId) const {
  const auto it = stringIdIndex_.find(stringId);
  return it == stringIdIndex_.end() ? nullptr : &objects_[it->second];
}

namespace {
bool StringIdOf(const DPX_ConfigurationManager::Object& object, std::string& out) {
  for (const auto& [name, value] : object.attributes) {
    if (name == "string_id") {
      out = value;
      return true;
    }
  }
  return false;
}
}  // namespace

bool DPX_ConfigurationManager::getObjectStringId(Objects::const_iterator position, std::string& out) const {
  return StringIdOf(*position, out);
}

bool DPX_ConfigurationManager::getObjectStringId(Objects::const_reverse_iterator position, std::string& out) const {
  return StringIdOf(*position, out);
}

void DPX_ConfigurationManager::SpillCloser::operator()(std::FILE* f) const {
  if (f) std::fclose(f);
}

namespace {

// Reads n bytes of the spill file from `offset`, in pieces of at most 1 GiB.
void ReadSpill(std::FILE* spill, char* into, size_t n, uint64_t offset) {
  constexpr size_t kPiece = size_t{1} << 30;
  size_t done = 0;
  while (done < n) {
    const size_t want = std::min(kPiece, n - done);
    const ssize_t got = ::pread(::fileno(spill), into + done, want, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw std::runtime_error("The stored records cannot be read back");
    done += static_cast<size_t>(got);
  }
}

}  // namespace

std::string DPX_ConfigurationManager::tableXml(const Table& table) const {
  std::string xml;
  if (!spill_ || table.length == 0) return xml;
  if (std::fflush(spill_.get()) != 0) throw std::runtime_error(SpillFailure(parsePath_));
  if (table.length > xml.max_size())
    throw std::runtime_error(fmt::sprintf("The stored records of a table (%d bytes) are too large to be read back",
                                          static_cast<unsigned long long>(table.length)));
  try {
    xml.resize(static_cast<size_t>(table.length));
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(fmt::sprintf("The stored records of a table (%d bytes) do not fit in memory",
                                          static_cast<unsigned long long>(table.length)));
  }
  // Read in pieces: one read gives at most 2 GiB on this system, whatever it was asked for.
  ReadSpill(spill_.get(), xml.data(), xml.size(), table.offset);
  return xml;
}

void DPX_ConfigurationManager::readTablePieces(const Table& table, size_t piece, std::string& window,
                                               const std::function<void(std::string&)>& take) const {
  if (!spill_ || table.length == 0) return;
  if (std::fflush(spill_.get()) != 0) throw std::runtime_error(SpillFailure(parsePath_));
  uint64_t done = 0;
  while (done < table.length) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(piece, table.length - done));
    const size_t kept = window.size();
    window.resize(kept + want);
    ReadSpill(spill_.get(), window.data() + kept, want, table.offset + done);
    done += want;
    take(window);
  }
}

// --- Opening ---------------------------------------------------------------------

std::string DPX_ConfigurationManager::baseFilePath(const DPX_Worksheet& worksheet) const {
  const std::string worksheetFile = context_->getWorksheetFile();
  const std::string& source = worksheet.getSourceFile();
  if (worksheetFile.empty() || source.empty()) return context_->getBaseFile();
  if (source.rfind("..", 0) == 0) {
    // "..\Company configuration files\a.xml" beside "D:\Duplora\Worksheets\w.xml"
    // is "D:\Duplora\Company configuration files\a.xml".
    std::string path = worksheetFile;
    if (CutLastElement(path)) CutLastElement(path);
    std::string rest = source.substr(2);
    if (path.find('\\') == std::string::npos) std::replace(rest.begin(), rest.end(), '\\', '/');
    return path + rest;
  }
  return source;
}

dpx::HRESULT DPX_ConfigurationManager::parse(const std::string& path) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::parse");
  lastError_.clear();
  parsePath_ = path;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    lastError_ = std::filesystem::exists(path, ec) ? fmt::sprintf("'%s' is not a file", path)
                                                   : fmt::sprintf("the configuration file '%s' does not exist", path);
    scope.LogError("%s", lastError_);
    DPX_Util::ShowError(lastError_, false);
    return dpx::E_FAIL;
  }
  spill_.reset(std::tmpfile());
  spillSize_ = 0;
  if (!spill_) {
    lastError_ = SpillFailure(path);
    scope.LogError("%s", lastError_);
    DPX_Util::ShowError(lastError_, false);
    return dpx::E_FAIL;
  }
  parser_ = std::make_unique<DPX_SAXParser>();
  parser_->setContentHandler(this);
  parser_->setErrorHandler(this);
  reader_ = Reader{};
  holdsCopyFile_ = false;
  bool ok = false;
  try {
    ok = parser_->parseFile(path);
  } catch (const std::exception& e) {
    scope.LogError("Exception while parsing '%s': %s", path, e.what());
    ok = false;
  }
  if (reader_.errorCount > 0) ok = false;
  // The last records may still wait in the spill file's buffer: a file whose
  // records cannot all be kept is not read.
  if (ok && std::fflush(spill_.get()) != 0) {
    ok = false;
    reader_.failure = SpillFailure(path);
  }
  locator_ = nullptr;
  // The records are in the spill file: the reader's buffers, as large as the
  // largest record, go.
  std::string().swap(reader_.collected);
  std::string().swap(reader_.pending);
  if (!ok) {
    lastError_ = reader_.failure.empty() ? fmt::sprintf("the configuration file '%s' cannot be read", path)
                                         : reader_.failure;
    scope.LogError("Failed to parse configuration file '%s': %s", path, lastError_);
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::openConfiguration", "Failed to parse configuration file");
    DPX_Util::ShowError(dpx::StringTable::Load(kStrXmlError, dpx::Ui().getLanguage()) + ": " + lastError_, false);
    return dpx::E_FAIL;
  }
  return dpx::S_OK;
}

dpx::HRESULT DPX_ConfigurationManager::openConfiguration(DPX_Worksheet& worksheet, bool mode) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::openConfiguration");
  headerOnly_ = false;
  DPX_Util::SetProgress(dpx::StringTable::Load(kStrLoadingConfiguration, dpx::Ui().getLanguage()), 0,
                        kLoadProgressSteps);
  dpx::WaitCursor wait;
  dpx::HRESULT result = dpx::S_OK;
  std::string path;
  if (mode) {
    std::string folder;
    result = getAppPath(folder);
    if (result == dpx::S_OK) path = folder + "/" + kSkeletonName;
  } else {
    path = baseFilePath(worksheet);
  }
  if (result == dpx::S_OK) {
    result = parse(path);
    if (result == dpx::S_OK) {
      if (mode) {
        std::string localization;
        if (context_->getBaseCompany()) {
          DPX_Util::GetLocalization(0, context_->getBaseCompany(), localization);
          header_.localization = localization;
        }
      } else {
        result = updateWorksheet(worksheet);
      }
    }
  }
  DPX_Util::ResetProgress();
  return result;
}

dpx::HRESULT DPX_ConfigurationManager::readConfigurationFile(DPX_Worksheet& worksheet, const std::string& path) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::readConfigurationFile");
  dpx::HRESULT result = readFile(path);
  if (result == dpx::S_OK) result = updateWorksheet(worksheet);
  return result;
}

dpx::HRESULT DPX_ConfigurationManager::readFile(const std::string& path) {
  headerOnly_ = false;
  DPX_Util::SetProgress(dpx::StringTable::Load(kStrLoadingConfiguration, dpx::Ui().getLanguage()), 0,
                        kLoadProgressSteps);
  dpx::HRESULT result;
  {
    dpx::WaitCursor wait;
    result = parse(path);
  }
  DPX_Util::ResetProgress();
  return result;
}

dpx::HRESULT DPX_ConfigurationManager::previewConfiguration() {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::previewConfiguration");
  headerOnly_ = true;
  DPX_Util::SetProgress(dpx::StringTable::Load(kStrLoadingConfiguration, dpx::Ui().getLanguage()), 0,
                        kLoadProgressSteps);
  dpx::HRESULT result;
  {
    dpx::WaitCursor wait;
    result = parse(context_->getBaseFile());
  }
  DPX_Util::ResetProgress();
  parser_.reset();
  headerOnly_ = false;
  reader_.insideBOM = false;
  return result;
}

dpx::HRESULT DPX_ConfigurationManager::updateWorksheet(DPX_Worksheet& worksheet) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::updateWorksheet");
  worksheet.setWorksheetName(header_.configurationName);
  worksheet.setAdditionalDescription(header_.additionalDescr);
  worksheet.setApproval(header_.approval);
  worksheet.setBackup(header_.backup);
  worksheet.setCopyMethod(header_.copyMethod);
  worksheet.setCreationUser(header_.creationUser);
  worksheet.setFRFMUDF(header_.FRFMUDF);
  auto& nodes = worksheet.getNodes();
  std::map<std::string, DPX_WorksheetNode*> leafMap;
  for (auto& node : nodes) leafMap[node.getLeafId()] = &node;
  for (size_t i = 0; i < nodes.size(); ++i) updateNodeAvailability(i, nodes, leafMap);
  return dpx::S_OK;
}

void DPX_ConfigurationManager::updateNodeAvailability(size_t index, std::vector<DPX_WorksheetNode>& nodes,
                                                      std::map<std::string, DPX_WorksheetNode*>& leafMap) {
  DPX_WorksheetNode& node = nodes.at(index);
  if (!node.isLeaf()) {
    node.setAvailable(false);
    return;
  }
  const bool available = stringIdIndex_.count(node.getStringKey()) > 0;
  node.setAvailable(available);
  if (!available) return;
  std::string id = node.getLeafId();
  for (size_t dot = id.rfind('.'); dot != std::string::npos; dot = id.rfind('.')) {
    id.erase(dot);
    const auto it = leafMap.find(id);
    if (it != leafMap.end()) it->second->setAvailable(true);
  }
}

dpx::HRESULT DPX_ConfigurationManager::getAppPath(std::string& path) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::getAppPath");
  const std::string folder = dpx::ProgramFolder().string();
  if (folder.empty()) {
    DPX_Util::ShowError(fmt::sprintf(dpx::StringTable::Load(kStrInvalidPath, dpx::Ui().getLanguage()), ""), false);
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::getAppPath",
        "Failed to get application path -- invalid path");
    return dpx::E_FAIL;
  }
  path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return dpx::S_OK;
}

// --- SAX handler ---------------------------------------------------------------------

void DPX_ConfigurationManager::setDocumentLocator(const xercesc::Locator* const locator) { locator_ = locator; }

void DPX_ConfigurationManager::refuseAt(const std::string& what) {
  refuseFile(fmt::sprintf("the configuration file '%s' cannot be read: line %d, column %d: %s", parsePath_,
                          Line(locator_), Column(locator_), what));
}

void DPX_ConfigurationManager::refuseFile(const std::string& failure) {
  reader_.failure = failure;
  static const XMLCh kNone[] = {0};
  throw xercesc::SAXParseException(dpx::Utf8ToUtf16(failure).c_str(), kNone, kNone,
                                   locator_ ? locator_->getLineNumber() : 0,
                                   locator_ ? locator_->getColumnNumber() : 0);
}

void DPX_ConfigurationManager::startDocument() {
  objects_.clear();
  stringIdIndex_.clear();
  // Every file brings its own header: an element the file lacks must not
  // show the value of the file read before.
  header_ = Header{};
  reader_.elementCount = 0;
}

void DPX_ConfigurationManager::startElement(const XMLCh*, const XMLCh* localname, const XMLCh* qname,
                                            const xercesc::Attributes& attrs) {
  Reader& r = reader_;
  const std::string name = NameOf(localname, qname);
  if (!r.hadChild.empty()) r.hadChild.back() = true;
  r.path.push_back(name);
  r.hadChild.push_back(false);
  // Any other document would be read as a file of no categories.
  if (r.path.size() == 1 && name != "duploraConfigurationFile")
    refuseFile(fmt::sprintf("'%s' is not a configuration file (its root element is '%s')", parsePath_, name));
  ++r.elementCount;
  DPX_Util::SetProgressPosition(static_cast<int32_t>(r.elementCount));
  r.headerText.clear();
  if (headerOnly_ || r.skipDepth) return;

  auto attributes = [&attrs]() {
    Attributes list;
    for (XMLSize_t i = 0; i < attrs.getLength(); ++i)
      list.emplace_back(NameOf(attrs.getLocalName(i), attrs.getQName(i)), ToUtf8(attrs.getValue(i)));
    return list;
  };

  if (r.insideBOM) {
    // Blank text between two elements is layout, not a value.
    if (!IsBlank(r.pending)) r.collected += DPX_Util::EscapeXML(r.pending);
    r.pending.clear();
    r.collected += '<';
    r.collected += name;
    for (const auto& [attrName, value] : attributes()) {
      r.collected += ' ';
      r.collected += attrName;
      r.collected += "=\"";
      r.collected += DPX_Util::EscapeXML(value);
      r.collected += '"';
    }
    r.collected += '>';
    return;
  }
  if (name == "OBJECT") {
    // A category inside another would cut the outer one short and read its
    // records as the inner one's: the file is not one this program wrote.
    if (r.objectOpen || r.tableOpen) refuseAt("an OBJECT inside another category");
    Attributes list = attributes();
    const auto id = std::find_if(list.begin(), list.end(), [](const auto& a) { return a.first == "string_id"; });
    if (id == list.end()) {
      log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::startElement", "string_id missing for object");
      r.skipDepth = r.path.size();
      return;
    }
    if (stringIdIndex_.count(id->second) > 0) {
      // The first element of a category is the category; a second would
      // copy its records twice.
      log(dpx::ComponentLogger::kWarning, "DPX_ConfigurationManager::startElement",
          fmt::sprintf("The category %s appears again in the file; only its first element is read", id->second));
      r.skipDepth = r.path.size();
      return;
    }
    r.objectOpen = true;
    r.objectStringId = id->second;
    r.object = Object{};
    r.object.attributes = std::move(list);
    return;
  }
  if (r.tableOpen && name != "BOM") {
    // A table holds records only; anything else in it is left out and the
    // category says so wherever it is used.
    if (r.objectOpen)
      r.object.strayElements.push_back(fmt::sprintf("line %d, column %d: the table %s holds the element '%s', which is "
                                                    "not a record; it is left out",
                                                    Line(locator_), Column(locator_), r.tableName, name));
    r.skipDepth = r.path.size();
    return;
  }
  if (name == "BOM") {
    r.insideBOM = true;
    r.bomDepth = r.path.size();
    r.pending.clear();
    r.collected += "<BOM>";
    return;
  }
  if (name == "table") {
    Attributes list = attributes();
    const auto tableName = std::find_if(list.begin(), list.end(), [](const auto& a) { return a.first == "name"; });
    if (tableName == list.end()) {
      log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::startElement", "tblname missing for table");
      r.skipDepth = r.path.size();
      return;
    }
    r.tableOpen = true;
    r.tableName = tableName->second;
    r.tableAttributes = std::move(list);
    r.collected.clear();
    r.tableOffset = spillSize_;
    r.tableRecords = 0;
  }
}

void DPX_ConfigurationManager::characters(const XMLCh* chars, const XMLSize_t length) {
  Reader& r = reader_;
  if (r.path.empty() || length == 0 || r.skipDepth) return;
  const std::string text = ToUtf8(chars, length);
  if (r.insideBOM && !headerOnly_) {
    r.pending += text;  // kept verbatim, blanks included
    return;
  }
  // Only the elements directly inside the file's header are header fields.
  if (r.path.size() == 3 && r.path[1] == "header") r.headerText += text;
}

void DPX_ConfigurationManager::setHeaderField(const std::string& name, const std::string& text) {
  if (Trim(text).empty()) return;  // a blank value leaves the field as it was
  auto flag = [&text]() { return !dpx::EqualsIgnoreCase(Trim(text), "false"); };
  if (name == "configurationName") header_.configurationName = text;
  else if (name == "dbVersion") header_.dbVersion = text;
  else if (name == "localization") header_.localization = text;
  else if (name == "creationUser") header_.creationUser = text;
  else if (name == "creationDate") header_.creationDate = text;
  else if (name == "additionalDescr") header_.additionalDescr = text;
  else if (name == "partialConfiguration") header_.partialConfiguration = flag();
  else if (name == "backup") header_.backup = flag();
  else if (name == "approval") header_.approval = flag();
  else if (name == "copyMethod") header_.copyMethod = static_cast<int32_t>(dpx::LeadingInt(Trim(text)));
  else if (name == "RTCF") header_.RTCF = static_cast<int32_t>(dpx::LeadingInt(Trim(text)));
  else if (name == "FRFMUDF") header_.FRFMUDF = flag();
}

void DPX_ConfigurationManager::endElement(const XMLCh*, const XMLCh* localname, const XMLCh* qname) {
  Reader& r = reader_;
  const std::string name = NameOf(localname, qname);
  const size_t depth = r.path.size();
  const bool hadChild = !r.hadChild.empty() && r.hadChild.back();
  auto pop = [&r]() {
    if (!r.path.empty()) r.path.pop_back();
    if (!r.hadChild.empty()) r.hadChild.pop_back();
  };

  if (depth == 3 && r.path[1] == "header" && !r.insideBOM) {
    if (std::find(std::begin(kHeaderNames), std::end(kHeaderNames), name) != std::end(kHeaderNames))
      setHeaderField(name, r.headerText);
    r.headerText.clear();
  }
  if (headerOnly_) {
    pop();
    return;
  }
  if (r.skipDepth) {
    if (depth == r.skipDepth) r.skipDepth = 0;
    pop();
    return;
  }
  if (r.insideBOM) {
    // A value of blanks only is a value; blanks around child elements are layout.
    if (!(hadChild && IsBlank(r.pending))) r.collected += DPX_Util::EscapeXML(r.pending);
    r.pending.clear();
    if (depth == r.bomDepth) {
      r.insideBOM = false;
      r.collected += "</BOM>";
      // Each finished record goes to the spill file at once, so that memory
      // holds one record of the table at a time.
      if (r.tableOpen && r.objectOpen) {
        spillCollected();
        ++r.tableRecords;
      }
    } else {
      r.collected += "</";
      r.collected += name;
      r.collected += '>';
    }
    pop();
    return;
  }
  if (name == "OBJECT" && r.objectOpen) {
    objects_.push_back(std::move(r.object));
    stringIdIndex_.emplace(r.objectStringId, objects_.size() - 1);  // the first of a key wins
    r.object = Object{};
    r.objectOpen = false;
  } else if (name == "table" && r.tableOpen) {
    if (r.objectOpen) {
      spillCollected();
      Table table{std::move(r.tableAttributes), r.tableOffset, spillSize_ - r.tableOffset, r.tableRecords};
      r.object.tables.push_back(std::move(table));
      r.object.tableIndex.emplace(r.tableName, r.object.tables.size() - 1);
    }
    r.tableAttributes.clear();
    r.collected.clear();
    r.tableOpen = false;
  }
  pop();
}

void DPX_ConfigurationManager::spillCollected() {
  Reader& r = reader_;
  if (r.collected.empty()) return;
  if (std::fwrite(r.collected.data(), 1, r.collected.size(), spill_.get()) != r.collected.size()) {
    ++r.errorCount;  // a record that cannot be kept fails the read
    if (r.failure.empty()) r.failure = SpillFailure(parsePath_);
  }
  spillSize_ += r.collected.size();
  r.collected.clear();
}

void DPX_ConfigurationManager::warning(const xercesc::SAXParseException& exc) {
  log(dpx::ComponentLogger::kWarning, "DPX_ConfigurationManager::warning",
      fmt::sprintf("Warning in SAX Parser: %s, line %d, col %d", ToUtf8(exc.getMessage()),
                   static_cast<int>(exc.getLineNumber()), static_cast<int>(exc.getColumnNumber())));
}

void DPX_ConfigurationManager::error(const xercesc::SAXParseException& exc) {
  ++reader_.errorCount;
  if (reader_.failure.empty())
    reader_.failure = fmt::sprintf("the configuration file '%s' cannot be read: line %d, column %d: %s", parsePath_,
                                   static_cast<int>(exc.getLineNumber()), static_cast<int>(exc.getColumnNumber()),
                                   ToUtf8(exc.getMessage()));
  log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::error",
      fmt::sprintf("Error in SAX Parser: %s, line %d, col %d", ToUtf8(exc.getMessage()),
                   static_cast<int>(exc.getLineNumber()), static_cast<int>(exc.getColumnNumber())));
}

void DPX_ConfigurationManager::fatalError(const xercesc::SAXParseException& exc) {
  ++reader_.errorCount;
  if (reader_.failure.empty())
    reader_.failure = fmt::sprintf("the configuration file '%s' cannot be read: line %d, column %d: %s", parsePath_,
                                   static_cast<int>(exc.getLineNumber()), static_cast<int>(exc.getColumnNumber()),
                                   ToUtf8(exc.getMessage()));
  log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::fatalError",
      fmt::sprintf("Fatal error in SAX Parser: %s, line %d, col %d", ToUtf8(exc.getMessage()),
                   static_cast<int>(exc.getLineNumber()), static_cast<int>(exc.getColumnNumber())));
}
