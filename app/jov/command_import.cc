// jov import: reads text files through an import setup (and database files as they are) into a
// database and saves it. A file that cannot be read, or an import that is stopped, saves
// nothing: the database file stays as it was.
#include <charconv>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "io/dim_import.h"
#include "io/dim_import_section.h"
#include "io/import_setup.h"
#include "io/import_setup_section.h"
#include "io/plain_text_import.h"
#include "platform/text_encoding.h"
#include "session.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--setup", "NAME", "the import setup of the database to read the files with"},
    {"--setup-file", "SETUP", "read the files with the import setup in this file"},
    {"--dim", "NAME", "import the files as components of this dimension (name or 1-16)"},
    {"--dim-setup", "SETUP", "read them with the dimension import setup in this file"},
    {"-o", "OUT", "save to OUT instead of DB"},
    kPasswordOption,
    {"--force", "", "save even when reading DB lost data"},
};

// The errors an import reports and goes on after (unknown host codes, values that cannot be
// read) are printed as warnings and answered "Continue", as an error log answers them: they do
// not stop the import nor fail the command. Everything else reaches the console as it is.
class ImportWarningSink : public AlertSink {
 public:
  explicit ImportWarningSink(AlertSink& console) : console_(console) {}
  int Report(AlertRecord& alert) override {
    if (alert.button_count == 0 || alert.buttons[0] != msg::kButtonContinue) {
      return console_.Report(alert);
    }
    std::cerr << Utf8FromCp1252(alert.ComposeText()) << "\n";
    return 0;
  }

 private:
  AlertSink& console_;
};

// The database to import into: DB when it exists, else a new one that is saved as DB.
Database* DatabaseToImportInto(Session& session, const std::string& path,
                               const std::optional<std::string>& password, PasswordPrompt& prompt) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return &session.open().Create();
  return session.Open(path, password, prompt);
}

// The setup that --setup or --setup-file names; nullptr for neither (the database's only setup
// is then used). False when the named one cannot be had (reported).
bool ChosenSetup(const CommandArguments& arguments, Database& db,
                 std::optional<ImportSetup>& from_file, const ImportSetup*& setup) {
  setup = nullptr;
  if (const std::optional<std::string> name = arguments.Value("--setup")) {
    setup = ImportSetups::Of(db).Find(Cp1252FromUtf8(*name));
    if (setup == nullptr) {
      AlertRecord alert(msg::kImportSetupNotFound, 1);
      alert.Arg(Cp1252FromUtf8(*name));
      ReportAlert(alert);
    }
    return setup != nullptr;
  }
  const std::optional<std::string> file = arguments.Value("--setup-file");
  if (!file) return true;
  const std::optional<std::string> bytes = ReadFileBytes(*file, std::nullopt);
  if (!bytes) return false;
  from_file = ReadImportSetupFile(*bytes, std::filesystem::path(*file).stem().string());
  if (!from_file) {
    std::cerr << "jov import: " << *file << " holds no import setup\n";
    return false;
  }
  setup = &*from_file;
  return true;
}

// Reads every file into the database; false at the first that fails or when stopped.
bool ImportFiles(Session& session, Database& db, const std::vector<std::string>& files,
                 const std::optional<std::string>& password, PasswordPrompt& prompt) {
  ReadOptions options;
  options.password = password;
  options.import = true;
  for (const std::string& file : files) {
    const size_t cards = db.cards().card_count();
    const size_t lines = db.cards().line_count();
    const bool read = ReadDatabaseFile(db, file, options, &prompt, session.registry());
    FlushPendingError();
    std::cout << file << ": " << db.cards().card_count() - cards << " cards, "
              << db.cards().line_count() - lines << " lines" << (read ? "" : " (not finished)")
              << "\n";
    if (!read || Interrupted() || StopRequested()) return false;
  }
  return true;
}

// The dimension that --dim names: its number 1..16, or its singular or plural name; -1 when
// none is (reported).
int ChosenDimension(const Database& db, const std::string& name) {
  int number = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
  if (error == std::errc() && end == name.data() + name.size() && number >= 1 &&
      number <= kDimensionCount) {
    return number - 1;
  }
  const int dimension = db.FindDimension(Cp1252FromUtf8(name));
  if (dimension < 0) std::cerr << "jov import: the database has no dimension " << name << "\n";
  return dimension;
}

// The setup that reads the files into the dimension: the one in the --dim-setup file, which
// the dimension keeps from then on, else the dimension's own, else the default one.
std::optional<DimImport> ChosenDimImport(const CommandArguments& arguments, Database& db,
                                         int dimension) {
  std::optional<DimImport>& own = DimImports::Of(db).of(dimension);
  const std::optional<std::string> file = arguments.Value("--dim-setup");
  if (!file) return own ? *own : DefaultDimImport();
  const std::optional<std::string> bytes = ReadWholeFile(*file);
  if (!bytes) {
    ReportAboutFile(msg::kUnableToOpen, *file);
    return std::nullopt;
  }
  std::optional<DimImport> setup = ReadDimImportFile(*bytes);
  if (!setup) {
    std::cerr << "jov import: " << *file << " holds no dimension import setup\n";
    return std::nullopt;
  }
  if (own != setup) {
    own = setup;
    db.MarkModified();
  }
  return setup;
}

