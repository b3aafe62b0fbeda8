#include "gui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace linkcalc::windows::test {

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QStringList SheetTexts(const FrmOrlisCalc& window) {
    QStringList texts;
    for (const FieldInfo& info : kFields) {
        texts << QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())) +
                     "=" + QString::fromStdString(window.Text(info.field));
    }
    return texts;
}

Counted::Counted() {
    window.SetNoticePresenter([this](QMessageBox&) { ++notices; });
    window.SetLinkOpener([this](const QString& link) { links << link; });
    window.SetProgramEnder([this] { ++ends; });
}

void FillKilometreLink(FrmOrlisCalc& window) {
    window.SetText(Field::TxtAntG, "23");
    window.SetText(Field::TxtAntG2, "19");
    window.SetText(Field::TxtCblLss1, "1");
    window.SetText(Field::TxtCblLoss2, "2");
    window.SetText(Field::TxtDM, "8");
    window.SetText(Field::Txtepksz, "512");
    ControlAs<QComboBox>(window, QStringLiteral("Cmbmilekm"))->setCurrentIndex(1);
    ControlAs<QComboBox>(window, QStringLiteral("CmbEFreq"))->setCurrentIndex(3);
    ControlAs<QComboBox>(window, QStringLiteral("CmbSlcSpeed"))->setCurrentIndex(4);
}

QList<QWidget*> TopLevelsNamed(const QString& name) {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) found << widget;
    }
    return found;
}

SecondaryWindow* OpenThrough(FrmOrlisCalc& window, const QString& button, const QString& name) {
    ControlAs<QPushButton>(window, button)->click();
    const QList<QWidget*> found = TopLevelsNamed(name);
    return found.size() == 1 ? qobject_cast<SecondaryWindow*>(found.first()) : nullptr;
}

}  // namespace linkcalc::windows::test
