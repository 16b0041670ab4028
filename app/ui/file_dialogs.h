// The file dialogs of the program: each kind of file (pictures, states,
// exports) opens where the user last chose one, and a name typed without
// extension gets that of the file type chosen, the overwrite question then
// covering the full name. Tests answer in place of the dialogs.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

#include "app/settings/dialog_folders.h"

class QPrinter;
class QWidget;

namespace vemo::ui {

// A save dialog: opens in `folder`, returns the chosen name ("" when
// cancelled) and sets *selectedFilter to the filter chosen.
using SaveFileDialog = std::function<QString(QWidget* parent, const QString& title, const QString& folder,
                                             const QString& filters, QString* selectedFilter)>;
// An open dialog: opens in `folder`, returns the chosen name ("" when cancelled).
using OpenFileDialog =
    std::function<QString(QWidget* parent, const QString& title, const QString& folder, const QString& filter)>;

// A print dialog: sets up `printer` (the system's printers, or a PDF file)
// and returns false when cancelled.
using PrintDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

// The page of a print, as for its PDF: the locale's paper with margins of
// 15 mm, then the print dialog (`dialog`, or Qt's when it is empty), where
// the user may change them. False when cancelled.
bool AskPrinter(const PrintDialog& dialog, QPrinter& printer, QWidget* parent);

// Asks for a file to write through `dialog`, or Qt's dialog when it is
// empty, starting in the folder of the kind. `suffixes` holds the extension
// of each filter without its dot ("png"), in the order of `filters`;
// *selected is the filter offered first and receives the one chosen. The
// folder of a chosen name is remembered for the kind.
QString AskSaveFileName(const SaveFileDialog& dialog, QWidget* parent, const QString& title, settings::DialogKind kind,
                        const QStringList& filters, const QStringList& suffixes, QString* selected);

// A name to which the program added the extension of the type chosen may
// name another file than the dialog asked about: true when no such file
// exists or the user agrees to replace it (No is the default).
bool MayReplaceAddedName(QWidget* parent, const QString& title, const std::string& path);

// Says that a name's extension (with its dot) is none of the kinds offered,
// which `offered` names ("Pictures are saved as PNG (.png) or SVG (.svg)
// files"), so nothing was written.
void SayExtensionRefused(QWidget* parent, const QString& title, const QString& offered, const std::string& extension);

// Asks for an existing file to read, in the same way.
QString AskOpenFileName(const OpenFileDialog& dialog, QWidget* parent, const QString& title, settings::DialogKind kind,
                        const QString& filter);

}  // namespace vemo::ui
