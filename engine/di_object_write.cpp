// Business-object categories, writing: records are added, updated or removed
// in the target through the host's business objects, one copy-log line per
// record. A record the target refuses is logged "403" with the host's error
// and the next record follows.
//
// An object type without a "Browser" can only be updated by removing the
// target's record and adding the new one; both run inside one transaction of
// the target company, so a refused Add leaves the old record in place.
#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/sql_statement.h"
#include "engine/target_batch.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

using dpx::records::LogLine;

namespace {

constexpr const char* kSucceeded = "402";
// "Add" giving this code has added the record all the same.
constexpr int kAddedAnyway = -2035;

// Calls a method that gives a number ("Add", "Update", "Remove"). A call
// that fails raises, as the host's own calls do.
int CallForCode(dpx::host::HostObject& object, const std::string& method) {
  dpx::Variant out;
  const dpx::HRESULT hr = object.invoke(method, {}, out);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, object.typeName(), "Call of " + method + " failed");
  return out.toInt32();
}

// The text of a refusal: the target's last error, or the exception's text.
std::string RefusalText(dpx::host::Company* target, const std::exception& e) {
  std::string text = target ? dpx::records::LastErrorText(*target) : std::string();
  return text.empty() ? std::string(e.what()) : text;
}

// Marks the line failed with the target's last error, or with `fallback`
// when the target gave no text (a record that is simply not there).
void Refuse(LogLine& line, dpx::host::Company& target, const std::string& fallback) {
  const std::string text = dpx::records::LastErrorText(target);
  line.fail(text.empty() ? fallback : text);
}

// Ends the line of a write that raised (called inside a catch block): a host
// error gives the target's refusal, anything else "exception caused in
// <method>"; `done` says what did not happen to the record.
void FailRaised(LogLine& line, dpx::host::Company* target, dpx::DPX_LogScope& scope, const char* method,
                const char* done) {
  try {
    throw;
  } catch (const dpx::HostError& e) {
    line.fail(RefusalText(target, e));
    scope.LogError("Record not %s: %s", done, e.what());
  } catch (const std::exception& e) {
    line.fail(std::string("exception caused in ") + method);
    scope.LogError("Record not %s: %s", done, e.what());
  }
}

// The property whose text describes a record in the copy log.
std::string DescriptionProperty(const DPX_OperationArgs& block) {
  return block.descriptionNames.size() > 1 ? block.descriptionNames[1] : std::string();
}

}  // namespace

int32_t DPX_DIInterface::UpdateDataSetFromDI(int32_t objectType, DPX_OperationArgs::DataItem item,
                                             const std::string& descriptionProperty) {
  dpx::DPX_LogScope scope("DPX_DIInterface::UpdateDataSetFromDI");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2, item.baseCode, item.baseDescription);
  line.leftOut(item.leftOut);

  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    adjustXml(objectType, item.xml);
    auto object = target->NewBusinessObject(objectType);
    if (item.keyValues.empty()) {
      // Only a record that the comparison found in the target has its key.
      line.fail("The record was not found in the target");
    } else if (!dpx::records::GetByKey(*object, item.keyValues)) {
      Refuse(line, *target, "The record was not found in the target");
    } else {
      line.targetCode(item.targetCode);
      line.targetFormerDescription(item.targetFormerDescription);
      std::shared_ptr<dpx::host::HostObject> browser;
      if (object->hasMember("Browser") && dpx::Succeeded(object->getObject("Browser", browser)) && browser) {
        dpx::Variant ignored;
        if (dpx::Failed(browser->invoke("ReadXml", {dpx::Variant(item.xml), dpx::Variant(int32_t{0})}, ignored))) {
          Refuse(line, *target, "The record XML could not be read into the target's object");
        } else {
          prepareObject(objectType, object, 2);
          if (CallForCode(*object, "Update") == 0) {
            line.targetDescription(dpx::records::PropertyText(*object, descriptionProperty));
            line.result(kSucceeded);
          } else {
            Refuse(line, *target, "Refused by the target");
          }
        }
      } else {
        dpx::CompanyTransaction transaction(target);
        if (CallForCode(*object, "Remove") != 0) {
          Refuse(line, *target, "Refused by the target");
        } else {
          auto added = target->GetBusinessObjectFromXML(item.xml, 0);
          prepareObject(objectType, added, 3);
          if (CallForCode(*added, "Add") == 0) {
            transaction.commit();
            line.targetDescription(dpx::records::PropertyText(*added, descriptionProperty));
            line.result(kSucceeded);
          } else {
            Refuse(line, *target, "Refused by the target");  // before the rollback brings the old record back
          }
        }
      }
    }
  } catch (const std::exception&) {
    FailRaised(line, target.get(), scope, "UpdateDataSetFromDI", "updated");
  }
  line.write(m_logRecords != 0);
  return 1;
}

