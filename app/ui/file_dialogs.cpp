#include "app/ui/file_dialogs.h"

#include <QFileDialog>

namespace vemo::ui {

namespace {

QString StartFolder(settings::DialogKind kind) { return QString::fromStdString(settings::DialogStartFolder(kind)); }

QString Remembered(settings::DialogKind kind, const QString& name) {
  if (!name.isEmpty()) settings::RememberDialogFolder(kind, name.toStdString());
  return name;
}

}  // namespace

QString AskSaveFileName(const SaveFileDialog& dialog, QWidget* parent, const QString& title, settings::DialogKind kind,
                        const QStringList& filters, const QStringList& suffixes, QString* selected) {
  const QString folder = StartFolder(kind);
  const QString joined = filters.join(QStringLiteral(";;"));
  if (dialog) return Remembered(kind, dialog(parent, title, folder, joined, selected));
  QFileDialog box(parent, title, folder, joined);
  box.setAcceptMode(QFileDialog::AcceptSave);
  box.setFileMode(QFileDialog::AnyFile);
  // The default suffix follows the filter, so that Qt adds the extension of
  // the type chosen and asks about overwriting the name with it.
  auto suffixOf = [&filters, &suffixes](const QString& filter) {
    const qsizetype at = filters.indexOf(filter);
    return at >= 0 && at < suffixes.size() ? suffixes[at] : QString();
  };
  if (!selected->isEmpty()) box.selectNameFilter(*selected);
  box.setDefaultSuffix(suffixOf(box.selectedNameFilter()));
  QObject::connect(&box, &QFileDialog::filterSelected, &box,
                   [&box, suffixOf](const QString& filter) { box.setDefaultSuffix(suffixOf(filter)); });
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return QString();
  *selected = box.selectedNameFilter();
  return Remembered(kind, box.selectedFiles().front());
}

QString AskOpenFileName(const OpenFileDialog& dialog, QWidget* parent, const QString& title, settings::DialogKind kind,
                        const QString& filter) {
  const QString folder = StartFolder(kind);
  if (dialog) return Remembered(kind, dialog(parent, title, folder, filter));
  QFileDialog box(parent, title, folder, filter);
  box.setAcceptMode(QFileDialog::AcceptOpen);
  box.setFileMode(QFileDialog::ExistingFile);
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return QString();
  return Remembered(kind, box.selectedFiles().front());
}

}  // namespace vemo::ui
