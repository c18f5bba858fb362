// Account segments and segment codes: the business-object family; the
// segments ask the base's administration info first.
#include "categories/finance/account_segmentation_manager.h"

#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"

DPX_AccountSegmentationManager::DPX_AccountSegmentationManager(DPX_ConnectionContext* context,
                                                               const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, {142, "OASG", "", "Name", "Name", ""}) {
  m_keyColumns = {"AbsId"};
  m_keyProperties = {"Name"};
  m_columns = {"Name", "Size"};
  m_properties = {"Name", "Size"};
  m_columnFlags = {1, 0};
  m_listColumns = {"Name", "Size"};
}

bool DPX_AccountSegmentationManager::baseIsSegmented() const {
  dpx::DPX_LogScope scope("DPX_AccountSegmentationManager::baseIsSegmented");
  try {
    auto base = dpx::records::BaseCompany(m_context);
    if (!base) return false;
    dpx::Variant flag;
    if (dpx::Failed(DPX_Util::GetPropertyByName(base->GetCompanyService()->GetAdminInfo(),
                                                "EnableAccountSegmentation", flag)))
      return false;
    return flag.toInt64() == 1;
  } catch (const dpx::HostError& e) {
    scope.LogError("The base's administration info could not be read: %s", e.what());
    return false;
  }
}

int32_t DPX_AccountSegmentationManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                   std::vector<DPX_DetailRecord> chosen) {
  if (!baseIsSegmented()) return 0;
  return DPX_ObjectCategory::readFromDB(blocks, std::move(chosen));
}

DPX_TableInfo* DPX_AccountSegmentationManager::collectDetails() {
  if (!baseIsSegmented()) return &m_tableInfo;
  return DPX_ObjectCategory::collectDetails();
}

namespace {

DPX_ObjectCategoryDefinition CodesDefinition() {
  DPX_ObjectCategoryDefinition d{143, "OASC", "", "", "", ""};
  d.matchProperties = {"SegmentID", "Code"};
  d.matchColumns = {"SegmentId", "Code"};
  d.listTexts = {DPX_ListText::ObjectName(0, 142, "Name")};
  return d;
}

}  // namespace

DPX_SegmentCodesManager::DPX_SegmentCodesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, CodesDefinition()) {
  m_keyColumns = {"SegmentId", "Code"};
  m_keyProperties = {"SegmentID", "Code"};
  m_columns = {"SegmentId", "Code", "Name", "ShortName"};
  m_properties = {"SegmentID", "Code", "Name", "ShortName"};
  m_columnFlags = {0, 0, 1, 1};
  m_listColumns = {"SegmentID", "Code"};
}