// Reads every file into the dimension; false at the first that is not written whole.
bool ImportDimensionFiles(Database& db, int dimension, const DimImport& setup,
                          const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    const DimImportResult result = ImportDimensionFile(db, dimension, file, setup);
    FlushPendingError();
    std::cout << file << ": " << result.added << " components\n";
    if (result.outcome != DimImportOutcome::kDone || Interrupted()) return false;
  }
  return true;
}

int RunImport(const CommandArguments& arguments) {
  const std::vector<std::string>& operands = arguments.operands();
  if (operands.size() < 2) return arguments.UsageError("give a database and the files to import");
  if (arguments.Has("--setup") && arguments.Has("--setup-file")) {
    return arguments.UsageError("give --setup or --setup-file, not both");
  }
  const std::optional<std::string> dim = arguments.Value("--dim");
  if (dim && (arguments.Has("--setup") || arguments.Has("--setup-file"))) {
    return arguments.UsageError("--dim imports components, not cards: give no import setup");
  }
  if (!dim && arguments.Has("--dim-setup")) return arguments.UsageError("--dim-setup needs --dim");
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) return kExitUsage;
  Session session;
  ImportWarningSink warnings(session.sink());
  ScopedSink scoped(&warnings);
  ConsolePasswordPrompt prompt(password);
  const std::string& db_path = operands[0];
  Database* db = DatabaseToImportInto(session, db_path, password, prompt);
  if (db == nullptr || Interrupted()) return kExitFailed;
  const std::string out = arguments.Value("-o").value_or(db_path);
  if (!arguments.Has("--force") && ReadLostData(*db, db_path, out)) return kExitFailed;

  const std::vector<std::string> files(operands.begin() + 1, operands.end());
  bool imported = false;
  if (dim) {
    const int dimension = ChosenDimension(*db, *dim);
    if (dimension < 0) return kExitFailed;
    const std::optional<DimImport> setup = ChosenDimImport(arguments, *db, dimension);
    if (!setup) return kExitFailed;
    imported = ImportDimensionFiles(*db, dimension, *setup, files);
  } else {
    std::optional<ImportSetup> from_file;
    const ImportSetup* setup = nullptr;
    if (!ChosenSetup(arguments, *db, from_file, setup)) return kExitFailed;
    const ScopedImportSetup current(setup);
    imported = ImportFiles(session, *db, files, password, prompt);
  }
  if (!imported) {
    std::cerr << "jov import: nothing saved; " << db_path << " is as it was\n";
    return kExitFailed;
  }

  return session.Save(*db, out, FormatForFileName(out), SetupKeepingPassword(*db), password);
}

}  // namespace

const Command kImportCommand = {
    "import",
    "import text or SIE files, or a dimension's components, into a database and save it",
    "jov import [--setup NAME|--setup-file SETUP] [-o OUT] [--password PW] [--force]\n"
    "           DB FILE...\n"
    "       jov import --dim NAME [--dim-setup SETUP] [-o OUT] [--password PW] [--force]\n"
    "           DB FILE...",
    "Reads each FILE into the database DB (a new, empty one when DB does not exist) and saves\n"
    "it back to DB, or to OUT. Text files are read through an import setup: the database's\n"
    "setup named by --setup, the one in the file SETUP (see docs/import-setups.md), or without\n"
    "either the database's only setup. Database files are added as they are. SIE files\n"
    "(accounting exports with \"#SIETYP\") need no setup: accounts, objects, opening\n"
    "balances and verifications come in as the SIE import reads them.\n"
    "\n"
    "With --dim, each FILE is a list of components (a chart of accounts, say) for the\n"
    "dimension NAME (its name or number), read with the dimension import setup in the file\n"
    "SETUP (see docs/import-setups.md), else the dimension's own, else tab-separated\n"
    "JOV-Code, Text, Host Code and level or parent with the JOV-Code Path method. Rows\n"
    "whose code is taken are skipped; a host code defined twice writes nothing.\n"
    "\n"
    "Prints how many cards and lines each file brought. Unknown host codes and values that\n"
    "cannot be read are printed as warnings and the import goes on. When a file cannot be\n"
    "read or the import is stopped (Ctrl-C), nothing is saved. Other errors met on the way\n"
    "(rows too long) are printed and the import is saved; they fail it only with --strict.\n"
    "\n"
    "When reading DB itself lost data, nothing is imported unless --force is given.\n",
    kOptions,
    RunImport,
};

}  // namespace jov
