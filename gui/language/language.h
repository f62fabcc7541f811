// SPDX-License-Identifier: MIT
// Replaces the captions and hints of a window's components with texts from a section of the
// settings file. Each window has its own section; each component is found by its objectName, and
// the key "<name>_HINT" holds its hint. The console owns the program's loader and hands it to the
// windows that translate themselves.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace kelpa {

class TIniFile;

class TLanguage {
 public:
  TLanguage();
  // The loader with the file already set (see SetFileName).
  explicit TLanguage(const std::string& fileName);
  virtual ~TLanguage();
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  // Stores the name; a non-empty name (re)opens the file. An empty name leaves an open file open.
  void SetFileName(const std::string& fileName);
  // Opening never fails: a missing file makes every lookup keep the current text.
  void OpenFile();
  void CloseFile();

  // Sets the caption and hint of one component from section/key. Kinds without a caption (spin
  // boxes, sliders, tables, edit boxes, pictures...) are left alone, hint included.
  virtual void TranslateComponent(const std::string& section, const std::string& key,
                                  QObject* component);
  // Translates every named component of the form (not the form's own title).
  virtual void TranslateForm(const std::string& section, QWidget* form);

  std::string FileName;
  // Files beneath FileName, lowest precedence first (the shipped catalogue of the desktop's
  // language, the lab's defaults): a caption the file does not give, they may. Read once.
  void SetBeneath(const std::vector<std::string>& files);

 protected:
  // The value of key in section as the file reads now; none when the key is absent.
  std::optional<std::string> Lookup(const std::string& section, const std::string& key) const;
  bool IsOpen() const { return reader_ != nullptr; }

 private:
  std::unique_ptr<TIniFile> reader_;
  std::vector<std::unique_ptr<TIniFile>> beneath_;
  // While TranslateForm runs: the file as read at its start, which every lookup uses.
  const TIniFile* formFile_ = nullptr;
};

// Translates the form with the loader; a window built without one keeps its design texts.
void TranslateForm(TLanguage* language, const std::string& section, QWidget* form);

}  // namespace kelpa
