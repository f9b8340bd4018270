#pragma once
// The program's help viewer: the HTML pages of the program directory's help/ folder.
#include <QDialog>

class QTextBrowser;

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(const QString& helpDir, QWidget* parent = nullptr);
    // topic "" opens the contents, "page0".."page4" a topic page.
    void ShowTopic(const QString& topic);
    QString CurrentPage() const;

private:
    QString HelpDir;
    QTextBrowser* Browser = nullptr;
};

// The help viewer of the program, created on first use.
void ShowHelpTopic(const QString& progDir, const QString& topic);
