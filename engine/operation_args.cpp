// Operation arguments: one table block of a category between reading and writing.
#include "engine/operation_args.h"

#include "engine/di_interface.h"
#include "engine/dom_parser.h"

int32_t DPX_OperationArgs::set(const std::string& key, const std::string& table, int32_t rows, int32_t objectType) {
  categoryKey = key;
  tableName = table;
  severalRows = rows;
  hostObjectType = objectType;
  setFlag = 1;
  return 1;
}

int32_t DPX_OperationArgs::setWithValues(const std::string& key, const std::string& table,
                                         DPX_ConnectionContext* ctx, int32_t rows, int32_t objectType) {
  set(key, table, rows, objectType);
  context = ctx;
  return 1;
}

int32_t DPX_DIInterface::replaceElement(DPX_DOMParser& parser, int32_t add, const std::string& elementName,
                                        const std::string& elementText) {
  // Without an element to take out, nothing is put in its place either: the
  // new element would land under the wrong parent.
  if (!parser.removeCurrent()) return 0;
  if (add != 0 && !parser.addElement(elementName, elementText, "", "", false)) return 0;
  return 1;
}
