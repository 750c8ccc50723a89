// Modal windows on a real X display (make desktop), worked by the keyboard through XTEST
// while their loop runs: a dialog from its template moves the focus with Tab, ends with
// Enter (OK) or Esc (Cancel) and hands the typed text back through its data exchange; the
// file chooser offers the suite's filters and goes with Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <string>
#include <vector>

#include "files/FileChoosers.h"
#include "files/FileTypeIds.h"
#include "files/ZelFileSpec.h"
#include "platform/qt/QtPresenter.h"
#include "platform/qt/QtUiBackend.h"
#include "tests/desktop/RealDisplay.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/TestSupport.h"
#include "ui/EditNameDlg.h"
#include "ui/ZelDialogTemplates.h"

using namespace desktop_test;

namespace {

// Steps run from Qt's loop while a modal window's own loop runs: each waits for its
// condition, then acts. Whatever is still open at the deadline is closed, so that a step
// that never comes fails the test instead of hanging it.
class ModalScript {
 public:
  struct Step {
    const char* what;
    std::function<bool()> ready;
    std::function<void()> act;
  };
  explicit ModalScript(std::vector<Step> steps, int deadlineMs = 10000)
      : m_steps(std::move(steps)) {
    QObject::connect(&m_tick, &QTimer::timeout, [this] { Tick(); });
    m_tick.start(20);
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, [this] {
      m_tick.stop();
      if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
    m_deadline.start(deadlineMs);
  }
  // The step that did not come, empty when all did.
  std::string Missing() const { return m_next < m_steps.size() ? m_steps[m_next].what : ""; }

 private:
  void Tick() {
    if (m_next >= m_steps.size() || m_busy) return;
    if (!m_steps[m_next].ready()) return;
    m_busy = true;  // an action's keys may run a loop of their own
    m_steps[m_next++].act();
    m_busy = false;
  }

  std::vector<Step> m_steps;
  size_t m_next = 0;
  bool m_busy = false;
  QTimer m_tick, m_deadline;
};

// The modal window in front once it shows on the screen with the keyboard focus.
template <typename W>
W* ShownModal() {
  auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
  if (!w || !w->isVisible() || !w->isActiveWindow() || !w->windowHandle() ||
      !w->windowHandle()->isExposed())
    return nullptr;
  return w;
}

class DialogDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    RequireRealDisplay();
    // People answer through the desktop here, not through the tests' script.
    m_scope.Use(&zel_qt::UiBackendInstance());
  }
  void TearDown() override { zel_qt::UninstallPresenter(); }

  QLineEdit* Edit() {
    QDialog* d = ShownModal<QDialog>();
    return d ? d->findChild<QLineEdit*>(QString::number(IDC_EDIT_NAME_VALUE)) : nullptr;
  }

 private:
  zel_test::IntegrationScope m_scope;
};

TEST_F(DialogDesktopTest, TabMovesTheFocusEnterIsOkAndTheTypedTextComesBack) {
  CEditNameDlg dialog("Rename Sequence",
                      "New name:", CEditNameDlg::kNotBlank | CEditNameDlg::kInitData);
  dialog.SetName("pBR322");
  QString afterTab;  // the object name of the control Tab moved to: the window goes
  ModalScript script({
      {"the dialog with its text, the focus in the edit",
       [&] { return Edit() && Edit()->hasFocus() && Edit()->text() == "pBR322"; },
       [&] {
         KeepPicture(GrabScreen(ShownModal<QDialog>()->frameGeometry()), "name-dialog.png");
         TypeText("pUC19");  // over the selected text
       }},
      {"the typed text in the edit", [&] { return Edit()->text() == "pUC19"; },
       [&] { PressKeys("Tab"); }},
      {"the focus on the next control",
       [&] {
         QWidget* focus = QApplication::focusWidget();
         afterTab = focus ? focus->objectName() : QString();
         return focus && focus != Edit();
       },
       [&] { PressKeys("shift+Tab"); }},
      {"the focus back in the edit", [&] { return Edit()->hasFocus(); },
       [&] { PressKeys("Return"); }},
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(script.Missing(), "");
  EXPECT_EQ(afterTab, QString::number(IDOK)) << "Tab went elsewhere";
  EXPECT_EQ(dialog.GetName(), "pUC19");
}

TEST_F(DialogDesktopTest, EscCancelsAndTheDataStaysAsItWas) {
  CEditNameDlg dialog("Rename Sequence",
                      "New name:", CEditNameDlg::kNotBlank | CEditNameDlg::kInitData);
  dialog.SetName("pBR322");
  ModalScript script({
      {"the dialog, the focus in the edit", [&] { return Edit() && Edit()->hasFocus(); },
       [&] { TypeText("typed"); }},
      {"the typed text in the edit", [&] { return Edit()->text() == "typed"; },
       [&] { PressKeys("Escape"); }},
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(script.Missing(), "");
  EXPECT_EQ(dialog.GetName(), "pBR322");
}

// "Label (*.a;*.b)|*.a;*.b|...||" as (label, patterns) pairs.
std::vector<std::pair<QString, QStringList>> FilterItems(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  std::vector<std::pair<QString, QStringList>> items;
  for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
    items.emplace_back(parts[i], parts[i + 1].split(';'));
  return items;
}

TEST_F(DialogDesktopTest, TheFileChooserOffersTheTypesFiltersAndGoesWithEsc) {
  const int types[] = {kGenBank, kFasta, kDnaDocument};
  const ZelChooserPlan plan =
      ZelPlanFileChooser(CTYPE_INPUT, types, 3, "Open a Sequence", "All Sequences", false);
  const auto items = FilterItems(static_cast<const char*>(plan.request.filter));
  ASSERT_GE(items.size(), 4u) << plan.request.filter;  // the front item and the three types

  QStringList offered;
  QString title;
  ModalScript script({
      {"the file chooser on the screen", [] { return ShownModal<QFileDialog>() != nullptr; },
       [&] {
         QFileDialog* chooser = ShownModal<QFileDialog>();
         offered = chooser->nameFilters();
         title = chooser->windowTitle();
         KeepPicture(GrabScreen(chooser->frameGeometry()), "file-chooser.png");
         PressKeys("Escape");
       }},
  });
  CZelFileSpec spec;
  EXPECT_EQ(spec.ChooseInput(types, 3, "Open a Sequence", "All Sequences"), 0);
  EXPECT_EQ(script.Missing(), "");
  EXPECT_EQ(title, "Open a Sequence");
  ASSERT_EQ(offered.size(), static_cast<qsizetype>(items.size()))
      << offered.join(" | ").toStdString();
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i].first.toStdString());
    // The label without the patterns it shows, then the patterns as Qt takes them.
    QString label = items[i].first;
    if (const qsizetype open = label.lastIndexOf('('); open > 0 && label.endsWith(')'))
      label = label.left(open).trimmed();
    EXPECT_EQ(offered[static_cast<qsizetype>(i)], label + " (" + items[i].second.join(' ') + ")");
  }
}

}  // namespace
