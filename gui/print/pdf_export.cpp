// SPDX-License-Identifier: MIT
#include "gui/print/pdf_export.h"

#include "gui/common/qt_convert.h"
#include "gui/print/pdf_writer.h"

namespace kelpa {

bool ExportPdfTo(QWidget* parent, const FileExport& exporter, const PrintDocument& doc,
                 const QString& file, const TMessages& msg) {
  std::string why;
  if (WritePdf(doc, file.toStdString(), &why)) {
    return true;
  }
  exporter.Fail(parent, ToQString(msg.MsgNaoGravouArquivo) + "\n" + file +
                            (why.empty() ? QString() : "\n" + ToQString(why)));
  return false;
}

void ExportPdfClick(QWidget* parent, const FileExport& exporter,
                    const std::function<PrintDocument()>& document, const TMessages& msg) {
  if (!document) {
    return;
  }
  const QString file = exporter.Choose(parent, ToQString(msg.MsgPdfFiltro), "pdf");
  if (!file.isEmpty()) {
    ExportPdfTo(parent, exporter, document(), file, msg);
  }
}

}  // namespace kelpa
