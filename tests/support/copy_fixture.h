// Test fixture for copies between two simulated companies: a server with a
// base and a target company of one server type (without demo rows, so each
// test writes the rows it shows), a connection context on them and an open
// copy log whose record lines the test reads back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "tests/support/demo_server.h"

namespace dpx::test {

class CopyFixture {
 public:
  explicit CopyFixture(int serverType);
  ~CopyFixture();

  // Runs SQLite SQL directly in a company's database (fixture set-up).
  static void Exec(dpx::host::Company& company, const std::string& sql);
  // Rows of a SQLite query as texts ("" for NULL), for assertions.
  static std::vector<std::vector<std::string>> Rows(dpx::host::Company& company, const std::string& sql);
  // One column of a query, joined by "," ("5:B,6:C" style values are built by the query).
  static std::string Column(dpx::host::Company& company, const std::string& sql);

  // The record lines written so far, without header and line ends.
  std::vector<std::string> logLines();

  int serverType() const { return server_.serverType(); }

  DemoServerFixture server_;
  std::shared_ptr<dpx::host::Company> base;
  std::shared_ptr<dpx::host::Company> target;
  DPX_ConnectionContext context;
  std::unique_ptr<DPX_CopyLog> log;
  TestDir logDir;
};

// The server types every end-to-end case runs with: the quoting type 5 and the default dialect.
inline const std::vector<int> kServerTypes = {5, 6};

}  // namespace dpx::test
