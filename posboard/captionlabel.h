#pragma once

#include <QLabel>

namespace posboard {

// An entry's caption: a label that reports clicks and shows a one-pixel border while its entry
// is selected. The border is drawn inside the label, so the text never moves.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    CaptionLabel(const QString& text, QWidget* parent);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool selected_ = false;
    bool pressed_ = false;
};

}  // namespace posboard
