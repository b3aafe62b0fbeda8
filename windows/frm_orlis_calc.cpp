#include "windows/frm_orlis_calc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "linkcalc/calc_run.h"
#include "linkcalc/choice_lists.h"
#include "windows/frm_mv_antennas.h"
#include "windows/frm_orlis_calc_controls.h"
#include "windows/help_windows.h"
#include "windows/notice_box.h"
#include "windows/qt_text.h"

namespace linkcalc::windows {
namespace {

template <std::size_t N>
void Refill(QComboBox& choice, const std::array<std::string_view, N>& items) {
    choice.clear();
    for (const std::string_view item : items) choice.addItem(ToQString(item));
    // Adding to an empty list chooses its first item; nothing is chosen here.
    choice.setCurrentIndex(-1);
}

// Creates the window when it does not exist, shows it and brings it forward.
template <class Window, class... Args>
void ShowOnce(QPointer<QWidget>& window, Args&... args) {
    if (!window) window = new Window(args...);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

QLineEdit* EditOf(QWidget* widget) {
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box;
    if (auto* choice = qobject_cast<QComboBox*>(widget)) return choice->lineEdit();
    return nullptr;
}

}  // namespace

FrmOrlisCalc::FrmOrlisCalc(QWidget* parent)
    : QWidget(parent, Qt::Window),
      presentNotice_([](QMessageBox& box) { box.exec(); }),
      openLink_([](const QString& link) { QDesktopServices::openUrl(QUrl(link)); }),
      endProgram_([] { QCoreApplication::exit(0); }) {
    ApplyWindowRow(*this, kFrmOrlisCalcWindow);
    controls_ = BuildControls(*this, kFrmOrlisCalcControls);
    for (const FieldInfo& info : kFields) {
        fields_[static_cast<std::size_t>(info.field)] = controls_.value(ToQString(info.name));
    }

    struct ButtonHandler {
        const char* control;
        void (FrmOrlisCalc::*handler)();
    };
    static constexpr std::array<ButtonHandler, 6> kButtonHandlers{{
        {"CmdCalc", &FrmOrlisCalc::Calc},
        {"CmdClear", &FrmOrlisCalc::Clear},
        {"CmdExit", &FrmOrlisCalc::Exit},
        {"CmdHelp1", &FrmOrlisCalc::ShowResultHelp},
        {"CmdHelp2", &FrmOrlisCalc::ShowInputHelp},
        {"CmdLdantenna", &FrmOrlisCalc::ShowAntennasWindow},
    }};
    for (const ButtonHandler& entry : kButtonHandlers) {
        auto* button = qobject_cast<QPushButton*>(Control(QString::fromLatin1(entry.control)));
        connect(button, &QPushButton::clicked, this, entry.handler);
    }
    Control(QStringLiteral("LblWebLink"))->installEventFilter(this);

    Load();
    FieldWidget(Field::TxtCblLss1)->setFocus();
}

// The secondary windows have no owner, so nothing else takes them along.
FrmOrlisCalc::~FrmOrlisCalc() {
    for (QPointer<QWidget>* window : SecondaryWindows()) delete window->data();
}

void FrmOrlisCalc::Load() {
    Refill(*qobject_cast<QComboBox*>(FieldWidget(Field::CmbEFreq)), kBandList);
    Refill(*qobject_cast<QComboBox*>(FieldWidget(Field::CmbSlcSpeed)), kSpeedList);
    Refill(*qobject_cast<QComboBox*>(FieldWidget(Field::Cmbmilekm)), kUnitList);

    QWidget* link = Control(QStringLiteral("LblWebLink"));
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    link->setCursor(Control(QStringLiteral("Command1"))->cursor());
}

void FrmOrlisCalc::Calc() {
    CalcRun(*this, values_);
}

void FrmOrlisCalc::Clear() {
    SetText(Field::TxtDM, "");
    Refill(*qobject_cast<QComboBox*>(FieldWidget(Field::CmbEFreq)), kBandList);
    SetText(Field::TxtAntG, "");
    SetText(Field::TxtAntG2, "");
    Refill(*qobject_cast<QComboBox*>(FieldWidget(Field::CmbSlcSpeed)), kSpeedList);
    for (const Field field : {Field::TxtEC, Field::TxtFR, Field::TxtSAH, Field::TxtFSL,
                              Field::TxtEIRP1, Field::TxtEIRP2}) {
        SetText(field, "");
    }
    SetText(Field::TxtCblLss1, "0");
    SetText(Field::TxtCblLoss2, "0");
    for (const Field field : {Field::TxtERSSI, Field::TxtERSSI2, Field::TxtMTP, Field::TxtMTP2,
                              Field::TxtRECI, Field::TxtReqSS, Field::TxtRNFL, Field::TxtRNFL2,
                              Field::TxtEBtRateUni, Field::TxtEBRBi, Field::TxtFM}) {
        SetText(field, "");
    }
}

void FrmOrlisCalc::Exit() {
    CloseSecondaryWindows();
    endProgram_();
}

void FrmOrlisCalc::CloseSecondaryWindows() {
    for (QPointer<QWidget>* window : SecondaryWindows()) {
        if (*window) (*window)->close();
    }
}

void FrmOrlisCalc::ShowAntennasWindow() {
    ShowOnce<FrmMVAntennas>(antennasWindow_, *this);
}

void FrmOrlisCalc::ShowResultHelp() {
    ShowOnce<Frmhlp>(resultHelp_);
}

void FrmOrlisCalc::ShowInputHelp() {
    ShowOnce<FrmInptHlp>(inputHelp_);
}

void FrmOrlisCalc::openlink(const QString& link) {
    openLink_(link);
}

std::string FrmOrlisCalc::Text(Field field) const {
    QWidget* widget = FieldWidget(field);
    QString text;
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        text = box->text();
    } else if (auto* choice = qobject_cast<QComboBox*>(widget)) {
        text = choice->currentText();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    }
    return text.toStdString();
}

void FrmOrlisCalc::SetText(Field field, std::string_view text) {
    QWidget* widget = FieldWidget(field);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(ToQString(text));  // cut to the box's length limit
    } else if (auto* choice = qobject_cast<QComboBox*>(widget)) {
        if (choice->isEditable()) {
            choice->setEditText(ToQString(text));
        } else {
            choice->setCurrentIndex(choice->findText(ToQString(text), Qt::MatchExactly));
        }
    }
}

void FrmOrlisCalc::SetCaption(Field unitLabel, std::string_view caption) {
    if (auto* label = qobject_cast<QLabel*>(FieldWidget(unitLabel))) {
        label->setText(ToQString(caption));
    }
}

void FrmOrlisCalc::SetFocus(Field field) {
    FieldWidget(field)->setFocus(Qt::OtherFocusReason);
}

void FrmOrlisCalc::Select(Field field, int start, int length) {
    if (QLineEdit* edit = EditOf(FieldWidget(field))) edit->setSelection(start, length);
}

void FrmOrlisCalc::ShowNotice(const Notice& notice) {
    QMessageBox box(this);
    PrepareNoticeBox(box, notice, font());
    presentNotice_(box);
}

void FrmOrlisCalc::closeEvent(QCloseEvent* event) {
    event->accept();
    // The program ends with its main window, taking any secondary window with it.
    CloseSecondaryWindows();
    endProgram_();
}

bool FrmOrlisCalc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label && mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            openlink(label->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace linkcalc::windows
