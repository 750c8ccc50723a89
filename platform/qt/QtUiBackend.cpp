// The Qt user-interface backend.
#include "platform/qt/QtUiBackend.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDialogPresenter.h"
#include "platform/qt/QtModal.h"
#include "platform/user/app/WinApp.h"

namespace zel_qt {

namespace {

QtUiBackend g_backend;

QString Path(const CString& path) { return QFile::decodeName(QByteArray(path.GetString())); }
CString FromPath(const QString& path) { return CString(QFile::encodeName(path).toStdString()); }

QStringList Patterns(const QString& list) {
  QStringList out;
  for (const QString& p :
       list.split(QRegularExpression(QStringLiteral("[; ]+")), Qt::SkipEmptyParts))
    out << p;
  return out;
}

}  // namespace

QtUiBackend& UiBackendInstance() { return g_backend; }

QStringList NameFilters(const std::vector<FileFilterItem>& items) {
  QStringList filters;
  for (const FileFilterItem& item : items) {
    QString description = SuiteText(item.description).trimmed();
    QStringList patterns = Patterns(SuiteText(item.patterns));
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    // "GenBank Files (*.gb;*.gbk)" already says its patterns; Qt reads the last
    // parentheses as the patterns and wants them apart by spaces.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (description.endsWith(QLatin1Char(')')) && open >= 0 &&
        Patterns(description.mid(open + 1, description.size() - open - 2)) == patterns)
      description = description.left(open).trimmed();
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters;
}

}  // namespace zel_qt

using namespace zel_qt;

int QtUiBackend::MessageBox(const MessageBoxRequest& request) {
  EnsureApplication();
  struct Button {
    QMessageBox::StandardButton button;
    int id;
  };
  std::vector<Button> buttons;
  switch (request.type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{QMessageBox::Abort, IDABORT},
                 {QMessageBox::Retry, IDRETRY},
                 {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      buttons = {
          {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO:
      buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
      break;
    case MB_RETRYCANCEL:
      buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    default:
      buttons = {{QMessageBox::Ok, IDOK}};
      break;
  }
  QMessageBox box(ModalParent());
  box.setWindowTitle(SuiteText(request.caption));
  box.setText(SuiteText(request.text));
  switch (request.type & MB_ICONMASK) {
    case MB_ICONERROR:
      box.setIcon(QMessageBox::Critical);
      break;
    case MB_ICONQUESTION:
      box.setIcon(QMessageBox::Question);
      break;
    case MB_ICONWARNING:
      box.setIcon(QMessageBox::Warning);
      break;
    case MB_ICONINFORMATION:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  for (const Button& b : buttons) {
    QAbstractButton* added = box.addButton(b.button);
    added->setObjectName(QString::number(b.id));
    // Escape (and the close box) answers Cancel, or OK when that is the only button; the
    // other kinds want a choice.
    if (b.id == IDCANCEL || buttons.size() == 1) box.setEscapeButton(added);
  }
  // The default button stands where the type puts it, and the answer nobody gives.
  const int defaultAnswer = DefaultMessageBoxAnswer(request.type);
  for (const Button& b : buttons)
    if (b.id == defaultAnswer) box.setDefaultButton(b.button);
  RunModal(box, [&box] {
    if (QAbstractButton* button = box.defaultButton()) button->click();
  });
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return defaultAnswer;
  return clicked->objectName().toInt();
}

BOOL QtUiBackend::BrowseForFolder(const FolderDialogRequest& request, CString& chosen) {
  EnsureApplication();
  QFileDialog dialog(ModalParent(), SuiteText(request.title));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (!request.allowNewFolder) dialog.setOption(QFileDialog::ReadOnly);
  if (Unattended()) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!request.initialDir.IsEmpty()) dialog.setDirectory(Path(request.initialDir));
  if (RunModal(dialog, [&dialog] { dialog.reject(); }) != QDialog::Accepted) return FALSE;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return FALSE;
  QFileInfo folder(files.first());
  if (folder.isSymLink() && QFileInfo(folder.canonicalFilePath()).isDir())
    folder = QFileInfo(folder.canonicalFilePath());
  chosen = FromPath(QDir::cleanPath(folder.absoluteFilePath()));
  return TRUE;
}

BOOL QtUiBackend::FileDialog(const FileDialogRequest& request, FileDialogResult& result) {
  EnsureApplication();
  const QStringList filters = NameFilters(ParseFilterString(request.filter));
  QFileDialog dialog(ModalParent(), SuiteText(request.title));
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.open && (request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                         : QFileDialog::AnyFile);
  // The question about replacing a file is ours, asked through MessageBox like every other.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (Unattended()) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int first = std::clamp(request.filterIndex - 1, 0, static_cast<int>(filters.size()) - 1);
    dialog.selectNameFilter(filters[first]);
  }
  if (!request.defaultExt.IsEmpty()) dialog.setDefaultSuffix(SuiteText(request.defaultExt));
  const QFileInfo start(Path(request.fileName));
  if (!request.initialDir.IsEmpty())
    dialog.setDirectory(Path(request.initialDir));
  else if (!request.fileName.IsEmpty() && start.dir().exists())
    dialog.setDirectory(start.dir());
  if (!request.fileName.IsEmpty()) dialog.selectFile(start.fileName());

  for (;;) {
    if (RunModal(dialog, [&dialog] { dialog.reject(); }) != QDialog::Accepted) return FALSE;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return FALSE;
    const QFileInfo file(files.first());
    MessageBoxRequest question;
    question.caption = request.title.IsEmpty() ? CString(AfxGetAppName()) : request.title;
    if ((request.flags & OFN_NOREADONLYRETURN) && file.exists() && !file.isWritable()) {
      question.text = FromPath(file.absoluteFilePath()) +
                      "\nThis file is read-only and cannot be chosen.\nChoose another file.";
      question.type = MB_OK | MB_ICONWARNING;
      MessageBox(question);
      continue;
    }
    if (!request.open && (request.flags & OFN_OVERWRITEPROMPT) && file.exists()) {
      question.text =
          FromPath(file.absoluteFilePath()) + " already exists.\nDo you want to replace it?";
      question.type = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
      if (MessageBox(question) != IDYES) continue;
    }
    result.path = FromPath(file.absoluteFilePath());
    const int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    result.filterIndex = index >= 0 ? index + 1 : request.filterIndex;
    return TRUE;
  }
}

ZelClipboard QtUiBackend::SetClipboardText(const char* text) {
  EnsureApplication();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return ZelClipboard::CannotOpen;
  const QString value = SuiteText(text);
  clipboard->setText(value);
  return clipboard->text() == value ? ZelClipboard::Ok : ZelClipboard::CannotStore;
}

ZelClipboard QtUiBackend::GetClipboardText(CString& text) {
  EnsureApplication();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return ZelClipboard::CannotOpen;
  const QMimeData* data = clipboard->mimeData();
  if (!data || !data->hasText()) return ZelClipboard::NoText;
  text = FromQt(data->text());
  return ZelClipboard::Ok;
}

int QtUiBackend::RunModalDialog(CDialog& dialog) { return RunQtDialog(dialog); }
int QtUiBackend::RunModalSheet(CPropertySheet& sheet) { return RunQtSheet(sheet); }
bool QtUiBackend::ShowModeless(CDialog& dialog) {
  ShowQtModeless(dialog);
  return true;
}
void QtUiBackend::CloseModeless(CDialog& dialog) { CloseQtModeless(dialog); }

bool QtUiBackend::HostRunsApplication() const {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) && !Unattended();
}

void QtUiBackend::StartApplication() { EnsureApplication(); }
