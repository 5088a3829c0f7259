// Dimension import setups and the rows they read: the input is a "##DimImport" body, and the
// same bytes are then read as a file of rows with it. What must hold: a body that is written
// reads back as the same setup, and the components written keep the tree's rule (each code
// begins with its parent's) with no JOV-Code or host code twice.
#include <set>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/dim_import.h"
#include "io/dim_import_section.h"
#include "model/case_tables.h"

namespace jov {
namespace {

std::string Written(const DimImport& setup) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  WriteDimImportBody(sink, setup);
  sink.Finish();
  return bytes.text();
}

void CheckTree(const Database& database, int dimension) {
  std::set<std::string> codes, hosts;
  const ComponentRef root = database.dimension(dimension).root();
  for (ComponentRef ref = database.NextInPreorder(root); ref != root;
       ref = database.NextInPreorder(ref)) {
    const Component& component = database.component(ref);
    if (!IsRoot(component.parent)) {
      JOV_FUZZ_CHECK(component.code.starts_with(database.component(component.parent).code));
    }
    std::string code = component.code, host = component.host;
    ApplyCaseOption(CaseOption::kUpper, code);
    ApplyCaseOption(CaseOption::kUpper, host);
    JOV_FUZZ_CHECK(codes.insert(code).second);
    JOV_FUZZ_CHECK(host.empty() || hosts.insert(host).second);
  }
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(dim_import) {
  jov::fuzz::QuietRun run;
  const std::string_view text = jov::fuzz::AsText(data, size);
  const jov::DimImport setup = jov::ReadDimImportFile(text).value_or(jov::DefaultDimImport());
  const std::string body = jov::Written(setup);
  jov::DimImport again;
  jov::ReadDimImportBody(jov::fuzz::BodyLines(body), again);
  JOV_FUZZ_CHECK(jov::Written(again) == body);

  jov::Database database;
  database.AddComponent(1, "1", "One", "100");
  jov::MemoryImportInput input(text);
  jov::DimensionEdit edit(database, 1);
  jov::ImportDimensionRows(edit, input, setup);
  edit.Apply();
  jov::CheckTree(database, 1);
}
