// SPDX-License-Identifier: MIT
// The guide window: the tour of the windows, the guide to scenario files and the guide to the
// command line, with their pictures, in the interface's language, built into the program. Links
// between the guides open here; links to the web open in the desktop's browser. A search field
// finds a text forwards or backwards, and says in the window when it is not there.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

#include "catalogue/messages.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace kelpa {

class TGuideWindow : public QWidget {
  Q_OBJECT

 public:
  enum class Guide { Tour, Scenarios, Runner, Exercises };

  // english: the guides in English rather than Portuguese.
  TGuideWindow(const TMessages& msg, bool english, QWidget* parent = nullptr);

  // Shows the start of a guide.
  void Open(Guide guide);
  // Follows a link as a click on it does.
  void FollowLink(const QUrl& link);
  // Finds the search field's text after (or before) the cursor, going round the end once; false
  // when the guide does not hold it, which the window then says.
  bool FindNext();
  bool FindPrevious();

  // The resource of a guide in the language chosen: "qrc:/docs/tour.pt.md".
  QUrl GuideUrl(Guide guide) const;
  QUrl Shown() const;
  QString Status() const;

  // Opens a web address; the desktop's browser unless a test replaces it.
  std::function<void(const QUrl&)> OpenExternal;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls(const TMessages& msg);
  // Draws every picture of the page at most as wide as the page.
  void FitPictures();
  // Shows a page of the guides, at the heading its fragment names.
  void ShowPage(const QUrl& page);
  void ScrollToHeading(const QString& fragment);
  bool Find(bool backwards);

  const TMessages& msg_;
  QString language_;
  QTextBrowser* Texto = nullptr;
  QPushButton* Voltar = nullptr;
  QLineEdit* Procurar = nullptr;
  QLabel* Situacao = nullptr;
};

}  // namespace kelpa
