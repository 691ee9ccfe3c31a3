#include "app/application.h"

#include <cstdlib>

#include "text/fatal.h"

namespace zuzar {
namespace {

// ReportFatal takes a plain function; this is the one application it forwards to.
Application* fatalReceiver = nullptr;

[[noreturn]] void ForwardToRuntimeErrorBox(std::string_view message, int32_t code) {
  fatalReceiver->RuntimeErrorBox(message, code);
}

}  // namespace

std::string BuildRuntimeErrorText(std::string_view message, int32_t code) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  if (!message.empty()) text += "错误信息：" + std::string(message) + "\r\n";
  return text;
}

Application::Application(ApplicationPlatform& platform, EventDispatcher& events, DllCommandTable& dllCommands)
    : platform_(platform), events_(events), dllCommands_(dllCommands) {}

void Application::OnWindowDestroyed(int32_t windowsLeft) {
  if (windowsLeft == 0 && loopRunning_) platform_.PostQuit(0);
}

void Application::CleanUp() {
  if (cleanUpUnderWay_) return;
  cleanUpUnderWay_ = true;
  platform_.ReleaseWindows();
  if (endRoutine_) endRoutine_();
  dllCommands_.ReleaseAll();
  platform_.ReleaseFrameworkResources();
  platform_.CloseAllFiles();
  platform_.UninitializeOle();
}

void Application::RuntimeErrorBox(std::string_view message, int32_t code) {
  const std::string text = BuildRuntimeErrorText(message, code);
  events_.RaiseBlockCount();
  platform_.ShowErrorBox(text);
  UnregisterEndRoutine();
  CleanUp();
  platform_.EndProcess(-1);
  std::abort();  // a virtual call carries no noreturn; EndProcess never comes back
}

void InstallRuntimeErrorBox(Application* application) {
  fatalReceiver = application;
  SetFatalReporter(application ? &ForwardToRuntimeErrorBox : nullptr);
}

}  // namespace zuzar
