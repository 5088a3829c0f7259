#include "files/section_writer.h"

#include "shell/progress.h"

namespace jov {
namespace {

bool Saves(const SectionHandler& handler, const SaveSetup& setup) {
  return handler.condition == SaveCondition::kAlways || setup.Saves(handler.flag);
}

void WriteStream(SectionOutput& output) {
  for (const SectionHandler& handler : output.registry().handlers()) {
    if (!handler.write || !Saves(handler, output.setup())) continue;
    const MessageId progress_text = SectionProgressText(handler.name);
    if (progress_text != kNoMessage) ReportProgressSection(progress_text);
    handler.write(output);
  }
  output.SectionLine(text_format::kEnd);
}

}  // namespace

bool WriteSections(const Database& database, ByteSink& bytes, const SaveSetup& setup,
                   const SectionRegistry& registry, const WriteOptions& options) {
  LineSink sink(bytes, options.line_end);
  SectionOutput output(database, sink, setup, registry, options);
  WriteStream(output);
  return sink.Finish();
}

bool WriteTextDatabase(const Database& database, ByteSink& bytes, const SaveSetup& setup,
                       const SectionRegistry& registry, const WriteOptions& options) {
  LineSink sink(bytes, options.line_end);
  sink.Add(text_format::kTextFileMagic).Tab().Add(text_format::kFormatDate);
  sink.EndLine();
  SectionOutput output(database, sink, setup, registry, options);
  WriteStream(output);
  return sink.Finish();
}

}  // namespace jov
