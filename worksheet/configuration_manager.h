// A configuration file holds the records of some categories of a base
// company as record XML, under a header that says where they came from. The
// configuration manager reads such a file into memory (a SAX reader), writes
// one from a worksheet's selection, hands categories their stored records,
// and runs a copy: save the selection, read it back, then the removal pass of
// Replace All and the write pass into the target company.
//
// The file, byte for byte: FF FE, then UTF-16LE text; the declaration line;
// the root "duploraConfigurationFile" (version 1.0); "<header>" with twelve
// one-line elements in a fixed order; "<body>" with one line per category
// ("<OBJECT string_id=...>" + its "<table name=...>" blocks of "<BOM>"
// records + "</OBJECT>"); every line ends with one line feed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/sax2/DefaultHandler.hpp>

#include "engine/configuration_source.h"
#include "platform/framework/host_error.h"

class DPX_ConnectionContext;
class DPX_DetailRecord;
class DPX_DIInterface;
class DPX_OperationArgs;
class DPX_SAXParser;
class DPX_Worksheet;
class DPX_WorksheetNode;

namespace dpx {
class ComponentLogger;
}

class DPX_ConfigurationManager : public xercesc::DefaultHandler, public dpx::ConfigurationSource {
 public:
  using Attributes = std::vector<std::pair<std::string, std::string>>;

  // One "table" element of a category: its attributes in document order and
  // where its records ("<BOM>" blocks, no declaration) are kept (tableXml).
  struct Table {
    Attributes attributes;
    uint64_t offset = 0;
    uint64_t length = 0;
    uint64_t records = 0;   // the "<BOM>" blocks stored
  };
  // One "OBJECT" element: a category with its attributes (string_id = the
  // category key) and its tables in document order.
  struct Object {
    Attributes attributes;
    std::vector<Table> tables;
    std::map<std::string, size_t> tableIndex;  // first table of a name wins
    // What the reader left out of the category's tables (elements that are
    // not records), each naming where it stood in the file.
    std::vector<std::string> strayElements;
  };
  using Objects = std::vector<Object>;

  // The header, as the reader fills it and the writer writes it.
  struct Header {
    std::string configurationName;
    std::string dbVersion;
    std::string localization;
    std::string creationUser;
    std::string creationDate;
    std::string additionalDescr;
    bool partialConfiguration = false;
    bool backup = false;
    bool approval = false;
    int32_t copyMethod = 0;
    int32_t RTCF = 0;
    bool FRFMUDF = false;
  };

  // The skeleton of a save from a company, in the program folder.
  static constexpr const char* kSkeletonName = "Configuration.tpl";

  explicit DPX_ConfigurationManager(DPX_ConnectionContext* context);
  ~DPX_ConfigurationManager() override;
  DPX_ConfigurationManager(const DPX_ConfigurationManager&) = delete;
  DPX_ConfigurationManager& operator=(const DPX_ConfigurationManager&) = delete;

  dpx::HRESULT CreateLogger();
  // Replaces the logger (tests watch what is reported).
  void setLogger(std::shared_ptr<dpx::ComponentLogger> logger);
  const std::shared_ptr<dpx::ComponentLogger>& getLogger() const { return logger_; }

  // --- Reading ------------------------------------------------------------
  // Mode false: the worksheet's base configuration file (a source file that
  // starts with ".." is taken relative to the worksheet file's folder's
  // parent; without a worksheet file or source file, the context's base file),
  // then the header and availability go into the worksheet. Mode true: the
  // skeleton, then the base company's localization.
  dpx::HRESULT openConfiguration(DPX_Worksheet& worksheet, bool mode);
  // Reads exactly the file at path, whatever worksheet is open, then updates
  // the worksheet as mode false does.
  dpx::HRESULT readConfigurationFile(DPX_Worksheet& worksheet, const std::string& path);
  // Reads only the header of the context's base file.
  dpx::HRESULT previewConfiguration();

  dpx::HRESULT updateWorksheet(DPX_Worksheet& worksheet);
  void updateNodeAvailability(size_t index, std::vector<DPX_WorksheetNode>& nodes,
                              std::map<std::string, DPX_WorksheetNode*>& leafMap);
  dpx::HRESULT getAppPath(std::string& path);
  // The first string_id attribute of an object; false when it has none.
  bool getObjectStringId(Objects::const_iterator position, std::string& out) const;
  bool getObjectStringId(Objects::const_reverse_iterator position, std::string& out) const;

  // The stored records of a table. A parsed file's records wait in a private
  // temporary file, so that memory holds one category at a time.
  std::string tableXml(const Table& table) const;
  // The same a piece at a time: each piece is appended to `window` and
  // `take` is called; it removes from the front what it has used.
  void readTablePieces(const Table& table, size_t piece, std::string& window,
                       const std::function<void(std::string&)>& take) const;

