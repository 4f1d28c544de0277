#pragma once

#include <QImage>
#include <QWidget>

// A picture stretched to its box inside a one-pixel border, as the reel grid and the flag
// views show symbols. An empty picture leaves the box bare.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, const QString& name, const QRect& geometry);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
