#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "lifecycle.h"
#include "soundplayer.h"
#include "speceditor.h"

class Dialogs;
class MusicCommands;
class SoundDevice;
class QGroupBox;
class QTabBar;

namespace specboard {

// The machine editor's main window: the tab strip and its four page frames (general,
// bonus, and the two sound pages), all on one editor. The sound output starts with the
// window and is shut down when it closes; the device and the MIDI commands must outlive it.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(Dialogs& dialogs, SoundDevice& soundDevice, MusicCommands& musicCommands,
          QWidget* parent = nullptr);
    ~Form1() override;

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
    // Tabs 2 to 4 come with the first reel data file read.
    void addSettingTabs();
    void showPage(int index);
    void warnAfterLoad(const orf::ReadReport& report);
    // The registered sound of the effect sound page, looked for where the machine keeps its
    // sounds, or in the working folder before there is a machine file.
    void playSound(const QString& soundNumberText, const QString& fileName);
    void shutDownSound();
    // What the sound output returned, told as a message box.
    void tellSound(const std::optional<SoundFailure>& failure);

    Dialogs& dialogs_;
    SpecEditor editor_;
    // What the last machine file read brought besides the machine, told after the Load.
    orf::ReadReport lastRead_;
    lifecycle::DocumentCommands files_;
    SoundPlayer player_;
    bool soundRunning_ = false;
    QTabBar* TabStrip1 = nullptr;
    std::array<QGroupBox*, PageCount> Frames{};
};

}  // namespace specboard
