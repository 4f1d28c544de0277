#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// A picture stretched to its box inside a one-pixel border (a symbol on a reel or of a flag),
// or a plain colour when it has none (a pay-line cell: the window's colour unless set).
// Reports clicks; a double-click counts as one click.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, const QString& name, const QRect& geometry);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QColor colour_;
    bool pressed_ = false;
};
