#include "ui/AboutWindow.h"
#include "ui/ObjectNames.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>

namespace {
// The upper area: a gradient from the window colour to the light 3D colour in a grooved frame.
class TGradientPanel : public QFrame {
public:
    explicit TGradientPanel(QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::Box | QFrame::Sunken);
        setLineWidth(1);
        setMidLineWidth(1);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, palette().color(QPalette::Window));
        g.setColorAt(1, palette().color(QPalette::Light));
        p.fillRect(rect(), g);
        p.end();
        QFrame::paintEvent(e);
    }
};

// The picture: a transducer with four channel terminals and a sine trace, drawn by the program.
class TPicture : public QWidget {
public:
    explicit TPicture(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF body(14, 20, 158, 120);
        p.setPen(QPen(QColor(60, 60, 70), 2));
        p.setBrush(QColor(210, 214, 222));
        p.drawRoundedRect(body, 10, 10);
        const QRectF screen(30, 34, 126, 56);
        p.setBrush(QColor(20, 40, 30));
        p.drawRect(screen);
        QPainterPath trace;
        for (int x = 0; x <= 120; ++x) {
            const double y = screen.center().y() - 18 * std::sin(x / 120.0 * 6.283 * 1.5);
            if (x == 0)
                trace.moveTo(screen.left() + 3 + x, y);
            else
                trace.lineTo(screen.left() + 3 + x, y);
        }
        p.setPen(QPen(QColor(90, 255, 120), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trace);
        p.setPen(QPen(QColor(60, 60, 70), 1));
        for (int k = 0; k < 4; ++k) {
            const QRectF led(34 + k * 32, 104, 18, 18);
            p.setBrush(k == 1 ? QColor(230, 60, 50) : QColor(60, 200, 80));
            p.drawEllipse(led);
            p.setBrush(QColor(150, 150, 160));
            p.drawRect(QRectF(36 + k * 32, 140, 14, 20));
        }
        p.setPen(QColor(128, 0, 0));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, width(), 18), Qt::AlignCenter, QStringLiteral("K1"));
    }
};

QLabel* Text(QWidget* parent, const QString& text, int x, int y, int pixelSize, bool bold, QColor color = QColor()) {
    auto* l = new QLabel(text, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    if (color.isValid()) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, color);
        l->setPalette(pal);
    }
    l->move(x, y);
    l->adjustSize();
    return l;
}
} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("О Программе..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(417, 226);

    auto* upper = new TGradientPanel(this);
    upper->setGeometry(0, 0, 417, 192);
    auto* picture = new TPicture(upper);
    picture->setGeometry(8, 8, 187, 174);

    Text(upper, tr("Программа настройки \nприборов серии"), 206, 8, 17, true);
    Text(upper, QStringLiteral("Kestrin K1"), 206, 48, 20, false, QColor(0x80, 0, 0));
    Text(upper, QStringLiteral("version 1.10"), 206, 74, 17, true);
    auto* line = new QFrame(upper);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(206, 100, 198, 2);
    Text(upper, QStringLiteral("Kestrin Instruments"), 206, 108, 14, false);
    const QString link = QStringLiteral("<a href=\"%1\" style=\"color:blue\">%2</a>");
    auto* author =
        Text(upper, link.arg(QStringLiteral("mailto:service@kestrin.example"), tr("Группа сервисного ПО")),
             206, 122, 15, false);
    auto* web = Text(upper, QStringLiteral("Web Page: ") + link.arg(QStringLiteral("https://kestrin.example"),
                                                                     QStringLiteral("kestrin.example")),
                     206, 136, 15, false);
    auto* mail = Text(upper, QStringLiteral("E-mail: ") + link.arg(QStringLiteral("mailto:service@kestrin.example"),
                                                                    QStringLiteral("service@kestrin.example")),
                      206, 150, 15, false);
    for (QLabel* l : {author, web, mail}) {
        l->setTextFormat(Qt::RichText);
        l->setOpenExternalLinks(true);
        l->adjustSize();
    }
    // The right column ends at the panel's frame. A face wider than Arial (the system's stand-in
    // for it) would clip the longer lines there, the e-mail address first: such a line steps down
    // in size until it fits.
    const int columnEnd = 417 - upper->frameWidth() - 2;
    for (QLabel* l : upper->findChildren<QLabel*>()) {
        QFont f = l->font();
        while (l->x() + l->sizeHint().width() > columnEnd && f.pixelSize() > 9) {
            f.setPixelSize(f.pixelSize() - 1);
            l->setFont(f);
        }
        l->adjustSize();
    }

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    NameControls({{OkBtn, "OkBtn"}});
    OkBtn->setGeometry(417 - 92 - 8, 192 + (34 - 27) / 2, 92, 27);
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAbout::showEvent(QShowEvent* e) {
    if (parentWidget())
        move(parentWidget()->frameGeometry().center() - rect().center());
    QDialog::showEvent(e);
}
