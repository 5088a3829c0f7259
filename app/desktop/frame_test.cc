// The frame on the offscreen platform: opening, questions, saving, closing and dropping files.
#include "frame.h"

#include <sys/wait.h>

#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "desktop_test_util.h"
#include "files/analysis_template.h"
#include "files/password.h"
#include "info_window.h"
#include "model/database_info.h"
#include "platform/file_io.h"
#include "qt_text.h"

namespace jov {
namespace {

int JovCheck(const std::string& path) {
  const std::string command = std::string(JOV_BINARY) + " check '" + path + "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FrameTest : public DesktopTest {
 protected:
  // The demo company saved as a binary file with a password.
  std::string ProtectedDemo() {
    Database* db = frame_->OpenFile(Demo());
    EXPECT_NE(db, nullptr);
    db->Attached<DatabasePassword>().password.SetPassword("Secret");
    SaveSetup setup;
    const std::string path = Path("protected.jov");
    EXPECT_TRUE(frame_->SaveAs(*db, path, DatabaseFormat::kBinary, setup));
    EXPECT_TRUE(frame_->CloseDatabase(*db));
    return path;
  }
};

TEST_F(FrameTest, TheDemoCompanyOpensWithItsBaseAndInformationWindows) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  ASSERT_EQ(frame_->Windows(db).size(), 1u);
  EXPECT_EQ(frame_->Windows(db)[0]->kind(), DatabaseWindow::Kind::kBase);
  EXPECT_EQ(frame_->ActiveWindow(), frame_->Windows(db)[0]);
  InfoWindow* info = frame_->ShowInfo(*db);
  const DatabaseInfo counted = CountDatabaseInfo(*db, *FileSize(ToPath(Demo())));
  const char separator = ThousandSeparator();
  EXPECT_EQ(ToEngine(info->Value("Cards")), InfoNumberText(counted.cards, separator));
  EXPECT_EQ(ToEngine(info->Value("Lines")), InfoNumberText(counted.lines, separator));
  EXPECT_GT(counted.lines, 1000);
  const int64_t templates = AnalysisTemplates::Of(*db).AnalysisCount();
  EXPECT_GT(templates, 0);
  EXPECT_EQ(ToEngine(info->Value("Analysis Templates")), InfoNumberText(templates, separator));
  EXPECT_EQ(frame_->ShowInfo(*db), info) << "one information window per database";
  // The information window follows the database: a new card is counted at once.
  const CardRef card = db->cards().CreateCard({PackDay(2024, 12, 31), 0});
  db->cards().CreateLine(db->cards().FindOrAddGroup(card, db->FindByCode(0, "N")));
  db->cards().FinishCard(card);
  db->FlushChangeFlags();
  Settle();
  EXPECT_EQ(ToEngine(info->Value("Cards")), InfoNumberText(counted.cards + 1, separator));
  frame_->area()->tileSubWindows();
  Screenshot(frame_.get(), "frame.png");
  Screenshot(info, "info.png");
  EXPECT_TRUE(sink_.alerts.empty());
}

TEST_F(FrameTest, PasswordsAndFailedReadsLeaveNoWindowBehind) {
  const std::string path = ProtectedDemo();
  sink_.alerts.clear();
  // A wrong password opens nothing; a cancelled prompt says nothing either.
  prompt_.answers = {std::string("wrong"), std::nullopt};
  EXPECT_EQ(frame_->OpenFile(QString::fromStdString(path)), nullptr);
  EXPECT_EQ(sink_.Messages(), std::vector<MessageId>{msg::kIncorrectPassword});
  EXPECT_EQ(prompt_.titles.back(), "Protection for \"protected.jov\"");
  EXPECT_EQ(frame_->OpenFile(QString::fromStdString(path)), nullptr);
  EXPECT_EQ(sink_.alerts.size(), 1u);
  // Letters in another case are the same password.
  prompt_.answers = {std::string("sECRET")};
  EXPECT_NE(frame_->OpenFile(QString::fromStdString(path)), nullptr);
  ASSERT_TRUE(frame_->CloseDatabase(*frame_->databases().all().front()));

  // A file cut short is damaged: reported, and no database or window stays.
  const std::string bytes = *ReadWholeFile(path);
  const std::string cut = Path("cut.jov");
  ASSERT_TRUE(WriteFileAtomically(cut, bytes.substr(0, bytes.size() / 2)));
  prompt_.answers = {std::string("secret")};
  sink_.alerts.clear();
  EXPECT_EQ(frame_->OpenFile(QString::fromStdString(cut)), nullptr);
  // The errors of the part that could be read may follow.
  ASSERT_FALSE(sink_.alerts.empty());
  EXPECT_EQ(sink_.alerts.front().message, msg::kCorrupted);
  EXPECT_TRUE(frame_->databases().all().empty());
  EXPECT_TRUE(frame_->Windows().empty());
}

TEST_F(FrameTest, ClosingAModifiedDatabaseAsksAndCancelKeepsIt) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  frame_->ShowInfo(*db);
  db->MarkModified();
  // Closing one of two windows closes only that window.
  QMdiSubWindow* info = frame_->area()->activeSubWindow();
  info->close();
  Settle();
  EXPECT_EQ(frame_->Windows(db).size(), 1u);
  EXPECT_TRUE(sink_.alerts.empty());
  // The close box of the last window asks; Cancel keeps database and window.
  sink_.answers = {2};
  frame_->area()->subWindowList().front()->close();
  Settle();
  EXPECT_EQ(sink_.Messages(), std::vector<MessageId>{msg::kSaveChanges});
  ASSERT_EQ(frame_->databases().all().size(), 1u);
  EXPECT_EQ(frame_->Windows(db).size(), 1u);
  // Don't Save closes it.
  sink_.answers = {1};
  EXPECT_TRUE(frame_->CloseDatabase(*db));
  EXPECT_TRUE(frame_->databases().all().empty());
  EXPECT_TRUE(frame_->Windows().empty());
}

