// Document numbering: series through the series service, default series and
// document names by SQL, period indicators as table rows.
#include "categories/setup/document_numbering_manager.h"

#include <fmt/printf.h>

#include "categories/category_support.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"
#include "platform/host/series_service.h"

using dpx::categories::ErrorText;
using dpx::categories::GetProperty;
using dpx::categories::PutProperty;
using dpx::categories::Record;
using dpx::records::LogLine;

namespace {

constexpr const char* kSucceeded = "402";
constexpr const char* kFailed = "403";
constexpr int32_t kPeriodIndicatorsObjectCode = 184;
constexpr int32_t kPrefixCheckEntry = 6;

// The series of the category: default-indicator series of every document
// but those the host numbers on its own.
constexpr const char* kSeriesFilter =
    " WHERE ObjectCode <> '132' AND ObjectCode <> '68' AND ObjectCode <> '163' AND ObjectCode <> '164' AND "
    "ObjectCode <> '165' AND ObjectCode <> '166' AND Indicator = 'Default'";

// The administration record's document names the category carries.
const std::vector<std::string>& DocumentNameColumns() {
  static const std::vector<std::string> columns = {"PorName", "PdnName", "RpdName", "PchName", "RpcName"};
  return columns;
}

struct DocumentName {
  int32_t objectCode;
  uint32_t stringId;
};

constexpr DocumentName kDocumentNames[] = {
    {13, 185},  {14, 186},  {15, 187},  {16, 188},  {17, 189},  {18, 190},  {19, 191},  {20, 192},
    {21, 193},  {22, 194},  {23, 195},  {24, 196},  {25, 197},  {30, 198},  {46, 199},  {59, 200},
    {60, 201},  {67, 202},  {69, 203},  {162, 204}, {202, 205}, {203, 206}, {204, 207},
};

// Documents whose updated series keep the target's next number: the base's
// number would skip or repeat document numbers the target has given.
constexpr int32_t kKeepNextNumber[] = {13, 14, 15, 16, 17, 23, 24, 25, 30, 46, 59, 60, 67, 162, 202, 203};

// Sets the text of the first element `name` below the cursor (the cursor stays).
void SetElementText(DPX_DOMParser& parser, const std::string& name, const std::string& text) {
  auto* at = parser.getCursor();
  if (parser.findElement(name) > 0) DPX_DIInterface::replaceElement(parser, 1, name, text);
  else parser.addElement(name, text, "", "", false);
  parser.setCursor(at);
}

// Removes every element `name` below the cursor (the cursor stays).
void RemoveElements(DPX_DOMParser& parser, const std::string& name) {
  auto* at = parser.getCursor();
  while (parser.findElement(name) > 0) {
    parser.removeCurrent();
    parser.setCursor(at);
  }
}

// The record's "Series" element, cursor on it; false when it has none.
bool LoadSeries(DPX_DOMParser& parser, const std::string& xml) {
  return parser.loadXML(xml) && parser.getNodeName() == "BOM" && parser.findElement("Series") > 0;
}

}  // namespace

DPX_DocumentNumberingManager::DPX_DocumentNumberingManager(DPX_ConnectionContext* context,
                                                           const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"ObjectCode", "Series"};
  m_keyProperties = {"Document", "Series"};
  m_columns = {"ObjectCode", "Series", "SeriesName", "InitialNum", "NextNumber", "LastNum", "GroupCode", "Locked",
               "Indicator"};
  m_properties = {"Document", "Series", "Name", "InitialNumber", "NextNumber", "LastNumber", "GroupCode", "Locked",
                  "PeriodIndicator"};
  m_columnFlags = std::vector<int32_t>(m_columns.size(), 0);
}

