/// \file
/// The Qt backend's integration: the whole set of engines libzelutil-qt provides. A host
/// that runs a Qt application installs it; the core learns it when the library loads, so
/// a program that did not link the library gets it on first need (zel's drawing commands).
/// Usage:
/// ```
///   QApplication app(argc, argv);
///   zel_user::InstallIntegration(zel_qt::QtIntegration());
/// ```
#pragma once

#include "ZelQtExport.h"
#include "platform/user/integration/Integration.h"

namespace zel_qt {

/// The Qt presenter, desktop, user-interface backend, picture backend, system values,
/// input and file icons; the os engines left to the system. Answering it starts nothing:
/// the engines make the Qt application when they first need it. They live until the
/// process ends.
ZEL_QT_API const zel_user::Integration& QtIntegration();

}  // namespace zel_qt
