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

// Pending errors and file failures.
constexpr MessageId kOutOfMemory = 600;
constexpr MessageId kResourceError = 601;
constexpr MessageId kUnableToOpen = 603;
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
constexpr MessageId kErrorLogCreatedAt = 724;

// Table export: the definition block's heading, the name proposed for an export without a
// title, the copy extents (All, Max 30 KB, Max 10 KB, Max 3 KB, Visible Only in CopyExtent
// order) and the formats.
constexpr MessageId kDefinition = 1104;
constexpr MessageId kExportFormat = 1126;  // "Format"
constexpr MessageId kExport = 1131;
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

// The Analysis menu and the names of the analysis kinds in it (Cards, Lines, Components, Time
// Functions, Component Functions, in kind order).
constexpr MessageId kAnalysisMenu = 2540;  // "Analysis"
constexpr MessageId kFirstAnalysisKindName = 2541;

// Default dimension names: 16 singular ones ("Dim 1".."Dim 16"), then 16 plural ones.
constexpr MessageId kFirstDimensionSingular = 3000;
constexpr MessageId kFirstDimensionPlural = 3016;

// Default labels and size units.
constexpr MessageId kCardTitle = 3101;
constexpr MessageId kLineText = 3102;
constexpr MessageId kValue = 3103;
// Labels of a selection's criteria: the ends of the date range and the subset criterion.
constexpr MessageId kFrom = 3104;
constexpr MessageId kTo = 3105;
constexpr MessageId kSubset = 3130;
constexpr MessageId kBytes = 3140;
constexpr MessageId kKiloBytes = 3141;
constexpr MessageId kMegaBytes = 3142;

// Questions.
constexpr MessageId kConfirmDelete = 3205;  // "Are you sure you want to delete\n"@0"?"

// Components that cards refer to.
constexpr MessageId kNewComponents = 3300;  // text of the "#" parent of generated components
constexpr MessageId kCodeNotFound = 3303;
constexpr MessageId kTextNotFound = 3304;
constexpr MessageId kHostNotFound = 3305;
constexpr MessageId kHostTaken = 3306;

// Reading database files.
constexpr MessageId kNotDatabase = 3800;
constexpr MessageId kPreRelease = 3804;
constexpr MessageId kThirdGeneration = 3806;
constexpr MessageId kLaterFormat = 3807;
constexpr MessageId kLaterVersion = 3808;
constexpr MessageId kCorrupted = 3810;
constexpr MessageId kIncorrectPassword = 3811;
constexpr MessageId kLinesTooLong = 3813;
constexpr MessageId kUnknownSection = 3814;

// Reading XML.
constexpr MessageId kUnknownTag = 3900;        // "Unknown tag "@0"."
constexpr MessageId kUnknownAttribute = 3901;  // "Unknown attribute "@0"."
constexpr MessageId kMalformedXml = 3903;      // "Malformed XML near "@0"."

// Opening and saving.
constexpr MessageId kAlreadyOpen = 4003;
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

// Analysis templates: their list, how they open, and setting a kind's defaults.
constexpr MessageId kAnalysisTemplates = 4320;
constexpr MessageId kOpenDirectly = 4402;
constexpr MessageId kCalculateDirectly = 4403;
constexpr MessageId kZoomDirectly = 4404;
constexpr MessageId kChangeCardWindowDefaults = 4409;
constexpr MessageId kChangeAnalysisDefaults = 4410;  // "... for "@0" analyses?"
constexpr MessageId kButtonStandard = 4411;

// Progress of long operations: the title (Opening, Importing, Saving in ProgressMode order) and
// the time to go.
constexpr MessageId kFirstProgressTitle = 4500;  // "Opening @0"
constexpr MessageId kEstimating = 4505;
constexpr MessageId kMinutesSeconds = 4506;  // "@0 Minutes @1 Seconds"
constexpr MessageId kOneMinuteSeconds = 4507;
constexpr MessageId kSeconds = 4508;
constexpr MessageId kOneSecond = 4509;

// Column titles of lists.
constexpr MessageId kName = 5300;

// Period kinds (the first of the list, in period-kind order) and period labels.
constexpr MessageId kFirstPeriodKind = 5400;
constexpr MessageId kBefore = 5423;
constexpr MessageId kShowCardTitles = 5429;
constexpr MessageId kShowEndDatesOnly = 5430;

// Time scales.
constexpr MessageId kTimeScaleName = 7000;  // default name of time scales

// Password prompts.
constexpr MessageId kPasswordForWindow = 7200;
constexpr MessageId kPasswordForTextSave = 7201;
constexpr MessageId kProtectionFor = 7202;
constexpr MessageId kPasswordLabel = 7203;

}  // namespace msg
}  // namespace jov
