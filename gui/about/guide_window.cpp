// SPDX-License-Identifier: MIT
#include "gui/about/guide_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <utility>

#include "catalogue/fill_in.h"
#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"

// The guides are built into the gui library, which the program links statically: their
// resource is registered by hand. (Qt's macro may not stand inside a namespace.)
static void RegisterGuides() {
  Q_INIT_RESOURCE(kelpa_guide);
}

namespace kelpa {
namespace {

const char* FileStem(TGuideWindow::Guide guide) {
  switch (guide) {
    case TGuideWindow::Guide::Scenarios:
      return "scenarios";
    case TGuideWindow::Guide::Runner:
      return "runner";
    case TGuideWindow::Guide::Exercises:
      return "exercises";
    case TGuideWindow::Guide::Tour:
      break;
  }
  return "tour";
}

// A heading as a link names it, the way Markdown's readers make anchors: lower case, blanks as
// hyphens, other punctuation left out ("Cenários nas janelas" is "cenários-nas-janelas").
QString HeadingAnchor(const QString& heading) {
  QString anchor;
  for (const QChar c : heading.trimmed().toLower()) {
    if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')) {
      anchor += c;
    } else if (c.isSpace()) {
      anchor += QLatin1Char('-');
    }
  }
  return anchor;
}

QPushButton* AddButton(QBoxLayout* row, const char* name, const std::string& caption) {
  auto* button = new QPushButton(ToQString(caption));
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

TGuideWindow::TGuideWindow(const TMessages& msg, bool english, QWidget* parent)
    : QWidget(parent, Qt::Window),
      OpenExternal([](const QUrl& link) { QDesktopServices::openUrl(link); }),
      msg_(msg),
      language_(english ? QStringLiteral("en") : QStringLiteral("pt")) {
  RegisterGuides();
  setObjectName(QStringLiteral("frmGuia"));
  setWindowTitle(ToQString(msg_.MsgGuiaTitulo));
  BuildControls(msg);
  resize(760, 640);
  move(200, 60);
  Open(Guide::Tour);
}

void TGuideWindow::BuildControls(const TMessages& msg) {
  auto* column = new QVBoxLayout(this);
  auto* guides = new QHBoxLayout;
  column->addLayout(guides);
  const std::pair<const char*, Guide> choices[] = {{"Passeio", Guide::Tour},
                                                   {"Cenarios", Guide::Scenarios},
                                                   {"Executor", Guide::Runner},
                                                   {"Exercicios", Guide::Exercises}};
  const std::string* captions[] = {&msg.MsgGuiaPasseio, &msg.MsgGuiaCenarios, &msg.MsgGuiaExecutor,
                                   &msg.MsgGuiaExercicios};
  for (std::size_t i = 0; i < std::size(choices); ++i) {
    const Guide guide = choices[i].second;
    connect(AddButton(guides, choices[i].first, *captions[i]), &QPushButton::clicked, this,
            [this, guide] { Open(guide); });
  }
  guides->addStretch();
  Voltar = AddButton(guides, "Voltar", msg.MsgGuiaVoltar);
  Voltar->setEnabled(false);

  Texto = new QTextBrowser;
  Texto->setObjectName(QStringLiteral("Texto"));
  // Every link is followed here: a guide's own in this window, the web's outside it.
  Texto->setOpenLinks(false);
  column->addWidget(Texto, 1);
  connect(Texto, &QTextBrowser::anchorClicked, this, &TGuideWindow::FollowLink);
  connect(Texto, &QTextBrowser::sourceChanged, this, &TGuideWindow::FitPictures);
  connect(Texto, &QTextBrowser::backwardAvailable, Voltar, &QWidget::setEnabled);
  connect(Voltar, &QPushButton::clicked, Texto, &QTextBrowser::backward);

  auto* search = new QHBoxLayout;
  column->addLayout(search);
  auto* label = new QLabel(ToQString(msg.MsgGuiaProcurar));
  label->setObjectName(QStringLiteral("Label1"));
  search->addWidget(label);
  Procurar = new QLineEdit;
  Procurar->setObjectName(QStringLiteral("Procurar"));
  label->setBuddy(Procurar);
  search->addWidget(Procurar, 1);
  connect(AddButton(search, "Anterior", msg.MsgGuiaAnterior), &QPushButton::clicked, this,
          &TGuideWindow::FindPrevious);
  connect(AddButton(search, "Proximo", msg.MsgGuiaProximo), &QPushButton::clicked, this,
          &TGuideWindow::FindNext);
  Situacao = new QLabel;
  Situacao->setObjectName(QStringLiteral("Situacao"));
  Situacao->setMinimumWidth(200);
  QFont bold = Situacao->font();
  bold.setBold(true);
  Situacao->setFont(bold);
  search->addWidget(Situacao, 1);
  // What went wrong stands out in red, in the shade of it that reads on the window in any look.
  new PaletteFollower(Situacao, [this] {
    QPalette palette = Situacao->palette();
    palette.setColor(QPalette::WindowText,
                     ReadableShade(Qt::red, QApplication::palette(this).color(QPalette::Window)));
    Situacao->setPalette(palette);
  });
  connect(Procurar, &QLineEdit::returnPressed, this, &TGuideWindow::FindNext);
  connect(Procurar, &QLineEdit::textChanged, Situacao, &QLabel::clear);

  // F3 and Shift+F3 rather than the desktop's keys for finding again, which may include Ctrl+G,
  // the console's "Ir para o tick" in every window.
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    Procurar->setFocus();
    Procurar->selectAll();
  });
  connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
          &TGuideWindow::FindNext);
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
          &TGuideWindow::FindPrevious);
}

