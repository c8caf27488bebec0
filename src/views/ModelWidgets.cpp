#include "ModelWidgets.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "model/Controls.h"

namespace dye {

namespace {

// A scroll area as large as its content wants, up to the screen it is on
// (less room for a title bar and a task bar): a window opens whole where it
// fits, and scrolls where it does not.
class FittingScrollArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        if (!widget()) return QScrollArea::sizeHint();
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QSize wanted = widget()->sizeHint() + QSize(2 * frameWidth(), 2 * frameWidth());
        const QScreen* screen = this->screen();
        if (!screen) return wanted;
        const QSize room = screen->availableGeometry().size() - QSize(kFrameRoom, kFrameRoom);
        if (wanted.width() > room.width()) wanted.rheight() += bar;
        if (wanted.height() > room.height()) wanted.rwidth() += bar;
        return wanted.boundedTo(room);
    }

  private:
    static constexpr int kFrameRoom = 80;
};

}  // namespace

void scrollInside(QWidget* window, QWidget* content) {
    auto* area = new FittingScrollArea(window);
    area->setObjectName(QStringLiteral("Scroller"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    // Whole where the screen has room (not Qt's two thirds of it).
    if (window->isWindow()) window->resize(window->sizeHint());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (onClick && rect().contains(event->position().toPoint())) onClick();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDoubleClick) onDoubleClick();
    event->accept();
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setFixedSize(240, 180);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAlignment(Qt::AlignCenter);
}

void PictureBox::display(const Picture& picture) {
    bool changed = false;
    if (picture.file != file_) {
        file_ = picture.file;
        QPixmap next;
        if (!file_.isEmpty() && next.load(file_)) {
            bitmap_ = next;
            changed = true;
        }
    }
    if (picture.number != number_) {
        number_ = picture.number;
        changed = true;
    }
    if (changed) compose();
}

void PictureBox::compose() {
    if (bitmap_.isNull()) return;
    QPixmap shown = bitmap_;
    if (!number_.isEmpty()) {
        QPainter p(&shown);
        QFont font = p.font();
        font.setPointSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        // At (1300, 1000) twips of the picture, the text's top left corner.
        p.drawText(QRect(87, 67, shown.width() - 87, shown.height() - 67),
                   Qt::AlignLeft | Qt::AlignTop, number_);
    }
    setPixmap(shown);
}

void paintBack(QWidget* widget, Color color) {
    const bool own = color != kDefaultBack;
    const QColor c = own ? QColor::fromRgb(color) : QColor();
    if (widget->autoFillBackground() == own &&
        (!own || widget->palette().color(QPalette::Window) == c))
        return;
    widget->setAutoFillBackground(own);
    QPalette p = widget->palette();
    if (own) p.setColor(QPalette::Window, c);
    // Light text on a dark colour (the palette colours of Label14 can be dark).
    const bool dark = own && c.red() * 299 + c.green() * 587 + c.blue() * 114 < 128000;
    p.setColor(QPalette::WindowText,
               dark ? QColor(Qt::white) : QPalette().color(QPalette::WindowText));
    widget->setPalette(p);
}

void showLabel(QLabel* widget, const Label& label) {
    // Fixed-width captions carry trailing padding; it is not drawn, so that
    // centred and right-aligned captions sit where they should.
    qsizetype end = label.Caption.size();
    while (end > 0 && label.Caption[end - 1].isSpace()) --end;
    const QString text = label.Caption.left(end);
    if (widget->text() != text) widget->setText(text);
    if (widget->isVisibleTo(widget->parentWidget()) != label.Visible)
        widget->setVisible(label.Visible);
    paintBack(widget, label.BackColor);
}

void showList(QListWidget* widget, const ListBox& list) {
    const QSignalBlocker block(widget);
    bool same = widget->count() == list.items.size();
    for (int i = 0; same && i < widget->count(); ++i)
        same = widget->item(i)->text() == list.items[i];
    if (!same) {
        widget->clear();
        widget->addItems(list.items);
    }
    const int row = list.ListIndex < widget->count() ? list.ListIndex : -1;
    if (widget->currentRow() != row) widget->setCurrentRow(row);
}

void setFontSize(QWidget* widget, int pointSize, bool bold) {
    QFont f = widget->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    widget->setFont(f);
}

void showEditText(QLineEdit* box, const QString& text) {
    if (box->text() == text) return;
    const QSignalBlocker block(box);
    box->setText(text);
}

QLineEdit* modelEntryBox(QWidget* parent, const QString& objectName, QString& text,
                         std::function<void()> enter) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    QObject::connect(box, &QLineEdit::textChanged, parent, [&text](const QString& t) { text = t; });
    QObject::connect(box, &QLineEdit::returnPressed, parent, std::move(enter));
    return box;
}

void followModel(QWidget* window, bool visible, int focusMoves, int& seenMoves,
                 const QString& activeControl) {
    if (visible != window->isVisible()) window->setVisible(visible);
    if (focusMoves == seenMoves || !window->isVisible()) return;
    seenMoves = focusMoves;
    if (auto* w = window->findChild<QWidget*>(activeControl)) w->setFocus();
}

}  // namespace dye
