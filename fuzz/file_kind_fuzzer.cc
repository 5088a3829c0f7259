// The kind test on any first bytes. What must hold: only the first 511 bytes decide the kind,
// and no kind that is read has a message that refuses it.
#include "files/file_kind.h"
#include "fuzz_target.h"

JOV_FUZZ_TARGET(file_kind) {
  const std::string_view bytes = jov::fuzz::AsText(data, size);
  const jov::FileSniff sniff = jov::SniffFileKind(bytes);
  const jov::FileSniff head = jov::SniffFileKind(bytes.substr(0, jov::kSniffBytes));
  JOV_FUZZ_CHECK(sniff.kind == head.kind && sniff.format_date == head.format_date &&
                 sniff.later_version == head.later_version &&
                 sniff.database_value == head.database_value && sniff.password == head.password);
  const bool read = sniff.kind == jov::FileKind::kBinary || sniff.kind == jov::FileKind::kBinaryB ||
                    sniff.kind == jov::FileKind::kText;
  JOV_FUZZ_CHECK(!read || jov::RefusalMessage(sniff.kind) == jov::kNoMessage);
  jov::LooksLikeDatabaseFile(bytes);
}
