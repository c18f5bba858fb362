// Print layouts (table RDOC) that are not the host's own ("System"),
// copied whole through the company's report-layout service. One class serves
// the document and report layouts (mode 1) and the query print layouts
// (mode 2). A layout's code is the company's own, so a layout is matched by
// its name and type code; a layout the target has is replaced by adding the
// base's layout anew and then deleting the old one, so that a refused add
// never costs the target its layout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/di_interface.h"

namespace dpx::host {
class Company;
class ReportLayoutService;
class ServiceDocument;
}  // namespace dpx::host

class DPX_PrintLayoutsManager : public DPX_DIInterface {
 public:
  DPX_PrintLayoutsManager(DPX_ConnectionContext* context, const std::string& categoryKey, int32_t mode);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  using ServicePtr = std::shared_ptr<dpx::host::ReportLayoutService>;
  // The codes of the company's layouts of the mode; removable: only those a
  // Replace All may remove (never the host's own, author "System").
  void listLayouts(dpx::host::Company& company, std::vector<std::string>& codes, bool removable = false);
  // The code of the company's first layout of that name and type code; "".
  std::string findTargetLayout(dpx::host::Company& company, const std::string& name, const std::string& typeCode);
  // The layout's XML with its doubled escapes of >, < and " made single; ""
  // for an empty code or a layout whose text cannot be rendered.
  static std::string unescapeXml(const ServicePtr& service, const std::string& code);
  static std::shared_ptr<dpx::host::ServiceDocument> getLayout(const ServicePtr& service, const std::string& code);
  // Adds the layout and writes its line: the target's new code, or "".
  std::string addLayout(const ServicePtr& service, const std::string& xml);
  // Deletes the layout and writes its line.
  void deleteLayout(const ServicePtr& service, const std::string& code);

  int32_t mode() const { return m_mode; }

 private:
  // Adds the layout; the line is written only when writeLine is set.
  std::string addLayout(const ServicePtr& service, const std::string& xml, bool writeLine, std::string& name,
                        std::string& error);
  void writeAddLine(const std::string& code, const std::string& name, const std::string& error);
  // One record-list row of a layout's fields, keyed by name and type code.
  void addLayoutRow(const std::string& name, const std::string& author, const std::string& remarks,
                    const std::string& typeCode, const char* keyName, const char* valueName);

  int32_t m_mode;
};
