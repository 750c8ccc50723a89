/// \class QtUiBackend
/// The Qt user-interface backend: message boxes as QMessageBox, the open and save dialogs
/// and the folder chooser as QFileDialog, dialogs from templates as QDialog, the clipboard
/// through QClipboard: the UI engine of the Qt set (QtIntegration.h), chosen for people on
/// a display or when ZEL_UI is "qt" (IntegrationChoice.h). Unattended (offscreen), its
/// modal windows never wait: see QtModal.h.
#pragma once

#include <QStringList>
#include <vector>

#include "ZelQtExport.h"
#include "platform/user/ui/UiBackend.h"

class ZEL_QT_API QtUiBackend : public DesktopUiBackend {
 public:
  /// Buttons, icon and default button by the type; the answer of the button chosen.
  int MessageBox(const MessageBoxRequest& request) override;
  /// A folder chooser; in output mode the user may make folders. A chosen link to a
  /// folder gives the folder it leads to.
  BOOL BrowseForFolder(const FolderDialogRequest& request, CString& chosen) override;
  /// The filter's items as Qt's name filters; the item in use is mapped back by position.
  /// With OFN_NOREADONLYRETURN a chosen file that may not be written is refused with a
  /// message, and with OFN_OVERWRITEPROMPT (save dialog) replacing a file is asked first
  /// (No by default); either way the dialog comes back.
  BOOL FileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
  ZelClipboard SetClipboardText(const char* text) override;
  ZelClipboard GetClipboardText(CString& text) override;
  int RunModalDialog(CDialog& dialog) override;
  int RunModalSheet(CPropertySheet& sheet) override;
  bool ShowModeless(CDialog& dialog) override;
  void CloseModeless(CDialog& dialog) override;
  bool HostRunsApplication() const override;
  void StartApplication() override;
};

namespace zel_qt {

/// Qt's name filters for the items of a filter string: "Description (pattern pattern)".
/// A description that ends with its own patterns in parentheses does not repeat them; an
/// item without patterns matches every file.
ZEL_QT_API QStringList NameFilters(const std::vector<FileFilterItem>& items);

/// The backend of the Qt set.
ZEL_QT_API QtUiBackend& UiBackendInstance();

}  // namespace zel_qt