bool DPX_DocumentNumberingManager::initialize() {
  m_tableInfo.setTableName("NNM1");
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes("NNM1", m_columns, headings, types);
  // The list shows the document's name in the ObjectCode column.
  if (!types.empty()) types[0] = DPX_SqlStatement::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

std::string DPX_DocumentNumberingManager::getDocumentName(int32_t objectCode) {
  if (objectCode == 68 || objectCode == 132) return fmt::sprintf("%d", objectCode);
  for (const DocumentName& d : kDocumentNames)
    if (d.objectCode == objectCode)
      return dpx::StringTable::Load(d.stringId, DPX_Util::HostLanguage(m_context ? m_context->getApplication() : nullptr));
  return "Unknown Document Code";
}

DPX_TableInfo* DPX_DocumentNumberingManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::collectDetails");
  initialize();
  std::string select = "SELECT ObjectCode, Series";
  for (const std::string& c : m_columns) select += ", " + c;
  auto recordset = queryBaseList(select + " FROM NNM1" + kSeriesFilter);
  recordset->MoveFirst();
  while (!recordset->EoF()) {
    std::vector<std::string> row = readListRows(*recordset, m_keyColumns, m_columns);
    if (!row.empty()) row[0] = getDocumentName(static_cast<int32_t>(dpx::LeadingInt(row[0])));
    m_tableInfo.addListRow(std::move(row));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_DocumentNumberingManager::readFromFile(dpx::ConfigurationSource* configuration) {
  return readStoredList(configuration, true, m_keyProperties, m_properties, "Series");
}

int32_t DPX_DocumentNumberingManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                 std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::readFromDB");
  auto base = dpx::records::BaseCompany(m_context);

  // The administration record's names, with the base's name for the log.
  std::string names = "SELECT ";
  for (size_t i = 0; i < DocumentNameColumns().size(); ++i) names += (i ? ", " : "") + DocumentNameColumns()[i];
  auto recordset = queryBaseList(names + " FROM OADM");
  std::string record;
  dpx::Variant companyName;
  const dpx::HRESULT hr = DPX_Util::GetPropertyByName(base->GetCompanyService()->GetAdminInfo(), "CompanyName", companyName);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, "AdminInfo", "The base's company name could not be read");
  DPX_Util::WrapInBOM(record, "CompanyName", companyName.toText(), "AdminInfo");
  for (size_t i = 0; i < DocumentNameColumns().size(); ++i)
    DPX_Util::WrapInBOM(record, DocumentNameColumns()[i],
                        recordset->EoF() ? std::string() : recordset->Field(static_cast<int>(i)).toText(), "");
  DPX_Util::WrapInBOM(record, "", "", "AdminInfo");
  DPX_OperationArgs adminBlock;
  adminBlock.setWithValues(m_categoryKey, "OADM", m_context, 1, DPX_OperationArgs::kTableRows);
  adminBlock.dataItems.push_back(Record(record));
  blocks.push_back(std::move(adminBlock));
  if (!chosen.empty()) return 0;  // a partial selection carries the names only

  DPX_OperationArgs indicators = readBaseTable("OPID", "", 0);
  if (!indicators.dataItems.empty()) blocks.push_back(std::move(indicators));

  DPX_OperationArgs seriesBlock;
  seriesBlock.setWithValues(m_categoryKey, "NNM1", m_context, 1, DPX_OperationArgs::kTableRows);
  auto service = base->GetCompanyService()->GetSeriesService();
  auto list = queryBaseList(std::string("SELECT ObjectCode, Series FROM NNM1") + kSeriesFilter);
  const int32_t serverType = base->DbServerType();
  for (list->MoveFirst(); !list->EoF(); list->MoveNext()) {
    const std::string document = list->Field(0).toText();
    auto params = service->GetDataInterface(dpx::host::SeriesService::kSeriesParams);
    PutProperty(params, "Series", list->Field(1));
    auto series = service->GetSeries(params);

    DPX_DOMParser parser;
    if (!parser.loadXML(series->GetAsXML()))
      throw dpx::HostError(dpx::E_FAIL, "DPX_DocumentNumberingManager", "The host gave series XML that cannot be read");
    SetElementText(parser, "Document", document);
    std::string xml = parser.serialize(true);

    DPX_SqlStatement isDefault(serverType);
    isDefault.setTable("ONNM");
    isDefault.addValue("DfltSeries", GetProperty(series, "Series").toText(), DPX_SqlStatement::kNumeric);
    isDefault.addValue("ObjectCode", document, DPX_SqlStatement::kAlpha);
    auto defaults = base->NewRecordset();
    defaults->DoQuery(isDefault.buildSelect());
    xml += defaults->RecordCount() > 0 ? "<Default>1</Default>" : "<Default>0</Default>";
    DPX_Util::RemoveUpToMarker(xml);
    seriesBlock.dataItems.push_back(Record("<BOM>" + xml + "</BOM>"));
  }
  if (!seriesBlock.dataItems.empty()) blocks.push_back(std::move(seriesBlock));
  return 0;
}

