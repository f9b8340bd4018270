#pragma once
// The about window: program, series, version and the maker's lines.
#include <QDialog>

class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QPushButton* OkBtn = nullptr; // found by objectName
};
