// Modal windows of the Qt backend, attended or not.
#include "platform/qt/QtModal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <map>

namespace zel_qt {
namespace {

ModalDriver& Driver() {
  static ModalDriver driver;
  return driver;
}

// What to do with a window still open after the driver, by window; windows Qt opens by
// itself (the file dialog's own questions) are answered as message boxes or cancelled.
std::map<const QDialog*, std::function<void()>>& Unanswered() {
  static std::map<const QDialog*, std::function<void()>> unanswered;
  return unanswered;
}

void Answer(QDialog& window) {
  QPointer<QDialog> guard(&window);
  if (ModalDriver driver = Driver(); driver) driver(window);  // a copy: it may install another
  if (!guard || !guard->isVisible()) return;
  if (auto it = Unanswered().find(guard); it != Unanswered().end() && it->second) {
    it->second();
  } else if (auto* box = qobject_cast<QMessageBox*>(guard)) {
    QAbstractButton* button = box->defaultButton();
    if (!button) button = box->escapeButton();
    if (button) button->click();
  }
  if (guard && guard->isVisible()) guard->done(QDialog::Rejected);
}

// Sees every modal window that shows while nobody looks, also those Qt runs itself.
class UnattendedWatch : public QObject {
 public:
  explicit UnattendedWatch(QObject* parent) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* window = qobject_cast<QDialog*>(watched);
      if (window && window->isWindow() && window->windowModality() != Qt::NonModal) {
        QPointer<QDialog> guard(window);
        QTimer::singleShot(0, window, [guard] {
          if (guard && guard->isVisible()) Answer(*guard);
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

void WatchWhenUnattended() {
  static bool watching = false;
  if (watching || !Unattended()) return;
  qApp->installEventFilter(new UnattendedWatch(qApp));
  watching = true;
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
  WatchWhenUnattended();
  Unanswered()[&window] = unanswered;
  const int result = window.exec();
  Unanswered().erase(&window);
  return result;
}

QWidget* ModalParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

}  // namespace zel_qt
