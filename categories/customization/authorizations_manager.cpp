// Authorizations through the company's bridge.
#include "categories/customization/authorizations_manager.h"

#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/bridge.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kUserType = 12;
constexpr const char* kElement = "Authorizations";

void AppendElement(std::string& xml, const std::string& name, const std::string& value) {
  xml += "<" + name + ">" + DPX_Util::EscapeXML(value) + "</" + name + ">";
}

// Decimal conversion: blanks, an optional sign, the leading digits; 0 without digits.
int32_t LeadingNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 0x7fffffff; ++i) value = value * 10 + (text[i] - '0');
  if (value > 0x7fffffff) value = 0x7fffffff;
  return static_cast<int32_t>(negative ? -value : value);
}

// The record's "Authorizations" element, cursor on it; false when there is none.
bool LoadRecord(DPX_DOMParser& parser, const std::string& xml) {
  return parser.loadXML(xml) && parser.findElement(kElement) > 0;
}

}  // namespace

const std::vector<std::string>& DPX_AuthorizationsManager::permissionIds() {
  static const std::vector<std::string> ids = {
      "142", "203", "69", "177", "279", "158", "241", "105", "151", "154", "179", "160", "247", "352", "382", "275",
      "276", "271", "270", "261", "195", "500", "1", "6", "3", "9", "10", "274", "12", "2", "20", "524", "525",
      "421", "23", "74", "370", "217", "233", "218", "219", "220", "221", "222", "223", "224", "225", "226", "227",
      "4", "423", "24", "28", "517", "29", "526", "424", "282", "21", "367", "25", "144", "168", "59", "528", "369",
      "455", "426", "296", "498", "295", "499", "231", "464", "527", "427", "215", "465", "466", "523", "428", "183",
      "71", "320", "328", "85", "86", "87", "371", "372", "502", "26", "321", "430", "373", "459", "42", "152", "27",
      "44", "58", "277", "243", "364", "146", "147", "30", "184", "185", "186", "188", "187", "356", "357", "529",
      "429", "403", "518", "431", "8", "432", "7", "280", "35", "327", "383", "119", "482", "172", "180", "169",
      "33", "127", "171", "173", "174", "190", "332", "333", "530", "285", "286", "287", "288", "204", "13", "15",
      "381", "16", "355", "140", "141", "149", "354", "145", "17", "46", "47", "384", "49", "76", "374", "253",
      "197", "228", "216", "198", "199", "201", "422", "18", "19", "329", "43", "478", "479", "480", "481", "433",
      "112", "121", "122", "437", "108", "109", "48", "229", "334", "368", "438", "360", "291", "292", "293", "123",
      "461", "298", "124", "125", "335", "460", "456", "457", "520", "471", "492", "493", "494", "490", "495", "170",
      "51", "50", "52", "110", "299", "106", "206", "189", "193", "234", "200", "235", "236", "237", "31", "255",
      "470", "519", "257", "258", "259", "278", "281", "36", "53", "54", "375", "55", "56", "515", "506", "57",
      "462", "301", "60", "463", "484", "485", "486", "487", "489", "178", "202", "207", "208", "209", "210", "211",
      "254", "62", "483", "503", "504", "454", "148", "81", "238", "240", "157", "150", "159", "192", "191", "232",
      "294", "300", "153", "317", "37", "63", "378", "64", "65", "516", "507", "66", "67", "488", "441", "182",
      "248", "377", "468", "213", "38", "302", "303", "304", "70", "156", "155", "239", "249", "250", "72", "425",
      "176", "132", "505", "39", "439", "75", "242", "80", "194", "246", "244", "32", "78", "79", "45", "434", "77",
      "73", "386", "376", "290", "245", "448", "449", "450", "451", "452", "453", "363", "366", "501", "365", "120",
      "82", "83", "361", "84", "181", "40", "88", "251", "252", "491", "467", "262", "263", "264", "266", "331"};
  return ids;
}

DPX_AuthorizationsManager::DPX_AuthorizationsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"INTERNAL_K"};
  m_keyProperties = {"UserCode", "UserName"};
  m_columns = {"USER_CODE", "U_NAME"};
  m_properties = {"UserCode", "UserName"};
  m_columnFlags = {0, 0};
}

bool DPX_AuthorizationsManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OUSR", m_columns, m_columnFlags);
  return true;
}

DPX_TableInfo* DPX_AuthorizationsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_AuthorizationsManager::collectDetails");
  initialize();
  auto recordset = queryBaseList("SELECT INTERNAL_K FROM OUSR WHERE SUPERUSER = 'N'");
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> texts = readRecordKeys(kUserType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (!texts.empty()) m_tableInfo.addListRow(std::move(texts));
  }
  return &m_tableInfo;
}

