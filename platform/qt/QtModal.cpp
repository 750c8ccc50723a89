// Modal windows of the Qt backend, attended or not.
#include "platform/qt/QtModal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace zel_qt {
namespace {
ModalDriver& Driver() {
  static ModalDriver driver;
  return driver;
}
}  // namespace

bool Unattended() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

ModalDriver SetModalDriver(ModalDriver driver) {
  ModalDriver previous = std::move(Driver());
  Driver() = std::move(driver);
  return previous;
}

int RunModal(QDialog& window, const std::function<void()>& unanswered) {
  if (!Unattended()) return window.exec();
  QPointer<QDialog> guard(&window);
  QTimer::singleShot(0, &window, [guard, unanswered] {
    // A copy: the driver may install another while it runs.
    if (ModalDriver driver = Driver(); driver && guard) driver(*guard);
    if (guard && guard->isVisible() && unanswered) unanswered();
    if (guard && guard->isVisible()) guard->done(QDialog::Rejected);
  });
  return window.exec();
}

QWidget* ModalParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

}  // namespace zel_qt
