// The component that text import makes for a host code that a dimension does not know yet,
// placed as the line definition asks: with a generated code under "#", with the host code as its
// JOV-Code, or below the component with the nearest host code.
#pragma once

#include <string_view>

#include "io/import_setup.h"
#include "model/database.h"

namespace jov {

// Raises msg::kHostNotFound as a command error, then adds the component with `host`
// as its host code and no text; a placement whose JOV-Code is taken falls back to a generated
// code. The dimension's root when nothing could be added.
ComponentRef AddImportedComponent(Database& database, int dimension, std::string_view host,
                                  NewComponentPlacement placement);

}  // namespace jov
