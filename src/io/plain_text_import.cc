#include "io/plain_text_import.h"

#include "files/section_registry.h"
#include "io/text_import.h"
#include "shell/alert.h"
#include "shell/process.h"

namespace jov {
namespace {

struct CurrentSetupSlot : ProcessSlot {
  const ImportSetup* setup = nullptr;
};

CurrentSetupSlot& Current() { return Process().Slot<CurrentSetupSlot>(); }

}  // namespace

const ImportSetup* CurrentImportSetup() { return Current().setup; }

ScopedImportSetup::ScopedImportSetup(const ImportSetup* setup) : outer_(Current().setup) {
  Current().setup = setup;
}

ScopedImportSetup::~ScopedImportSetup() { Current().setup = outer_; }

const ImportSetup* ImportSetupFor(Database& database) {
  if (const ImportSetup* current = CurrentImportSetup()) return current;
  std::vector<ImportSetup>& own = ImportSetups::Of(database).named();
  return own.size() == 1 ? &own.front() : nullptr;
}

bool ReadPlainTextFile(Database& database, const std::string& path) {
  const ImportSetup* setup = ImportSetupFor(database);
  if (setup == nullptr) {
    AlertRecord alert(msg::kNeedsImportSetup, 1);
    alert.Arg(path).Button(msg::kButtonOk);
    ReportAlert(alert);
    return false;
  }
  return ImportTextFile(database, path, *setup).outcome == ImportOutcome::kDone;
}

void RegisterPlainTextImport(SectionRegistry& registry) {
  registry.SetPlainTextReader(ReadPlainTextFile);
}

}  // namespace jov
