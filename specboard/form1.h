#pragma once

#include <QWidget>
#include <array>

#include "lifecycle.h"
#include "speceditor.h"

class Dialogs;
class QGroupBox;
class QTabBar;

// The machine editor's main window: the tab strip and its four page frames (general,
// bonus, and the two sound pages), all on one editor.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);

    SpecEditor& editor() { return editor_; }
    const MachineSpec& document() const { return editor_.document(); }
    bool isModified() const { return editor_.isModified(); }

    // "Load" and "Save" of the machine file as the buttons run them; true when a file was read
    // or written.
    bool loadMachineFile();
    bool saveMachineFile();
    // Load's steps on a file given when the program starts, without the dialog (an empty path
    // shows the dialog, as the button does).
    bool openFile(const QString& path);

    static constexpr int PageCount = 4;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    lifecycle::FileCommand fileCommand(bool save);
    // Tabs 2 to 4 come with the first reel data file read.
    void addSettingTabs();
    void showPage(int index);
    void warnAfterLoad(const orf::ReadReport& report);

    Dialogs& dialogs_;
    SpecEditor editor_;
    QTabBar* TabStrip1 = nullptr;
    std::array<QGroupBox*, PageCount> Frames{};
};
