#include "code_completer.h"

#include <QCompleter>
#include <QLineEdit>

#include "model/database.h"
#include "qt_text.h"

namespace jov {

QStringList ComponentCodes(const Database& database, int dimension) {
  QStringList codes;
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  for (ComponentRef ref = database.NextInPreorder(root); ref != root;
       ref = database.NextInPreorder(ref)) {
    codes << FromEngine(database.component(ref).code);
  }
  return codes;
}

void CompleteCodes(QLineEdit* field, const QStringList& codes) {
  auto* completer = new QCompleter(codes, field);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  field->setCompleter(completer);
}

}  // namespace jov
