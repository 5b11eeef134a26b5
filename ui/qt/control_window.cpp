#include "ui/qt/control_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QString>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "ui/qt/desktop_host.h"
#include "ui/wording.h"

namespace kesmaro::ui::qt {
namespace {

using enum ControlId;

/// The data edit boxes' font: "宋体" where it is installed, else a Chinese font that is.
QFont DataFont() {
  QFont font;
  font.setFamilies({QString::fromUtf8(kDataFont.face), "SimSun", "NSimSun", "WenQuanYi Micro Hei",
                    "Noto Sans CJK SC", "Noto Sans SC", "Droid Sans Fallback"});
  font.setPointSize(kDataFont.points);
  font.setWeight(QFont::Normal);
  return font;
}

QColor Colour(Background background) {
  if (background == Background::kGrey) return QColor::fromRgb(kGreyRgb);
  return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

/// An edit box's background in every state: Windows keeps a box that `Form1` colours in that
/// colour whether it is read-only, disabled or not focused, and so does this window.
void PaintBase(QWidget* edit, const QColor& colour) {
  QPalette palette = edit->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, colour);
  }
  edit->setPalette(palette);
}

/// The Qt property that holds a control's text or caption.
const char* TextProperty(const ControlRow& row) {
  if (row.kind == ControlKind::kFrame) return "title";
  return row.multiLine || row.lines ? "plainText" : "text";
}

QIcon ProgramIcon() {
  QIcon icon;
  // One PNG a size, compiled in from the build's drawing of the icon.
  for (const QFileInfo& image : QDir(":/kesmaro").entryInfoList({"kesmaro-*.png"}, QDir::Files)) {
    icon.addFile(image.filePath());
  }
  return icon;
}

}  // namespace

ControlWindow::ControlWindow(const WindowLayout& window, std::span<const ControlRow> rows,
                             std::string_view name, QWidget* parent, const ChartMaker& makeChart)
    : QWidget(parent) {
  setObjectName(QString::fromUtf8(name));
  setWindowTitle(QString::fromUtf8(window.caption));
  setWindowIcon(ProgramIcon());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi_ = screen->logicalDotsPerInch();

  // Created in tab order, which is the order Tab walks them; labels and frames take no focus.
  for (const ControlRow& row : rows) controls_[Index(row.id)] = CreateControl(row, makeChart);

  setFixedSize(Px(window.innerWidth), Px(window.innerHeight));
}

ControlWindow::~ControlWindow() = default;

int ControlWindow::Px(int twips) const { return static_cast<int>(std::lround(twips * dpi_ / kTwipsPerInch)); }

QWidget* ControlWindow::CreateControl(const ControlRow& row, const ChartMaker& makeChart) {
  QWidget* parent = row.container == kForm1 || row.container == kTableForm ? static_cast<QWidget*>(this)
                                                                           : controls_[Index(row.container)];
  QWidget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::kFrame:
      widget = new QGroupBox(parent);
      break;
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(row.wrap);
      widget = label;
      break;
    }
    case ControlKind::kEditBox:
      if (row.multiLine || row.lines) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        if (row.lines) {  // a line an item, as pasted from a column of a spreadsheet
          edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        } else {
          edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
          edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
          edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
        widget = edit;
      } else {
        widget = new QLineEdit(parent);
      }
      widget->setProperty("readOnly", row.readOnly);
      PaintBase(widget, Colour(row.background));
      if (row.dataFont) widget->setFont(DataFont());
      break;
    case ControlKind::kOptionButton:
      widget = new QRadioButton(parent);
      widget->setProperty("checked", row.selected);
      break;
    case ControlKind::kPushButton:
      widget = new QPushButton(parent);
      break;
    case ControlKind::kCheckBox:
      widget = new QCheckBox(parent);
      break;
    case ControlKind::kChart:
      widget = makeChart ? makeChart(parent) : new QWidget(parent);
      break;
  }
  if (row.kind != ControlKind::kChart) widget->setProperty(TextProperty(row), QString::fromUtf8(row.caption));
  widget->setObjectName(QString::fromUtf8(row.name));
  if (!row.accessible.empty()) widget->setAccessibleName(QString::fromUtf8(row.accessible));
  widget->setGeometry(Px(row.left), Px(row.top), Px(row.width), Px(row.height));
  widget->setEnabled(row.enabled);
  return widget;
}

void ControlWindow::FilterKeys(ControlId box, std::function<bool(unsigned)> accept) {
  QWidget* edit = Control(box);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->installEventFilter(this);
  keyFilters_.emplace_back(edit, std::move(accept));
}

void ControlWindow::Bind(ControlId id, UserEvent event, std::function<void()> handler) {
  QWidget* control = Control(id);
  if (event == UserEvent::kClick) {
    connect(static_cast<QAbstractButton*>(control), &QAbstractButton::clicked, this, handler);
  } else if (auto* lines = qobject_cast<QPlainTextEdit*>(control)) {
    connect(lines, &QPlainTextEdit::textChanged, this, handler);
  } else {
    connect(static_cast<QLineEdit*>(control), &QLineEdit::textChanged, this, handler);
  }
}

void ControlWindow::Report(const std::optional<std::string>& failure) {
  if (failure) ShowMessageBox(this, QMessageBox::Critical, *failure, wording::kErrorTitle);
}

bool ControlWindow::eventFilter(QObject* watched, QEvent* event) {
  if (busy_) {
    // Every key, click and input method text, for any widget: nothing may change the run's
    // inputs or start another run, and nothing typed meanwhile is kept for afterwards.
    const bool closing = event->type() == QEvent::Close && watched == this;
    if (closing || event->isInputEvent() || event->type() == QEvent::InputMethod ||
        event->type() == QEvent::Shortcut) {
      event->ignore();
      return true;
    }
  }
  const auto filter = std::find_if(keyFilters_.begin(), keyFilters_.end(),
                                   [watched](const auto& entry) { return entry.first == watched; });
  if (filter != keyFilters_.end() && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    // Keys that type no character (Tab moves the focus, Delete edits) pass as they would on
    // Windows; every typed character, Backspace included, goes through the filter.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete) {
      return false;
    }
    for (const QChar ch : key->text()) {
      if (!filter->second(ch.unicode())) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QWidget* ControlWindow::Control(ControlId id) const { return controls_[Index(id)]; }

std::string ControlWindow::Text(ControlId id) const {
  return Control(id)->property(TextProperty(Row(id))).toString().toStdString();
}

void ControlWindow::SetText(ControlId id, std::string_view text) {
  const QSignalBlocker quiet(Control(id));  // setting a text runs no handler
  Control(id)->setProperty(TextProperty(Row(id)), QString::fromUtf8(text));
}

void ControlWindow::SetEnabled(ControlId id, bool enabled) { Control(id)->setEnabled(enabled); }

void ControlWindow::SetReadOnly(ControlId id, bool readOnly) {
  Control(id)->setProperty("readOnly", readOnly);
}

void ControlWindow::SetBackground(ControlId id, Background background) {
  PaintBase(Control(id), Colour(background));
}

bool ControlWindow::IsSelected(ControlId id) const { return Control(id)->property("checked").toBool(); }

void ControlWindow::ShowChart(ControlId /*id*/, const ChartInput* /*chart*/) {}

void ControlWindow::Repaint() {
  repaint();
  // Exposures and the window system's requests are answered; user input is dropped by the
  // filter while busy, rather than held back for after the run.
  QCoreApplication::processEvents();
}

void ControlWindow::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
  }
}

}  // namespace kesmaro::ui::qt
