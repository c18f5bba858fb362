// Line collections of business objects.
#include "platform/host/line_collection.h"

#include "platform/host/business_object.h"

namespace dpx::host {

LineCollection::LineCollection(std::shared_ptr<BusinessObject> owner, std::string element)
    : owner_(std::move(owner)), element_(std::move(element)) {}

HRESULT LineCollection::get(const std::string& name, Variant& out) {
  out = Variant();
  if (name == "Count") {
    out = Variant(static_cast<int32_t>(owner_->LineCount(element_)));
    return S_OK;
  }
  return owner_->GetLineProperty(element_, owner_->CurrentLine(element_), name, out);
}

HRESULT LineCollection::put(const std::string& name, const Variant& value) {
  return owner_->SetLineProperty(element_, owner_->CurrentLine(element_), name, value);
}

HRESULT LineCollection::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  if (name == "Add") {
    if (!args.empty()) return E_INVALIDARG;
    owner_->AddLine(element_);
    return S_OK;
  }
  if (name == "SetCurrentLine") {
    if (args.size() != 1) return E_INVALIDARG;
    owner_->SetCurrentLine(element_, args[0].toInt32());
    return S_OK;
  }
  if (args.empty()) return get(name, out);
  return DISP_E_MEMBERNOTFOUND;
}

bool LineCollection::hasMember(const std::string& name) const {
  return name == "Count" || name == "Add" || name == "SetCurrentLine";
}

}  // namespace dpx::host