void DPX_DocumentNumberingManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::writeData");
  if (method == 0) return;  // nothing of the numbering is ever removed
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == "OPID") {
      // Period indicators go before the series that name them, added or updated whatever the method.
      m_logRecords = 0;
      block.setWithValues(m_categoryKey, "OPID", m_context, 1, DPX_OperationArgs::kTableRows);
      buildObjectXml(block, "Indicator", {"Indicator", "Indicator"}, "Indicator", 4);
      copyTableRecords(block, kPeriodIndicatorsObjectCode, "Code");
      m_logRecords = 1;
    } else if (block.tableName == "NNM1") {
      m_logRecords = 1;
      findTargetSeries(block, method);
      for (const DPX_OperationArgs::DataItem& item : block.dataItems) {
        if (item.exists) updateSeries(item);
        else addSeries(item);
      }
    } else if (block.tableName == "OADM") {
      writeDocumentNames(block);
    }
  }
}

void DPX_DocumentNumberingManager::writeDocumentNames(const DPX_OperationArgs& block) {
  if (block.dataItems.empty()) return;
  DPX_DOMParser parser;
  if (!parser.loadXML(block.dataItems.front().xml) || parser.findElement("AdminInfo") == 0) {
    dpx::DPX_LogScope("DPX_DocumentNumberingManager::writeData").LogError("The document names' record holds no AdminInfo");
    return;
  }
  auto target = dpx::records::TargetCompany(m_context);
  DPX_SqlStatement update(target->DbServerType());
  update.setTable("OADM");
  for (const std::string& column : DocumentNameColumns())
    update.addValue(column, getChildText(parser, column), DPX_SqlStatement::kAlpha);
  target->NewRecordset()->DoQuery(update.buildUpdate());
}

int32_t DPX_DocumentNumberingManager::findTargetSeries(DPX_OperationArgs& block, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::findTargetSeries");
  auto target = dpx::records::TargetCompany(m_context);
  auto recordset = target->NewRecordset();
  std::vector<DPX_OperationArgs::DataItem> kept;
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    DPX_DOMParser parser;
    std::string document, name, initial;
    if (LoadSeries(parser, item.xml)) {
      document = getChildText(parser, "Document");
      name = getChildText(parser, "Name");
      initial = getChildText(parser, "InitialNumber");
    }
    int64_t initialNumber = 0;
    if (!dpx::ParseInt64(initial, initialNumber) || document.empty()) {
      // The initial number goes into the lookup as a number; anything else
      // cannot name a series (a damaged or hand-edited file).
      LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, method == 2 ? 2 : 3, name, getDocumentName(static_cast<int32_t>(dpx::LeadingInt(document))));
      line.fail("The series has no document or no initial number: '" + document + "', '" + initial + "'");
      line.write(true);
      scope.LogError("Series '%s' of document '%s' skipped: initial number '%s'", name, document, initial);
      continue;
    }
    DPX_SqlStatement select(target->DbServerType());
    select.setTable("NNM1");
    select.addColumn("Series");
    select.addValue("ObjectCode", document, DPX_SqlStatement::kAlpha);
    select.addValue("InitialNum", std::to_string(initialNumber), DPX_SqlStatement::kNumeric);
    recordset->DoQuery(select.buildSelect());
    const bool match = recordset->RecordCount() > 0;
    if (match && method == 3) continue;   // the target's series stays as it is
    if (!match && method == 2) continue;  // only series the target has are updated
    item.exists = match;
    item.keyValues.push_back(match ? recordset->Field(0) : dpx::Variant(name));
    kept.push_back(std::move(item));
  }
  block.dataItems = std::move(kept);
  return 1;
}

bool DPX_DocumentNumberingManager::prefixCheck() {
  auto entries = dpx::records::TargetCompany(m_context)->GetCompanyService()->GetSettingsEntries();
  for (const dpx::host::SettingsEntry& entry : entries)
    if (dpx::LeadingInt(entry.code) == kPrefixCheckEntry) return entry.status == 1;
  return false;
}

void DPX_DocumentNumberingManager::setDefaultSeries(int32_t series, const std::string& document) {
  auto target = dpx::records::TargetCompany(m_context);
  const bool quoted = target->DbServerType() == 5;
  target->NewRecordset()->DoQuery(fmt::sprintf(quoted ? "UPDATE ONNM SET \"DfltSeries\" = %d WHERE \"ObjectCode\" = '%s'"
                                                      : "UPDATE ONNM SET DfltSeries = %d WHERE ObjectCode = '%s'",
                                               series, DPX_Util::EscapeSqlText(document)));
}

