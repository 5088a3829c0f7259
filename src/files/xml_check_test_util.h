// For tests of the XML that the program writes: asks a real XML parser (libxml2's xmllint,
// installed by scripts/setup.sh) whether a document is well-formed. Tests skip when the parser
// is missing.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace jov::testing {

inline bool XmlParserInstalled() { return std::system("xmllint --version >/dev/null 2>&1") == 0; }

// Whether xmllint reads `document` without an error; its complaints go to the test's output.
inline bool WellFormedXml(std::string_view document) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("jov_xml_" + std::to_string(::getpid()) + ".xml");
  std::ofstream(file, std::ios::binary)
      .write(document.data(), static_cast<std::streamsize>(document.size()));
  const int status = std::system(("xmllint --noout '" + file.string() + "'").c_str());
  std::filesystem::remove(file);
  return status == 0;
}

}  // namespace jov::testing

// Skips the test when xmllint is not installed.
#define JOV_REQUIRE_XML_PARSER() \
  if (!::jov::testing::XmlParserInstalled()) GTEST_SKIP() << "xmllint missing"
