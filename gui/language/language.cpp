// SPDX-License-Identifier: MIT
#include "gui/language/language.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

#include "gui/common/qt_convert.h"
#include "platform/ini_file.h"

namespace kelpa {
namespace {

const char* const kHintSuffix = "_HINT";

std::optional<std::string> ValueIn(const TIniFile& file, const std::string& section,
                                   const std::string& key) {
  if (!file.HasKey(section, key)) {
    return std::nullopt;
  }
  return file.ReadString(section, key, std::string());
}

// The tab widget whose page this widget is, with the page's index; null when it is no tab page.
QTabWidget* TabOwner(QObject* component, int& index) {
  auto* page = qobject_cast<QWidget*>(component);
  if (page == nullptr || qobject_cast<QStackedWidget*>(page->parent()) == nullptr) {
    return nullptr;
  }
  auto* tabs = qobject_cast<QTabWidget*>(page->parent()->parent());
  if (tabs == nullptr) {
    return nullptr;
  }
  index = tabs->indexOf(page);
  return index >= 0 ? tabs : nullptr;
}

// Points the loader at the file read for one form while that form is translated.
class FormFileScope {
 public:
  FormFileScope(const TIniFile*& slot, const TIniFile* file) : slot_(slot) { slot_ = file; }
  ~FormFileScope() { slot_ = nullptr; }
  FormFileScope(const FormFileScope&) = delete;
  FormFileScope& operator=(const FormFileScope&) = delete;

 private:
  const TIniFile*& slot_;
};

// The windows place their labels by hand, sized to the design caption. A label that wraps has a
// fixed box and grows only downwards; any other label grows to its caption. Neither shrinks,
// so captions that fit keep the design look.
void FitToCaption(QLabel* label) {
  const QSize needed = label->wordWrap()
                           ? QSize(label->width(), label->heightForWidth(label->width()))
                           : label->sizeHint();
  label->resize(label->size().expandedTo(needed));
}

// Reads and writes the text a component shows as its caption, and its hint. Kinds that show no
// caption have neither, even where Qt gives them a text property.
class Captioned {
 public:
  explicit Captioned(QObject* component) : component_(component) {
    tabs_ = TabOwner(component, tabIndex_);
  }

  bool HasCaption() const {
    return tabs_ != nullptr || qobject_cast<QLabel*>(component_) ||
           qobject_cast<QAbstractButton*>(component_) || qobject_cast<QGroupBox*>(component_) ||
           qobject_cast<QMenu*>(component_) || qobject_cast<QAction*>(component_);
  }

  void SetCaption(const QString& text) const {
    if (tabs_ != nullptr) {
      tabs_->setTabText(tabIndex_, text);
    } else if (auto* label = qobject_cast<QLabel*>(component_)) {
      label->setText(text);
      FitToCaption(label);
    } else if (auto* button = qobject_cast<QAbstractButton*>(component_)) {
      button->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(component_)) {
      box->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(component_)) {
      menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(component_)) {
      action->setText(text);
    }
  }

  // A translated hint is plain text, always, though Qt would read one that looks like markup
  // as rich text.
  void SetHint(const QString& plainText) const {
    const QString text = AsPlainText(plainText);
    if (tabs_ != nullptr) {
      tabs_->setTabToolTip(tabIndex_, text);
    } else if (auto* action = qobject_cast<QAction*>(component_)) {
      action->setToolTip(text);
    } else if (auto* widget = qobject_cast<QWidget*>(component_)) {
      widget->setToolTip(text);
    }
  }

 private:
  QObject* component_;
  QTabWidget* tabs_ = nullptr;
  int tabIndex_ = -1;
};

}  // namespace

TLanguage::TLanguage() = default;

TLanguage::TLanguage(const std::string& fileName) {
  SetFileName(fileName);
}

TLanguage::~TLanguage() {
  CloseFile();
}

void TLanguage::SetFileName(const std::string& fileName) {
  FileName = fileName;
  if (!FileName.empty()) {
    OpenFile();
  }
}

void TLanguage::OpenFile() {
  CloseFile();
  reader_ = std::make_unique<TIniFile>(FileName);
}

void TLanguage::CloseFile() {
  reader_.reset();
}

void TLanguage::SetBeneath(const std::vector<std::string>& files) {
  beneath_.clear();
  for (const std::string& file : files) {
    beneath_.push_back(std::make_unique<TIniFile>(file));
  }
}

std::optional<std::string> TLanguage::Lookup(const std::string& section,
                                             const std::string& key) const {
  std::optional<std::string> value;
  if (formFile_ != nullptr) {
    value = ValueIn(*formFile_, section, key);
  } else {
    // A component translated on its own, outside a form: the file as it reads now.
    const TIniFile current(reader_->Path());
    value = ValueIn(current, section, key);
  }
  for (auto file = beneath_.rbegin(); !value && file != beneath_.rend(); ++file) {
    value = ValueIn(**file, section, key);
  }
  return value;
}

void TLanguage::TranslateComponent(const std::string& section, const std::string& key,
                                   QObject* component) {
  if (!IsOpen() || component == nullptr || key.empty()) {
    return;
  }
  const Captioned target(component);
  if (!target.HasCaption()) {
    return;
  }
  // A label of a translated window shows only plain text, whether the file sets its caption or
  // the window writes a catalogue text into it.
  if (auto* label = qobject_cast<QLabel*>(component)) {
    label->setTextFormat(Qt::PlainText);
  }
  // A missing key keeps the current text; a present key, even empty, replaces it.
  if (const auto caption = Lookup(section, key)) {
    target.SetCaption(ToQString(*caption));
  }
  if (const auto hint = Lookup(section, key + kHintSuffix)) {
    target.SetHint(ToQString(*hint));
  }
}

void TLanguage::TranslateForm(const std::string& section, QWidget* form) {
  if (form == nullptr) {
    return;
  }
  // The file is read once for the whole form, not once per component: a large settings file
  // would otherwise make every window's creation (and the PCB window's every refresh) crawl.
  std::optional<TIniFile> file;
  if (IsOpen()) {
    file.emplace(reader_->Path());
  }
  const FormFileScope scope(formFile_, file ? &*file : nullptr);
  // Qt's own helper objects (scroll-area viewports, tab bars, spin-box editors) are named
  // "qt_..."; they are parts of a component, not components.
  const QList<QObject*> components = form->findChildren<QObject*>();
  for (QObject* component : components) {
    const QString name = component->objectName();
    if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) {
      continue;
    }
    TranslateComponent(section, ToStdString(name), component);
  }
}

void TranslateForm(TLanguage* language, const std::string& section, QWidget* form) {
  if (language != nullptr) {
    language->TranslateForm(section, form);
  }
}

}  // namespace kelpa