TEST_F(FrameTest, SaveAsWritesFilesThatJovChecksAndAdoptsThem) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  for (const auto& [name, format] : {std::pair{"saved.jov", DatabaseFormat::kBinary},
                                     std::pair{"saved.jox", DatabaseFormat::kText}}) {
    const std::string path = Path(name);
    db->MarkModified();
    ASSERT_TRUE(frame_->SaveAs(*db, path, format, db->Attached<SaveSetups>().in_effect()));
    EXPECT_EQ(db->file_name(), path);
    EXPECT_FALSE(db->modified());
    EXPECT_EQ(JovCheck(path), 0) << name;
    EXPECT_EQ(frame_->Windows(db)[0]->windowTitle().toStdString(), name);
  }
  EXPECT_EQ(ReadWholeFile(Path("saved.jox")), ReadWholeFile(ToPath(Demo())));
  // Save writes the database's own file again.
  db->MarkModified();
  EXPECT_TRUE(frame_->Save(*db));
  EXPECT_FALSE(db->modified());
  EXPECT_TRUE(sink_.alerts.empty());
}

TEST_F(FrameTest, TheAlreadyOpenQuestionKeepsOrCopies) {
  Database* demo = frame_->OpenFile(Demo());
  Database& other = frame_->NewDatabase();
  ASSERT_EQ(frame_->ActiveWindow()->database().file_name(), other.file_name());
  // Cancel: the open database comes forward and nothing new opens.
  sink_.answers = {1};
  EXPECT_EQ(frame_->OpenFile(Demo()), demo);
  EXPECT_EQ(sink_.Messages(), std::vector<MessageId>{msg::kAlreadyOpen});
  EXPECT_EQ(&frame_->ActiveWindow()->database(), demo);
  EXPECT_EQ(frame_->databases().all().size(), 2u);
  // Open: a copy with windows of its own.
  sink_.answers = {0};
  Database* copy = frame_->OpenFile(Demo());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, demo);
  EXPECT_EQ(frame_->Windows(copy).size(), 1u);
}

TEST_F(FrameTest, DroppedFilesOpenAndChangesOnDiskAreAskedOnce) {
  const std::string path = Path("dropped.jov");
  ASSERT_EQ(std::system((std::string(JOV_BINARY) + " demo " + path).c_str()), 0);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame_.get(), &drop);
  ASSERT_EQ(frame_->databases().all().size(), 1u) << sink_.alerts.size();
  Database& db = *frame_->databases().all().front();
  EXPECT_EQ(db.file_name(), path);

  // Another program rewrites the file: the next activation asks, once per window.
  frame_->ShowInfo(db);
  std::filesystem::last_write_time(
      path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
  sink_.answers = {0};  // OK
  frame_->area()->activatePreviousSubWindow();
  Settle();
  frame_->area()->activateNextSubWindow();
  Settle();
  frame_->area()->activatePreviousSubWindow();
  Settle();
  const std::vector<MessageId> asked = sink_.Messages();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), msg::kModifiedOnDisk), 2)
      << "each of the two windows asks once";
  // "Open Modified" reads the file again into fresh windows.
  Process().preferences.check_files = true;
  DatabaseWindow* base = frame_->Windows(&db).front();
  base->disk_change_asked = false;
  sink_.answers = {2};
  frame_->area()->setActiveSubWindow(nullptr);
  frame_->area()->setActiveSubWindow(frame_->area()->subWindowList(QMdiArea::CreationOrder)[0]);
  Settle();
  ASSERT_EQ(frame_->databases().all().size(), 1u);
  EXPECT_EQ(frame_->Windows().size(), 1u);
  EXPECT_FALSE(ModifiedOnDisk(*frame_->databases().all().front()));
}

}  // namespace
}  // namespace jov
