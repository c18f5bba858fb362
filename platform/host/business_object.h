// The generic business object: one class serves every object type of the
// registry. It holds one record (header values by property, and the rows of
// each line table) that GetByKey loads, ReadXml fills and Add / Update /
// Remove write. Refusals give a non-zero result and set the company's last
// error; failures (no connection, a broken call) raise HostError.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/object_registry.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

class Company;
class BusinessObjectBrowser;

// Values of one row, by property name.
using PropertyValues = std::map<std::string, Variant>;

class BusinessObject : public HostObject {
 public:
  BusinessObject(std::shared_ptr<Company> company, const ObjectTypeDef& type);

  int ObjectType() const { return type_->type; }
  const ObjectTypeDef& definition() const { return *type_; }
  std::shared_ptr<Company> company() const { return company_; }

  // Loads the record with these key values (in key order). True when found;
  // false leaves the object empty. Raises HostError when the call fails
  // (wrong number of keys, no connection, a server error).
  bool GetByKey(const std::vector<Variant>& keys);
  // The record as XML: declaration naming UTF-16 (the host's XML is UTF-16;
  // inside the program it is UTF-8 like every text), root BOM, then
  // <BO><AdmInfo><Object>type</Object></AdmInfo>, the header element with one
  // row, and each line element with its rows. Elements are named by property;
  // an empty value is written <Name nil="true"/>. Write-only properties are
  // left out.
  std::string GetAsXML() const;
  // Fills the object from record XML of its type (index 0: the first BO).
  // Properties named in the XML replace the object's values; after GetByKey
  // the key properties keep the fetched record's values. Unknown elements
  // raise HostError(kHrInvalidXml), as does XML that cannot be read.
  void ReadXml(const std::string& xml, int index);
  // The same from a document already parsed (the company reads the object
  // type from it first, so the record is parsed once).
  void ReadDocument(const XmlNode& doc, int index);

  // Writes. 0 on success, else a kErr* code with the last error set.
  int Add();
  int Update();   // the record GetByKey fetched
  int Remove();   // the record GetByKey fetched

  // The "Browser" member: null when the type has none (or the company
  // object turned it off).
  std::shared_ptr<BusinessObjectBrowser> Browser();
  bool hasBrowser() const;

  // Header properties.
  HRESULT GetProperty(const std::string& property, Variant& out) const;
  HRESULT SetProperty(const std::string& property, const Variant& value);
  // Lines of a line element ("SalesTaxCodes_Lines").
  int LineCount(const std::string& element) const;
  int AddLine(const std::string& element);   // index of the new empty line, which becomes current
  // The current line of a line element, for its collection object.
  int CurrentLine(const std::string& element) const;
  void SetCurrentLine(const std::string& element, int line);
  HRESULT GetLineProperty(const std::string& element, int line, const std::string& property, Variant& out) const;
  HRESULT SetLineProperty(const std::string& element, int line, const std::string& property, const Variant& value);

  const PropertyValues& header() const { return header_; }
  // A read-only value the host keeps elsewhere (a flag of another record),
  // set by the host when it hands the object out.
  void SetHostValue(const std::string& property, const Variant& value) { header_[property] = value; }
  bool positioned() const { return positioned_; }

  // By name: GetByKey(k1..kn) -> bool, GetAsXML() -> text, Add/Update/Remove
  // -> int result, ReadXml(xml, index); every header property by get/put;
  // the object member "Browser" when the type has one, and one collection
  // object per line element (LineCollection).
  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT put(const std::string& name, const Variant& value) override;
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  HRESULT getObject(const std::string& name, std::shared_ptr<HostObject>& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override;

 private:
  friend class BusinessObjectWriter;
  std::shared_ptr<Company> company_;
  const ObjectTypeDef* type_;
  PropertyValues header_;
  std::map<std::string, std::vector<PropertyValues>> lines_;   // by line element
  std::vector<Variant> fetchedKey_;                            // key of the fetched record
  std::map<std::string, int> currentLine_;                     // by line element
  bool positioned_ = false;
  std::shared_ptr<BusinessObjectBrowser> browser_;
};

// The "Browser" of a business object: reads record XML into its object.
class BusinessObjectBrowser : public HostObject {
 public:
  explicit BusinessObjectBrowser(std::weak_ptr<BusinessObject> owner) : owner_(std::move(owner)) {}
  // Raises HostError when the object is gone.
  void ReadXml(const std::string& xml, int index);

  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return "Browser"; }

 private:
  std::weak_ptr<BusinessObject> owner_;
};

}  // namespace dpx::host
