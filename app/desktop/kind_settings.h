// The settings dialog of each analysis kind, over an analysis of that kind.
#pragma once

#include <memory>

#include "analysis_settings.h"

namespace jov {

class CardAnalysis;
class ComponentAnalysis;
class ComponentFunctionsAnalysis;
class LineAnalysis;
class TimeFunctionsAnalysis;

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(ComponentAnalysis& analysis,
                                                          QWidget* parent);
std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(LineAnalysis& analysis, QWidget* parent);
std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(CardAnalysis& analysis, QWidget* parent);
std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(TimeFunctionsAnalysis& analysis,
                                                          QWidget* parent);
std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(ComponentFunctionsAnalysis& analysis,
                                                          QWidget* parent);

}  // namespace jov