int32_t DPX_DIInterface::AddDataSetFromDI(int32_t objectType, DPX_OperationArgs::DataItem item) {
  dpx::DPX_LogScope scope("DPX_DIInterface::AddDataSetFromDI");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 3, item.baseCode, item.baseDescription);
  line.leftOut(item.leftOut);

  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    adjustXml(objectType, item.xml);
    auto object = target->GetBusinessObjectFromXML(item.xml, 0);
    prepareObject(objectType, object, 3);
    const int code = CallForCode(*object, "Add");
    if (code == 0 || code == kAddedAnyway)
      line.result(kSucceeded);
    else
      Refuse(line, *target, "Refused by the target");
  } catch (const std::exception&) {
    FailRaised(line, target.get(), scope, "AddDataSetFromDI", "added");
  }
  line.write(m_logRecords != 0);
  return 1;
}

int32_t DPX_DIInterface::copyRecords(DPX_OperationArgs block) {
  const std::string description = DescriptionProperty(block);
  dpx::TargetBatch batch(m_context);
  for (const DPX_OperationArgs::DataItem& item : block.dataItems)
    batch.write([&, record = &item] {
      if (record->exists)
        UpdateDataSetFromDI(block.hostObjectType, *record, description);
      else
        AddDataSetFromDI(block.hostObjectType, *record);
    });
  batch.commit();
  return 1;
}

int32_t DPX_DIInterface::updateTargetRecords(DPX_OperationArgs block) {
  const std::string description = DescriptionProperty(block);
  dpx::TargetBatch batch(m_context);
  for (const DPX_OperationArgs::DataItem& item : block.dataItems)
    batch.write([&, record = &item] { UpdateDataSetFromDI(block.hostObjectType, *record, description); });
  batch.commit();
  return 1;
}

int32_t DPX_DIInterface::addTargetRecords(DPX_OperationArgs block) {
  dpx::TargetBatch batch(m_context);
  for (const DPX_OperationArgs::DataItem& item : block.dataItems)
    batch.write([&, record = &item] { AddDataSetFromDI(block.hostObjectType, *record); });
  batch.commit();
  return 1;
}

int32_t DPX_DIInterface::removeTargetRecords(DPX_OperationArgs block, const std::vector<std::string>& keyColumns,
                                             const std::vector<std::string>& descriptionProperties,
                                             const std::string& sql, const KeepRecord& keeps) {
  dpx::DPX_LogScope scope("DPX_DIInterface::removeTargetRecords");
  std::vector<std::vector<dpx::Variant>> keys;
  try {
    auto target = dpx::records::TargetCompany(m_context);
    const int32_t serverType = target->DbServerType();
    std::string text = sql;
    if (text.empty()) {
      DPX_SqlStatement statement(serverType);
      for (const std::string& k : keyColumns) statement.addColumn(k);
      statement.setTable(block.tableName);
      text = statement.buildSelect();
    } else if (serverType == 5) {
      text = DPX_SqlStatement::parse(text);
    }
    auto recordset = target->NewRecordset();
    recordset->DoQuery(text);
    // All keys first: removing while walking the result would move under it.
    while (!recordset->EoF()) {
      keys.push_back(dpx::records::RowValues(*recordset, keyColumns.size()));
      recordset->MoveNext();
    }
    if (keeps) std::erase_if(keys, keeps);
  } catch (const dpx::HostError& e) {
    LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 0);
    line.fail(e.what());
    line.write(m_logRecords != 0);
    scope.LogError("Records of %s not listed for removal: %s", block.tableName, e.what());
    return 1;
  }
  dpx::TargetBatch batch(m_context);
  for (const auto& key : keys)
    batch.write([&, record = &key] { removeTargetRecord(block.hostObjectType, *record, descriptionProperties); });
  batch.commit();
  return 1;
}

int32_t DPX_DIInterface::removeTargetRecord(int32_t objectType, const std::vector<dpx::Variant>& keyValues,
                                            const std::vector<std::string>& descriptionProperties) {
  dpx::DPX_LogScope scope("DPX_DIInterface::removeTargetRecord");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 0);
  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    auto object = target->NewBusinessObject(objectType);
    if (keyValues.empty() || !dpx::records::GetByKey(*object, keyValues)) return 0;  // not in the target: no line
    if (!descriptionProperties.empty()) line.targetCode(dpx::records::PropertyText(*object, descriptionProperties[0]));
    if (descriptionProperties.size() > 1) line.targetDescription(dpx::records::PropertyText(*object, descriptionProperties[1]));
    if (CallForCode(*object, "Remove") == 0)
      line.result(kSucceeded);
    else
      Refuse(line, *target, "Refused by the target");
  } catch (const dpx::HostError&) {
    FailRaised(line, target.get(), scope, "removeTargetRecord", "removed");
  }
  line.write(m_logRecords != 0);
  return 1;
}
