// The ids of the messages that code and tests name, in numeric order. The texts live in
// resources/messages/en.txt; an id is its table base (a multiple of 100) plus its item number.
// Add an id here, in order, when code starts to use it; never write a bare message number.
#pragma once

#include <cstdint>

namespace jov {

using MessageId = int32_t;
// No message at all: an alert that only stops, an unset caption.
constexpr MessageId kNoMessage = -1;

namespace msg {

// Application texts.
constexpr MessageId kUntitled = 100;  // "Noname @0"
constexpr MessageId kAllFiles = 101;
constexpr MessageId kJovNormal = 103;
constexpr MessageId kJovText = 104;
// The frame's menus.
constexpr MessageId kMenuFile = 200;
constexpr MessageId kMenuNew = 201;
constexpr MessageId kMenuOpen = 202;
constexpr MessageId kMenuClose = 203;
constexpr MessageId kMenuSave = 204;
constexpr MessageId kMenuSaveAs = 205;
constexpr MessageId kMenuPrint = 206;
constexpr MessageId kMenuExit = 208;
constexpr MessageId kMenuWindow = 217;
constexpr MessageId kMenuZoom = 218;
constexpr MessageId kMenuCloseAll = 220;
constexpr MessageId kMenuCascade = 221;
constexpr MessageId kMenuTile = 222;
constexpr MessageId kMenuHelp = 224;
constexpr MessageId kMenuAbout = 226;  // "About @0..."

// Pending errors and file failures.
constexpr MessageId kOutOfMemory = 600;
constexpr MessageId kResourceError = 601;
constexpr MessageId kUnableToOpen = 603;
constexpr MessageId kErrorReading = 604;
constexpr MessageId kErrorWriting = 605;

// Button captions.
constexpr MessageId kButtonOk = 700;
constexpr MessageId kButtonCancel = 701;
constexpr MessageId kButtonYes = 702;
constexpr MessageId kButtonNo = 703;
constexpr MessageId kButtonStop = 704;
constexpr MessageId kButtonContinue = 705;
constexpr MessageId kButtonOpen = 706;
constexpr MessageId kButtonClose = 707;
constexpr MessageId kButtonSave = 708;
constexpr MessageId kButtonDontSave = 709;
constexpr MessageId kButtonSaveAll = 710;
constexpr MessageId kButtonChange = 711;
constexpr MessageId kButtonDontChange = 712;
constexpr MessageId kButtonAdd = 713;
constexpr MessageId kButtonDontAdd = 714;
constexpr MessageId kButtonRemove = 715;
constexpr MessageId kButtonDontRemove = 716;
constexpr MessageId kButtonDelete = 717;
constexpr MessageId kButtonDontDelete = 718;
constexpr MessageId kButtonQuit = 719;
constexpr MessageId kLanguage = 720;
constexpr MessageId kErrorLogCreatedAt = 724;

// Table export: the definition block's heading, the name proposed for an export without a
// title, the copy extents (All, Max 30 KB, Max 10 KB, Max 3 KB, Visible Only in CopyExtent
// order) and the formats.
// The print options, and the title of their dialog.
constexpr MessageId kPrintTitle = 1100;
constexpr MessageId kPrintDateAndTime = 1101;
constexpr MessageId kPrintPageNumbers = 1102;
constexpr MessageId kPrint = 1103;
constexpr MessageId kDefinition = 1104;
constexpr MessageId kPrintBindingMargin = 1105;
constexpr MessageId kPrintFillPage = 1106;
constexpr MessageId kIncludeWindowTitle = 1115;
constexpr MessageId kIncludeColumnTitles = 1116;
constexpr MessageId kIncludeHeaderRows = 1117;
constexpr MessageId kIncludeDataRows = 1118;
constexpr MessageId kExportFormat = 1126;  // "Format"
constexpr MessageId kExport = 1131;
constexpr MessageId kCopyData = 1132;
constexpr MessageId kFirstCopyExtent = 1133;
constexpr MessageId kFormatText = 1138;
constexpr MessageId kFormatHtml = 1139;
constexpr MessageId kFormatXml = 1140;

// Separator choices.
constexpr MessageId kSeparatorPoint = 1200;
constexpr MessageId kSeparatorComma = 1201;
constexpr MessageId kSeparatorSemicolon = 1202;
constexpr MessageId kSeparatorSpace = 1203;
constexpr MessageId kSeparatorPadding = 1204;
constexpr MessageId kSeparatorTab = 1205;
constexpr MessageId kSeparatorReturn = 1206;
constexpr MessageId kSeparatorLineFeed = 1207;
constexpr MessageId kSeparatorCrLf = 1208;
constexpr MessageId kFromSystem = 1209;  // " from System", after the system character's label
constexpr MessageId kSeparatorNone = 1210;

// Analyses over time.
constexpr MessageId kNegativeTimePeriod = 2110;  // the analysis starts after it ends

// A line that leaves a dimension empty whose components must be filled in.
constexpr MessageId kMustBeFilledIn = 2112;  // "Dimension "@0" must be filled in."
// Text import.
constexpr MessageId kDatabaseFileNotImported = 2113;  // "A JOV-file can not be imported ..."

// About and preferences.
// Texts cut to a length.
constexpr MessageId kTruncatedAfter = 2100;  // ""@0..." is truncated after @1 chars."

constexpr MessageId kAboutTitle = 2200;
constexpr MessageId kPreferences = 2300;
constexpr MessageId kPreferencesGeneral = 2301;
constexpr MessageId kPreferencesUserInterface = 2302;
constexpr MessageId kPreferencesDefault = 2303;
constexpr MessageId kPreferencesDragging = 2304;
constexpr MessageId kDraggingDiagonal = 2305;
constexpr MessageId kDraggingCenter = 2306;
constexpr MessageId kPreferencesAlerts = 2307;
constexpr MessageId kAlertsDoDont = 2308;
constexpr MessageId kAlertsYesNo = 2309;
constexpr MessageId kCheckFileUpdates = 2310;
constexpr MessageId kUseSansSerif = 2311;
constexpr MessageId kSystemSetup = 2317;
constexpr MessageId kAssociateFileTypes = 2318;
// Menu items of databases.
constexpr MessageId kMenuPreferences = 2505;
constexpr MessageId kMenuImportSetups = 2506;
constexpr MessageId kMenuNewImportSetup = 2507;
constexpr MessageId kMenuDeleteImportSetup = 2508;
constexpr MessageId kImportDimensionFile = 2510;  // "Import @0...", @0 a dimension's plural name
constexpr MessageId kMenuExportTable = 2511;
constexpr MessageId kMenuCopyTable = 2512;
constexpr MessageId kMenuCopyChart = 2513;
constexpr MessageId kMenuNewNamed = 2515;  // "New @0"
constexpr MessageId kMenuExpandAll = 2516;
constexpr MessageId kMenuSetColumnWidths = 2517;
constexpr MessageId kMenuDatabase = 2518;
constexpr MessageId kMenuDimensions = 2519;
constexpr MessageId kMenuTransform = 2522;
constexpr MessageId kMenuAggregate = 2523;
constexpr MessageId kMenuDeleteData = 2524;
constexpr MessageId kMenuExamine = 2525;
constexpr MessageId kMenuApprove = 2526;
constexpr MessageId kMenuSubsets = 2527;
constexpr MessageId kMenuNewSubset = 2528;
constexpr MessageId kMenuDeleteSubset = 2529;
constexpr MessageId kMenuTimeScales = 2530;
constexpr MessageId kMenuNewTimeScale = 2531;
constexpr MessageId kMenuDeleteTimeScale = 2532;
constexpr MessageId kMenuMacros = 2533;
constexpr MessageId kMenuNewMacro = 2534;
constexpr MessageId kMenuDeleteMacro = 2535;
constexpr MessageId kMenuDatabaseInfo = 2536;
// The Analysis menu and the names of the analysis kinds in it (Cards, Lines, Components, Time
// Functions, Component Functions, in kind order).
constexpr MessageId kAnalysisMenu = 2540;  // "Analysis"
constexpr MessageId kFirstAnalysisKindName = 2541;
constexpr MessageId kMenuSetDefaults = 2546;
constexpr MessageId kMenuInstallTemplate = 2547;
constexpr MessageId kMenuRemoveTemplate = 2548;
constexpr MessageId kMenuExecute = 2549;      // the menu of the macros shown there
constexpr MessageId kUndefinedSwitch = 2901;  // an unknown "/" switch on the command line
constexpr MessageId kNotAssociated = 2902;    // the file types are not associated: make it so?

// Default dimension names: 16 singular ones ("Dim 1".."Dim 16"), then 16 plural ones.
constexpr MessageId kFirstDimensionSingular = 3000;
constexpr MessageId kFirstDimensionPlural = 3016;

// Default labels and size units.
constexpr MessageId kCardId = 3100;
constexpr MessageId kCardTitle = 3101;
constexpr MessageId kLineText = 3102;
constexpr MessageId kValue = 3103;
// Labels of a selection's criteria: the ends of the date range and the subset criterion.
constexpr MessageId kFrom = 3104;
constexpr MessageId kTo = 3105;
constexpr MessageId kSignature = 3107;
constexpr MessageId kShow = 3108;
constexpr MessageId kBoldface = 3109;
constexpr MessageId kDecimals = 3110;
constexpr MessageId kColour = 3111;
constexpr MessageId kRedGreen = 3112;
constexpr MessageId kGraphicPresentation = 3114;
constexpr MessageId kButtonInstall = 3116;
constexpr MessageId kTransformButton = 3117;
constexpr MessageId kLogToFile = 3118;       // the fourth button of command errors
constexpr MessageId kTransformTitle = 3120;  // "Transform  "@0"", the window transformed
constexpr MessageId kAggregateTitle = 3121;  // "Aggregate  "@0""
constexpr MessageId kSelectionName = 3122;   // default name of a subset's named selections
// Headings of the definition of an analysis with variables and formulas.
constexpr MessageId kSelections = 3123;
constexpr MessageId kNewSelection = 3124;
constexpr MessageId kFormula = 3125;
constexpr MessageId kFormulas = 3126;
constexpr MessageId kNewFormula = 3127;
constexpr MessageId kVariable = 3128;  // also the default name of new variables
constexpr MessageId kSubset = 3130;
constexpr MessageId kColumns = 3134;
constexpr MessageId kOptions = 3135;
constexpr MessageId kBytes = 3140;
constexpr MessageId kKiloBytes = 3141;
constexpr MessageId kMegaBytes = 3142;

// Questions.
constexpr MessageId kSaveChanges = 3200;        // "Do you want to save changes in\n"@0"?"
constexpr MessageId kConfirmChangeCard = 3202;  // "Are you sure you want to change\n"@0"?"
constexpr MessageId kConfirmAddCard = 3203;     // "Are you sure you want to add\n"@0"?"
constexpr MessageId kConfirmDelete = 3205;      // "Are you sure you want to delete\n"@0"?"

// Components that cards refer to.
constexpr MessageId kNewComponents = 3300;      // text of the "#" parent of generated components
constexpr MessageId kComponentNotFound = 3302;  // "Cannot find component "@0" in dimension @1. ..."
constexpr MessageId kCodeNotFound = 3303;
constexpr MessageId kTextNotFound = 3304;
constexpr MessageId kHostNotFound = 3305;
constexpr MessageId kHostTaken = 3306;
constexpr MessageId kComponentInUse = 3307;  // "Component "@0" is in use and cannot be removed."
// An edit copy of a dimension that would define a JOV-Code or a host code twice.
constexpr MessageId kCodeDefinedTwice = 3308;
constexpr MessageId kHostDefinedTwice = 3309;

// Component identifiers: the column titles of analyses that list components.
constexpr MessageId kJovCode = 3400;
constexpr MessageId kComponentText = 3401;
constexpr MessageId kHostCode = 3402;
// Letter-case conversions of texts: UPPER CASE, lower case, Standard, Word Caps.
constexpr MessageId kFirstCaseConversion = 3408;

// The card criteria of named selections, labelled as the card window labels them: the card
// identifier, the stamps (Created, Modified, Examined, Approved in StampKind order) and the notes.
constexpr MessageId kCardIdLabel = 3500;
constexpr MessageId kFirstStampLabel = 3501;
constexpr MessageId kNotesLabel = 3505;
constexpr MessageId kNewCard = 3506;
constexpr MessageId kCardWithoutLines = 3510;  // "Card "@0" cannot be entered ..., no lines."
// Card values.
constexpr MessageId kValueChangedToZero = 3511;  // "Value "@0" in @1 is changed to zero."

// Counts of what an operation concerns, and the questions before marking cards.
constexpr MessageId kCardsCount = 3610;   // "@0 cards"
constexpr MessageId kGroupsCount = 3611;  // "@0 groups"
constexpr MessageId kLinesCount = 3612;   // "@0 lines"
constexpr MessageId kConfirmMarkExamined = 3613;
constexpr MessageId kConfirmMarkApproved = 3614;
// A change that needs the user's stamp was not made for want of a signature.
constexpr MessageId kNoSignature = 3615;

// Reading database files.
constexpr MessageId kNotDatabase = 3800;
constexpr MessageId kPreRelease = 3804;
constexpr MessageId kThirdGeneration = 3806;
constexpr MessageId kLaterFormat = 3807;
constexpr MessageId kLaterVersion = 3808;
constexpr MessageId kNeedsImportSetup = 3809;  // "... cannot be read without an import setup."
constexpr MessageId kCorrupted = 3810;
constexpr MessageId kIncorrectPassword = 3811;
constexpr MessageId kLinesTooLong = 3813;
constexpr MessageId kUnknownSection = 3814;
// Command scripts.
constexpr MessageId kUnknownCommand = 3815;  // "Unknown command "@0"."
constexpr MessageId kUnknownOption = 3816;   // "Unknown option "@0"."
constexpr MessageId kDimensionNotFound = 3817;
constexpr MessageId kTemplateNotFound = 3818;  // "Template "@0" not found."
constexpr MessageId kAlreadyImported = 3819;
constexpr MessageId kImportSetupNotFound = 3820;
constexpr MessageId kAllowFileCommand = 3821;    // a file's own command writes outside its folder?
constexpr MessageId kFileCommandRefused = 3822;  // ... and was not run
constexpr MessageId kCharactersReplaced = 3830;  // UTF-8 characters read as "?"
constexpr MessageId kNotRegularFile = 3840;
constexpr MessageId kNotAFileToSave = 3841;
constexpr MessageId kReadLostData = 3842;

// Reading XML.
constexpr MessageId kUnknownTag = 3900;        // "Unknown tag "@0"."
constexpr MessageId kUnknownAttribute = 3901;  // "Unknown attribute "@0"."
constexpr MessageId kUnknownValue = 3902;      // "Unknown value "@0" for attribute "@1"."
constexpr MessageId kMalformedXml = 3903;      // "Malformed XML near "@0"."

// Opening and saving.
constexpr MessageId kAlreadyOpen = 4003;
constexpr MessageId kModifiedOnDisk = 4004;
constexpr MessageId kButtonOpenModified = 4007;
constexpr MessageId kPasswordInTextFile = 4012;

// The database information report.
constexpr MessageId kInfoDatabaseSize = 4100;
constexpr MessageId kInfoInMemory = 4101;
constexpr MessageId kInfoInFile = 4102;
constexpr MessageId kInfoCardsAndLines = 4103;
constexpr MessageId kInfoCards = 4104;
constexpr MessageId kInfoGroups = 4105;
constexpr MessageId kInfoLines = 4106;
constexpr MessageId kInfoCardTitles = 4107;
constexpr MessageId kInfoNotes = 4108;
constexpr MessageId kInfoLineTexts = 4109;
constexpr MessageId kInfoFirst = 4110;
constexpr MessageId kInfoLast = 4111;
constexpr MessageId kInfoDimensionComponents = 4112;
constexpr MessageId kInfoAll = 4113;
constexpr MessageId kInfoActive = 4114;
constexpr MessageId kInfoInUse = 4115;
constexpr MessageId kInfoTotal = 4117;
constexpr MessageId kInfoAnalyses = 4118;
constexpr MessageId kInfoAnalysisTemplates = 4119;
constexpr MessageId kInfoMemoryInUse = 4120;

// Value fields and default names.
constexpr MessageId kReduceValueFields = 4207;
constexpr MessageId kSaveSetupName = 4300;  // default name of save setups
constexpr MessageId kSaveSetupFormat = 4301;
constexpr MessageId kSaveSetupSections = 4302;
constexpr MessageId kSaveSetupDimensions = 4303;
constexpr MessageId kSaveSetupCards = 4304;
constexpr MessageId kSaveSetupTemplates = 4305;
constexpr MessageId kSaveSetupCompressed = 4309;
// The section flags' names, "Characters" ... "Analysis Defaults" in SaveSection order.
constexpr MessageId kFirstSaveSection = 4310;

// Analysis templates: their list, how they open, and setting a kind's defaults.
constexpr MessageId kAnalysisTemplates = 4320;
// The save setup's other choices: per dimension, its selection and its template options.
constexpr MessageId kSaveSetupComponents = 4324;
constexpr MessageId kSaveSetupTemplatesOnly = 4325;
constexpr MessageId kSaveSetupSelection = 4326;
constexpr MessageId kSaveSetupTemplateFilter = 4327;
constexpr MessageId kSaveSetupOpenTemplatesOnly = 4328;
constexpr MessageId kSaveSetupNumbering = 4329;
constexpr MessageId kSaveSetupCodesInCards = 4330;
constexpr MessageId kInstallTemplate = 4400;
constexpr MessageId kTemplateName = 4401;
constexpr MessageId kOpenDirectly = 4402;
constexpr MessageId kCalculateDirectly = 4403;
constexpr MessageId kZoomDirectly = 4404;
constexpr MessageId kFixedPosition = 4405;
constexpr MessageId kRemoveTemplateQuestion = 4406;  // "... remove template "@0"?"
constexpr MessageId kAlreadyOpenRevert = 4407;       // the template's window is open: revert it?
constexpr MessageId kButtonRevert = 4408;
constexpr MessageId kChangeCardWindowDefaults = 4409;
constexpr MessageId kChangeAnalysisDefaults = 4410;  // "... for "@0" analyses?"
constexpr MessageId kButtonStandard = 4411;

// Progress of long operations: the title (Opening, Importing, Saving in ProgressMode order) and
// the time to go.
constexpr MessageId kFirstProgressTitle = 4500;  // "Opening @0"
constexpr MessageId kProgressSection = 4503;     // "Section:"
constexpr MessageId kTimeToGo = 4504;
constexpr MessageId kEstimating = 4505;
constexpr MessageId kMinutesSeconds = 4506;  // "@0 Minutes @1 Seconds"
constexpr MessageId kOneMinuteSeconds = 4507;
constexpr MessageId kSeconds = 4508;
constexpr MessageId kOneSecond = 4509;
// The parts of a database file a progress display names.
constexpr MessageId kSectionSaveSetups = 4510;
constexpr MessageId kSectionImportSetups = 4511;
constexpr MessageId kSectionTimeScales = 4512;
constexpr MessageId kSectionMacros = 4513;
constexpr MessageId kSectionCardsLines = 4514;
constexpr MessageId kSectionSubsets = 4515;
constexpr MessageId kSectionTemplates = 4516;
constexpr MessageId kSectionCommands = 4517;

// Subsets: the labels of their window (the name, the combination, a named selection's name, a
// stamp's time and signature), the
// refusals, the name that cannot be found, the count line of the subset window
// (not calculated, none, one, in one card, in several cards), and the refusals of subsets that
// name themselves or nest too deeply.
constexpr MessageId kSubsetName = 4700;
constexpr MessageId kCombination = 4701;
constexpr MessageId kNamedSelectionName = 4702;
constexpr MessageId kStampTime = 4703;
constexpr MessageId kStampSignature = 4704;
constexpr MessageId kSubsetInUse = 4705;     // "Subset "@0" is in use and cannot be erased."
constexpr MessageId kSelectionInUse = 4706;  // "Selection "@0" is in use and cannot be erased."
constexpr MessageId kSubsetNotFound = 4707;  // "Subset "@0" cannot be found."
constexpr MessageId kSubsetNotCalculated = 4708;
constexpr MessageId kZeroLines = 4709;
constexpr MessageId kOneLine = 4710;
constexpr MessageId kLinesInOneCard = 4711;  // "@0 lines in one card"
constexpr MessageId kLinesInCards = 4712;    // "@0 lines in @1 cards"
constexpr MessageId kSubsetRefersToItself = 4713;
constexpr MessageId kSubsetsNestedTooDeeply = 4714;

// The card analysis: the data contents (the None, Selected, All choices in that order).
constexpr MessageId kDataContents = 5000;
constexpr MessageId kGroupsContents = 5001;
constexpr MessageId kLinesContents = 5002;
constexpr MessageId kFirstContentsChoice = 5003;

// The line analysis: the accumulated column, and the titles of the summary rows (Sum Before ...
// Turnover Rate, Interest (+), Interest (-), in summary order).
constexpr MessageId kAccumulated = 5100;
constexpr MessageId kHeaderLines = 5102;
constexpr MessageId kFirstLineSummary = 5103;

constexpr MessageId kInterestPositive = 5116;
constexpr MessageId kInterestNegative = 5117;
constexpr MessageId kCalculation = 5121;
constexpr MessageId kLinear = 5122;
constexpr MessageId kExponential = 5123;
constexpr MessageId kCardInfo = 5124;
constexpr MessageId kEveryLine = 5125;
constexpr MessageId kFirstLine = 5126;
constexpr MessageId kDates = 5128;
// The component analysis: the label of its view dimension ("Components") and the titles of its
// eight columns (Before, Negative, Positive, Period, Count, At End, After, Total, in column
// order).
constexpr MessageId kComponentsHeading = 5201;
constexpr MessageId kHierarchical = 5202;
constexpr MessageId kFlat = 5203;
constexpr MessageId kFirstRowFilter = 5204;  // "All", "In Use", "Non-zero", in filter order
constexpr MessageId kSublevels = 5207;
constexpr MessageId kSorting = 5210;
constexpr MessageId kFirstComponentColumn = 5212;
constexpr MessageId kShowScale = 5220;

constexpr MessageId kPieValues = 5221;
// Column titles of lists, and the columns of analyses with variables and formulas.
constexpr MessageId kName = 5300;
constexpr MessageId kTitle = 5301;
constexpr MessageId kBars = 5302;              // a formula's graph style
constexpr MessageId kColumnInUse = 5303;       // "Variable "@0" is in use and cannot be erased."
constexpr MessageId kRefersToItself = 5304;    // a formula that names itself
constexpr MessageId kRefersIndirectly = 5305;  // a formula that reaches itself through others
constexpr MessageId kFirstMeasure = 5308;      // "Count" ... "Last", in measure order
constexpr MessageId kMeasure = 5319;
constexpr MessageId kFirstTimeAccumulation = 5320;       // "By Period", "From Start"
constexpr MessageId kFirstComponentAccumulation = 5322;  // "By Component", "From Start"
constexpr MessageId kFirstTimeShift = 5324;  // "No time shift" ... "Other...", in kind order
constexpr MessageId kMoveSelection = 5332;   // the dialog of the time shift "Other..."
constexpr MessageId kFirstShiftUnit = 5333;  // "Years", "Months", "Weeks", "Days"

// Period kinds (the first of the list, in period-kind order) and period labels.
constexpr MessageId kFirstPeriodKind = 5400;
constexpr MessageId kOperationByTime = 5416;
constexpr MessageId kFirstTimeOperation = 5417;  // "None" ... "Quotient", in operation order
constexpr MessageId kBefore = 5423;
constexpr MessageId kTimeAxis = 5425;
constexpr MessageId kValueAxis = 5426;
constexpr MessageId kAxisMaximum = 5427;
constexpr MessageId kAxisMinimum = 5428;
constexpr MessageId kShowCardTitles = 5429;
constexpr MessageId kShowEndDatesOnly = 5430;

// The component functions analysis: what a formula shows on a row for its whole subtree.
constexpr MessageId kHigherLevels = 5500;
constexpr MessageId kFirstHigherLevels = 5501;  // "According to formula", "Sum of lower levels"

// Transform and aggregate settings; the date of a card is also a column title.
constexpr MessageId kReplaceDimensions = 6000;
constexpr MessageId kRangeStart = 6001;
constexpr MessageId kRangeEnd = 6002;
constexpr MessageId kFirstTextPattern = 6004;  // "Before", "After", "Empty", "Non-empty"
constexpr MessageId kClear = 6008;
constexpr MessageId kTimeResolution = 6009;
constexpr MessageId kSingleCard = 6010;
constexpr MessageId kCardsResolution = 6011;
constexpr MessageId kAggregateCardTitle = 6012;
constexpr MessageId kCardDateLabel = 6013;
constexpr MessageId kAppendPeriodName = 6014;
constexpr MessageId kAggregateButton = 6015;

// Time scales.
constexpr MessageId kTimeScaleName = 7000;  // default name of time scales
constexpr MessageId kTimeScaleStart = 7001;
constexpr MessageId kTimeScalePeriodName = 7002;

// Macros.
constexpr MessageId kMacroName = 7100;  // default name of macros
constexpr MessageId kMacroSteps = 7101;
constexpr MessageId kMacroExecute = 7102;
constexpr MessageId kMacroShowInMenu = 7103;
constexpr MessageId kMacroExecuteWhenOpening = 7104;
constexpr MessageId kMacroPasswordRequired = 7105;
constexpr MessageId kMacroCalledRecursively = 7106;

// Import setups and the labels of their window.
constexpr MessageId kImportSetupName = 7300;  // default name of import setups
constexpr MessageId kSetupName = 7301;
constexpr MessageId kExampleFile = 7303;
constexpr MessageId kShowFile = 7304;
constexpr MessageId kImportButton = 7305;
constexpr MessageId kGeneralPage = 7313;
constexpr MessageId kCharactersPage = 7314;
constexpr MessageId kCardDefinitionPage = 7316;
constexpr MessageId kLineDefinitionPage = 7317;  // "Line Definition @0"
constexpr MessageId kNewLineDefinition = 7318;
constexpr MessageId kCharacterSet = 7319;
constexpr MessageId kCharacterConversions = 7320;
constexpr MessageId kExcludeChars = 7321;
constexpr MessageId kFieldLength = 7322;
constexpr MessageId kVariableLayout = 7323;
constexpr MessageId kFixedLayout = 7324;
constexpr MessageId kRowTerminator = 7326;
constexpr MessageId kFieldSeparator = 7327;
constexpr MessageId kExcludeControlCharacters = 7328;
constexpr MessageId kDecimalSeparator = 7329;
constexpr MessageId kExcludeRows = 7330;
constexpr MessageId kFileRows = 7331;
constexpr MessageId kRowsForCards = 7332;
constexpr MessageId kRowsForLines = 7333;
constexpr MessageId kDateFormat = 7334;
constexpr MessageId kFirstDateFormat = 7335;  // "YYMMDD" ... "D M Y", in format order
constexpr MessageId kPartField = 7343;
constexpr MessageId kPartFirst = 7344;
constexpr MessageId kPartLast = 7345;
constexpr MessageId kPartInsert = 7346;
constexpr MessageId kPartDefault = 7348;
constexpr MessageId kCardSwitcher = 7349;
constexpr MessageId kCardIndicator = 7350;
constexpr MessageId kLineIndicator = 7351;
constexpr MessageId kDateField = 7352;
constexpr MessageId kExcludeZeroLines = 7353;
constexpr MessageId kScaleValuesBy = 7354;
constexpr MessageId kTextConversion = 7355;
constexpr MessageId kConversionNone = 7356;
constexpr MessageId kZeroFilling = 7357;
constexpr MessageId kNewComponentPlacement = 7358;
constexpr MessageId kFirstPlacement = 7359;     // "Append at End" ... "After nearest Host Code"
constexpr MessageId kFirstCharacterSet = 7400;  // "Macintosh" ... "EBCDIC", in set order

// The import setup of a dimension.
constexpr MessageId kDimImportTitle = 7500;  // "Import Setup for @0"
constexpr MessageId kDimImportFile = 7501;
constexpr MessageId kLevelNumber = 7502;
constexpr MessageId kParentField = 7503;
constexpr MessageId kHierarchy = 7504;
constexpr MessageId kFirstHierarchyMethod = 7505;  // "JOV-Code Path" ... "Parent Links"
constexpr MessageId kCreateParentsUpTo = 7509;
constexpr MessageId kSearchParentUsing = 7510;

// Password prompts.
constexpr MessageId kPasswordForWindow = 7200;
constexpr MessageId kPasswordForTextSave = 7201;
constexpr MessageId kProtectionFor = 7202;
constexpr MessageId kPasswordLabel = 7203;
constexpr MessageId kPasswordNeeded = 7204;
constexpr MessageId kPasswordCharacters = 7205;
// The desktop program's own labels (table 8600).
constexpr MessageId kRecentFiles = 8600;
constexpr MessageId kInsertRow = 8601;
constexpr MessageId kDeleteRow = 8602;
constexpr MessageId kApply = 8603;
constexpr MessageId kPaste = 8604;
constexpr MessageId kVersion = 8605;
constexpr MessageId kFormatDateOfFiles = 8606;
constexpr MessageId kBrowse = 8607;
constexpr MessageId kFileName = 8608;
constexpr MessageId kLookMacOs7 = 8609;
constexpr MessageId kLookMacOs8 = 8610;
constexpr MessageId kLookWindows31 = 8611;
constexpr MessageId kLookWindows95 = 8612;
constexpr MessageId kLook = 8613;
constexpr MessageId kCountColumn = 8614;
constexpr MessageId kWindowOfDatabase = 8615;  // "@0: @1", database and what the window shows
constexpr MessageId kJovFiles = 8616;
constexpr MessageId kFont = 8617;
constexpr MessageId kExportAsPdf = 8618;
// The analysis windows: their commands, settings dialogs and card window.
constexpr MessageId kAnalysisSettings = 8620;
constexpr MessageId kNewAnalysis = 8621;
constexpr MessageId kAnalysisSettingsCommand = 8623;
constexpr MessageId kCollapseAll = 8624;
constexpr MessageId kViewDimension = 8625;
constexpr MessageId kValueField = 8626;
constexpr MessageId kRowsShown = 8627;
constexpr MessageId kIndentation = 8628;
constexpr MessageId kShownInThousands = 8629;
constexpr MessageId kShownInMillions = 8630;
constexpr MessageId kFirstSortOrder = 8631;  // the sort orders, in order
constexpr MessageId kSortColumn = 8638;
constexpr MessageId kFirstIndentation = 8639;  // "Narrow", "Normal", "Wide"
constexpr MessageId kChartColumn = 8642;
constexpr MessageId kFirstPieValues = 8643;  // none, whole percentages, one decimal
constexpr MessageId kNotCalculated = 8646;
constexpr MessageId kCardWindowTitle = 8647;
constexpr MessageId kNewVariable = 8648;
constexpr MessageId kAccumulation = 8651;
constexpr MessageId kPeriodLabel = 8652;
constexpr MessageId kOpenCard = 8653;
// The dimension window (8700-8739).
constexpr MessageId kIndent = 8700;
constexpr MessageId kOutdent = 8701;
constexpr MessageId kMoveUp = 8702;
constexpr MessageId kMoveDown = 8703;
// "The components of @0 were changed outside this window. ... read them again?"
constexpr MessageId kComponentsChangedElsewhere = 8704;
constexpr MessageId kNewRowsFrom = 8705;  // "@0 new rows from @1."
// The card window.
constexpr MessageId kInsertGroup = 8740;
constexpr MessageId kInsertLine = 8741;
// The Transform and Aggregate dialogs.
constexpr MessageId kKeepSourceData = 8742;
constexpr MessageId kTexts = 8743;
constexpr MessageId kFind = 8744;
constexpr MessageId kReplaceWith = 8745;
constexpr MessageId kNotADate = 8746;  // ""@0" is not a date."
constexpr MessageId kKeepSourceLines = 8747;
constexpr MessageId kKeepZeroLines = 8748;
// The setup windows: import setups, dimension imports, macros and subsets.
constexpr MessageId kPreview = 8780;
constexpr MessageId kPreviewRow = 8781;
constexpr MessageId kPreviewKind = 8782;
constexpr MessageId kPreviewCard = 8783;
constexpr MessageId kPreviewLine = 8784;
constexpr MessageId kPreviewCardAndLine = 8785;
constexpr MessageId kPreviewSkipped = 8786;
constexpr MessageId kImportedCardsLines = 8787;
constexpr MessageId kAddFieldPart = 8788;
constexpr MessageId kRemoveFieldPart = 8789;
constexpr MessageId kDeleteLineDefinition = 8790;
constexpr MessageId kValueFieldsPage = 8791;
constexpr MessageId kComponentFieldsPage = 8792;
constexpr MessageId kMacroOutput = 8793;
constexpr MessageId kRunEndedWithErrors = 8794;
constexpr MessageId kRunEndedWithoutErrors = 8795;
constexpr MessageId kCalculate = 8796;
constexpr MessageId kComponentsImported = 8797;
constexpr MessageId kCharacterSetUtf8 = 8798;
constexpr MessageId kNotesStampLabel = 8799;
constexpr MessageId kCardCriteria = 8800;  // the card criteria of a subset's named selection
// The components a save writes for a dimension: all, used with ancestors, used, none.
constexpr MessageId kFirstComponentChoice = 8801;
constexpr MessageId kComponentChoiceNone = 8804;
// The level of a save's selection: whole cards, cards and groups, cards, groups and lines.
constexpr MessageId kFirstSaveLevel = 8805;
// The charts of the analysis windows.
constexpr MessageId kChart = 8840;
constexpr MessageId kFirstChartType = 8841;  // "Lines" ... "Stacked Bars", in chart type order
constexpr MessageId kBarChart = 8843;        // the bars of a component analysis's chart
constexpr MessageId kPieChart = 8846;
constexpr MessageId kChartType = 8847;
constexpr MessageId kExportChartPng = 8848;
constexpr MessageId kExportChartPdf = 8849;
constexpr MessageId kPrintChart = 8850;
constexpr MessageId kPngImages = 8851;

}  // namespace msg
}  // namespace jov
