// Dialogs from templates on Qt.
#include "platform/qt/QtDialogPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtModal.h"
#include "platform/qt/QtText.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/gdi/MulDiv.h"

namespace zel_qt {

QString SuiteText(const char* text) {
  if (!text) return QString();
  return ToUnicode(text, static_cast<int>(std::strlen(text)), LOGFONT{});
}

CString FromQt(const QString& text) { return CString(text.toUtf8().toStdString()); }

namespace {

LOGFONT DialogLogFont(const DialogTemplate& t) {
  LOGFONT lf;
  // Points at the device's 96 pixels per inch, as a character height.
  lf.lfHeight = -MulDiv(t.pointSize > 0 ? t.pointSize : 8, 96, 72);
  lf.lfWeight = 400;
  SetFaceName(lf, t.faceName);
  return lf;
}

// A label's "&x" marks the key of the control after it; without such a control the marks
// are taken out ("&&" stays as one "&").
QString WithoutMnemonics(const QString& text) {
  QString out;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size())
      ++i;
    else if (text[i] == QLatin1Char('&'))
      continue;
    out += text[i];
  }
  return out;
}

bool TakesFocus(DialogItemKind kind) {
  return kind != DialogItemKind::Text && kind != DialogItemKind::GroupBox;
}

// A password edit shows the model's character for each typed one, not the style's bullet.
class PasswordCharStyle : public QProxyStyle {
 public:
  explicit PasswordCharStyle(QChar shown) : m_shown(shown) {}
  QChar Shown() const { return m_shown; }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return m_shown.unicode();
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }

 private:
  QChar m_shown;
};

void ShowPasswordChar(QLineEdit& edit, char passwordChar) {
  edit.setEchoMode(passwordChar ? QLineEdit::Password : QLineEdit::Normal);
  if (!passwordChar) return;
  const QChar shown(FromWindows1252(static_cast<unsigned char>(passwordChar)));
  auto* style = dynamic_cast<PasswordCharStyle*>(edit.style());
  if (style && style->Shown() == shown) return;
  // The edit owns its style; the one it had before goes once the new one is in place.
  auto* fresh = new PasswordCharStyle(shown);
  fresh->setParent(&edit);
  edit.setStyle(fresh);
  delete style;
}

QStringList Entries(const std::vector<CString>& strings) {
  QStringList out;
  for (const CString& s : strings) out << SuiteText(s);
  return out;
}

}  // namespace

QFont DialogFont(const DialogTemplate& t) { return RealizeFont(DialogLogFont(t))->font; }

SIZE DialogBaseUnitsOf(const DialogTemplate& t) {
  const auto font = RealizeFont(DialogLogFont(t));
  const qreal alphabet = font->metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogBaseUnits(qRound(alphabet), font->ascent + font->descent);
}

