#pragma once
// The channel parameter table. Its page stays hidden: no channel operation fills or reads it, but it
// keeps its grid behaviour and takes part in locking, hints and close.
#include "model/AppState.h"

#include <QWidget>
#include <functional>

class QAction;
class QMenu;
class QTableWidget;

class TfrmChan : public QWidget {
    Q_OBJECT
public:
    TfrmChan(TAppState& state, std::function<void()> prjChange, QWidget* parent = nullptr);

    QString CopyBuffer;
    int PopupColumn = 0;

    void SetShowHints(bool on);
    void EndEdit();
    // Right click on a header cell: opens the menu when the rules allow it; true when it opened.
    bool ASGRightClickCell(int col, int row, const QPoint& globalPos);
    bool ASGCanEditCell(int col, int row) const;
    // Repaints the grid: whether a cell may be edited changed with the exchange state.
    void RepaintGrid();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // The controls; tests and scripts find them by objectName.
    QTableWidget* ASG = nullptr;
    QMenu* PopMenu = nullptr;
    QAction* miCopy = nullptr;
    QAction* miPaste = nullptr;
    void FormResize();
    TAppState& State;
    std::function<void()> PrjChangeFn;
};
