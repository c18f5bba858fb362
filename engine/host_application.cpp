// Form descriptions of a host client that has none of its own.
#include "engine/host_application.h"

#include <map>
#include <tuple>

#include "platform/framework/host_error.h"

namespace dpx {

namespace {

const std::map<std::string, std::string>& Forms() {
  static const std::map<std::string, std::string> forms = {
      {"134", "Business Partner Master Data"}, {"139", "Sales Order"}, {"150", "Item Master Data"},
      {"133", "A/R Invoice"}, {"142", "Purchase Order"}};
  return forms;
}

const std::map<std::tuple<std::string, std::string, std::string>, std::string>& Items() {
  static const std::map<std::tuple<std::string, std::string, std::string>, std::string> items = {
      {{"134", "5", "-1"}, "BP Code"},         {{"134", "7", "-1"}, "BP Name"},
      {{"134", "U_Color", "-1"}, "Color"},     {{"139", "38", "-1"}, "Contents"},
      {{"139", "38", "1"}, "Item No."},        {{"150", "5", "-1"}, "Item No."},
      {{"150", "U_Seats", "-1"}, "Seats"},     {{"133", "38", "-1"}, "Contents"}};
  return items;
}

}  // namespace

std::string HostApplication::formDescription(const std::string& formId) {
  const auto it = Forms().find(formId);
  if (it == Forms().end()) throw HostError(E_INVALIDARG, "Forms", "The client has no form '" + formId + "'");
  return it->second;
}

std::string HostApplication::itemDescription(const std::string& formId, const std::string& itemId,
                                             const std::string& columnId) {
  const auto it = Items().find({formId, itemId, columnId});
  if (it == Items().end())
    throw HostError(E_INVALIDARG, "Forms", "The form '" + formId + "' has no item '" + itemId + "'");
  return it->second;
}

}  // namespace dpx