  // Why the last read or save of a file failed, naming the file (with the line,
  // column and parser's message when it could not be parsed); empty after a
  // success.
  const std::string& lastError() const { return lastError_; }

  // The categories of the last copy that its copy method does not copy (the
  // category forbids the method and names no method it allows instead), by
  // their names in the user's language, in the file's order.
  const std::vector<std::string>& notCopiedCategories() const { return notCopied_; }
  // "Not copied by method N: name, name" for the chosen method N of the last
  // copy; empty when it copied every category it was given.
  std::string notCopiedNotice() const;
  // What the last save left out of the selection, each naming its category
  // (a category that could not be read, a record or pick that could not be
  // kept); empty when it saved all of it.
  const std::vector<std::string>& leftOut() const { return leftOut_; }
  // Whether the last save left out every category of the selection.
  bool leftOutEverything() const { return selectedCategories_ > 0 && failedCategories_.size() >= selectedCategories_; }

  const Header& header() const { return header_; }
  Header& header() { return header_; }
  const Objects& objects() const { return objects_; }
  // The first object of a category key; null when the file has none.
  const Object* findObject(const std::string& stringId) const;

  // --- Writing --------------------------------------------------------------
  dpx::HRESULT updateHeaderFromWorksheet(DPX_Worksheet& worksheet);
  dpx::HRESULT writeHeader(std::string& buffer);
  // With `flush`, the buffer is handed to it after every category (it writes
  // and empties it, false when it could not write), so that a save holds one
  // category in memory at a time.
  dpx::HRESULT writeBody(std::string& buffer, std::vector<DPX_WorksheetNode>& nodes, bool baseIsFile,
                         const std::function<bool(std::string&)>& flush = {});
  dpx::HRESULT writeToFile(const std::string& buffer, const std::string& path);
  // Writes the worksheet's selection to the context's target file.
  dpx::HRESULT saveConfiguration(DPX_Worksheet& worksheet, bool baseIsFile);

  // --- Records of one category ------------------------------------------------
  // Appends the category's records read from the base to `out`. With
  // `flush`, `out` is handed to it whenever it has grown past a piece (it
  // writes and empties it; E_FAIL when it could not write).
  dpx::HRESULT GetBOMFromDB(std::string& out, const std::string& key, std::vector<DPX_DetailRecord> keys,
                            DPX_WorksheetNode& node, const std::function<bool(std::string&)>& flush = {});
  dpx::HRESULT GetBOMFromXML(std::string& out, Objects::const_iterator position,
                             const std::vector<DPX_DetailRecord>& keys, DPX_WorksheetNode& node);
  dpx::HRESULT GetBOMFromXML(std::string& out, Objects::const_reverse_iterator position,
                             const std::vector<DPX_DetailRecord>& keys, DPX_WorksheetNode& node);
  // The stored records of a category as one DPX_OperationArgs per table.
  dpx::HRESULT getData(const std::string& key, std::vector<DPX_OperationArgs>& out) override;

  // --- The copy ---------------------------------------------------------------
  dpx::HRESULT writeConfiguration(DPX_Worksheet& worksheet, bool baseIsFile);
  // The chosen method, or the substitute of the first node of the key that
  // forbids it.
  static int getCopyMethodForObject(const DPX_Worksheet& worksheet, const std::string& key, int copyMethod);
  // The selected state of the first node of the key (0 when none), and its position.
  static int findNode(const std::vector<DPX_WorksheetNode>& nodes, const std::string& key, size_t* position = nullptr);
  // Splits an object's table blocks into one record per table with one data
  // item per "<BOM>" block, each prefixed with the UTF-16 declaration.
  static std::vector<DPX_OperationArgs> splitRecords(const std::string& key, const std::string& text);
  // The records of one table (named tableName) in text[from, nextTable) as
  // one DPX_OperationArgs appended to records; the end of the last record.
  static size_t appendTableRecords(const std::string& key, const std::string& tableName, const std::string& text,
                                   size_t from, size_t nextTable, std::vector<DPX_OperationArgs>& records);
  // Appends to `record` a data item for each whole "<BOM>" block of
  // text[from, nextTable); the end of the last one (from when there is none).
  // At most `limit` of them.
  static size_t cutRecords(const std::string& text, size_t from, size_t nextTable, DPX_OperationArgs& record,
                           size_t limit = SIZE_MAX);
  // The stored records of a category as splitRecords makes them of its text.
  std::vector<DPX_OperationArgs> categoryRecords(const Object& object, const std::string& key);

