// zel view [FILE...]: the suite's document window. Each file opens in a window of its own
// inside the frame; without files, the documents open at the last exit come back.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/Output.h"
#include "cli/frame/FrameSupport.h"
#include "cli/view/MainFrame.h"
#include "layout/DirectoryLayout.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/ui/UiBackend.h"

namespace zel_cli {
namespace {

struct Options {
  std::vector<std::string> files;
  LayoutRoots roots;
  PictureOptions picture;
};

// The tool folder of the installation, when there is one on disk.
bool HaveToolFolder() {
  if (!TOOLSMENUDIR.IsSpecSet()) return false;
  std::error_code ec;
  return std::filesystem::is_directory(TOOLSMENUDIR.GetPath(), ec);
}

bool OnDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

int View(Options& o) {
  // The installation as it is stored; nobody is asked for one.
  if (!ComputeLayout(o.roots, false, "view")) return kFailed;
  if (!o.picture.screenshot.empty() && o.picture.quitAfter < 0) o.picture.quitAfter = 1000;
  const bool restore = o.files.empty();
  std::vector<std::string> files = restore ? LoadOpenDocuments() : o.files;
  for (std::string& file : files) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    if (!ec) file = absolute.lexically_normal().string();
  }

  zel_wnd::Desktop* desktop = StartDesktop();
  if (!desktop) {
    Message("view: no desktop library to show windows with");
    return kFailed;
  }
  std::unique_ptr<ViewTools> tools;
  MainFrame* frameRef = nullptr;
  if (HaveToolFolder()) {
    tools = std::make_unique<ViewTools>(
        [&frameRef](CFrameWnd* f) { return frameRef ? frameRef->FactsOfFrame(f) : std::nullopt; },
        [](CFrameWnd* f) {
          auto* doc = dynamic_cast<DocFrame*>(f);
          return doc ? doc->Path() : std::string();
        });
  }
  MainFrame frame(tools.get(), o.picture);
  frameRef = &frame;
  if (!frame.CreateFrame(LoadPlacement())) {
    Message("view: the window could not be made");
    return kFailed;
  }

  int status = kOk;
  std::string failures;
  for (const std::string& file : files) {
    std::string error;
    if (frame.OpenDocument(file, &error)) continue;
    // A document of an earlier run that is gone is no failure of this one.
    if (restore) continue;
    // The library's words name the file already.
    Message("view: " + error);
    status = kFailed;
    failures += (failures.empty() ? "" : "\n") + error;
  }
  // Started from a file manager nobody reads standard error: a person is told too.
  if (!failures.empty() && o.picture.screenshot.empty() && OnDisplay())
    AfxMessageBox(failures.c_str(), MB_OK | MB_ICONSTOP);
  if (!o.files.empty() && frame.OpenPaths().empty()) {
    // Nothing to show of what was asked for.
    return kFailed;
  }
  if (desktop->Run() != 0) return kFailed;
  return frame.Status() != kOk ? frame.Status() : status;
}

const CommandRegistrar view(62, [](CLI::App& app) {
  static Options o;
  auto* cmd = app.add_subcommand(
      "view",
      "The suite's document window: sequence files of any size, paged; the Tools menu runs "
      "tools on the active document (offscreen without a display)");
  cmd->add_option("FILE", o.files,
                  "Documents to open (plain, gzip or BGZF); without any, those open at the last "
                  "exit");
  AddPictureOptions(cmd, o.picture);
  AddLayoutRootOptions(cmd, o.roots);
  cmd->callback([] { SetStatus(View(o)); });
});

}  // namespace
}  // namespace zel_cli