QUrl TGuideWindow::GuideUrl(Guide guide) const {
  return QUrl(QStringLiteral("qrc:/docs/%1.%2.md").arg(QLatin1String(FileStem(guide)), language_));
}

QUrl TGuideWindow::Shown() const {
  return Texto->source();
}

QString TGuideWindow::Status() const {
  return Situacao->text();
}

void TGuideWindow::Open(Guide guide) {
  ShowPage(GuideUrl(guide));
}

void TGuideWindow::FollowLink(const QUrl& link) {
  Situacao->clear();
  const QString scheme = link.scheme();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
      scheme == QLatin1String("mailto")) {
    OpenExternal(link);
    return;
  }
  const QUrl target = Texto->source().resolved(link);
  if (target.scheme() == QLatin1String("qrc") && target.path().endsWith(QLatin1String(".md")) &&
      QFile::exists(QLatin1Char(':') + target.path())) {
    ShowPage(target);
    return;
  }
  // A file of the source tree (an example, a folder) that the guides do not hold.
  Situacao->setText(ToQString(FillIn(msg_.MsgGuiaForaDoGuia, {ToStdString(link.toString())})));
}

void TGuideWindow::ShowPage(const QUrl& page) {
  QUrl file = page;
  file.setFragment(QString());
  if (Texto->source() != file) {
    Texto->setSource(file, QTextDocument::MarkdownResource);
  }
  if (page.hasFragment()) {
    ScrollToHeading(page.fragment(QUrl::FullyDecoded));
  } else {
    Texto->verticalScrollBar()->setValue(0);
  }
}

void TGuideWindow::FitPictures() {
  // The widest pictures (the timeline) would need a sideways scroll: each is drawn at most as wide
  // as the page, its height in proportion.
  const int widest =
      Texto->viewport()->width() - 2 * static_cast<int>(Texto->document()->documentMargin()) - 4;
  if (widest <= 0) {
    return;
  }
  QTextDocument* document = Texto->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
      const QTextFragment fragment = piece.fragment();
      if (!fragment.charFormat().isImageFormat()) {
        continue;
      }
      QTextImageFormat picture = fragment.charFormat().toImageFormat();
      const QSize natural =
          QImage(QLatin1Char(':') + Texto->source().resolved(QUrl(picture.name())).path()).size();
      if (natural.isEmpty()) {
        continue;
      }
      const int width = std::min(natural.width(), widest);
      if (static_cast<int>(picture.width()) == width) {
        continue;
      }
      picture.setWidth(width);
      picture.setHeight(static_cast<double>(natural.height()) * width / natural.width());
      QTextCursor cursor(document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(picture);
    }
  }
}

void TGuideWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitPictures();
}

void TGuideWindow::ScrollToHeading(const QString& fragment) {
  QTextDocument* document = Texto->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0 && HeadingAnchor(block.text()) == fragment) {
      Texto->setTextCursor(QTextCursor(block));
      const QRectF place = document->documentLayout()->blockBoundingRect(block);
      Texto->verticalScrollBar()->setValue(static_cast<int>(place.top()));
      return;
    }
  }
}

bool TGuideWindow::FindNext() {
  return Find(false);
}

bool TGuideWindow::FindPrevious() {
  return Find(true);
}

bool TGuideWindow::Find(bool backwards) {
  const QString text = Procurar->text();
  Situacao->clear();
  if (text.isEmpty()) {
    return false;
  }
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  const QTextCursor before = Texto->textCursor();
  if (Texto->find(text, flags)) {
    return true;
  }
  // Round the end once: from the other end of the guide.
  QTextCursor from(Texto->document());
  from.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
  Texto->setTextCursor(from);
  if (Texto->find(text, flags)) {
    return true;
  }
  Texto->setTextCursor(before);
  Situacao->setText(ToQString(FillIn(msg_.MsgGuiaNaoEncontrado, {ToStdString(text)})));
  return false;
}

}  // namespace kelpa
