#pragma once

#include <QWidget>
#include <array>

#include "historykeys.h"
#include "lifecycle.h"
#include "positioneditor.h"

class Dialogs;
class QGroupBox;
class QLabel;

namespace posboard {

class PlacementCanvas;

// The picture position editor's main window: the file row, the slot row, the canvas with its
// scroll bars, the three pages of entries with their page buttons, and the status bar.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);

    PositionEditor& editor() { return editor_; }
    const PositionDocument& document() const { return editor_.document(); }
    bool isModified() const { return editor_.isModified(); }
    const PlacementCanvas& canvas() const { return *canvas_; }

    // "Load" and "Save" of the position file; true when a file was read or written.
    bool loadPositionFile();
    bool savePositionFile();
    // Load's steps on a file given when the program starts, without the dialog (an empty path
    // shows the dialog, as the button does).
    bool openFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The pointer over the window's background.
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Ctrl+Z, Ctrl+Y: a drag still held ends first, then the step runs.
    void stepHistory(HistoryKeys::Key key);
    void showPage(int page);
    void showStatus(int panel, const QString& text);

    Dialogs& dialogs_;
    PositionEditor editor_;
    lifecycle::DocumentCommands files_;
    QStringList readPngPictures_;  // of the last file read
    PlacementCanvas* canvas_ = nullptr;
    QLabel* LabelFileName = nullptr;
    std::array<QGroupBox*, pos::PageCount> PFrame{};
    std::array<QLabel*, 4> statusPanels_{};  // StatusBar1 panels 1..4
};

}  // namespace posboard
