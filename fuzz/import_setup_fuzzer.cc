// An import setup file: one "##ImportSetup" body, in UTF-8 or Windows-1252. What must hold:
// every number read is within its range, and the body a setup writes reads back into a setup
// that writes the same body.
#include <string>

#include "files/file_kind.h"
#include "files/line_sink.h"
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/import_setup_section.h"

namespace jov {
namespace {

std::string Body(const ImportSetup& setup) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  WriteImportSetupBody(sink, setup);
  sink.Finish();
  return bytes.text();
}

ImportSetup ReadBody(std::string_view body) {
  ImportSetup setup;
  ReadImportSetupBody(fuzz::BodyLines(body), kOwnFormatDate, setup);
  return setup;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

void CheckRanges(const FieldSpec& spec) {
  for (const FieldPart& part : spec.parts) {
    JOV_FUZZ_CHECK(InRange(part.field, 0, 255));
    JOV_FUZZ_CHECK(InRange(part.first, 0, 1023) && InRange(part.last, 0, 1023));
    JOV_FUZZ_CHECK(part.insert == 0 || part.insert >= 32);
  }
}

void CheckRanges(const ImportSetup& setup) {
  JOV_FUZZ_CHECK(InRange(setup.rows_to_skip, 0, ImportSetup::kMaxRowsToSkip));
  JOV_FUZZ_CHECK(InRange(setup.rows_per_card, 1, ImportSetup::kMaxRowsPerRecord));
  JOV_FUZZ_CHECK(InRange(setup.rows_per_line, 1, ImportSetup::kMaxRowsPerRecord));
  JOV_FUZZ_CHECK(!setup.line_definitions.empty());
  for (const FieldSpec* spec :
       {&setup.card_indicator, &setup.line_indicator, &setup.card_switcher, &setup.card_date,
        &setup.card_title, &setup.card_notes, &setup.created, &setup.modified, &setup.examined,
        &setup.approved}) {
    CheckRanges(*spec);
  }
  for (const LineDefinition& definition : setup.line_definitions) {
    for (const FieldSpec& spec : definition.components) CheckRanges(spec);
    for (const FieldSpec& spec : definition.values) CheckRanges(spec);
    CheckRanges(definition.line_text);
    for (const uint8_t width : definition.zero_filling) {
      JOV_FUZZ_CHECK(width == 0 || InRange(width, 2, 8));
    }
  }
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(import_setup) {
  jov::fuzz::QuietRun run;
  const std::optional<jov::ImportSetup> setup =
      jov::ReadImportSetupFile(jov::fuzz::AsText(data, size), "fuzz");
  if (!setup) return;
  jov::CheckRanges(*setup);
  const std::string body = jov::Body(*setup);
  const jov::ImportSetup again = jov::ReadBody(body);
  jov::CheckRanges(again);
  JOV_FUZZ_CHECK(jov::Body(again) == body);
}
