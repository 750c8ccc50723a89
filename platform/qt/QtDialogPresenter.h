/// \file
/// Dialogs from templates on Qt: a QDialog (or a property sheet's page) built from a
/// dialog's template, with dialog units turned into pixels by the template's font, kept in
/// step with the dialog's model both ways: what the program changes is shown, what a person
/// does goes back through the model's DialogInput. Controls are found by their id as the
/// widgets' object name ("508").
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>
#include <vector>

#include "ZelQtExport.h"
#include "platform/user/dialog/Dialog.h"
#include "platform/user/dialog/PropertySheet.h"

class QWidget;

namespace zel_qt {

/// The suite's 8-bit text for Qt (Windows-1252, or UTF-8 where it is valid UTF-8).
ZEL_QT_API QString SuiteText(const char* text);
/// Text from Qt for the suite: UTF-8.
ZEL_QT_API CString FromQt(const QString& text);

/// The font a template's dialog is drawn in, and its dialog base units in pixels.
///@{
ZEL_QT_API QFont DialogFont(const DialogTemplate& dialogTemplate);
ZEL_QT_API SIZE DialogBaseUnitsOf(const DialogTemplate& dialogTemplate);
///@}
/// A rectangle of dialog units in pixels, in the template's font.
ZEL_QT_API QRect DialogRect(const DialogTemplate& dialogTemplate, int x, int y, int cx, int cy);

/// A window whose close box, Escape and F1 go to a dialog or sheet model instead of
/// closing it; the model ends it.
class ZEL_QT_API QtModelWindow : public QDialog {
 public:
  QtModelWindow(DialogInput& input, QWidget* parent);
  void reject() override;
  /// Centres the window over its parent, or on its screen.
  void Center();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  DialogInput& m_input;
};

/// The controls of a dialog's template on a surface widget, sized to the template.
class ZEL_QT_API QtDialogView : public QObject, public DialogView {
 public:
  /// What the view tells its owner: a command, a change of a control's contents, a closing.
  struct Hooks {
    std::function<void(const QString&)> caption;
    std::function<void()> center;
    std::function<void()> activateParent;
    std::function<void()> ended;
  };
  QtDialogView(CDialog& dialog, QWidget& surface, Hooks hooks);
  ~QtDialogView() override;

  /// Shows the whole model: every control, the caption, the focus.
  void RefreshAll();

  void ItemChanged(CDialogItem& item) override;
  void CaptionChanged() override;
  void FocusChanged() override;
  void Center() override;
  void ActivateParent() override;
  void Ended() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Refresh(CDialogItem& item);
  int IdOf(const QWidget* widget) const;

  CDialog& m_dialog;
  QWidget& m_surface;
  Hooks m_hooks;
  std::vector<QWidget*> m_widgets;  ///< by the controls' template index
  bool m_updating = false;
};

/// Runs a dialog modally on Qt and answers its result.
ZEL_QT_API int RunQtDialog(CDialog& dialog);
/// Runs a property sheet modally on Qt: its pages as tabs, OK and Cancel below.
ZEL_QT_API int RunQtSheet(CPropertySheet& sheet);
/// Shows a started-to-be modeless dialog, and takes it away.
///@{
ZEL_QT_API void ShowQtModeless(CDialog& dialog);
ZEL_QT_API void CloseQtModeless(CDialog& dialog);
///@}

}  // namespace zel_qt
