// Menu bars and popups on Qt, the key-event filter and the owner-drawing style.
#include "platform/qt/QtMenus.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <vector>

#include "platform/qt/QtDC.h"
#include "platform/qt/QtSystemValues.h"
#include "platform/qt/QtText.h"
#include "platform/user/menu/MenuApi.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/ToolkitBridge.h"
#include "platform/user/wnd/Window.h"

namespace zel_qt {
namespace {

// Owner-drawn actions' text: a private-use character, which is no mnemonic, and the
// item's position.
constexpr char16_t kOwnerDrawn = 0xF8FF;

QString OwnerDrawnText(int position) { return QChar(kOwnerDrawn) + QString::number(position); }

// Whether the owner is in a menu loop now, and whether for a tracked popup.
struct Loop {
  bool active = false;
  bool tracked = false;
};
QHash<uintptr_t, Loop>& Loops() {
  static QHash<uintptr_t, Loop> loops;
  return loops;
}

QString ItemText(HMENU menu, int position) {
  const int n = GetMenuString(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
  std::vector<char> text(static_cast<size_t>(n) + 1, 0);
  GetMenuString(menu, static_cast<UINT>(position), text.data(), n + 1, MF_BYPOSITION);
  return ToUnicode(text.data(), n, LOGFONT());
}

QAction* ActionAt(QMenu* menu, int position) {
  for (QAction* a : menu->actions())
    if (a->property("zelPosition").toInt() == position) return a;
  return nullptr;
}

// The character an ordinary action's mnemonic stands for ('&x'), 0 for none.
QChar Mnemonic(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1];
    ++i;
  }
  return QChar();
}

class MenuCharFilter : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* menu = dynamic_cast<PopupMenu*>(object);
    if (!menu) return false;
    if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) {
        const QPoint at = mouse->globalPosition().toPoint();
        POINT p{at.x(), at.y()};
        ScreenToClient(menu->Owner(), &p);
        SendMessage(menu->Owner(), WM_RBUTTONDOWN, MK_RBUTTON, LParamOfPoint(p));
      }
      return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() || text[0].unicode() > 0xFF ||
        (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
      return false;
    // A plain item's mnemonic is Qt's to handle, as the platform handles it itself.
    for (QAction* a : menu->actions())
      if (OwnerDrawnPosition(a->text()) < 0 && Mnemonic(a->text()).toLower() == text[0].toLower())
        return false;
    const zel_menu::MenuCharAnswer answer = zel_menu::MenuChar(
        menu->Owner(), menu->Menu(), static_cast<char>(text[0].unicode()), false);
    QAction* target = ActionAt(menu, answer.position);
    switch (answer.action) {
      case MNC_EXECUTE:
        if (!target) return false;
        menu->setActiveAction(target);
        // As a press of Enter: Qt triggers the action and closes the menus.
        QApplication::postEvent(menu,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        return true;
      case MNC_SELECT:
        if (!target) return false;
        menu->setActiveAction(target);
        return true;
      case MNC_CLOSE:
        menu->close();
        return true;
      default:
        return false;
    }
  }
};

MenuCharFilter* Filter() {
  static MenuCharFilter* filter = new MenuCharFilter;
  return filter;
}

// The popup, item and position a style option of a menu item stands for when the item is
// owner-drawn; null otherwise.
const PopupMenu* OwnerDrawn(const QStyleOption* option, const QWidget* widget,
                            const QStyleOptionMenuItem*& item, int& position) {
  const auto* menu = dynamic_cast<const PopupMenu*>(widget);
  item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  position = item ? OwnerDrawnPosition(item->text) : -1;
  return menu && position >= 0 ? menu : nullptr;
}

class OwnerDrawStyle : public QProxyStyle {
 public:
  explicit OwnerDrawStyle(QStyle* base) : QProxyStyle(base) {}

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    const QStyleOptionMenuItem* item;
    int position;
    if (type == CT_MenuItem)
      if (const PopupMenu* menu = OwnerDrawn(option, widget, item, position)) {
        const SIZE s = zel_menu::MeasureItem(menu->Owner(), menu->Menu(), position);
        return QSize(s.cx, s.cy);
      }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const QStyleOptionMenuItem* item;
    int position;
    if (element == CE_MenuItem)
      if (const PopupMenu* menu = OwnerDrawn(option, widget, item, position)) {
        DrawOwnerDrawn(*menu, *item, position, painter);
        return;
      }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

 private:
  void DrawOwnerDrawn(const PopupMenu& menu, const QStyleOptionMenuItem& item, int position,
                      QPainter* painter) const {
    UINT state = 0;
    if (item.state & State_Selected) state |= ODS_SELECTED;
    if (!(item.state & State_Enabled)) state |= ODS_GRAYED | ODS_DISABLED;
    if (item.checked) state |= ODS_CHECKED;
    if (item.menuItemType == QStyleOptionMenuItem::DefaultItem) state |= ODS_DEFAULT;
    const QRect r = item.rect;
    painter->save();
    // The menu's own background under the item, as the platform's menus have it.
    const COLORREF back = SystemColor(COLOR_MENU);
    painter->fillRect(r, QColor(GetRValue(back), GetGValue(back), GetBValue(back)));
    {
      CQtDC dc(painter);
      zel_menu::DrawItem(menu.Owner(), menu.Menu(), position, &dc,
                         RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, ODA_DRAWENTIRE,
                         state);
    }
    painter->restore();
    // The platform draws a popup's arrow beside what the owner drew.
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
      QStyleOptionMenuItem arrow = item;
      const int size = r.height() / 2;
      arrow.rect = QRect(r.right() - size - 2, r.top() + (r.height() - size) / 2, size, size);
      QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, &menu);
    }
  }
};

}  // namespace

