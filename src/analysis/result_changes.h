// Which database changes invalidate a calculated analysis: the ones that change which lines
// its selection takes or what they hold (cards, components, the line layout, the reference
// point that relative dates count from, the time scales that periods are named from).
#pragma once

#include "model/change_code.h"

namespace jov {

inline bool DropsAnalysisResult(ChangeCode code) {
  switch (code) {
    case ChangeCode::kComponents:
    case ChangeCode::kCards:
    case ChangeCode::kSlotCount:
    case ChangeCode::kValueFieldCount:
    case ChangeCode::kLinesMoving:
    case ChangeCode::kLinesMoved:
    case ChangeCode::kReferencePoint:
    case ChangeCode::kTimeScaleAdded:
    case ChangeCode::kTimeScaleRenamed:
    case ChangeCode::kTimeScaleChanged:
    case ChangeCode::kTimeScaleRemoved:
      return true;
    default:
      return false;
  }
}

}  // namespace jov
