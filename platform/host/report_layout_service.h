// The report-layout service (business service 232 of the company service):
// the company's print layouts (table RDOC) as layout documents. A layout's
// XML holds its Name, Author, Remarks and TypeCode under the root; whatever
// else the root holds is the layout's body and passes through untouched. The
// host gives every added layout a code of its own, so a layout has another
// code in every company.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/service_document.h"
#include "platform/host/service_object.h"

namespace dpx::host {

class Company;

class ReportLayoutService : public HostObject {
 public:
  static constexpr int kNumber = 232;
  static constexpr int kLayoutParams = 2;  // GetDataInterface kind
  static constexpr const char* kRoot = "ReportLayout";

  explicit ReportLayoutService(std::shared_ptr<Company> company);

  // Empty layout parameters (property LayoutCode).
  std::shared_ptr<ServiceObject> GetDataInterface(int kind);
  // A layout from its XML; raises HostError(kHrInvalidXml) for XML that is no layout.
  std::shared_ptr<ServiceDocument> GetLayoutFromXML(const std::string& xml);
  // The layout the parameters name; raises HostError when there is none.
  std::shared_ptr<ServiceDocument> GetLayout(const std::shared_ptr<ServiceObject>& params);
  // Adds the layout under a new code: parameters holding it. A layout the
  // host refuses (no name or type code) gives parameters with an empty code,
  // and the reason as last error.
  std::shared_ptr<ServiceObject> AddLayout(const std::shared_ptr<ServiceDocument>& layout);
  // Deletes the layout the parameters name; raises HostError when there is none.
  void DeleteLayout(const std::shared_ptr<ServiceObject>& params);

  std::string typeName() const override { return "ReportLayoutService"; }

 private:
  std::shared_ptr<Company> company_;
};

}  // namespace dpx::host
