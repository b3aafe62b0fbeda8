#include "windows/control_builder.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <vector>

#include "linkcalc/field.h"
#include "windows/caption_wrap.h"
#include "windows/font_faces.h"
#include "windows/qt_text.h"

// The pictures are linked in from a static library: make sure they are registered.
static void RegisterPictures() {
    Q_INIT_RESOURCE(quarn);
}

namespace linkcalc::windows {
namespace {

std::optional<QColor> ColourOf(const Colour& colour) {
    const QPalette system = QApplication::palette();
    switch (colour.source) {
        case Colour::Source::Default:
            return std::nullopt;
        case Colour::Source::Rgb:
            return QColor(colour.r, colour.g, colour.b);
        case Colour::Source::WindowBackground:
            return system.color(QPalette::Base);
        case Colour::Source::WindowText:
            return system.color(QPalette::Text);
        case Colour::Source::Highlight:
            return system.color(QPalette::Highlight);
        case Colour::Source::ButtonFace:
            return system.color(QPalette::Button);
    }
    return std::nullopt;
}

Qt::Alignment HorizontalOf(Align align, Qt::Alignment fallback) {
    switch (align) {
        case Align::Left:
            return Qt::AlignLeft;
        case Align::Centre:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Default:
            break;
    }
    return fallback;
}

void Paint(QWidget& widget, QPalette::ColorRole role, const std::optional<QColor>& colour) {
    if (!colour) return;
    QPalette palette = widget.palette();
    palette.setColor(role, *colour);
    widget.setPalette(palette);
}

// Labels are grey with black text unless their row says otherwise.
QWidget* MakeLabel(const ControlRow& row) {
    auto* label = new QLabel(ToQString(row.text));
    label->setWordWrap(true);
    label->setAlignment(HorizontalOf(row.align, Qt::AlignLeft) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    Paint(*label, QPalette::Window, ColourOf(row.back).value_or(QColor(224, 224, 224)));
    Paint(*label, QPalette::WindowText, ColourOf(row.fore).value_or(QColor(Qt::black)));
    return label;
}

int LengthLimitOf(std::string_view name) {
    const auto field = FieldNamed(name);
    const std::size_t limit = field ? InfoOf(*field).maxLength : 0;
    return limit == 0 ? 32767 : static_cast<int>(limit);
}

// A text box's border and colours; the style sheet draws the border the same on every desktop.
void StyleBox(QLineEdit& box, const ControlRow& row, const char* border) {
    const QPalette system = QApplication::palette();
    const QColor back = ColourOf(row.back).value_or(system.color(QPalette::Base));
    const QColor fore = ColourOf(row.fore).value_or(system.color(QPalette::Text));
    box.setStyleSheet(QStringLiteral("QLineEdit { border: %1; padding: 0px;"
                                     " background-color: %2; color: %3; }")
                          .arg(QLatin1String(border), back.name(), fore.name()));
}

QWidget* MakeInputBox(const ControlRow& row) {
    auto* box = new QLineEdit(ToQString(row.text));
    box->setMaxLength(LengthLimitOf(row.name));
    box->setAlignment(HorizontalOf(row.align, Qt::AlignLeft) | Qt::AlignVCenter);
    StyleBox(*box, row, "2px inset rgb(160, 160, 160)");  // sunken, three-dimensional
    return box;
}

// Results are for reading: they hold what the last run wrote and are no Tab stops.
QWidget* MakeResultBox(const ControlRow& row) {
    auto* box = new QLineEdit(ToQString(row.text));
    box->setMaxLength(LengthLimitOf(row.name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    StyleBox(*box, row, "1px solid black");  // flat
    return box;
}

QWidget* MakeChoice(const ControlRow& row) {
    auto* choice = new QComboBox;
    if (row.kind == Kind::DropDownCombo) {
        choice->setEditable(true);
        // What the user types stays as typed: no completion, and Enter adds no item.
        choice->setCompleter(nullptr);
        choice->setInsertPolicy(QComboBox::NoInsert);
    }
    return choice;
}

QWidget* MakeButton(const ControlRow& row, const QFont& font) {
    auto* button =
        new QPushButton(WrappedButtonCaption(ToQString(row.text), font, Pixels(row.width)));
    // Enter presses the button that has the focus; no button is the default one.
    button->setAutoDefault(true);
    if (!row.visible) button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget* MakeFrame(const ControlRow& row) {
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setAutoFillBackground(true);
    Paint(*frame, QPalette::Window, ColourOf(row.back));
    return frame;
}

QWidget* MakePicture(const ControlRow& row, const SnapshotMaker& snapshots) {
    auto* picture = new QLabel;
    if (!row.picture.empty()) {
        picture->setPixmap(QPixmap(ToQString(row.picture)));
    } else if (snapshots) {
        picture->setPixmap(snapshots(row.snapshot));
    }
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setAutoFillBackground(true);
    Paint(*picture, QPalette::Window, ColourOf(row.back));
    return picture;
}

QWidget* MakeControl(const ControlRow& row, const QFont& font, const SnapshotMaker& snapshots) {
    switch (row.kind) {
        case Kind::Frame:
            return MakeFrame(row);
        case Kind::Label:
            return MakeLabel(row);
        case Kind::InputBox:
            return MakeInputBox(row);
        case Kind::ResultBox:
            return MakeResultBox(row);
        case Kind::DropDownList:
        case Kind::DropDownCombo:
            return MakeChoice(row);
        case Kind::Button:
            return MakeButton(row, font);
        case Kind::Picture:
            return MakePicture(row, snapshots);
    }
    return new QWidget;
}

void ChainTabOrder(std::span<const ControlRow> table, const ControlMap& controls) {
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : table) rows.push_back(&row);
    std::ranges::sort(rows, {}, &ControlRow::tabIndex);
    QWidget* previous = nullptr;
    for (const ControlRow* row : rows) {
        QWidget* widget = controls.value(ToQString(row->name));
        if ((widget->focusPolicy() & Qt::TabFocus) == 0) continue;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace

void ApplyWindowRow(QWidget& window, const WindowRow& row) {
    RegisterPictures();
    window.setObjectName(ToQString(row.name));
    window.setWindowTitle(ToQString(row.caption));
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint;
    if (row.boxes == TitleBoxes::MinimizeAndMaximize) flags |= Qt::WindowMaximizeButtonHint;
    window.setWindowFlags(flags);
    if (!row.icon.empty()) window.setWindowIcon(QIcon(ToQString(row.icon)));
    window.setFont(FontOf(row.font, window.font()));
    window.setAutoFillBackground(true);
    Paint(window, QPalette::Window, ColourOf(row.back));
    const QSize client(Pixels(row.clientWidth), Pixels(row.clientHeight));
    if (row.placement == Placement::Fixed) {
        window.setGeometry(QRect(QPoint(Pixels(row.left), Pixels(row.top)), client));
    } else {
        window.resize(client);
    }
}

ControlMap BuildControls(QWidget& window, std::span<const ControlRow> table,
                         const SnapshotMaker& snapshots) {
    RegisterPictures();
    ControlMap controls;
    for (const ControlRow& row : table) {
        QWidget* parent = row.parent.empty() ? &window : controls.value(ToQString(row.parent));
        Q_ASSERT_X(parent, "BuildControls", "a parent row must come before its children");
        const QFont font = FontOf(row.font, window.font());
        QWidget* control = MakeControl(row, font, snapshots);
        control->setParent(parent);
        control->setObjectName(ToQString(row.name));
        control->setFont(font);
        control->setGeometry(Pixels(row.left), Pixels(row.top), Pixels(row.width),
                             Pixels(row.height));
        if (row.cursor == Cursor::PointingHand) control->setCursor(Qt::PointingHandCursor);
        control->setVisible(row.visible);
        controls.insert(control->objectName(), control);
    }
    ChainTabOrder(table, controls);
    return controls;
}

}  // namespace linkcalc::windows