int32_t DPX_AuthorizationsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                              std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_AuthorizationsManager::readFromDB");
  auto base = dpx::records::BaseCompany(m_context);
  auto bridge = base->NewBridge();
  auto user = base->NewBusinessObject(kUserType);
  DPX_OperationArgs block;
  block.set(m_categoryKey, "OPRM", 1, DPX_OperationArgs::kTableRows);

  std::vector<int64_t> keys;
  if (chosen.empty()) {
    auto recordset = queryBaseList("SELECT INTERNAL_K, U_NAME FROM OUSR WHERE SUPERUSER = 'N'");
    for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
      keys.push_back(recordset->Field(0).toInt64());
  } else {
    for (const DPX_DetailRecord& record : chosen)
      if (record.getKeyCount() > 0) keys.push_back(LeadingNumber(record.getKeyValue(0).toText()));
  }
  for (int64_t key : keys) {
    // A key that names no user would otherwise be read with the last user's values.
    if (!dpx::records::GetByKey(*user, {dpx::Variant(key)})) {
      scope.LogError("User %lld not found; its authorizations are not read", static_cast<long long>(key));
      continue;
    }
    if (dpx::records::PropertyText(*user, "Superuser") == "1") continue;
    const std::string code = dpx::records::PropertyText(*user, "UserCode");
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><" + std::string(kElement) + ">";
    AppendElement(xml, "USER_CODE", code);
    AppendElement(xml, "U_NAME", dpx::records::PropertyText(*user, "UserName"));
    for (const std::string& id : permissionIds()) {
      auto value = bridge->GetUserPermission(code, id);
      value->MoveFirst();
      AppendElement(xml, "A" + id, DPX_Util::VariantToString(value->Field(0)));
    }
    xml += "</" + std::string(kElement) + "></BOM>";
    DPX_OperationArgs::DataItem item;
    item.xml = std::move(xml);
    block.dataItems.push_back(std::move(item));
  }
  blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_AuthorizationsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope scope("DPX_AuthorizationsManager::readFromFile");
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  initialize();
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    DPX_DOMParser parser;
    if (!LoadRecord(parser, item.xml)) continue;
    m_tableInfo.addListRow({getChildText(parser, "USER_CODE"), getChildText(parser, "U_NAME")});
  }
  return &m_tableInfo;
}

void DPX_AuthorizationsManager::writeUser(dpx::host::Company& target, const DPX_OperationArgs::DataItem& item) {
  dpx::DPX_LogScope scope("DPX_AuthorizationsManager::writeUser");
  DPX_DOMParser parser;
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);
  if (!LoadRecord(parser, item.xml)) {
    line.fail("The record holds no authorizations");
    line.write(true);
    return;
  }
  const std::string code = getChildText(parser, "USER_CODE");
  const std::string name = getChildText(parser, "U_NAME");
  line.baseCode(code);
  line.baseDescription(name);
  // A superuser of the target keeps every permission it has; the line says why none was written.
  auto superuser = target.NewRecordset();
  superuser->DoQuery("SELECT USER_CODE FROM OUSR WHERE SUPERUSER = 'Y' AND USER_CODE = " +
                     std::string(target.DbServerType() == 5 ? "'" : "N'") + DPX_Util::EscapeSqlText(code) + "'");
  if (superuser->RecordCount() > 0) {
    line.targetCode(code);
    line.result("402");
    line.error("Not written: a superuser in the target, who has every permission");
    line.write(true);
    return;
  }

  auto bridge = target.NewBridge();
  int refused = 0;
  std::string lastRefusal;
  for (const std::string& id : permissionIds()) {
    std::string value;
    findChildElement(parser, "A" + id, value);
    try {
      if (bridge->UpdateUserPermission(code, id, LeadingNumber(value)) != 0) ++refused;
    } catch (const dpx::HostError& e) {
      ++refused;
      lastRefusal = e.what();
      line.error(dpx::records::LastErrorText(target));
    }
  }
  if (refused > 0) scope.LogError("%d permissions of user %s refused, the last: %s", refused, code, lastRefusal);
  line.result(refused > 0 ? "403" : "402");
  line.targetCode(code);
  line.targetDescription(name);
  line.targetFormerDescription(name);
  line.write(true);
}

void DPX_AuthorizationsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_AuthorizationsManager::writeData");
  if (blocks.empty() || method == 0) return;
  auto target = dpx::records::TargetCompany(m_context);
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) writeUser(*target, item);
}
