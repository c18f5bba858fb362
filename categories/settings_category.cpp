// Shared slots of the settings categories.
#include "categories/settings_category.h"

#include <fmt/printf.h>

#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"

using dpx::records::LogLine;

namespace {

constexpr const char* kAdminTable = "OADM";
constexpr const char* kCompanyName = "CompanyName";
constexpr const char* kSucceeded = "402";
constexpr const char* kFailed = "403";

// A property of the administration record as record text. A read the host
// refuses raises, so that a category that cannot be read is reported whole
// rather than saved with a blank in it.
std::string ReadField(const std::shared_ptr<dpx::host::HostObject>& adminInfo, const std::string& name,
                      DPX_SettingsField::Kind kind) {
  dpx::Variant value;
  const dpx::HRESULT hr = DPX_Util::GetPropertyByName(adminInfo, name, value);
  if (dpx::Failed(hr))
    throw dpx::HostError(hr, "AdminInfo", "The administration setting '" + name + "' could not be read");
  if (kind == DPX_SettingsField::kNumber) return fmt::sprintf("%d", static_cast<long long>(value.toInt64()));
  return value.toText();
}

}  // namespace

DPX_SettingsCategory::DPX_SettingsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                           DPX_SettingsCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {}

std::string DPX_SettingsCategory::buildRecord(const std::shared_ptr<dpx::host::HostObject>& adminInfo) const {
  std::vector<std::pair<std::string, std::string>> elements;
  if (m_definition.hasCompanyName)
    elements.emplace_back(kCompanyName, ReadField(adminInfo, kCompanyName, DPX_SettingsField::kText));
  for (const DPX_SettingsField& field : m_definition.fields)
    elements.emplace_back(field.name, ReadField(adminInfo, field.name, field.kind));

  std::string xml;
  if (elements.empty()) {
    // Only a category without any field gets here; its record is still well formed.
    xml = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><" + m_definition.element + ">";
  }
  for (size_t i = 0; i < elements.size(); ++i)
    DPX_Util::WrapInBOM(xml, elements[i].first, elements[i].second, i == 0 ? m_definition.element : "");
  DPX_Util::WrapInBOM(xml, "", "", m_definition.element);
  return xml;
}

int32_t DPX_SettingsCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord>) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::readFromDB");
  auto base = dpx::records::BaseCompany(m_context);
  auto adminInfo = base->GetCompanyService()->GetAdminInfo();

  DPX_OperationArgs block;
  block.setWithValues(m_categoryKey, kAdminTable, m_context, 1, DPX_OperationArgs::kTableRows);
  DPX_OperationArgs::DataItem item;
  item.xml = buildRecord(adminInfo);
  block.dataItems.push_back(std::move(item));
  blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_SettingsCategory::readFromFile(dpx::ConfigurationSource*) { return &m_tableInfo; }

DPX_TableInfo* DPX_SettingsCategory::collectDetails() { return &m_tableInfo; }

bool DPX_SettingsCategory::putFields(DPX_DOMParser& parser, const std::shared_ptr<dpx::host::HostObject>& adminInfo,
                                     dpx::host::Company& target, std::string& error) const {
  for (const DPX_SettingsField& field : m_definition.fields) {
    std::string text;
    // A setting the record does not carry (a file from before the setting
    // was copied, say) keeps the target's value instead of being blanked.
    if (findChildElement(parser, field.name, text) == -1) continue;
    const dpx::Variant value = field.kind == DPX_SettingsField::kNumber
                                   ? dpx::Variant(DPX_Util::BSTRToInt(text))
                                   : dpx::Variant(text);
    const dpx::HRESULT hr = DPX_Util::PutPropertyByName(adminInfo, field.name, value);
    if (dpx::Succeeded(hr)) continue;
    if (hr == dpx::DISP_E_MEMBERNOTFOUND) {
      error = "The target has no setting '" + field.name + "'";
    } else {
      // A value the host refuses sets its last error, which says why.
      error = "The target refused the value '" + text + "' of the setting '" + field.name + "'";
      const std::string reason = dpx::records::LastErrorText(target);
      if (!reason.empty()) error += ": " + reason;
    }
    return false;
  }
  return true;
}

void DPX_SettingsCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_SettingsCategory::writeData");
  if (blocks.empty() || method == 0) return;  // the removal pass removes no settings

  DPX_OperationArgs& block = blocks.front();
  block.setWithValues(m_categoryKey, kAdminTable, m_context, 0, DPX_OperationArgs::kTableRows);
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);

  auto fail = [&](const std::string& error) {
    line.result(kFailed);
    line.error(error);
    scope.LogError("Settings not copied: %s", error);
  };

  std::shared_ptr<dpx::host::Company> target;
  try {
    DPX_DOMParser parser;
    if (block.dataItems.empty()) {
      fail("The category brings no settings record");
    } else if (!parser.loadXML(block.dataItems.front().xml) || parser.findElement(m_definition.element) == 0) {
      fail("The settings record holds no element '" + m_definition.element + "'");
    } else {
      if (m_definition.hasCompanyName) line.baseDescription(getChildText(parser, kCompanyName));
      target = dpx::records::TargetCompany(m_context);
      auto service = target->GetCompanyService();
      std::shared_ptr<dpx::host::BusinessObject> adminInfo = service->GetAdminInfo();
      std::string refused;
      if (!putFields(parser, adminInfo, *target, refused)) {
        fail(refused);  // nothing is stored: the target keeps every setting it had
      } else if (service->UpdateAdminInfo(adminInfo) != 0) {
        const std::string reason = dpx::records::LastErrorText(*target);
        fail(reason.empty() ? std::string("The target refused the settings") : reason);
      } else {
        line.result(kSucceeded);
      }
    }
  } catch (const dpx::HostError& e) {
    fail(e.description().empty() ? std::string(e.what()) : e.description());
  } catch (const std::exception& e) {
    fail(e.what());
  }
  line.write(true);
}
