#pragma once
// Holds back a widget's repaints while a batch of changes runs.
#include <QWidget>

// Only a pause that switched the updates off switches them on again. A widget whose updates are
// off because an ancestor holds them back (a tab page being switched) is left alone: switching
// them off explicitly there would outlive the ancestor's hold and freeze the widget for good.
class TUpdatesPause {
public:
    explicit TUpdatesPause(QWidget* w) : Widget(w), Paused(w->updatesEnabled()) {
        if (Paused)
            Widget->setUpdatesEnabled(false);
    }
    ~TUpdatesPause() {
        if (Paused)
            Widget->setUpdatesEnabled(true);
    }
    TUpdatesPause(const TUpdatesPause&) = delete;
    TUpdatesPause& operator=(const TUpdatesPause&) = delete;

private:
    QWidget* Widget;
    bool Paused;
};
