// Typing component codes: the codes of a dimension in tree order, and the completion that the
// desktop's code fields offer from them (found ignoring case).
#pragma once

#include <QStringList>

class QLineEdit;

namespace jov {

class Database;

QStringList ComponentCodes(const Database& database, int dimension);
// Lets `field` complete the codes in `codes`.
void CompleteCodes(QLineEdit* field, const QStringList& codes);

}  // namespace jov
