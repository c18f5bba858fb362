// Document numbering: the numbering series of the documents (NNM1, through
// the host's series service), each document's default series (ONNM), the
// period indicators (OPID rows) and five document names of the
// administration record (OADM). A base series is matched in the target by
// its document and initial number. Nothing is ever removed: the removal pass
// writes nothing, and Replace All then adds or updates.
#pragma once

#include <memory>

#include "engine/di_interface.h"

namespace dpx::host {
class SeriesService;
class ServiceObject;
}  // namespace dpx::host

class DPX_DocumentNumberingManager : public DPX_DIInterface {
 public:
  DPX_DocumentNumberingManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  // The OADM names; with no chosen record also the OPID rows and every series.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // The document's name in the host client's language: "68" and "132" show
  // the code itself, an unknown code "Unknown Document Code".
  std::string getDocumentName(int32_t objectCode);
  // Marks each series of the block found (key: the target's series number)
  // or new (key: its name), and drops what the copy method leaves alone. A
  // series whose initial number is not a number gets a "403" line and is
  // dropped. Returns 1.
  int32_t findTargetSeries(DPX_OperationArgs& block, uint8_t method);
  // Write one series into the target with its copy-log line. Return 1.
  int32_t addSeries(const DPX_OperationArgs::DataItem& item);
  int32_t updateSeries(const DPX_OperationArgs::DataItem& item);

 private:
  // Settings entry 6 of the target says series carry no prefix and suffix.
  bool prefixCheck();
  // The target's default series of a document becomes `series`.
  void setDefaultSeries(int32_t series, const std::string& document);
  void writeDocumentNames(const DPX_OperationArgs& block);
};
