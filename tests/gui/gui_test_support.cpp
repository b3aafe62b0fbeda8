#include "gui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <QtEndian>

#include "windows/qt_text.h"

namespace linkcalc::windows::test {

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QStringList SheetTexts(const FrmOrlisCalc& window) {
    QStringList texts;
    for (const FieldInfo& info : kFields) {
        texts << ToQString(info.name) + "=" + QString::fromStdString(window.Text(info.field));
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

QList<IconEntry> IconEntries(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray ico = file.readAll();
    const auto word = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(ico.constData() + at);
    };
    const auto dword = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(ico.constData() + at);
    };
    if (ico.size() < 6 || word(0) != 0 || word(2) != 1) return {};  // 1: an icon, not a cursor
    QList<IconEntry> entries;
    for (int i = 0; i < word(4); ++i) {
        const qsizetype entry = 6 + 16 * i;
        if (ico.size() < entry + 16) return {};
        const int size = static_cast<unsigned char>(ico[entry]);
        entries.append({size == 0 ? 256 : size, static_cast<unsigned char>(ico[entry + 2]),
                        word(entry + 6), ico.mid(dword(entry + 12), dword(entry + 8))});
    }
    return entries;
}

}  // namespace linkcalc::windows::test