  // --- SAX handler --------------------------------------------------------------
  void setDocumentLocator(const xercesc::Locator* const locator) override;
  void startDocument() override;
  void startElement(const XMLCh* uri, const XMLCh* localname, const XMLCh* qname,
                    const xercesc::Attributes& attrs) override;
  void characters(const XMLCh* chars, const XMLSize_t length) override;
  void endElement(const XMLCh* uri, const XMLCh* localname, const XMLCh* qname) override;
  void warning(const xercesc::SAXParseException& exc) override;
  void error(const xercesc::SAXParseException& exc) override;
  void fatalError(const xercesc::SAXParseException& exc) override;

 private:
  void log(int level, const char* method, const std::string& message) const;
  dpx::HRESULT parse(const std::string& path);
  // Reads exactly the file at path, under the progress bar and wait cursor.
  dpx::HRESULT readFile(const std::string& path);
  std::string baseFilePath(const DPX_Worksheet& worksheet) const;
  dpx::HRESULT bomFromObject(std::string& out, const Object& object, const std::vector<DPX_DetailRecord>& keys,
                             DPX_WorksheetNode& node);
  void setHeaderField(const std::string& name, const std::string& text);
  // Stops the parse under way: the file is not one this program reads.
  [[noreturn]] void refuseFile(const std::string& failure);
  // The same, naming the file, the line and the column of the parse.
  [[noreturn]] void refuseAt(const std::string& what);
  // Appends the collected record XML to the spill file.
  void spillCollected();
  void logCategoryFailure(const std::string& key, int method, const std::string& error,
                          const std::string& baseCode = "", const std::string& baseDescription = "") const;
  // Something of the selection the save cannot write: named in the copy log
  // during a copy (with the record's code and description when it is one
  // record), else shown, and kept for leftOut. A category left out whole also
  // counts for leftOutEverything.
  void leaveOutPart(const std::string& key, const std::string& message,
                    const char* method = "DPX_ConfigurationManager::writeBody", const std::string& baseCode = "",
                    const std::string& baseDescription = "");
  void leaveOutCategory(const std::string& key, const std::string& message);
  // A record holding what a configuration file cannot carry is left out (a
  // row of a table block alone), with a line naming it by its list columns
  // (else its key names) and the field. False when nothing of it is left.
  bool leaveOutUnwritable(const std::string& key, bool tableRows, std::string& xml,
                          const std::vector<std::string>& listColumns, const std::vector<std::string>& keyNames);
  bool refuseUnknownFields(const std::string& key, const DPX_WorksheetNode& node, DPX_WorksheetNode& filtered);
  // One category of one pass: its records from the parsed file to its
  // manager's writeData. E_ABORT when the manager aborts the copy.
  dpx::HRESULT writeCategory(const Object& object, const std::string& key, int method, const std::string& status);
  // The category's records handed to writeData a bounded slice at a time,
  // table by table in the file's order (a manager that takes slices).
  void writeSlices(const Object& object, const std::string& key, DPX_DIInterface& manager, uint8_t method);

  DPX_ConnectionContext* context_;
  std::shared_ptr<dpx::ComponentLogger> logger_;
  std::unique_ptr<DPX_SAXParser> parser_;
  struct SpillCloser {
    void operator()(std::FILE* f) const;
  };
  std::unique_ptr<std::FILE, SpillCloser> spill_;  // records of the parsed file
  uint64_t spillSize_ = 0;

  Header header_;
  Objects objects_;
  std::map<std::string, size_t> stringIdIndex_;
  std::string lastError_;
  std::vector<std::string> notCopied_;  // names of the last copy's categories its method does not copy
  int notCopiedMethod_ = 0;             // that copy's chosen method
  std::vector<std::string> leftOut_;
  std::set<std::string> failedCategories_;
  size_t selectedCategories_ = 0;
  std::string parsePath_;
  const xercesc::Locator* locator_ = nullptr;
  bool headerOnly_ = false;
  bool holdsCopyFile_ = false;  // the parsed file is a copy's own, not the base

  // Reader state of the parse under way.
  struct Reader {
    std::vector<std::string> path;       // open elements, the root first
    std::vector<bool> hadChild;          // parallel: whether a child element started
    bool insideBOM = false;
    size_t bomDepth = 0;                 // path size at the "BOM" start
    std::string collected;               // record XML of the open record
    uint64_t tableOffset = 0;            // where the open table's records start in the spill file
    uint64_t tableRecords = 0;           // the open table's records so far
    std::string pending;                 // character data of the open element inside a BOM
    std::string headerText;              // character data of the open header element
    bool objectOpen = false;
    size_t skipDepth = 0;                // non-zero: inside an object or table that is skipped
    Object object;
    std::string objectStringId;
    bool tableOpen = false;
    Attributes tableAttributes;
    std::string tableName;
    uint32_t elementCount = 0;
    int errorCount = 0;
    std::string failure;                 // the first reason the read fails, naming the file
  } reader_;
};
