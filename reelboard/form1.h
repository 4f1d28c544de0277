#pragma once

#include <QWidget>

#include "historykeys.h"
#include "lifecycle.h"
#include "reeleditor.h"

class Dialogs;
class QLabel;

namespace reelboard {

class CheckWindow;
class FlashPanel;

// The reel data editor's main window: the file row and the panels (reel strips, picture
// panel, prize editor, check window and flash editor), all on one editor.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~Form1() override;

    ReelEditor& editor() { return editor_; }
    const ReelDataDocument& document() const { return editor_.document(); }
    bool isModified() const { return editor_.isModified(); }

    // "Load" and "Save" as the buttons run them; true when a file was read or written.
    bool loadReelFile();
    bool saveReelFile();
    // Load's steps on a file given when the program starts, without the dialog (an empty path
    // shows the dialog, as the button does).
    bool openFile(const QString& path);

    CheckWindow* checkWindow() const { return checkWindow_; }
    FlashPanel* flashPanel() const { return flashPanel_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ctrl+Z, Ctrl+Y: a running preview ends first, then the step runs.
    void stepHistory(HistoryKeys::Key key);

    Dialogs& dialogs_;
    ReelEditor editor_;
    lifecycle::DocumentCommands files_;
    QLabel* LabelFileName = nullptr;
    CheckWindow* checkWindow_ = nullptr;
    FlashPanel* flashPanel_ = nullptr;
    bool closeAfterPreview_ = false;
};

}  // namespace reelboard