QRect DialogRect(const DialogTemplate& t, int x, int y, int cx, int cy) {
  const RECT r = DialogUnitsToPixels(x, y, cx, cy, DialogBaseUnitsOf(t));
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QtModelWindow::QtModelWindow(DialogInput& input, QWidget* parent)
    : QDialog(parent), m_input(input) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void QtModelWindow::reject() {
  if (m_input.IsEnded())
    QDialog::reject();
  else
    m_input.UserClick(IDCANCEL);
}

void QtModelWindow::closeEvent(QCloseEvent* event) {
  if (m_input.IsEnded()) return QDialog::closeEvent(event);
  event->ignore();
  m_input.UserClose();
}

void QtModelWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    m_input.UserHelp();
    return;
  }
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier) {
    bool hasDefault = false;
    for (QPushButton* button : findChildren<QPushButton*>())
      hasDefault = hasDefault || (button->isDefault() && button->isVisible());
    // Without a default button Enter still stands for OK.
    if (!hasDefault) {
      m_input.UserClick(IDOK);
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

void QtModelWindow::Center() {
  const QRect frame(QPoint(), size());
  QRect area;
  if (QWidget* parent = parentWidget())
    area = parent->window()->frameGeometry();
  else if (QScreen* screen = QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (!area.isEmpty()) move(area.center() - frame.center());
}

QtDialogView::QtDialogView(CDialog& dialog, QWidget& surface, Hooks hooks)
    : m_dialog(dialog), m_surface(surface), m_hooks(std::move(hooks)) {
  Build();
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (m_updating) return;
    if (const int id = IdOf(now)) m_dialog.UserFocus(id);
  });
}

QtDialogView::~QtDialogView() {
  if (m_dialog.View() == this) m_dialog.SetView(nullptr);
}

void QtDialogView::Build() {
  const DialogTemplate& t = m_dialog.Template();
  m_surface.setFont(DialogFont(t));
  m_surface.setFixedSize(DialogRect(t, 0, 0, t.cx, t.cy).size());
  const std::vector<CDialogItem*>& items = m_dialog.Items();
  m_widgets.assign(items.size(), nullptr);
  for (CDialogItem* item : items) {
    const DialogItemTemplate& it = item->Template();
    const int id = it.id;
    QWidget* widget = nullptr;
    switch (it.kind) {
      case DialogItemKind::PushButton:
      case DialogItemKind::DefPushButton: {
        auto* button = new QPushButton(&m_surface);
        button->setAutoDefault(false);
        button->setDefault(it.kind == DialogItemKind::DefPushButton);
        widget = button;
        break;
      }
      case DialogItemKind::CheckBox:
        widget = new QCheckBox(&m_surface);
        break;
      case DialogItemKind::RadioButton: {
        // The model keeps the groups: Qt would join every radio button of the dialog.
        auto* radio = new QRadioButton(&m_surface);
        radio->setAutoExclusive(false);
        widget = radio;
        break;
      }
      case DialogItemKind::GroupBox:
        widget = new QGroupBox(&m_surface);
        break;
      case DialogItemKind::Text: {
        auto* label = new QLabel(&m_surface);
        label->setWordWrap(true);
        label->setAlignment((it.style & SS_CENTER)  ? Qt::AlignHCenter | Qt::AlignTop
                            : (it.style & SS_RIGHT) ? Qt::AlignRight | Qt::AlignTop
                                                    : Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
      }
      case DialogItemKind::Edit: {
        auto* edit = new QLineEdit(&m_surface);
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
          if (!m_updating) m_dialog.UserType(id, FromQt(text));
        });
        widget = edit;
        break;
      }
      case DialogItemKind::ComboBox: {
        auto* combo = new QComboBox(&m_surface);
        combo->setEditable((it.style & 0x3) == CBS_DROPDOWN);
        connect(combo, &QComboBox::activated, this, [this, id](int index) {
          if (!m_updating) m_dialog.UserSelect(id, index);
        });
        if (QLineEdit* edit = combo->lineEdit()) {
          connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
            if (!m_updating) m_dialog.UserType(id, FromQt(text));
          });
          edit->installEventFilter(this);
        }
        widget = combo;
        break;
      }
      case DialogItemKind::ListBox: {
        auto* list = new QListWidget(&m_surface);
        connect(list, &QListWidget::currentRowChanged, this, [this, id](int row) {
          if (!m_updating) m_dialog.UserSelect(id, row);
        });
        widget = list;
        break;
      }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      connect(button, &QAbstractButton::clicked, this, [this, item, id] {
        if (m_updating) return;
        m_dialog.UserClick(id);
        // Qt has toggled the button itself; the model says what it is.
        if (m_dialog.IsWindow()) Refresh(*item);
      });
    }
    widget->setObjectName(QString::number(id));
    QRect rect = DialogRect(t, it.x, it.y, it.cx, it.cy);
    // A combo box's height in the template is that of its open list.
    if (it.kind == DialogItemKind::ComboBox)
      rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
    widget->setGeometry(rect);
    widget->installEventFilter(this);
    m_widgets[static_cast<size_t>(item->Index())] = widget;
  }
  // Labels lead to the control after them; group boxes lie under what they frame.
  for (size_t i = 0; i < items.size(); ++i) {
    if (auto* box = qobject_cast<QGroupBox*>(m_widgets[i])) box->lower();
    auto* label = qobject_cast<QLabel*>(m_widgets[i]);
    if (!label || i + 1 >= items.size() || !TakesFocus(items[i + 1]->Kind())) continue;
    label->setBuddy(m_widgets[i + 1]);
  }
}

int QtDialogView::IdOf(const QWidget* widget) const {
  for (; widget && widget != &m_surface; widget = widget->parentWidget())
    for (size_t i = 0; i < m_widgets.size(); ++i)
      if (m_widgets[i] == widget) return m_dialog.Items()[i]->GetDlgCtrlID();
  return 0;
}

