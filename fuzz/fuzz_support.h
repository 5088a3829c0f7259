// What several harnesses share: a clean process state per input with the alerts collected
// quietly, a written body split into its lines, an XML reader's reports counted, the database of the selection harnesses, the
// compile-twice check of typed texts, the section registry of a whole database, and the section
// text of a database.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/section_kinds.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "files/xml_reader.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/subset_list.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov::fuzz {

// For one input: the process state as at start (no stop requested, no pending error), and the
// alerts of the input collected instead of shown. Questions are answered with `answer`, by
// default their second button ("Continue" for a file of a later version), so that as much as
// possible is read.
class QuietRun {
 public:
  explicit QuietRun(int answer = 1) : sink_(answer), scoped_((ResetProcess(), &sink_)) {}
  ~QuietRun() { ResetProcess(); }
  QuietRun(const QuietRun&) = delete;
  QuietRun& operator=(const QuietRun&) = delete;

 private:
  RecordingSink sink_;
  ScopedSink scoped_;
};

// The lines of a body written with "\n" line ends, read as they are: a written body is read
// back without a guess at its character set, which a file's bytes would need.
inline std::vector<std::string_view> BodyLines(std::string_view body) {
  std::vector<std::string_view> lines;
  while (!body.empty()) {
    const size_t end = body.find('\n');
    lines.push_back(body.substr(0, end));
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
  }
  return lines;
}

// Counts what an XML reader reports instead of showing it.
class CountingChannel : public XmlErrorChannel {
 public:
  void Report(AlertRecord&) override { ++reports; }
  int reports = 0;
};

inline const SectionRegistry& Registry() {
  static const SectionRegistry registry = FullSectionRegistry();
  return registry;
}

// The database the selection harnesses read against: two value fields; dimension 1: 1 (10,
// 11), 2; dimension 2: A, B; a subset "G1".
inline Database& SelectionDatabase() {
  static Database* const database = [] {
    auto* db = new Database;
    for (const char* code : {"1", "10", "11", "2"}) db->AddComponent(0, code, "", "");
    for (const char* code : {"A", "B"}) db->AddComponent(1, code, "", "");
    db->SetValueFieldCount(2);
    db->FlushChangeFlags();
    SubsetList::Of(*db).Create("G1");
    return db;
  }();
  return *database;
}

// A typed text compiled by `compile` (which corrects it in place), then compiled again from its
// corrected form; checks that the corrected form compiles to itself. Both results, the second
// only when the first compiled.
template <typename Compile>
auto CompileTwice(std::string& text, Compile compile) {
  auto first = compile(text);
  decltype(first) again;
  if (!first) return std::pair(std::move(first), std::move(again));
  std::string again_text = text;
  again = compile(again_text);
  JOV_FUZZ_CHECK(again.has_value() && again_text == text);
  return std::pair(std::move(first), std::move(again));
}

// Everything the database holds as a text stream (CR LF line ends).
inline std::string SectionText(Database& database) {
  StringByteSink sink;
  WriteSections(database, sink, SaveSetup(), Registry());
  return sink.text();
}

// Reads a text section stream into a fresh database and writes that database back out.
inline std::string ReadAndWrite(std::string_view text) {
  Database database;
  MemoryByteSource bytes(text);
  LineSource lines(bytes);
  ReadSections(database, lines, Registry());
  return SectionText(database);
}

}  // namespace jov::fuzz
