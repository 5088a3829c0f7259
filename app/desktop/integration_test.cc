// The desktop integration files: the shared-mime-info definition must recognise exactly what the
// program's own sniffing calls a binary or a text database, and the desktop entry must hand
// those types to the program.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>
#include <map>

#include "files/file_kind.h"

namespace jov {
namespace {

const QString kFolder = QStringLiteral(QT_TESTCASE_SOURCEDIR "/integration/");

// The "\xNN" escapes of shared-mime-info string values.
std::string Unescape(const QString& value) {
  const std::string text = value.toStdString();
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      bytes.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

TEST(IntegrationTest, TheMimeMagicMatchesTheProgramsOwnFileKinds) {
  QFile file(kFolder + "jov-desktop.xml");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::map<std::string, std::vector<std::string>> magic;  // type -> magic strings
  std::string type;
  while (!xml.atEnd()) {
    if (!xml.readNext() || !xml.isStartElement()) continue;
    if (xml.name() == u"mime-type") type = xml.attributes().value("type").toString().toStdString();
    if (xml.name() == u"match") {
      magic[type].push_back(Unescape(xml.attributes().value("value").toString()));
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_EQ(magic["application/x-jov"].size(), 2u);
  // A header with this system's format date after each magic: a binary database of ours.
  for (const std::string& start : magic["application/x-jov"]) {
    // Format date at offset 5, no password ("o"), kind letter "U" at offset 13, compressed.
    const std::string header = start + "001219" + "o6UZ" + std::string(40, ' ');
    EXPECT_EQ(SniffFileKind(header).kind, FileKind::kBinary) << header;
  }
  ASSERT_EQ(magic["application/x-jov-text"].size(), 1u);
  EXPECT_EQ(SniffFileKind(magic["application/x-jov-text"][0] + "\t001219\r\n").kind,
            FileKind::kText);

  QFile entry(kFolder + "jov-desktop.desktop");
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(entry.readAll());
  EXPECT_TRUE(text.contains("MimeType=application/x-jov;application/x-jov-text;"));
  EXPECT_TRUE(text.contains("Exec=jov-desktop %F"));
}

}  // namespace
}  // namespace jov
