// The numbering-series service (business service 35 of the company
// service): the numbering series of the documents (table NNM1) as series
// objects, got by their number, added and updated. The host numbers a new
// series itself, one above the highest number of the whole table, and tells
// the number in the parameters object that AddSeries returns.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/service_object.h"

namespace dpx::host {

class Company;

class SeriesService : public HostObject {
 public:
  static constexpr int kNumber = 35;
  // GetDataInterface kinds.
  static constexpr int kSeries = 0;
  static constexpr int kSeriesParams = 1;

  explicit SeriesService(std::shared_ptr<Company> company);

  // An empty series object or an empty parameters object (property Series).
  std::shared_ptr<ServiceObject> GetDataInterface(int kind);
  // The series the parameters name. Raises HostError when there is none.
  std::shared_ptr<ServiceObject> GetSeries(const std::shared_ptr<ServiceObject>& params);
  // Adds the series: parameters whose Series is the new series' number.
  // A series the host refuses (no document or name, a name the document
  // already has, an unknown period indicator, numbers out of order) raises
  // HostError with the reason as last error; nothing is written then.
  std::shared_ptr<ServiceObject> AddSeries(const std::shared_ptr<ServiceObject>& series);
  // Stores a series got by GetSeries: 0, or a kErr* code with the last error.
  int UpdateSeries(const std::shared_ptr<ServiceObject>& series);

  // The series object's properties in XML order.
  static const std::vector<ServiceProperty>& SeriesProperties();

  std::string typeName() const override { return "SeriesService"; }

 private:
  // 0 when the series' values can be stored under `number` (-1: a new series).
  int check(const ServiceObject& series, int number, std::string& error);

  std::shared_ptr<Company> company_;
};

}  // namespace dpx::host
