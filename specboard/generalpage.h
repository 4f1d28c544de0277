#pragma once

#include <QWidget>

#include "speceditor.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace specboard {

class ExplanationGuard;

// The general page: the machine's name, its author and its description, and the files the
// machine uses (the machine file itself with Load and Save, the reel data, reel control and
// picture position files). It fills its frame, in the frame's coordinates.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    GeneralPage(SpecEditor& editor, Dialogs& dialogs, QWidget* frame);

signals:
    // "Load" and "Save" of the machine file, which the window runs.
    void loadRequested();
    void saveRequested();

private:
    void showTexts();
    void showFileNames();
    // The reference "Load" buttons.
    void chooseReelData();
    // The reel control and picture position files are only named.
    enum class Reference { Control, Body };
    void chooseReference(Reference reference);
    // The machine looks for every file it names in the machine file's folder.
    void warnIfOutsideMachineFolder(const QString& path, bool readFromSpecFolder);

    SpecEditor& editor_;
    Dialogs& dialogs_;
    QLineEdit* txtSlotName = nullptr;
    QLineEdit* txtMakerName = nullptr;
    QPlainTextEdit* txtExp = nullptr;
    ExplanationGuard* explanationGuard_ = nullptr;
    QLabel* LabelSlotFile = nullptr;
    QLabel* LabelRealFile = nullptr;
    QLabel* LabelConFile = nullptr;
    QLabel* LabelBodyFile = nullptr;
};

}  // namespace specboard
