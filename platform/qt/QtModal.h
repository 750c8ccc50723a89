/// \file
/// Modal windows of the Qt backend, and the rule that keeps them from waiting for nobody:
/// on a platform without a person at the screen (offscreen, minimal) every modal window
/// that shows (also those Qt opens by itself, such as a file dialog's questions) is handed
/// to the modal driver, and whatever the driver leaves open is answered as if nobody chose:
/// message boxes by their default button, other windows cancelled. Tests drive the
/// backend's windows from code this way.
#pragma once

#include <functional>

#include "ZelQtExport.h"

class QDialog;
class QWidget;

namespace zel_qt {

/// Whether Qt runs on a platform nobody looks at.
ZEL_QT_API bool Unattended();

/// Called with each modal window once it shows, when unattended; answers the one installed
/// before. Null: none.
using ModalDriver = std::function<void(QDialog& window)>;
/// Sets the driver that runs each modal window instead of its event loop; answers the one before.
ZEL_QT_API ModalDriver SetModalDriver(ModalDriver driver);

/// Runs window modally and answers its result. Unattended, the driver has its turn, then
/// unanswered() is called for a window still open (instead of the general answer), and a
/// window that is open even after that is rejected.
ZEL_QT_API int RunModal(QDialog& window, const std::function<void()>& unanswered);

/// The window a new modal window belongs to: the modal window in front, else the active
/// window, else none.
ZEL_QT_API QWidget* ModalParent();

}  // namespace zel_qt
