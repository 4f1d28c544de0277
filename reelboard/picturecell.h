#pragma once

#include <QImage>
#include <QWidget>

class QDrag;
class QMimeData;

namespace reelboard {

// The private drag format of a symbol picture. Only the strip cells and the prize
// combination cells accept it; what it carries is never read, a drop always places the
// symbol the picture panel shows.
inline constexpr char SymbolMimeType[] = "application/x-reelboard-symbol";

// A picture cell: draws its picture stretched inside an optional one-pixel border and
// reports clicks, double-clicks and symbol drops. A double-click reports one click and
// one double-click, as a lamp or a reel cell expects.
class PictureCell : public QWidget {
    Q_OBJECT
public:
    explicit PictureCell(QWidget* parent, const QString& name, bool border = true);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // Strip and combination cells take the dragged symbol; nothing else does.
    void setDropTarget(bool on);
    // A pressed mouse button starts a drag carrying this symbol number.
    void setDragSymbol(int symbol) { dragSymbol_ = symbol; }
    void setDragSource(bool on) { dragSource_ = on; }

    // The data every symbol drag carries.
    static QMimeData* symbolMimeData(int symbol);

signals:
    void clicked();
    void doubleClicked();
    void dropped();
    // A drag of this cell's symbol is about to run.
    void dragStarting(QDrag* drag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QImage picture_;
    bool border_;
    bool dragSource_ = false;
    int dragSymbol_ = 0;
    bool pressed_ = false;
    bool releaseEndsDoubleClick_ = false;
};

}  // namespace reelboard
