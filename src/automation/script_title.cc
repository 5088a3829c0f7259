#include "automation/script_title.h"

#include "shell/process.h"

namespace jov {
namespace {

struct TitleSlot : ProcessSlot {
  std::string title;
};

std::string& Title() { return Process().Slot<TitleSlot>().title; }

}  // namespace

const std::string& ScriptTitle() { return Title(); }

ScopedScriptTitle::ScopedScriptTitle(std::string_view title) : previous_(Title()) {
  Title() = title;
}

ScopedScriptTitle::~ScopedScriptTitle() { Title() = previous_; }

}  // namespace jov