int OwnerDrawnPosition(const QString& text) {
  if (text.isEmpty() || text[0] != QChar(kOwnerDrawn)) return -1;
  bool ok = false;
  const int position = text.mid(1).toInt(&ok);
  return ok ? position : -1;
}

QStyle* MenuStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    style = new OwnerDrawStyle(base);
    style->setParent(qApp);
  }
  return style;
}

PopupMenu::PopupMenu(HWND owner, HMENU menu, int position, bool tracked, QWidget* parent)
    : QMenu(parent), m_owner(owner), m_menu(menu), m_position(position), m_tracked(tracked) {
  setStyle(MenuStyle());
  installEventFilter(Filter());
  connect(this, &QMenu::aboutToShow, this, [this] { OnAboutToShow(); });
  connect(this, &QMenu::aboutToHide, this, [this] { OnAboutToHide(); });
  connect(this, &QMenu::hovered, this, [this](QAction* a) {
    if (actions().contains(a))
      zel_menu::Select(m_owner, m_menu, a->property("zelPosition").toInt());
  });
  connect(this, &QMenu::triggered, this, [this](QAction* a) {
    // Every popup hears its submenus' actions too: the one holding it answers.
    if (m_tracked || !actions().contains(a) || a->menu()) return;
    zel_menu::Command(m_owner, a->property("zelCommand").toUInt());
  });
}

void PopupMenu::OnAboutToShow() {
  Loop& loop = Loops()[m_owner.value];
  if (!loop.active) {
    loop.active = true;
    loop.tracked = m_tracked;
    zel_menu::EnterMenuLoop(m_owner, m_tracked);
    if (!m_tracked)
      if (HMENU bar = GetMenu(m_owner)) zel_menu::InitMenu(m_owner, bar);
  }
  zel_menu::InitMenuPopup(m_owner, m_menu, m_position, false);
  Fill();
}

void PopupMenu::OnAboutToHide() {
  if (m_tracked) return;  // TrackPopupMenu closes the loop itself
  const HWND owner = m_owner;
  // Once Qt has opened the next popup, if any: only the last one closing ends the loop.
  QTimer::singleShot(0, qApp, [owner] {
    Loop& loop = Loops()[owner.value];
    if (!loop.active || loop.tracked || QApplication::activePopupWidget()) return;
    loop.active = false;
    zel_menu::Close(owner);
    zel_menu::ExitMenuLoop(owner, false);
  });
}

void PopupMenu::Fill() {
  for (QAction* a : actions())
    if (a->menu()) a->menu()->deleteLater();
  clear();
  const int count = GetMenuItemCount(m_menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfo(m_menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const bool ownerDrawn = info.fType & MFT_OWNERDRAW;
    const QString label = ownerDrawn ? OwnerDrawnText(i) : ItemText(m_menu, i);
    QAction* a;
    if (info.hSubMenu) {
      auto* sub = new PopupMenu(m_owner, info.hSubMenu, i, m_tracked, this);
      sub->setTitle(label);
      a = addMenu(sub);
    } else if (info.fType & MFT_SEPARATOR) {
      a = addSeparator();
      if (ownerDrawn) a->setText(label);
    } else {
      a = addAction(label);
      a->setProperty("zelCommand", info.wID);
    }
    a->setProperty("zelPosition", i);
    a->setEnabled(!(info.fState & (MF_GRAYED | MF_DISABLED)));
    if (info.fState & MF_CHECKED) {
      a->setCheckable(true);
      a->setChecked(true);
    }
    if (info.fState & MFS_DEFAULT) setDefaultAction(a);
  }
}

void FillMenuBar(QMenuBar* bar, HWND owner, HMENU menu) {
  for (QAction* a : bar->actions())
    if (a->menu()) a->menu()->deleteLater();
  bar->clear();
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfo(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const QString label = ItemText(menu, i);
    QAction* a;
    if (info.hSubMenu) {
      auto* popup = new PopupMenu(owner, info.hSubMenu, i, false, bar);
      popup->setTitle(label);
      a = bar->addMenu(popup);
    } else if (info.fType & MFT_SEPARATOR) {
      a = bar->addSeparator();
    } else {
      a = bar->addAction(label);
      const UINT id = info.wID;
      QObject::connect(a, &QAction::triggered, bar, [owner, id] { zel_menu::Command(owner, id); });
    }
    a->setProperty("zelPosition", i);
    a->setEnabled(!(info.fState & (MF_GRAYED | MF_DISABLED)));
  }
}

}  // namespace zel_qt

namespace zel_qt {

UINT TrackPopup(HWND owner, HMENU menu, QPoint at, QWidget* parent) {
  PopupMenu popup(owner, menu, 0, true, parent);
  QAction* chosen = popup.exec(at);
  const UINT command = chosen ? chosen->property("zelCommand").toUInt() : 0;
  Loops().remove(owner.value);
  zel_menu::Close(owner);
  zel_menu::ExitMenuLoop(owner, true);
  return command;
}

}  // namespace zel_qt
