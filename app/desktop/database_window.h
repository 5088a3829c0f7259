// A window over one database, inside the frame's window area. It listens to the database's
// change codes and refreshes itself once the batch of changes that is running has ended (so an
// import that sends thousands of codes refreshes it once).
#pragma once

#include <QWidget>
#include <functional>

#include "model/database.h"

namespace jov {

// The database's file name without its folder, or its untitled name.
QString DatabaseName(const Database& database);

class DatabaseWindow : public QWidget, public DatabaseListener {
  Q_OBJECT
 public:
  enum class Kind {
    kBase,
    kInfo,
    kTimeScale,
    kTable,
    kImportSetup,
    kDimImport,
    kMacro,
    kSubset,
    kDimension,
    kAnalysis,
    kCard
  };

  DatabaseWindow(Database& database, Kind kind, QWidget* parent = nullptr);
  ~DatabaseWindow() override;

  Database& database() const { return database_; }
  Kind kind() const { return kind_; }
  // The window's title: the database's name, and what the window shows.
  virtual QString Title() const = 0;
  // Rebuilds what the window shows (after changes, after a save, in a new language).
  virtual void Refresh() = 0;
  // Asks to keep or drop unapplied edits before the window closes; false keeps it open.
  virtual bool MayClose() { return true; }

  // The modified-on-disk question is asked at most once per window.
  bool disk_change_asked = false;

  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;

 Q_SIGNALS:
  void TitleChanged();

 protected:
  // For MayClose of a window with unapplied edits: asks whether to apply them. Save applies
  // them (the window may close when `apply` succeeds), Don't Save drops them, Cancel keeps the
  // window open.
  bool AskToApply(const std::function<bool()>& apply) const;
  // "<database>: <what>".
  QString TitleOf(MessageId what) const;
  QString TitleOf(const QString& what) const;

 private:
  Database& database_;
  Kind kind_;
  bool refresh_pending_ = false;
};

}  // namespace jov
