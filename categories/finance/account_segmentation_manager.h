// Account segments (table OASG, business object 142) and the codes of each
// segment (table OASC, business object 143). Segments are found in the target
// by their name and travel only from a base whose chart is segmented; codes
// are found by their segment's number and their code, and the record list
// shows the segment's name in place of its number.
#pragma once

#include "categories/object_category.h"

class DPX_AccountSegmentationManager : public DPX_ObjectCategory {
 public:
  DPX_AccountSegmentationManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* collectDetails() override;

 private:
  // Whether the base's administration info says its chart is segmented (exactly 1).
  bool baseIsSegmented() const;
};

class DPX_SegmentCodesManager : public DPX_ObjectCategory {
 public:
  DPX_SegmentCodesManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
