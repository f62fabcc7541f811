// SPDX-License-Identifier: MIT
#include "gui/common/window_zoom.h"

#include <QtGlobal>

#include "platform/ini_file.h"
#include "platform/settings_layers.h"
#include "session/settings.h"

namespace kelpa {
namespace {

const char* const kScaleFactorVariable = "QT_SCALE_FACTOR";

}  // namespace

QByteArray ScaleFactorForZoom(int percent, const QByteArray& userFactor) {
  if (percent == kDefaultZoom) {
    return {};
  }
  bool valid = false;
  const double user = userFactor.toDouble(&valid);
  const double factor = (valid && user > 0 ? user : 1.0) * percent / 100.0;
  return QByteArray::number(factor);
}

int ApplyZoomSetting() {
  const int zoom = ReadZoom(KelpaIniLayers());
  const QByteArray factor = ScaleFactorForZoom(zoom, qgetenv(kScaleFactorVariable));
  if (!factor.isEmpty()) {
    qputenv(kScaleFactorVariable, factor);
  }
  return zoom;
}

}  // namespace kelpa
