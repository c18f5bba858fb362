// Two companies, a context and a copy log for copy tests.
#include "tests/support/copy_fixture.h"

#include <fstream>
#include <sstream>

#include "platform/framework/text.h"
#include "platform/host/company_store.h"

namespace dpx::test {

CopyFixture::CopyFixture(int serverType) : server_(serverType, false) {
  base = server_.base();
  target = server_.target();
  context.setCompany(base);  // the company the add-on runs in: field lists and headings
  context.setBaseCompany(base);
  context.setTargetCompany(target);
  log = std::make_unique<DPX_CopyLog>(&context);
  log->openIn(logDir.path().string(), "target", true);
  context.copyLog = log.get();
}

CopyFixture::~CopyFixture() {
  context.copyLog = nullptr;
  log->close();
}

void CopyFixture::Exec(dpx::host::Company& company, const std::string& sql) { company.store().execScript(sql); }

std::vector<std::vector<std::string>> CopyFixture::Rows(dpx::host::Company& company, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : company.store().query(sql).rows) {
    std::vector<std::string> texts;
    for (const auto& value : row) texts.push_back(value.toText());
    rows.push_back(std::move(texts));
  }
  return rows;
}

std::string CopyFixture::Column(dpx::host::Company& company, const std::string& sql) {
  std::string out;
  for (const auto& row : Rows(company, sql)) out += (out.empty() ? "" : ",") + (row.empty() ? "" : row[0]);
  return out;
}

std::vector<std::string> CopyFixture::logLines() {
  std::string bytes;
  {
    std::ifstream in(log->path(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
  }
  const std::string text = dpx::Utf16LEBytesToUtf8(bytes);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;  // no header was written: every line is a record line
}

}  // namespace dpx::test
