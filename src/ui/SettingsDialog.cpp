#include "ui/SettingsDialog.h"
#include "ui/ObjectNames.h"
#include "ui/UserDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

TfrmProgSet::TfrmProgSet(TSettings& settings, std::function<void()> applyHints,
                         std::function<void()> showHelp, QWidget* parent)
    : QDialog(parent), Settings(settings), ApplyHints(std::move(applyHints)), ShowHelp(std::move(showHelp)) {
    setWindowTitle(tr("Настройки программы"));
    setModal(true);

    GroupBox1 = new QGroupBox(tr(" Общие настройки программы "), this);
    CB1 = new QCheckBox(tr("Сохранение настроек программы при выходе"), GroupBox1);
    CB2 = new QCheckBox(tr("Загрузка последнего открытого проекта при запуске"), GroupBox1);
    CB3 = new QCheckBox(tr("Показывать подсказки"), GroupBox1);
    lblLanguage = new QLabel(tr("Язык:"), GroupBox1);
    cbLanguage = new QComboBox(GroupBox1);
    cbLanguage->setObjectName(QStringLiteral("cbLanguage"));
    // Each language by its own name; the settings file keeps the code.
    cbLanguage->addItem(tr("Как в системе"), QString());
    cbLanguage->addItem(QStringLiteral("Русский"), QStringLiteral("ru"));
    cbLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    lblLanguage->setBuddy(cbLanguage);
    lblLanguageNote = new QLabel(tr("Язык сменится при следующем запуске программы."), GroupBox1);
    lblLanguageNote->setObjectName(QStringLiteral("lblLanguageNote"));
    auto* g1 = new QVBoxLayout(GroupBox1);
    g1->addWidget(CB1);
    g1->addWidget(CB2);
    g1->addWidget(CB3);
    auto* language = new QHBoxLayout;
    language->addWidget(lblLanguage);
    language->addWidget(cbLanguage);
    language->addStretch();
    g1->addLayout(language);
    g1->addWidget(lblLanguageNote);

    GroupBox2 = new QGroupBox(tr(" Настройки чтения/записи данных "), this);
    CB4 = new QCheckBox(tr("Подтверждение при записи информации в прибор"), GroupBox2);
    L2 = new QLabel(tr("Попытки чтения при ошибке:"), GroupBox2);
    SE2 = new QSpinBox(GroupBox2);
    L1 = new QLabel(tr("Попытки записи при ошибке:"), GroupBox2);
    SE1 = new QSpinBox(GroupBox2);
    for (QSpinBox* se : {SE1, SE2}) {
        se->setRange(0, 100);
        se->setSingleStep(1);
    }
    auto* g2 = new QGridLayout(GroupBox2);
    g2->addWidget(CB4, 0, 0, 1, 2);
    g2->addWidget(L2, 1, 0);
    g2->addWidget(SE2, 1, 1);
    g2->addWidget(L1, 2, 0);
    g2->addWidget(SE1, 2, 1);

    OkBtn = new QPushButton(QStringLiteral("Ok"), this);
    CancelBtn = new QPushButton(tr("Отмена"), this);
    HelpBtn = new QPushButton(tr("Справка"), this);
    NameControls({{GroupBox1, "GroupBox1"},
                  {CB1, "CB1"},
                  {CB2, "CB2"},
                  {CB3, "CB3"},
                  {GroupBox2, "GroupBox2"},
                  {CB4, "CB4"},
                  {L2, "L2"},
                  {SE2, "SE2"},
                  {L1, "L1"},
                  {SE1, "SE1"},
                  {OkBtn, "OkBtn"},
                  {CancelBtn, "CancelBtn"},
                  {HelpBtn, "HelpBtn"}});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(HelpBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);
    // Fixed size, wide enough for the longest check box.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    MakeReturnButton(OkBtn);

    connect(OkBtn, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] {
        if (ShowHelp)
            ShowHelp();
    });
}

void TfrmProgSet::FormShow() {
    CB1->setChecked(Settings.Save);
    CB2->setChecked(Settings.Load);
    CB3->setChecked(Settings.Hint);
    CB4->setChecked(Settings.Confirm);
    SE1->setValue(Settings.ReWrite);
    SE2->setValue(Settings.ReRead);
    cbLanguage->setCurrentIndex(std::max(0, cbLanguage->findData(Settings.Language)));
    CancelBtn->setFocus();
}

void TfrmProgSet::showEvent(QShowEvent* e) {
    FormShow();
    if (!Centred && parentWidget()) {
        adjustSize();
        move(parentWidget()->frameGeometry().center() - rect().center());
        Centred = true;
    }
    QDialog::showEvent(e);
}

void TfrmProgSet::OkBtnClick() {
    Settings.Save = CB1->isChecked();
    Settings.Load = CB2->isChecked();
    Settings.Hint = CB3->isChecked();
    Settings.Confirm = CB4->isChecked();
    Settings.ReWrite = SE1->value();
    Settings.ReRead = SE2->value();
    Settings.Language = cbLanguage->currentData().toString();
    if (ApplyHints)
        ApplyHints();
    accept();
}
