#pragma once

#include <QWidget>
#include <array>

#include "positioneditor.h"

class QLabel;
class QLineEdit;

namespace posboard {

class CaptionLabel;

// One page of placement entries, one row each: the caption that selects the entry on the
// canvas, the value field with its label, and the coordinate text of its rectangle. It fills
// its frame, in the frame's coordinates.
class EntryPage : public QWidget {
    Q_OBJECT
public:
    EntryPage(PositionEditor& editor, int page, QWidget* frame);

signals:
    // The caption of an entry on this page was clicked.
    void captionClicked(int entry);

private:
    void showSelection(int entry);
    void showCoordinates(int entry);
    void showValue(int entry);
    // Every value field and coordinate text of the page, as the document holds them.
    void showDocument();

    PositionEditor& editor_;
    std::array<CaptionLabel*, pos::EntryCount> LabelPos{};  // only this page's entries are set
    std::array<QLabel*, pos::EntryCount> LabelPosP{};
    std::array<QLineEdit*, pos::EntryCount> valueFields_{};  // txtHosei or txtPicNo
};

}  // namespace posboard
