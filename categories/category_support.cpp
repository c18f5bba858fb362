// Shared pieces of the category managers.
#include "categories/category_support.h"

#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/util.h"
#include "platform/host/company.h"
#include "platform/host/host_object.h"

namespace dpx::categories {

DPX_OperationArgs::DataItem Record(std::string xml) {
  DPX_OperationArgs::DataItem item;
  item.xml = std::move(xml);
  return item;
}

std::string ErrorText(const dpx::HostError& e) {
  return e.description().empty() ? std::string(e.what()) : e.description();
}

dpx::Variant GetProperty(const std::shared_ptr<dpx::host::HostObject>& object, const std::string& property) {
  dpx::Variant value;
  const dpx::HRESULT hr = DPX_Util::GetPropertyByName(object, property, value);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, object ? object->typeName() : "", "The " + property + " could not be read");
  return value;
}

void PutProperty(const std::shared_ptr<dpx::host::HostObject>& object, const std::string& property,
                 const dpx::Variant& value, dpx::host::Company* company) {
  const dpx::HRESULT hr = DPX_Util::PutPropertyByName(object, property, value);
  if (dpx::Succeeded(hr)) return;
  std::string text = "The " + property + " '" + value.toText() + "' could not be set";
  const std::string reason = company ? dpx::records::LastErrorText(*company) : std::string();
  if (!reason.empty()) text += ": " + reason;
  throw dpx::HostError(hr, object ? object->typeName() : "", text);
}

void WriteObjectsByMethod(DPX_DIInterface& manager, DPX_OperationArgs& block, uint8_t method) {
  switch (method) {
    case 2:
      manager.updateTargetRecords(std::move(block));
      break;
    case 3:
      manager.addTargetRecords(std::move(block));
      break;
    default:
      manager.copyRecords(std::move(block));
      break;
  }
}

}  // namespace dpx::categories