int32_t DPX_DocumentNumberingManager::addSeries(const DPX_OperationArgs::DataItem& item) {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::addSeries");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 3);
  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    DPX_DOMParser parser;
    if (!LoadSeries(parser, item.xml)) throw dpx::HostError(dpx::E_INVALIDARG, "DPX_DocumentNumberingManager", "The record holds no series");
    auto service = target->GetCompanyService()->GetSeriesService();
    auto series = service->GetDataInterface(dpx::host::SeriesService::kSeries);
    const std::string document = getChildText(parser, "Document");
    line.baseDescription(getDocumentName(static_cast<int32_t>(dpx::LeadingInt(document))));

    const bool withoutPrefix = prefixCheck();
    auto put = [&](const std::string& property, const dpx::Variant& value) { PutProperty(series, property, value, target.get()); };
    put("Document", dpx::Variant(document));
    put("PeriodIndicator", dpx::Variant("Default"));
    for (const char* text : {"DocumentSubType", "Name"}) put(text, dpx::Variant(getChildText(parser, text)));
    for (const char* number : {"InitialNumber", "NextNumber", "LastNumber"}) {
      const std::string text = getChildText(parser, number);
      if (!text.empty()) put(number, dpx::Variant(DPX_Util::BSTRToInt(text)));
    }
    if (!withoutPrefix)
      for (const char* text : {"Prefix", "Suffix"}) put(text, dpx::Variant(getChildText(parser, text)));
    put("Remarks", dpx::Variant(getChildText(parser, "Remarks")));

    // The default follows the number the host gave the series, and only a
    // series that was really added can become a default.
    auto added = service->AddSeries(series);
    const int32_t number = added ? GetProperty(added, "Series").toInt32() : 0;
    if (number <= 0) throw dpx::HostError(dpx::E_FAIL, "Series", "The target gave the added series no number");
    line.baseCode(std::to_string(number));
    DPX_DOMParser record;
    record.loadXML(item.xml);
    if (getChildText(record, "Default") == "1") setDefaultSeries(number, document);
    line.result(kSucceeded);
  } catch (const dpx::HostError& e) {
    line.fail(ErrorText(e));
    scope.LogError("Series not added: %s", e.what());
  } catch (const std::exception& e) {
    line.fail(e.what());
    scope.LogError("Series not added: %s", e.what());
  }
  line.write(true);
  return 1;
}

int32_t DPX_DocumentNumberingManager::updateSeries(const DPX_OperationArgs::DataItem& item) {
  dpx::DPX_LogScope scope("DPX_DocumentNumberingManager::updateSeries");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);
  line.result(kFailed);
  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    const int32_t number = item.keyValues.empty() ? 0 : item.keyValues.front().toInt32();
    auto service = target->GetCompanyService()->GetSeriesService();
    auto params = service->GetDataInterface(dpx::host::SeriesService::kSeriesParams);
    PutProperty(params, "Series", dpx::Variant(number));
    auto series = service->GetSeries(params);
    const int32_t oldNext = GetProperty(series, "NextNumber").toInt32();
    const std::string documentCode = GetProperty(series, "Document").toText();
    const int32_t document = static_cast<int32_t>(dpx::LeadingInt(documentCode));
    line.targetCode(std::to_string(number));
    line.targetFormerDescription(getDocumentName(document));

    DPX_DOMParser parser;
    if (!LoadSeries(parser, item.xml)) throw dpx::HostError(dpx::E_INVALIDARG, "DPX_DocumentNumberingManager", "The record holds no series");
    SetElementText(parser, "Series", std::to_string(number));
    if (prefixCheck()) {
      RemoveElements(parser, "Prefix");
      RemoveElements(parser, "Suffix");
    }
    series->ReadXml(parser.serialize(true));

    bool keepNext = GetProperty(series, "NextNumber").toInt32() <= oldNext;
    for (int32_t code : kKeepNextNumber) keepNext = keepNext || code == document;
    if (keepNext) PutProperty(series, "NextNumber", dpx::Variant(oldNext), target.get());

    line.baseCode(std::to_string(number));
    line.baseDescription(getDocumentName(document));
    line.targetDescription(getDocumentName(document));
    if (service->UpdateSeries(series) != 0) {
      line.fail(dpx::records::LastErrorText(*target));
    } else {
      DPX_DOMParser record;
      record.loadXML(item.xml);
      if (getChildText(record, "Default") == "1") setDefaultSeries(number, documentCode);
      line.result(kSucceeded);
    }
  } catch (const dpx::HostError& e) {
    line.fail(ErrorText(e));
    scope.LogError("Series not updated: %s", e.what());
  } catch (const std::exception& e) {
    line.result(kFailed);
    scope.LogError("Series not updated: %s", e.what());
  }
  line.write(true);
  return 1;
}
