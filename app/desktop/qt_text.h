// The desktop's side of the engine's texts: message items and engine texts (Windows-1252) as
// QStrings, and QStrings back as engine texts. File paths stay in the bytes of the file system.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "shell/alert.h"

namespace jov {

// Desktop items of the message tables (table 8600).
namespace desk {
constexpr MessageId kRecentFiles = 8600, kInsertRow = 8601, kDeleteRow = 8602, kApply = 8603,
                    kPaste = 8604, kVersion = 8605, kFormatDate = 8606, kBrowse = 8607,
                    kFileName = 8608, kMacOs7 = 8609, kMacOs8 = 8610, kWindows31 = 8611,
                    kWindows95 = 8612, kLook = 8613, kCount = 8614, kWindowTitle = 8615,
                    kJovFiles = 8616, kFont = 8617;
}  // namespace desk

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
