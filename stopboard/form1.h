#pragma once

#include <QWidget>

#include "controleditor.h"
#include "lifecycle.h"

class Dialogs;
class QLabel;
class QPushButton;

namespace stopboard {

// The reel control editor's main window: the file row, the stop table grid, the stop and
// base table settings, the assignment key and the special paste, all on one editor.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);

    ControlEditor& editor() { return editor_; }
    const ControlDocument& document() const { return editor_.document(); }
    bool isModified() const { return editor_.isModified(); }

    // The "Load" and "Save" buttons; true when a file was read or written.
    bool loadReelFile();
    bool loadControlFile();
    bool saveControlFile();
    // The two Loads on files given when the program starts, without the dialogs: the reel data
    // file, then (when it was read) the control file. A control file given alone is read with
    // the one reel data file in its folder; none there, or several, is told and nothing is read.
    bool openFiles(const QString& reelPath, const QString& controlPath);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The Loads' steps; an empty `given` shows the dialog.
    bool readReelFile(const QString& given);
    bool readControlFile(const QString& given);
    // Reads a control file and, unless the layout question is declined, takes it.
    FileResult adoptControlFile(const QString& path);
    // The reel data file beside a control file given alone; empty (and told) when there is not
    // exactly one.
    QString reelFileBeside(const QString& controlPath);

    Dialogs& dialogs_;
    ControlEditor editor_;
    lifecycle::DocumentCommands files_;
    bool adopted_ = false;  // the last control file read was taken
    QLabel* LabelFileName = nullptr;
    QLabel* ConFileName = nullptr;
    QPushButton* LoadConFile = nullptr;
    QPushButton* SaveConFile = nullptr;
};

}  // namespace stopboard
