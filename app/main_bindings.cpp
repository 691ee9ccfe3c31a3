#include "app/main_bindings.h"

#include "app/skin_installation.h"
#include "shredder/handlers.h"

namespace zuzar {
namespace {

EventHandler OnBench(const std::optional<Workbench>& bench, void (*handler)(const Workbench&)) {
  return [&bench, handler] {
    if (bench) handler(*bench);
  };
}

}  // namespace

HandlerBindings ProgramHandlerBindings(DllCommandTable& dllCommands, const std::optional<Workbench>& bench) {
  HandlerBindings bindings;
  bindings.onMainWindowCreated = [&dllCommands] { OnMainWindowCreated(dllCommands); };
  bindings.onOpenClicked = OnBench(bench, &OnOpenClicked);
  bindings.onStartClicked = OnBench(bench, &OnStartClicked);
  bindings.onCancelClicked = OnBench(bench, &OnCancelClicked);
  bindings.onForumClicked = OnBench(bench, &OnForumClicked);
  bindings.onLogChanged = OnBench(bench, &OnLogChanged);
  return bindings;
}

}  // namespace zuzar
