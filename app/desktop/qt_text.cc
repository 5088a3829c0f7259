#include "qt_text.h"

#include <QFile>

#include "platform/text_encoding.h"

namespace jov {

QString FromEngine(std::string_view cp1252) {
  const std::string utf8 = Utf8FromCp1252(cp1252);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToEngine(const QString& text) { return Cp1252FromUtf8(text.toStdString()); }

QString Text(MessageId id) { return FromEngine(MessageText(id)); }

QString Text(const AlertRecord& alert) { return FromEngine(alert.ComposeText()); }

QString Text(MessageId id, std::string_view argument) {
  AlertRecord text(id);
  return Text(text.Arg(argument));
}

QString Text(MessageId id, std::string_view argument0, std::string_view argument1) {
  AlertRecord text(id);
  return Text(text.Arg(argument0).Arg(argument1));
}

std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromPath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace jov
