#include "app/ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "app/chart/picture_file.h"
#include "app/chart/saved_picture.h"

#include "app/ui/message_box.h"

namespace vemo::ui {

namespace {

QString StartFolder(settings::DialogKind kind) { return QString::fromStdString(settings::DialogStartFolder(kind)); }

QString Remembered(settings::DialogKind kind, const QString& name) {
  if (!name.isEmpty()) settings::RememberDialogFolder(kind, name.toStdString());
  return name;
}

}  // namespace

bool AskPrinter(const PrintDialog& dialog, QPrinter& printer, QWidget* parent) {
  printer.setPageLayout(chart::PageLayoutOf(chart::PaperFromEnvironment()));
  if (dialog) return dialog(printer, parent);
  QPrintDialog ask(&printer, parent);
  return ask.exec() == QDialog::Accepted;
}

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

bool MayReplaceAddedName(QWidget* parent, const QString& title, const std::string& path) {
  if (!QFileInfo::exists(QString::fromStdString(path))) return true;
  return ShowMessageBox(parent, {QMessageBox::Question, title,
                                 QStringLiteral("\"") + OutsideText(path) +
                                     QStringLiteral("\" already exists.\nDo you want to replace it?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No}) == QMessageBox::Yes;
}

void SayExtensionRefused(QWidget* parent, const QString& title, const QString& offered, const std::string& extension) {
  ShowMessageBox(parent, {QMessageBox::Warning, title,
                          offered + QStringLiteral("; the extension \"") +
                              OutsideText(extension) + QStringLiteral("\" is neither, and nothing was written."),
                          QMessageBox::Ok, QMessageBox::Ok});
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
