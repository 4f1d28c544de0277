#pragma once

#include <QWidget>

#include "controleditor.h"
#include "lifecycle.h"

class Dialogs;
class QLabel;
class QPushButton;

// The reel control editor's main window: the file row, the stop table grid, the stop and
// base table settings, the assignment key and the special paste, all on one editor.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);

    ControlEditor& editor() { return editor_; }
    const ControlDocument& document() const { return editor_.document(); }

    // The "Load" and "Save" buttons; true when a file was read or written.
    bool loadReelFile();
    bool loadControlFile();
    bool saveControlFile();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    lifecycle::FileCommand fileCommand(const QString& filter, bool save);

    Dialogs& dialogs_;
    ControlEditor editor_;
    QLabel* LabelFileName = nullptr;
    QLabel* ConFileName = nullptr;
    QPushButton* LoadConFile = nullptr;
    QPushButton* SaveConFile = nullptr;
};
