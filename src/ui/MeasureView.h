#pragma once
// The measurement view: the current value of every channel and, below it, the chart over time.
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QGroupBox;
class QPushButton;
class QTableWidget;
class QToolButton;
class TChart;

// Time ranges of cbTime in minutes, by entry index; entry 0 is blank and has none.
const std::vector<int>& TimeRanges();

class TfrmMeasure : public QWidget {
    Q_OBJECT
public:
    TfrmMeasure(TAppState& state, IUserDialogs& dialogs, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QTableWidget* ASG = nullptr;
    QPushButton* btnMeasure = nullptr;
    QPushButton* btnMeasureStop = nullptr;
    QPushButton* btnMeasureHelp = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QToolButton* ZoomOutX = nullptr;
    QToolButton* ZoomOutY = nullptr;
    QToolButton* ZoomInY = nullptr;
    QToolButton* ZoomInX = nullptr;
    QToolButton* MoveLeft = nullptr;
    QToolButton* MoveDown = nullptr;
    QToolButton* MoveUp = nullptr;
    QToolButton* MoveRight = nullptr;
    QToolButton* AutoX = nullptr;
    QToolButton* AutoY = nullptr;
    QToolButton* BtnClear = nullptr;
    QToolButton* BtnLegend = nullptr;
    QToolButton* Btn3D = nullptr;
    QToolButton* BtnPrint = nullptr;
    QToolButton* BtnSave = nullptr;
    QComboBox* cbTime = nullptr;
    QToolButton* BtnFollow = nullptr; // follow the newest points within the chosen range
    TChart* Chart = nullptr;

    // The chart commands, as the tool row's buttons run them.
    void ChartCommand(QObject* sender);
    void cbTimeChange(int index);
    // Starts or ends following the newest points: over the range chosen, or without one over the
    // width shown now.
    void Follow(bool on);
    // Saves the chart: a Windows metafile, or PNG/SVG/CSV when the name ends so.
    void BtnSaveClick();
    void BtnPrintClick();

    // Builds the table for a device type with t.Channels channels.
    void Build(int channels);
    int ChannelCount() const;
    bool ChannelSelected(int k) const;
    void ShowValue(int k, const QString& text);
    QString ValueText(int k) const;
    void SetRunning(bool running);
    void ClearSeries();
    void SwitchAutoScaleOn();
    void AddPoint(int k, double minutes, double value);

signals:
    void MeasureClicked();
    void MeasureStopClicked();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormResize();
    void CellClicked(int row, int col);
    void ClickAuto(QToolButton* button);
    TAppState& State;
    IUserDialogs& Dialogs;
    int Channels = 0;
};
