// The desktop's side of the engine's texts: message items and engine texts (Windows-1252) as
// QStrings, and QStrings back as engine texts. File paths stay in the bytes of the file system.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "shell/alert.h"

namespace jov {

QString FromEngine(std::string_view cp1252);
std::string ToEngine(const QString& text);
// The message's text; a "&" mnemonic is kept for menus and buttons.
QString Text(MessageId id);
// The composed text of an alert.
QString Text(const AlertRecord& alert);
// A message with one or two arguments.
QString Text(MessageId id, std::string_view argument);
QString Text(MessageId id, std::string_view argument0, std::string_view argument1);

// Paths: the engine keeps them as the file system's bytes (UTF-8 here).
std::string ToPath(const QString& path);
QString FromPath(std::string_view path);

}  // namespace jov