void QtDialogView::Refresh(CDialogItem& item) {
  const size_t index = static_cast<size_t>(item.Index());
  if (index >= m_widgets.size() || !m_widgets[index]) return;
  QWidget* widget = m_widgets[index];
  const DialogItemState& s = item.State();
  const QString text = SuiteText(s.text);
  const bool wasUpdating = std::exchange(m_updating, true);
  widget->setEnabled(s.enabled);
  if (widget->isVisibleTo(&m_surface) != s.visible) widget->setVisible(s.visible);
  switch (item.Kind()) {
    case DialogItemKind::Text: {
      auto* label = static_cast<QLabel*>(widget);
      label->setText(label->buddy() ? text : WithoutMnemonics(text));
      break;
    }
    case DialogItemKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(text);
      break;
    case DialogItemKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      if (edit->text() != text) edit->setText(text);
      ShowPasswordChar(*edit, s.passwordChar);
      edit->setReadOnly(item.GetStyle() & ES_READONLY);
      if (s.selStart != s.selEnd)
        edit->setSelection(s.selStart, s.selEnd - s.selStart);
      else
        edit->setCursorPosition(s.selEnd);
      break;
    }
    case DialogItemKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      const QStringList entries = Entries(s.strings);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
      if (shown != entries) {
        combo->clear();
        combo->addItems(entries);
      }
      combo->setCurrentIndex(s.curSel);
      if (QLineEdit* edit = combo->lineEdit()) {
        if (edit->text() != text) edit->setText(text);
        if (s.selStart != s.selEnd) edit->setSelection(s.selStart, s.selEnd - s.selStart);
      }
      break;
    }
    case DialogItemKind::ListBox: {
      auto* list = static_cast<QListWidget*>(widget);
      const QStringList entries = Entries(s.strings);
      QStringList shown;
      for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
      if (shown != entries) {
        list->clear();
        list->addItems(entries);
      }
      list->setCurrentRow(s.curSel);
      if (s.curSel < 0) list->clearSelection();
      break;
    }
    default: {
      auto* button = qobject_cast<QAbstractButton*>(widget);
      button->setText(text);
      if (item.Kind() == DialogItemKind::CheckBox || item.Kind() == DialogItemKind::RadioButton) {
        button->setCheckable(true);
        button->setChecked(s.check != BST_UNCHECKED);
      }
      break;
    }
  }
  m_updating = wasUpdating;
}

void QtDialogView::RefreshAll() {
  for (CDialogItem* item : m_dialog.Items()) Refresh(*item);
  CaptionChanged();
  FocusChanged();
}

void QtDialogView::ItemChanged(CDialogItem& item) { Refresh(item); }

void QtDialogView::CaptionChanged() {
  CString caption;
  m_dialog.GetWindowText(caption);
  if (m_hooks.caption) m_hooks.caption(SuiteText(caption));
}

void QtDialogView::FocusChanged() {
  CDialogItem* item = m_dialog.GetFocusItem();
  const size_t index = item ? static_cast<size_t>(item->Index()) : m_widgets.size();
  if (index >= m_widgets.size()) return;
  const bool wasUpdating = std::exchange(m_updating, true);
  m_widgets[index]->setFocus(Qt::OtherFocusReason);
  m_updating = wasUpdating;
}

void QtDialogView::Center() {
  if (m_hooks.center) m_hooks.center();
}

void QtDialogView::ActivateParent() {
  if (m_hooks.activateParent) m_hooks.activateParent();
}

void QtDialogView::Ended() {
  if (m_hooks.ended) m_hooks.ended();
}

// Typed characters reach the dialog before its controls, which may take them away.
bool QtDialogView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  UINT ch = 0;
  if (key->key() == Qt::Key_Backspace)
    ch = '\b';
  else if (key->text().size() == 1 && key->text()[0].unicode() >= 0x20 &&
           key->text()[0].unicode() < 0x100)
    ch = key->text()[0].unicode();
  if (ch && m_dialog.UserChar(ch)) return true;
  return QObject::eventFilter(watched, event);
}

