#pragma once
// The measurement view: the current value of every channel and, below it, the chart over time.
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QDateTime>
#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class TMeasureRecorder;
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
    ~TfrmMeasure() override;

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
    // The start button: off while another exchange holds the line.
    void EnableStart(bool on);
    void ClearSeries();
    void SwitchAutoScaleOn();
    void AddPoint(int k, double minutes, double value);
    // Channel k could not be read and the user is asked what to do: a gap in the chart and the record.
    void ReadingFailed(int k);

    // The recording switch; on without a file chosen for the project asks for one first.
    void SetRecording(bool on);
    bool ChooseRecordFile();
    // Shows a record (also one of kestrin-cli measure) in the chart; false with the reason told.
    bool OpenRecord(const QString& fileName);
    void OpenRecordClick();
    // The file the recording writes now, empty while it writes none.
    QString RecordingFile() const;

signals:
    void MeasureClicked();
    void MeasureStopClicked();
    // The project's record file was chosen: the project has changed.
    void RecordFileChosen();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The controls; tests and scripts find them by objectName.
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
    // The measurement record: every reading into a file as it is taken.
    QCheckBox* cbRecord = nullptr;        // "Запись в файл"
    QPushButton* btnRecordFile = nullptr; // chooses the project's record file
    QPushButton* btnOpenRecord = nullptr; // "Открыть запись..."
    QLabel* lblRecord = nullptr;          // the file written, or why the recording stopped

    void FormResize();
    void CellClicked(int row, int col);
    void ClickAuto(QToolButton* button);
    void BuildSeries();
    void StartRecordSection();
    void RecordFailed();
    void ShowRecordState();
    TAppState& State;
    IUserDialogs& Dialogs;
    int Channels = 0;
    std::unique_ptr<TMeasureRecorder> Record;
    bool RunStarted = false; // a run is polling (its series were cleared at its start)
    bool Running = false;
    QDateTime RunStart;
    bool ShowingRecord = false; // the chart holds an opened record, not the type's channels
    QString RecordNote;         // what the label says after a record was opened or failed
};
