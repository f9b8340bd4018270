#pragma once
// The measurement view: the current value of every channel and, below it, the chart over time.
#include "AppState.h"
#include "UserDialogs.h"

#include <QWidget>

class QGroupBox;
class QPushButton;
class QTableWidget;

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

private:
    void FormResize();
    void CellClicked(int row, int col);
    TAppState& State;
    IUserDialogs& Dialogs;
    int Channels = 0;
};
