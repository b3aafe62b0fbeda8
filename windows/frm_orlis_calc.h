#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "linkcalc/calc_sheet.h"
#include "linkcalc/run_values.h"
#include "windows/control_builder.h"

class QMessageBox;

namespace linkcalc::windows {

namespace test {
struct MainWindowProbe;
}

// The main window: its fields are the calculation sheet, and its Calc button starts a run.
// FrmOrlisCalc, FrmMVAntennas, FrmInptHlp and Frmhlp are the calculator's own window names,
// kept as they are.
class FrmOrlisCalc final : public QWidget, public CalcSheet {
    Q_OBJECT

  public:
    // Shows a prepared notice box and returns once it is closed.
    using NoticePresenter = std::function<void(QMessageBox&)>;
    // Hands an address to the desktop to open.
    using LinkOpener = std::function<void(const QString&)>;
    using ProgramEnder = std::function<void()>;

    explicit FrmOrlisCalc(QWidget* parent = nullptr);
    ~FrmOrlisCalc() override;

    std::string Text(Field field) const override;
    void SetText(Field field, std::string_view text) override;
    void SetCaption(Field unitLabel, std::string_view caption) override;
    void SetFocus(Field field) override;
    void Select(Field field, int start, int length) override;
    void ShowNotice(const Notice& notice) override;

    void SetNoticePresenter(NoticePresenter presenter) { presentNotice_ = std::move(presenter); }
    void SetLinkOpener(LinkOpener opener) { openLink_ = std::move(opener); }
    void SetProgramEnder(ProgramEnder ender) { endProgram_ = std::move(ender); }

    QWidget* Control(const QString& name) const { return controls_.value(name); }

    // The secondary windows: each exists at most once, shown beside this one without blocking
    // it; showing an open one brings it forward.
    void ShowAntennasWindow();
    void ShowResultHelp();
    void ShowInputHelp();

    // Asks the desktop to open an address with its default handler.
    void openlink(const QString& link);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend struct test::MainWindowProbe;  // the window tests read the run values

    void Load();
    void Calc();
    void Clear();
    void Exit();
    void CloseSecondaryWindows();
    std::array<QPointer<QWidget>*, 3> SecondaryWindows() {
        return {&antennasWindow_, &inputHelp_, &resultHelp_};
    }
    QWidget* FieldWidget(Field field) const { return fields_[static_cast<std::size_t>(field)]; }

    ControlMap controls_;
    std::array<QWidget*, kFieldCount> fields_{};
    RunValues values_;
    NoticePresenter presentNotice_;
    LinkOpener openLink_;
    ProgramEnder endProgram_;
    QPointer<QWidget> antennasWindow_;
    QPointer<QWidget> inputHelp_;
    QPointer<QWidget> resultHelp_;
};

}  // namespace linkcalc::windows
