// SPDX-License-Identifier: MIT
// "Exportar PDF...": a window's document saved as PDF into a file the user picks, whole or not at
// all, a failure told in a message box as the other exports tell theirs.
#pragma once

#include <QString>
#include <functional>

#include "catalogue/messages.h"
#include "exports/print_document.h"
#include "gui/common/file_export.h"

class QWidget;

namespace kelpa {

// False when it could not be written (already told, with the file's name and the reason).
bool ExportPdfTo(QWidget* parent, const FileExport& exporter, const PrintDocument& doc,
                 const QString& file, const TMessages& msg);
// Asks for the file, then builds the document (only once it is wanted) and writes it.
void ExportPdfClick(QWidget* parent, const FileExport& exporter,
                    const std::function<PrintDocument()>& document, const TMessages& msg);

}  // namespace kelpa
