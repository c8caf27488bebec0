#pragma once

#include <QWidget>

#include <functional>

namespace dye {

// The slot map (Picture1 of the position screen): the machine's places drawn
// as a grid of green circles with their numbers, eight to a row, the
// selected one ringed. A click on a circle reports its slot index (0-based).
class SlotMap : public QWidget {
  public:
    explicit SlotMap(QWidget* parent = nullptr);
    // `count` places, `selected` 1..count (0 none).
    void display(int count, int selected);
    std::function<void(int)> onSlotClick;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRect cell(int index) const;

    int count_ = 0;
    int selected_ = 0;
};

}  // namespace dye
