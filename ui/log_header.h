// The facts of one copy run from a copy log's first line and its end line:
// when it started and ended, base and target, the copy method, the response
// if a copy fails and the user-defined-field switch.
#pragma once

#include <string>

struct DPX_LogHeader {
  std::string date;
  std::string startTime;
  std::string endTime;
  std::string base;
  std::string target;
  int copyMethod = 0;  // a string id
  int response = 0;    // a string id
  bool failRecordsForMissingFields = false;
};
