#pragma once
// The line monitor "Монитор обмена": every parcel of every exchange, live, with its outcome and
// purpose. A non-modal window fed through the program state's line tap; the exchange threads only
// append to a queue, which the window takes in batches on its own timer.
#include "exchange/LineTap.h"
#include "ui/UserDialogs.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QWidget>
#include <deque>
#include <mutex>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

// Events from the exchange threads, waiting for the window. Parcel only appends under a lock the
// window holds just long enough to swap the queue out, so an exchange never waits for the window.
// More than Capacity waiting (the window paused or stalled) drops the oldest.
class TLineEventQueue : public ILineTap {
public:
    explicit TLineEventQueue(size_t capacity) : Capacity(capacity) {}
    void Parcel(const TLineEvent& event) override;
    // Everything waiting, oldest first; dropped (if given) gains the number lost since the last call.
    std::deque<TLineEvent> Take(uint64_t* dropped = nullptr);
    // How many wait, and how many were lost since the last Take, without taking them.
    size_t Waiting(uint64_t* dropped) const;

private:
    const size_t Capacity;
    mutable std::mutex Mutex;
    std::deque<TLineEvent> Queue;
    uint64_t Dropped = 0;
};

// The last Capacity events in a ring, and the rows that pass the filter, as a table model.
class TLineLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ColTime, ColDirection, ColPort, ColAddress, ColText, ColOutcome, ColPurpose, ColCount };
    static constexpr size_t DefaultCapacity = 100000;

    explicit TLineLogModel(size_t capacity = DefaultCapacity, QObject* parent = nullptr);

    // Appends a batch, oldest first; the oldest stored events make room when the ring is full.
    void Append(std::deque<TLineEvent>& batch, size_t count);
    void Clear();
    // address -1 shows every address; errorsOnly shows only events with a nonzero outcome.
    void SetFilter(int address, bool errorsOnly);
    size_t Stored() const { return static_cast<size_t>(NextSeq - FirstSeq); }
    size_t Capacity() const { return Cap; }
    // The font of the direction arrows; none set: the view's.
    void SetArrowFont(const QFont& font) { ArrowFont = font; }
    const TLineEvent& Event(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool Passes(const TLineEvent& e) const;
    const TLineEvent& BySeq(uint64_t seq) const { return Ring[static_cast<size_t>(seq % Cap)]; }
    void Store(TLineEvent&& e);

    size_t Cap;
    std::vector<TLineEvent> Ring;
    uint64_t FirstSeq = 0; // oldest stored
    uint64_t NextSeq = 0;  // one past the newest
    int Address = -1;
    bool ErrorsOnly = false;
    QVariant ArrowFont;
    std::deque<uint64_t> Shown; // with a filter: the stored events that pass it, in order
};

// Writes the model's shown rows: ".csv" (by the name's extension, any case) as comma-separated
// values with a header line, anything else as tab-separated text lines; UTF-8. The file appears
// whole or not at all. False with the reason for the user.
bool SaveLineLog(const TLineLogModel& model, const QString& path, QString* error = nullptr);

// The text lines of the given rows, for a copy.
QString LineLogRowsText(const TLineLogModel& model, const std::vector<int>& rows);

class TfrmLineMonitor : public QWidget {
    Q_OBJECT
public:
    // Attaches to hub at once and stays attached (also while hidden) until destroyed. settingsPath:
    // the settings file that keeps the window's position and size (section "LineMonitor").
    TfrmLineMonitor(TLineTapHub& hub, IUserDialogs& dialogs, const QString& settingsPath,
                    QWidget* parent = nullptr, size_t capacity = TLineLogModel::DefaultCapacity);
    ~TfrmLineMonitor() override;

    // Shows and raises the window.
    void Open();
    // Takes what the exchanges reported since the last turn (the timer does this every 100 ms).
    void Drain();
    void SaveGeometryToSettings();

    // What the window shows.
    TLineLogModel* Model = nullptr;

    void SaveClick();
    void CopyClick();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The controls; tests and scripts find them by objectName.
    QTableView* View = nullptr;
    QSpinBox* seAddress = nullptr;
    QCheckBox* cbErrors = nullptr;
    QPushButton* btnPause = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnSave = nullptr;
    QLabel* lblCount = nullptr;

    void ApplyFilter();
    void ShowCount();
    void LoadGeometryFromSettings();

    TLineTapHub& Hub;
    IUserDialogs& Dialogs;
    QString SettingsPath;
    TLineEventQueue Queue;
    std::deque<TLineEvent> Backlog; // taken from the queue, not yet in the model
    uint64_t Dropped = 0;
    QTimer* Timer = nullptr;
    bool GeometryLoaded = false;
};
