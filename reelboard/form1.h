#pragma once

#include <QWidget>

#include "reeleditor.h"

class CheckWindow;
class Dialogs;
class FlashPanel;
class PicturePanel;
class PrizePanel;
class QGroupBox;
class StripPanel;
class QLabel;
class QPushButton;

// The reel data editor's main window: file row, reel strips, picture panel, prize editor,
// check window and flash editor, all on one document.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~Form1() override;

    ReelEditor& editor() { return editor_; }
    const ReelDataDocument& document() const { return editor_.doc; }
    bool isModified() const { return editor_.modified; }

    // "Load" and "Save" as the buttons run them; true when a file was read or written.
    bool loadReelFile();
    bool saveReelFile();

    PicturePanel* picturePanel() const { return picturePanel_; }
    StripPanel* stripPanel() const { return stripPanel_; }
    CheckWindow* checkWindow() const { return checkWindow_; }
    PrizePanel* prizePanel() const { return prizePanel_; }
    FlashPanel* flashPanel() const { return flashPanel_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFileRow();
    void buildStripLabels();
    void refreshAfterLoad();
    void showLabelFileName(const QString& path);

    ReelEditor editor_;
    QLabel* LabelFileName = nullptr;
    QPushButton* Command4 = nullptr;  // Load
    QPushButton* Command5 = nullptr;  // Save
    QGroupBox* Frame1 = nullptr;      // check window and flash editor
    QGroupBox* Frame2 = nullptr;      // prize editor

    StripPanel* stripPanel_ = nullptr;
    PicturePanel* picturePanel_ = nullptr;
    CheckWindow* checkWindow_ = nullptr;
    PrizePanel* prizePanel_ = nullptr;
    FlashPanel* flashPanel_ = nullptr;
    bool closeAfterPreview_ = false;
};
