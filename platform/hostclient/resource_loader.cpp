#include "platform/hostclient/resource_loader.h"

#include <fstream>
#include <iterator>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"

namespace dpx::hostclient {

namespace {
constexpr size_t kMaxResourceBytes = 1 << 20;
constexpr int kMaxDepth = 32;
}  // namespace

HRESULT ResourceLoader::GetResourceFileContents(int, uint32_t id, std::string& contents) const {
  DPX_LogScope log("ResourceLoader::GetResourceFileContents");
  contents.clear();
  const auto folder = folder_.empty() ? ProgramFolder() : folder_;
  const auto path = folder / "menus" / (std::to_string(id) + ".xml");
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    log.LogError("Resource %u not found: %s", id, path.string());
    return E_FAIL;
  }
  contents.assign(std::istreambuf_iterator<char>(in), {});
  if (contents.size() > kMaxResourceBytes) {
    log.LogError("Resource %u is larger than %u bytes", id, static_cast<unsigned>(kMaxResourceBytes));
    contents.clear();
    return E_FAIL;
  }
  return S_OK;
}

HRESULT ResourceLoader::LoadXML(int, const std::string& contents, std::string& document, const XmlMap& table,
                                int language) const {
  DPX_LogScope log("ResourceLoader::LoadXML");
  document.clear();
  if (contents.size() > kMaxResourceBytes) return E_FAIL;
  AddOnUtil::RegisterMenuKeys(table);
  QXmlStreamReader reader(QByteArray::fromStdString(contents));
  QString text;
  QXmlStreamWriter writer(&text);
  int depth = 0;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::DTD:
        log.LogError("A menu batch may not carry a DOCTYPE");
        return E_FAIL;
      case QXmlStreamReader::StartElement: {
        if (++depth > kMaxDepth) {
          log.LogError("A menu batch is nested deeper than %d", kMaxDepth);
          return E_FAIL;
        }
        writer.writeStartElement(reader.name().toString());
        for (const auto& attribute : reader.attributes()) {
          QString value = attribute.value().toString();
          for (const auto& row : table) {
            if (value == QString::fromStdString(row.key)) {
              value = QString::fromStdString(StringTable::Load(row.stringId, language));
              break;
            }
          }
          writer.writeAttribute(attribute.name().toString(), value);
        }
        break;
      }
      case QXmlStreamReader::EndElement:
        --depth;
        writer.writeEndElement();
        break;
      default:
        break;  // white space, comments and the declaration are not part of a batch
    }
  }
  if (reader.hasError()) {
    log.LogError("A menu batch is not well-formed: %s (line %d)", reader.errorString().toStdString(),
                 static_cast<int>(reader.lineNumber()));
    return E_FAIL;
  }
  document = text.toStdString();
  return S_OK;
}

}  // namespace dpx::hostclient
