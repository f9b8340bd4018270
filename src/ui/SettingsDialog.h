#pragma once
// The program settings dialog.
#include "model/AppState.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TfrmProgSet : public QDialog {
    Q_OBJECT
public:
    // applyHints is SetAdjust of the main window, run on OK.
    TfrmProgSet(TSettings& settings, std::function<void()> applyHints, std::function<void()> showHelp,
                QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CB1 = nullptr;
    QCheckBox* CB2 = nullptr;
    QCheckBox* CB3 = nullptr;
    QLabel* lblLanguage = nullptr;
    QComboBox* cbLanguage = nullptr; // follow the system, Russian, English
    QLabel* lblLanguageNote = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* CB4 = nullptr;
    QLabel* L2 = nullptr;
    QSpinBox* SE2 = nullptr;
    QLabel* L1 = nullptr;
    QSpinBox* SE1 = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    // Fills the controls from the settings; called each time before the dialog is shown.
    void FormShow();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void OkBtnClick();
    TSettings& Settings;
    std::function<void()> ApplyHints;
    std::function<void()> ShowHelp;
    bool Centred = false;
};
