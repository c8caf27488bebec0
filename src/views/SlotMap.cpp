#include "SlotMap.h"

#include <QMouseEvent>
#include <QPainter>

namespace dye {
namespace {

constexpr int kColumns = 8;
constexpr int kCell = 30;
constexpr int kMargin = 4;
const QColor kSlotGreen(0, 180, 0);

}  // namespace

SlotMap::SlotMap(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SlotMap::display(int count, int selected) {
    if (count == count_ && selected == selected_) return;
    const bool resized = count != count_;
    count_ = count;
    selected_ = selected;
    if (resized) updateGeometry();
    update();
}

QSize SlotMap::sizeHint() const {
    const int rows = std::max(1, (count_ + kColumns - 1) / kColumns);
    return {kColumns * kCell + 2 * kMargin, rows * kCell + 2 * kMargin};
}

QRect SlotMap::cell(int index) const {
    return {kMargin + index % kColumns * kCell, kMargin + index / kColumns * kCell, kCell, kCell};
}

void SlotMap::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = font();
    f.setPointSize(8);
    f.setBold(true);
    p.setFont(f);
    for (int i = 0; i < count_; ++i) {
        const QRect r = cell(i).adjusted(3, 3, -3, -3);
        const bool chosen = i + 1 == selected_;
        p.setPen(chosen ? QPen(Qt::red, 3) : QPen(Qt::darkGreen, 1));
        p.setBrush(kSlotGreen);
        p.drawEllipse(r);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
    }
}

void SlotMap::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < count_; ++i)
        if (cell(i).contains(event->position().toPoint())) {
            if (onSlotClick) onSlotClick(i);
            return;
        }
}

}  // namespace dye