namespace {

QtDialogView::Hooks WindowHooks(QtModelWindow& window, DialogInput& input) {
  return {[&window](const QString& caption) { window.setWindowTitle(caption); },
          [&window] { window.Center(); },
          [&window] {
            if (QWidget* parent = window.parentWidget()) parent->window()->activateWindow();
          },
          [&window, &input] {
            if (window.isVisible())
              window.done(input.Result());
            else
              window.setResult(input.Result());
          }};
}

void CloseUnanswered(DialogInput& input) {
  input.UserClose();
  // A dialog that refuses even that is cancelled all the same: nobody will answer it.
  if (!input.IsEnded()) input.UserClick(IDCANCEL);
}

struct Modeless {
  std::unique_ptr<QtModelWindow> window;
  std::unique_ptr<QtDialogView> view;
};
std::map<CDialog*, Modeless>& ModelessDialogs() {
  static std::map<CDialog*, Modeless> dialogs;
  return dialogs;
}

class QtSheetPresenter : public SheetView {
 public:
  QtSheetPresenter(CPropertySheet& sheet, QWidget* parent)
      : m_sheet(sheet), m_window(sheet, parent) {
    auto* layout = new QVBoxLayout(&m_window);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_tabs = new QTabWidget(&m_window);
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
      auto t = ZelFindDialogTemplate(sheet.GetPage(i)->GetTemplateId());
      auto* page = new QWidget;
      page->setFixedSize(DialogRect(*t, 0, 0, t->cx, t->cy).size());
      m_pages.push_back(page);
      m_tabs->addTab(page, SuiteText(t->caption));
    }
    m_views.resize(m_pages.size());
    QObject::connect(m_tabs, &QTabWidget::currentChanged, m_tabs, [this](int index) {
      if (m_updating) return;
      m_sheet.UserShowPage(index);
      // A page that will not let go stays in front.
      if (m_sheet.GetActiveIndex() != index) PageChanged();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, m_tabs,
                     [this] { m_sheet.UserClick(IDOK); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, m_tabs,
                     [this] { m_sheet.UserClick(IDCANCEL); });
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    sheet.SetView(this);
  }
  ~QtSheetPresenter() override {
    m_sheet.SetView(nullptr);
    for (int i = 0; i < m_sheet.GetPageCount(); ++i)
      if (m_views[static_cast<size_t>(i)]) m_sheet.GetPage(i)->SetView(nullptr);
  }

  int Run() {
    m_sheet.StartSheet();
    CaptionChanged();
    if (m_sheet.IsEnded()) return m_sheet.Result();
    m_window.Center();
    RunModal(m_window, [this] { CloseUnanswered(m_sheet); });
    return m_sheet.IsEnded() ? m_sheet.Result() : IDCANCEL;
  }

  void PageChanged() override {
    const int index = m_sheet.GetActiveIndex();
    CPropertyPage* page = m_sheet.GetPage(index);
    if (!page) return;
    auto& view = m_views[static_cast<size_t>(index)];
    if (!view && page->IsWindow()) {
      view = std::make_unique<QtDialogView>(
          *page, *m_pages[static_cast<size_t>(index)],
          QtDialogView::Hooks{
              [this, index](const QString& c) { m_tabs->setTabText(index, c); }, {}, {}, {}});
      page->SetView(view.get());
      view->RefreshAll();
    }
    m_updating = true;
    m_tabs->setCurrentIndex(index);
    m_updating = false;
  }
  void CaptionChanged() override { m_window.setWindowTitle(SuiteText(m_sheet.GetTitle())); }
  void Ended() override {
    if (m_window.isVisible()) m_window.done(m_sheet.Result());
  }

 private:
  CPropertySheet& m_sheet;
  QtModelWindow m_window;
  QTabWidget* m_tabs;
  std::vector<QWidget*> m_pages;
  std::vector<std::unique_ptr<QtDialogView>> m_views;
  bool m_updating = false;
};

}  // namespace

int RunQtDialog(CDialog& dialog) {
  EnsureApplication();
  QtModelWindow window(dialog, ModalParent());
  QtDialogView view(dialog, window, WindowHooks(window, dialog));
  dialog.SetView(&view);
  dialog.StartDialog();
  view.RefreshAll();
  if (!dialog.IsEnded()) {
    window.Center();
    RunModal(window, [&dialog] { CloseUnanswered(dialog); });
  }
  dialog.SetView(nullptr);
  return dialog.IsEnded() ? dialog.Result() : IDCANCEL;
}

int RunQtSheet(CPropertySheet& sheet) {
  EnsureApplication();
  QtSheetPresenter presenter(sheet, ModalParent());
  return presenter.Run();
}

void ShowQtModeless(CDialog& dialog) {
  EnsureApplication();
  Modeless& shown = ModelessDialogs()[&dialog];
  shown.window = std::make_unique<QtModelWindow>(dialog, QApplication::activeWindow());
  QtModelWindow& window = *shown.window;
  QtDialogView::Hooks hooks = WindowHooks(window, dialog);
  hooks.ended = [&window] { window.hide(); };
  shown.view = std::make_unique<QtDialogView>(dialog, window, std::move(hooks));
  dialog.SetView(shown.view.get());
  dialog.StartDialog();
  shown.view->RefreshAll();
  if (dialog.IsEnded()) return;
  window.Center();
  window.show();
}

void CloseQtModeless(CDialog& dialog) {
  auto it = ModelessDialogs().find(&dialog);
  if (it == ModelessDialogs().end()) return;
  dialog.SetView(nullptr);
  ModelessDialogs().erase(it);
}

}  // namespace zel_qt
