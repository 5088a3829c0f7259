// For tests of XML readers: an error channel that keeps the composed text of every report.
#pragma once

#include <string>
#include <vector>

#include "files/xml_reader.h"

namespace jov::testing {

class CollectingChannel : public XmlErrorChannel {
 public:
  void Report(AlertRecord& alert) override { reports.push_back(alert.ComposeText()); }
  std::vector<std::string> reports;
};

}  // namespace jov::testing
